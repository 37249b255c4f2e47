// RTF reader: a tokenizer over the bytes, a stack of group states (destination, character and
// paragraph properties), and a builder that emits whole paragraphs into the document.
#include "richtext/rtf_reader.h"

#include <QColor>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace qb::richtext {
namespace {

// Deeper groups than this are skipped whole: no word processor nests that far, and a hostile
// file must not grow the state stack without bound.
constexpr int kMaxDepth = 200;
// Lengths beyond 22 inches and font sizes beyond 1638 points are damage, not layout.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTabs = 64;

enum class Dest { Text, Skip, FontTable, FontName, ColorTable };

struct CharProps {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, hidden = false;
    int color = 0;  // 0: automatic
};

struct ParaProps {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    bool breakBefore = false;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabKind = QTextOption::LeftTab;
};

struct GroupState {
    Dest dest = Dest::Text;
    CharProps chars;
    ParaProps para;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString name;
    int codePage = 0;  // 0: the document's
};

int codePageOfCharset(int charset) {
    switch (charset) {
        case 0:
        case 1:
            return 0;
        case 2:
            return 1252;  // symbol fonts: their bytes are read as the Western page
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        default:
            return 0;
    }
}

QString decodeBytes(const QByteArray& bytes, int codePage) {
    QByteArray name = codePage == 10000                    ? QByteArray("macintosh")
                      : codePage == 437 || codePage == 850 ? "IBM" + QByteArray::number(codePage)
                      : codePage == 932                    ? QByteArray("Shift_JIS")
                                        : "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) decoder = QStringDecoder("windows-1252");
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

class Reader {
  public:
    Reader(QByteArrayView bytes, QTextDocument& doc, PageSettings& page)
        : in_(bytes), doc_(doc), page_(page), cursor_(&doc) {}

    RtfReadResult run();

  private:
    // Tokenizer
    bool atEnd() const { return pos_ >= in_.size(); }
    char peek() const { return in_[pos_]; }
    void controlWord();
    void controlSymbol(char c);
    void text(QChar c);
    void flushBytes();
    void openGroup();
    void closeGroup();

    // Handlers
    void word(const QByteArray& name, bool hasParam, int param);
    bool charWord(const QByteArray& name, bool hasParam, int param);
    bool paraWord(const QByteArray& name, bool hasParam, int param);
    bool pageWord(const QByteArray& name, int param);
    void skipDestination() { state().dest = Dest::Skip; }

    // Building
    void endParagraph();
    void flushRun();
    QTextCharFormat charFormat(const CharProps& c) const;
    QTextBlockFormat blockFormat(const ParaProps& p) const;
    int currentCodePage() const;

    GroupState& state() { return stack_.back(); }

    QByteArrayView in_;
    qsizetype pos_ = 0;
    QTextDocument& doc_;
    PageSettings& page_;
    QTextCursor cursor_;

    std::vector<GroupState> stack_;
    int skippedDepth = 0;  // groups beyond kMaxDepth, skipped whole
    int pendingSkip_ = 0;  // characters still to drop after a \u
    bool groupStart_ = false;

    QHash<int, FontEntry> fonts_;
    int fontNumber_ = -1;
    bool fontNameDone_ = false;
    int defaultFont_ = 0;
    int docCodePage_ = 1252;
    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorTouched_ = false;

    QByteArray bytes_;  // \'hh bytes awaiting decoding by the code page
    char16_t highSurrogate_ = 0;

    QString run_;
    CharProps runProps_;
    bool runOpen_ = false;
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    std::vector<Run> paragraph_;
    bool breakBeforeNext_ = false;
    bool firstBlock_ = true;
    bool sawParagraphEnd_ = false;

    bool pictures_ = false;
    bool damaged_ = false;
};

RtfReadResult Reader::run() {
    prepareLetterDocument(doc_);
    // Without page words a file means the format's own defaults: 1.25-inch side margins.
    page_ = PageSettings{};
    page_.marginLeft = page_.marginRight = 1800;
    stack_.push_back(GroupState{});
    auto skipBlanks = [&] {
        while (!atEnd() && (peek() == ' ' || peek() == '\r' || peek() == '\n' || peek() == '\t'))
            ++pos_;
    };
    skipBlanks();
    if (!in_.sliced(pos_).startsWith("{\\rtf")) {
        // Not RTF at all: what is there is shown as plain text in the code page we write.
        const QString plain = decodeBytes(in_.toByteArray(), 1252);
        const QStringList lines = plain.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
        QTextCursor c(&doc_);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i) c.insertBlock();
            QString line = lines[i];
            line.removeIf([](QChar ch) {
                return (ch.unicode() < 0x20 && ch != QLatin1Char('\t')) ||
                       ch == QChar::ParagraphSeparator || ch == QChar::ObjectReplacementCharacter;
            });
            c.insertText(line);
        }
        return {false,
                QStringLiteral("This letter is not in rich text; its text is shown as it is.")};
    }
    int depth = 0;
    while (!atEnd()) {
        const char c = in_[pos_++];
        if (skippedDepth > 0) {
            // Inside a group too deep to keep: count braces, drop everything else.
            if (c == '{')
                ++skippedDepth;
            else if (c == '}')
                --skippedDepth;
            else if (c == '\\' && !atEnd())
                ++pos_;
            continue;
        }
        switch (c) {
            case '{':
                ++depth;
                if (depth > kMaxDepth) {
                    --depth;
                    skippedDepth = 1;
                    damaged_ = true;
                } else {
                    openGroup();
                }
                break;
            case '}':
                if (depth == 0) {
                    pos_ =
                        in_.size();  // the document's closing brace: anything after it is ignored
                    break;
                }
                --depth;
                closeGroup();
                break;
            case '\\':
                if (atEnd()) break;
                if (std::isalpha(static_cast<unsigned char>(peek())))
                    controlWord();
                else
                    controlSymbol(in_[pos_++]);
                groupStart_ = false;
                break;
            case '\r':
            case '\n':
                break;
            default:
                groupStart_ = false;
                if (pendingSkip_ > 0) {
                    --pendingSkip_;
                    break;
                }
                if (state().dest == Dest::Text || state().dest == Dest::FontName ||
                    state().dest == Dest::ColorTable || state().dest == Dest::FontTable) {
                    if (c == ';' && state().dest == Dest::ColorTable) {
                        colors_.append(colorTouched_ ? QColor(red_, green_, blue_) : QColor());
                        red_ = green_ = blue_ = 0;
                        colorTouched_ = false;
                        break;
                    }
                    if (static_cast<unsigned char>(c) >= 0x80) {
                        bytes_.append(c);  // raw 8-bit text, by the code page
                        break;
                    }
                    flushBytes();
                    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') text(QChar(c));
                }
                break;
        }
    }
    flushBytes();
    if (depth > 0 || skippedDepth > 0) damaged_ = true;
    // The text after the last paragraph mark is a paragraph too; an empty one is not kept.
    flushRun();
    if (!paragraph_.empty() || !sawParagraphEnd_) endParagraph();
    RtfReadResult result;
    QStringList notes;
    if (pictures_) notes << QStringLiteral("Pictures in this letter are not kept.");
    if (damaged_)
        notes << QStringLiteral("Part of this letter is damaged; the readable text is shown.");
    result.notice = notes.join(QLatin1Char(' '));
    return result;
}

