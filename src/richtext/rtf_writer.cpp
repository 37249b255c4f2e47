// RTF writer: 7-bit output of what the reader keeps, every value written explicitly so that a
// document read back and written again gives the same bytes.
#include "richtext/rtf_writer.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

namespace qb::richtext {
namespace {

// A font table entry ends at ';' and holds no tabs or control characters.
QString cleanFamily(QString family) {
    family.removeIf([](QChar c) { return c == QLatin1Char(';') || c.unicode() < 0x20; });
    return family.trimmed();
}

struct ResolvedChars {
    QString family;
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false;
    QColor color;  // invalid: automatic
};

class Writer {
  public:
    Writer(const QTextDocument& doc, const PageSettings& page) : doc_(doc), page_(page) {}
    QByteArray run();

  private:
    ResolvedChars resolve(const QTextCharFormat& f) const;
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void charProps(QByteArray& out, const ResolvedChars& c);
    void paraProps(QByteArray& out, const QTextBlockFormat& f);
    static void text(QByteArray& out, const QString& s);
    static void number(QByteArray& out, const char* word, long long value);

    const QTextDocument& doc_;
    const PageSettings& page_;
    QStringList fonts_;
    QList<QColor> colors_;
};

void Writer::number(QByteArray& out, const char* word, long long value) {
    out += '\\';
    out += word;
    out += QByteArray::number(value);
}

ResolvedChars Writer::resolve(const QTextCharFormat& f) const {
    ResolvedChars c;
    const QFont base = doc_.defaultFont();
    const QStringList families = f.fontFamilies().toStringList();
    c.family =
        !families.isEmpty() && !families.first().isEmpty() ? families.first() : base.family();
    c.family = cleanFamily(c.family);
    const double points =
        f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
    c.halfPoints = std::max(2, static_cast<int>(std::lround(points * 2)));
    c.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold
                                                    : base.weight() >= QFont::DemiBold;
    c.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
    c.underline = f.fontUnderline();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        c.color = f.foreground().color();
    return c;
}

int Writer::fontIndex(const QString& family) {
    const qsizetype at = fonts_.indexOf(family);
    if (at >= 0) return int(at);
    fonts_.append(family);
    return int(fonts_.size() - 1);
}

int Writer::colorIndex(const QColor& color) {
    if (!color.isValid()) return 0;
    const QColor plain = QColor(color.red(), color.green(), color.blue());
    const qsizetype at = colors_.indexOf(plain);
    if (at >= 0) return int(at) + 1;
    colors_.append(plain);
    return int(colors_.size());
}

void Writer::charProps(QByteArray& out, const ResolvedChars& c) {
    out += "\\plain";
    number(out, "f", fontIndex(c.family));
    number(out, "fs", c.halfPoints);
    if (c.bold) out += "\\b";
    if (c.italic) out += "\\i";
    if (c.underline) out += "\\ul";
    if (const int color = colorIndex(c.color)) number(out, "cf", color);
}

void Writer::paraProps(QByteArray& out, const QTextBlockFormat& f) {
    out += "\\pard";
    switch (f.alignment() & Qt::AlignHorizontal_Mask) {
        case Qt::AlignRight:
            out += "\\qr";
            break;
        case Qt::AlignHCenter:
            out += "\\qc";
            break;
        case Qt::AlignJustify:
            out += "\\qj";
            break;
        default:
            break;
    }
    if (const int v = unitsToTwips(f.leftMargin())) number(out, "li", v);
    if (const int v = unitsToTwips(f.rightMargin())) number(out, "ri", v);
    if (const int v = unitsToTwips(f.textIndent())) number(out, "fi", v);
    if (const int v = unitsToTwips(f.topMargin())) number(out, "sb", v);
    if (const int v = unitsToTwips(f.bottomMargin())) number(out, "sa", v);
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) out += "\\pagebb";
    for (const QTextOption::Tab& tab : f.tabPositions()) {
        switch (tab.type) {
            case QTextOption::RightTab:
                out += "\\tqr";
                break;
            case QTextOption::CenterTab:
                out += "\\tqc";
                break;
            case QTextOption::DelimiterTab:
                out += "\\tqdec";
                break;
            default:
                break;
        }
        number(out, "tx", unitsToTwips(tab.position));
    }
}

void Writer::text(QByteArray& out, const QString& s) {
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        switch (u) {
            case u'\\':
                out += "\\\\";
                continue;
            case u'{':
                out += "\\{";
                continue;
            case u'}':
                out += "\\}";
                continue;
            case u'\t':
                out += "\\tab ";
                continue;
            case 0x2028:
                out += "\\line ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case 0x00AD:
                out += "\\-";
                continue;
            case 0x2011:
                out += "\\_";
                continue;
            case QChar::ObjectReplacementCharacter:
                continue;
            default:
                break;
        }
        if (u < 0x20) continue;
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        // Everything else as a Unicode word with a one-character stand-in for old readers.
        number(out, "u", u > 32767 ? int(u) - 65536 : int(u));
        out += '?';
    }
}

QByteArray Writer::run() {
    // The body first, so the font and colour tables list what it uses, in order of first use;
    // the document's default font is always font 0.
    fontIndex(cleanFamily(doc_.defaultFont().family()));
    QByteArray body;
    body.reserve(doc_.characterCount() + doc_.blockCount() * 64);
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        paraProps(body, block.blockFormat());
        charProps(body, resolve(block.charFormat()));
        body += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            body += '{';
            charProps(body, resolve(fragment.charFormat()));
            body += ' ';
            text(body, fragment.text());
            body += '}';
        }
        body += "\\par\n";
    }

    QByteArray out;
    out.reserve(body.size() + 512);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out += "{";
        number(out, "f", i);
        out += "\\fnil\\fcharset0 ";
        text(out, fonts_[i]);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colors_) {
        number(out, "red", c.red());
        number(out, "green", c.green());
        number(out, "blue", c.blue());
        out += ';';
    }
    out += "}\n";
    number(out, "paperw", page_.paperWidth);
    number(out, "paperh", page_.paperHeight);
    number(out, "margl", page_.marginLeft);
    number(out, "margr", page_.marginRight);
    number(out, "margt", page_.marginTop);
    number(out, "margb", page_.marginBottom);
    out += '\n';
    out += body;
    out += "}\n";
    return out;
}

}  // namespace

QByteArray writeRtf(const QTextDocument& doc, const PageSettings& page) {
    return Writer(doc, page).run();
}

}  // namespace qb::richtext