void Reader::openGroup() {
    flushBytes();
    GroupState next = state();
    if (next.dest == Dest::FontTable) next.dest = Dest::FontName;
    stack_.push_back(next);
    groupStart_ = true;
}

void Reader::closeGroup() {
    flushBytes();
    if (state().dest == Dest::FontName || state().dest == Dest::FontTable) {
        if (fontNumber_ >= 0) fonts_[fontNumber_].name = fonts_[fontNumber_].name.trimmed();
    }
    if (stack_.size() > 1) {
        stack_.pop_back();
    }
    pendingSkip_ = 0;
}

void Reader::controlWord() {
    const qsizetype start = pos_;
    while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek())) && pos_ - start < 32)
        ++pos_;
    const QByteArray name = in_.sliced(start, pos_ - start).toByteArray();
    while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek())))
        ++pos_;  // overlong
    bool negative = false, hasParam = false;
    if (!atEnd() && peek() == '-') {
        negative = true;
        ++pos_;
    }
    long long value = 0;
    int digits = 0;
    while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek()))) {
        if (digits < 10) value = value * 10 + (peek() - '0');
        ++digits;
        ++pos_;
    }
    hasParam = digits > 0;
    value = std::clamp(negative ? -value : value, -2147483647LL, 2147483647LL);
    if (!atEnd() && peek() == ' ') ++pos_;
    const int param = static_cast<int>(value);

    if (name == "bin") {
        // Binary data follows the word directly; it is never text.
        const qsizetype n = hasParam && param > 0 ? param : 0;
        pos_ = std::min(in_.size(), pos_ + n);
        return;
    }
    if (pendingSkip_ > 0 && name != "u") {
        --pendingSkip_;
        if (name != "par" && name != "sect" && name != "page" && name != "line") return;
    }
    word(name, hasParam, param);
}

void Reader::controlSymbol(char c) {
    switch (c) {
        case '\'': {
            int value = -1;
            if (pos_ + 2 <= in_.size()) {
                bool ok = false;
                value = in_.sliced(pos_, 2).toByteArray().toInt(&ok, 16);
                if (ok)
                    pos_ += 2;
                else
                    value = -1;
            }
            if (pendingSkip_ > 0) {
                --pendingSkip_;
                return;
            }
            if (value >= 0 && state().dest != Dest::Skip) bytes_.append(char(value));
            return;
        }
        case '*': {
            // An ignorable destination: skipped, but a picture inside it is still worth a word.
            if (!groupStart_) return;
            qsizetype end = pos_ < in_.size() && in_[pos_] == '\\' ? pos_ + 1 : pos_;
            while (end < in_.size() && std::isalpha(static_cast<unsigned char>(in_[end])))
                ++end;
            const QByteArrayView next = in_.sliced(pos_, end - pos_);
            if (next == "\\shppict" || next == "\\pict" || next == "\\objdata" ||
                next == "\\shpinst")
                pictures_ = true;
            skipDestination();
            return;
        }
        default:
            break;
    }
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    switch (c) {
        case '\\':
        case '{':
        case '}':
            flushBytes();
            if (state().dest != Dest::Skip) text(QChar(c));
            return;
        case '~':
            flushBytes();
            text(QChar(0x00A0));
            return;
        case '-':
            flushBytes();
            text(QChar(0x00AD));
            return;
        case '_':
            flushBytes();
            text(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            word("par", false, 0);
            return;
        case '\t':
            word("tab", false, 0);
            return;
        default:
            return;
    }
}

void Reader::flushBytes() {
    if (bytes_.isEmpty()) return;
    const QByteArray bytes = std::exchange(bytes_, {});
    const QString decoded = decodeBytes(bytes, currentCodePage());
    for (QChar ch : decoded)
        text(ch);
}

int Reader::currentCodePage() const {
    const int font = stack_.back().chars.font < 0 ? defaultFont_ : stack_.back().chars.font;
    const auto it = fonts_.constFind(font);
    if (it != fonts_.cend() && it->codePage > 0) return it->codePage;
    return docCodePage_;
}

void Reader::text(QChar c) {
    // Control characters, object marks and paragraph separators are not text of a letter or a
    // font name; the separator would split the paragraph inside the document.
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\t') || u == QChar::ObjectReplacementCharacter ||
        u == QChar::ParagraphSeparator || u == 0xFFFE || u == 0xFFFF)
        return;
    GroupState& s = state();
    if (s.dest == Dest::FontName || s.dest == Dest::FontTable) {
        if (fontNumber_ >= 0 && !fontNameDone_) {
            if (c == QLatin1Char(';'))
                fontNameDone_ = true;
            else
                fonts_[fontNumber_].name.append(c);
        }
        return;
    }
    if (s.dest != Dest::Text || s.chars.hidden) return;
    // A surrogate pair may arrive as two \u words; a lone half is dropped.
    if (c.isHighSurrogate()) {
        highSurrogate_ = c.unicode();
        return;
    }
    if (runOpen_ && (std::tie(runProps_.font, runProps_.halfPoints, runProps_.bold,
                              runProps_.italic, runProps_.underline, runProps_.color) !=
                     std::tie(s.chars.font, s.chars.halfPoints, s.chars.bold, s.chars.italic,
                              s.chars.underline, s.chars.color)))
        flushRun();
    if (!runOpen_) {
        runOpen_ = true;
        runProps_ = s.chars;
    }
    if (c.isLowSurrogate()) {
        if (highSurrogate_) {
            run_.append(QChar(highSurrogate_));
            run_.append(c);
        }
        highSurrogate_ = 0;
        return;
    }
    highSurrogate_ = 0;
    run_.append(c);
}

void Reader::flushRun() {
    if (!runOpen_) return;
    if (!run_.isEmpty()) paragraph_.push_back({std::exchange(run_, {}), charFormat(runProps_)});
    runOpen_ = false;
}

QTextCharFormat Reader::charFormat(const CharProps& c) const {
    QTextCharFormat f;
    const int font = c.font < 0 ? defaultFont_ : c.font;
    const auto it = fonts_.constFind(font);
    const QString name = it != fonts_.cend() && !it->name.trimmed().isEmpty()
                             ? it->name.trimmed()
                             : QStringLiteral("Times New Roman");
    f.setFontFamilies({name});
    f.setFontPointSize(c.halfPoints / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    if (c.color > 0 && c.color < colors_.size() && colors_[c.color].isValid())
        f.setForeground(colors_[c.color]);
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaProps& p) const {
    QTextBlockFormat f;
    f.setAlignment(p.align);
    f.setLeftMargin(twipsToUnits(p.left));
    f.setRightMargin(twipsToUnits(p.right));
    f.setTextIndent(twipsToUnits(p.first));
    f.setTopMargin(twipsToUnits(p.before));
    f.setBottomMargin(twipsToUnits(p.after));
    if (!p.tabs.isEmpty()) f.setTabPositions(p.tabs);
    return f;
}

void Reader::endParagraph() {
    flushBytes();
    flushRun();
    QTextBlockFormat format = blockFormat(state().para);
    if (state().para.breakBefore || breakBeforeNext_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    breakBeforeNext_ = false;
    const QTextCharFormat blockChars = charFormat(state().chars);
    if (firstBlock_) {
        cursor_.setBlockFormat(format);
        cursor_.setBlockCharFormat(blockChars);
        firstBlock_ = false;
    } else {
        cursor_.insertBlock(format, blockChars);
    }
    for (const Run& r : paragraph_)
        cursor_.insertText(r.text, r.format);
    paragraph_.clear();
}

void Reader::word(const QByteArray& name, bool hasParam, int param) {
    GroupState& s = state();
    if (name == "u") {
        flushBytes();
        int code = param < 0 ? param + 65536 : param;
        if (code < 0 || code > 0xFFFF) code = 0xFFFD;
        if (s.dest != Dest::Skip && code != 0) text(QChar(char16_t(code)));
        pendingSkip_ = s.unicodeSkip;
        return;
    }
    if (name == "uc") {
        s.unicodeSkip = std::clamp(param, 0, 8);
        return;
    }
    // Destinations
    // Destinations that hold nothing a letter keeps.
    // clang-format off
    static const QSet<QByteArray> skipped = {
        "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
        "footerr", "footerf", "info", "stylesheet", "fldinst", "listtable", "listoverridetable",
        "rsidtbl", "xmlnstbl", "generator", "themedata", "colorschememapping", "latentstyles",
        "datastore", "nonshppict", "shp", "footnote", "annotation", "revtbl", "filetbl",
        "pgdsctbl", "fchars", "lchars", "pnseclvl", "txe", "xe", "tc", "bkmkstart", "bkmkend",
        "template", "docvar", "userprops", "mmathPr", "wgrffmtfilter", "ftnsep", "ftnsepc",
        "aftnsep", "aftnsepc", "pn", "atnid", "atnauthor", "falt", "panose", "fname", "upr"};
    // clang-format on
    if (skipped.contains(name)) {
        flushBytes();
        flushRun();
        if (name == "pict" || name == "object" || name == "shp") pictures_ = true;
        // Its plain copy is read; the Unicode copy after it is an ignorable destination.
        if (name == "upr") return;
        skipDestination();
        return;
    }
    if (name == "ud") return;
    if (s.dest == Dest::Skip) return;
    if (name == "fonttbl") {
        s.dest = Dest::FontTable;
        return;
    }
    if (name == "colortbl") {
        s.dest = Dest::ColorTable;
        colors_.clear();
        return;
    }
    if (s.dest == Dest::FontTable || s.dest == Dest::FontName) {
        if (name == "f") {
            fontNumber_ = std::clamp(param, 0, 32767);
            fonts_[fontNumber_] = FontEntry{};
            fontNameDone_ = false;
        } else if (name == "fcharset" && fontNumber_ >= 0) {
            fonts_[fontNumber_].codePage = codePageOfCharset(param);
        } else if (name == "cpg" && fontNumber_ >= 0) {
            fonts_[fontNumber_].codePage = std::clamp(param, 0, 65535);
        }
        return;
    }
    if (s.dest == Dest::ColorTable) {
        const int v = std::clamp(param, 0, 255);
        if (name == "red")
            red_ = v, colorTouched_ = true;
        else if (name == "green")
            green_ = v, colorTouched_ = true;
        else if (name == "blue")
            blue_ = v, colorTouched_ = true;
        return;
    }
    if (name == "ansicpg") {
        docCodePage_ = param > 0 ? std::clamp(param, 1, 65535) : 1252;
        return;
    }
    if (name == "mac" || name == "pc" || name == "pca" || name == "ansi") {
        docCodePage_ = name == "mac" ? 10000 : name == "pc" ? 437 : name == "pca" ? 850 : 1252;
        return;
    }
    if (name == "deff") {
        defaultFont_ = std::clamp(param, 0, 32767);
        return;
    }
    if (charWord(name, hasParam, param) || paraWord(name, hasParam, param) || pageWord(name, param))
        return;

    // Text and symbols
    static const QHash<QByteArray, char16_t> symbols = {
        {"tab", u'\t'},      {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},
        {"zwnj", 0x200C},    {"zwbo", 0x200B},      {"line", 0x2028}};
    if (const auto sym = symbols.constFind(name); sym != symbols.cend()) {
        flushBytes();
        text(QChar(*sym));
        return;
    }
    if (name == "cell" || name == "nestcell") {  // tables are not kept; their cells stay apart
        flushBytes();
        text(QChar(u'\t'));
        return;
    }
    if (name == "par" || name == "sect" || name == "row" || name == "nestrow") {
        endParagraph();
        sawParagraphEnd_ = true;
        return;
    }
    if (name == "page") {
        // The break belongs between two paragraphs: what follows starts the next page.
        flushBytes();
        flushRun();
        if (!paragraph_.empty()) {
            endParagraph();
            sawParagraphEnd_ = true;
        }
        breakBeforeNext_ = true;
        return;
    }
}

bool Reader::charWord(const QByteArray& name, bool hasParam, int param) {
    CharProps& c = state().chars;
    const bool on = !hasParam || param != 0;
    if (name == "plain") {
        flushBytes();
        c = CharProps{};
    } else if (name == "b") {
        flushBytes();
        c.bold = on;
    } else if (name == "i") {
        flushBytes();
        c.italic = on;
    } else if (name == "ul" || name == "uld" || name == "uldash" || name == "uldb" ||
               name == "ulth" || name == "ulw" || name == "ulwave" || name == "uldashd") {
        flushBytes();
        c.underline = on;
    } else if (name == "ulnone") {
        flushBytes();
        c.underline = false;
    } else if (name == "f") {
        flushBytes();
        c.font = std::clamp(param, 0, 32767);
    } else if (name == "fs") {
        flushBytes();
        c.halfPoints = hasParam ? std::clamp(param, 2, kMaxHalfPoints) : 24;
    } else if (name == "cf") {
        flushBytes();
        c.color = std::clamp(param, 0, 32767);
    } else if (name == "v") {
        flushBytes();
        c.hidden = on;
    } else {
        return false;
    }
    return true;
}

bool Reader::paraWord(const QByteArray& name, bool hasParam, int param) {
    ParaProps& p = state().para;
    const int twips = std::clamp(param, -kMaxTwips, kMaxTwips);
    if (name == "pard")
        p = ParaProps{};
    else if (name == "ql")
        p.align = Qt::AlignLeft;
    else if (name == "qr")
        p.align = Qt::AlignRight;
    else if (name == "qc")
        p.align = Qt::AlignHCenter;
    else if (name == "qj")
        p.align = Qt::AlignJustify;
    else if (name == "li")
        p.left = twips;
    else if (name == "ri")
        p.right = twips;
    else if (name == "fi")
        p.first = twips;
    else if (name == "sb")
        p.before = std::max(0, twips);
    else if (name == "sa")
        p.after = std::max(0, twips);
    else if (name == "pagebb")
        p.breakBefore = !hasParam || param != 0;
    else if (name == "tqr")
        p.nextTabKind = QTextOption::RightTab;
    else if (name == "tqc")
        p.nextTabKind = QTextOption::CenterTab;
    else if (name == "tqdec")
        p.nextTabKind = QTextOption::DelimiterTab;
    else if (name == "tx" || name == "tb") {
        if (name == "tx" && p.tabs.size() < kMaxTabs && twips > 0) {
            QTextOption::Tab tab(twipsToUnits(twips), p.nextTabKind);
            if (p.nextTabKind == QTextOption::DelimiterTab) tab.delimiter = QLatin1Char('.');
            const auto at =
                std::lower_bound(p.tabs.begin(), p.tabs.end(), tab,
                                 [](const QTextOption::Tab& a, const QTextOption::Tab& b) {
                                     return a.position < b.position;
                                 });
            if (at == p.tabs.end() || at->position != tab.position) p.tabs.insert(at, tab);
        }
        p.nextTabKind = QTextOption::LeftTab;
    } else {
        return false;
    }
    return true;
}

bool Reader::pageWord(const QByteArray& name, int param) {
    const int v = std::clamp(param, 0, kMaxTwips);
    if (name == "paperw" || name == "pgwsxn")
        page_.paperWidth = v;
    else if (name == "paperh" || name == "pghsxn")
        page_.paperHeight = v;
    else if (name == "margl" || name == "marglsxn")
        page_.marginLeft = v;
    else if (name == "margr" || name == "margrsxn")
        page_.marginRight = v;
    else if (name == "margt" || name == "margtsxn")
        page_.marginTop = v;
    else if (name == "margb" || name == "margbsxn")
        page_.marginBottom = v;
    else
        return false;
    return true;
}

}  // namespace

RtfReadResult readRtf(QByteArrayView bytes, QTextDocument& into, PageSettings& page) {
    into.setUndoRedoEnabled(false);
    into.clear();
    Reader reader(bytes, into, page);
    // One edit for the whole letter: a layout attached to the document (an editor's) is
    // brought up to date once, not after every run of text.
    QTextCursor edit(&into);
    edit.beginEditBlock();
    RtfReadResult result = reader.run();
    edit.endEditBlock();
    into.setUndoRedoEnabled(true);
    into.setModified(false);
    return result;
}

}  // namespace qb::richtext
