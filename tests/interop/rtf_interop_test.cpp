// Letters we write, opened by an independent word processor: our RTF is converted to flat
// OpenDocument by LibreOffice in one run, and what it understood is compared with what we meant.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <cmath>
#include <map>
#include <optional>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

using namespace qb::richtext;

namespace {

// ---- What LibreOffice understood, from its flat XML -------------------------------------

int toTwips(const QString& length) {
    static const std::pair<const char*, double> units[] = {
        {"in", 1440}, {"cm", 1440 / 2.54}, {"mm", 144 / 2.54}, {"pt", 20}, {"pc", 240}};
    for (const auto& [unit, factor] : units)
        if (length.endsWith(QLatin1String(unit)))
            return int(std::lround(length.chopped(int(qstrlen(unit))).toDouble() * factor));
    return 0;
}

struct Style {
    QString parent;
    QHash<QString, QString> para, text;
    std::optional<QList<QTextOption::Tab>> tabs;  // in twips
};

struct TextRun {
    QString text;
    QStringList styles;  // innermost span first
};

struct Para {
    QString style;
    QList<TextRun> runs;
    QString text() const {
        QString t;
        for (const TextRun& r : runs)
            t += r.text;
        return t;
    }
};

struct OpenDocument {
    PageSettings page;
    QHash<QString, Style> styles;  // "family/name"; the family's default style has no name
    QHash<QString, QString> fontFaces;
    bool tabsFromIndent = false;
    QList<Para> paras;

    // A property of a paragraph or text style, following parents down to the default style.
    QString lookup(const QString& family, QString name, bool textProp, const QString& key) const {
        for (int guard = 0; guard < 20; ++guard) {
            const auto it = styles.constFind(family + QLatin1Char('/') + name);
            if (it == styles.cend()) break;
            const auto& props = textProp ? it->text : it->para;
            if (props.contains(key)) return props.value(key);
            if (name.isEmpty()) break;
            name = it->parent;
        }
        return family == QLatin1String("paragraph") || name.isEmpty()
                   ? QString()
                   : lookup(QStringLiteral("paragraph"), QString(), textProp, key);
    }
    QString textProp(const Para& p, const TextRun& r, const QString& key) const {
        for (const QString& span : r.styles) {
            const QString v = lookup(QStringLiteral("text"), span, true, key);
            if (!v.isEmpty()) return v;
        }
        return lookup(QStringLiteral("paragraph"), p.style, true, key);
    }
    QList<QTextOption::Tab> tabs(QString name) const {
        for (int guard = 0; guard < 20; ++guard) {
            const auto it = styles.constFind(QStringLiteral("paragraph/") + name);
            if (it == styles.cend()) break;
            if (it->tabs) return *it->tabs;
            if (name.isEmpty()) break;
            name = it->parent;
        }
        return {};
    }
};

OpenDocument parseFlat(const QString& path) {
    OpenDocument doc;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no converted file " << path.toStdString();
        return doc;
    }
    QXmlStreamReader xml(&file);
    Style* style = nullptr;
    Para* para = nullptr;
    QStringList spans;
    QString configName;
    bool pageSeen = false;
    auto append = [&](const QString& text) {
        if (!para) return;
        if (para->runs.isEmpty() || para->runs.back().styles != spans)
            para->runs.append(TextRun{QString(), spans});
        para->runs.back().text += text;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        const QXmlStreamAttributes a = xml.attributes();
        auto attr = [&](const char* n) { return a.value(QLatin1String(n)).toString(); };
        if (xml.isStartElement()) {
            if (name == QLatin1String("style:style") ||
                name == QLatin1String("style:default-style")) {
                style = &doc.styles[attr("style:family") + QLatin1Char('/') + attr("style:name")];
                style->parent = attr("style:parent-style-name");
            } else if (name == QLatin1String("style:paragraph-properties") && style) {
                for (const auto& at : a)
                    style->para[at.qualifiedName().toString()] = at.value().toString();
            } else if (name == QLatin1String("style:text-properties") && style) {
                for (const auto& at : a)
                    style->text[at.qualifiedName().toString()] = at.value().toString();
            } else if (name == QLatin1String("style:tab-stops") && style) {
                style->tabs.emplace();
            } else if (name == QLatin1String("style:tab-stop") && style && style->tabs) {
                const QString type = attr("style:type");
                const auto kind = type == QLatin1String("right")    ? QTextOption::RightTab
                                  : type == QLatin1String("center") ? QTextOption::CenterTab
                                  : type == QLatin1String("char")   ? QTextOption::DelimiterTab
                                                                    : QTextOption::LeftTab;
                style->tabs->append(QTextOption::Tab(toTwips(attr("style:position")), kind));
            } else if (name == QLatin1String("style:page-layout-properties") &&
                       a.hasAttribute(QLatin1String("fo:page-width")) && !pageSeen) {
                pageSeen = true;
                doc.page = {toTwips(attr("fo:page-width")),   toTwips(attr("fo:page-height")),
                            toTwips(attr("fo:margin-left")),  toTwips(attr("fo:margin-top")),
                            toTwips(attr("fo:margin-right")), toTwips(attr("fo:margin-bottom"))};
            } else if (name == QLatin1String("style:font-face")) {
                QString family = attr("svg:font-family");
                family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
                doc.fontFaces[attr("style:name")] = family;
            } else if (name == QLatin1String("config:config-item")) {
                configName = attr("config:name");
            } else if (name == QLatin1String("text:p") || name == QLatin1String("text:h")) {
                doc.paras.append(Para{attr("text:style-name"), {}});
                para = &doc.paras.back();
                spans.clear();
            } else if (name == QLatin1String("text:span")) {
                spans.prepend(attr("text:style-name"));
            } else if (name == QLatin1String("text:s")) {
                const int count =
                    a.hasAttribute(QLatin1String("text:c")) ? attr("text:c").toInt() : 1;
                append(QString(count, QLatin1Char(' ')));
            } else if (name == QLatin1String("text:tab")) {
                append(QStringLiteral("\t"));
            } else if (name == QLatin1String("text:line-break")) {
                append(QString(QChar(0x2028)));
            }
        } else if (xml.isEndElement()) {
            if (name == QLatin1String("style:style") ||
                name == QLatin1String("style:default-style"))
                style = nullptr;
            else if (name == QLatin1String("text:p") || name == QLatin1String("text:h"))
                para = nullptr;
            else if (name == QLatin1String("text:span") && !spans.isEmpty())
                spans.removeFirst();
        } else if (xml.isCharacters()) {
            if (configName == QLatin1String("TabsRelativeToIndent") && !para)
                doc.tabsFromIndent = xml.text().trimmed() == QLatin1String("true");
            else if (para)
                append(xml.text().toString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return doc;
}

// ---- The letters we write ---------------------------------------------------------------

struct Letter {
    const char* name;
    PageSettings page;
    QByteArray body;  // RTF paragraphs
};

const Letter kLetters[] = {
    {"features",
     {12240, 15840, 1440, 1080, 1800, 1440},
     "{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}{\\f2 Courier New;}}"
     "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
     "\\pard Dear {\\b Friend}, {\\i italic} {\\ul underlined} {\\cf1 red} {\\cf2\\b navy}\\par"
     "\\pard\\qr\\li720\\ri1440\\fi-360 {\\f1\\fs28 Arial fourteen}\\par"
     "\\pard\\qc\\sb240\\sa480 {\\f2\\fs16 Courier eight}\\par"
     "\\pard\\qj\\li1440\\fi720 Justified text that runs over more than one line so that the "
     "spacing is spread across the whole width of the text area of the letter.\\par"
     "\\pard\\tx1440\\tqr\\tx5040\\tqc\\tx6480\\tqdec\\tx7920 a\\tab b\\tab c\\tab 1.5\\par"
     "\\pard\\li720\\tx2880 indented\\tab tabbed\\par"
     "\\pard\\par"
     "\\pard\\pagebb After the break\\line same paragraph\\par"},
    {"metric",
     {11906, 16838, 1134, 1418, 1134, 851},
     "\\pard {\\fs40\\b\\i\\ul\\cf1 All at once} and {\\fs18 small}\\par"
     "\\pard\\pagebb\\ri567 Second page\\par"},
};

QString alignmentName(Qt::Alignment a) {
    switch (a & Qt::AlignHorizontal_Mask) {
        case Qt::AlignRight:
            return QStringLiteral("end");
        case Qt::AlignHCenter:
            return QStringLiteral("center");
        case Qt::AlignJustify:
            return QStringLiteral("justify");
        default:
            return QStringLiteral("start");
    }
}

TEST(RtfInterop, WordProcessorUnderstandsTheLettersWeWrite) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed here (Debian libreoffice-writer-nogui); the "
                        "RTF interoperability check did not run";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::map<QString, std::pair<std::unique_ptr<QTextDocument>, PageSettings>> written;
    QStringList files;
    for (const Letter& letter : kLetters) {
        // Through our own reader and writer, so what is checked is what a saved letter holds.
        auto doc = std::make_unique<QTextDocument>();
        PageSettings ignored;
        readRtf("{\\rtf1 " + letter.body + "}", *doc, ignored);
        const QByteArray rtf = writeRtf(*doc, letter.page);
        const QString path = dir.filePath(QString::fromLatin1(letter.name) + ".rtf");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(rtf) == rtf.size());
        files << path;
        written[QString::fromLatin1(letter.name)] = {std::move(doc), letter.page};
    }
    // One run for every file: starting the word processor costs far more than converting.
    QProcess run;
    run.start(soffice,
              QStringList{QStringLiteral("--headless"),
                          QStringLiteral("-env:UserInstallation=file://") +
                              dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--convert-to"), QStringLiteral("fodt"),
                          QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out"))} +
                  files);
    ASSERT_TRUE(run.waitForFinished(300000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    for (const auto& [name, entry] : written) {
        SCOPED_TRACE(name.toStdString());
        const QTextDocument& doc = *entry.first;
        const OpenDocument odf = parseFlat(dir.filePath(QStringLiteral("out/") + name + ".fodt"));
        for (int PageSettings::*field :
             {&PageSettings::paperWidth, &PageSettings::paperHeight, &PageSettings::marginLeft,
              &PageSettings::marginTop, &PageSettings::marginRight, &PageSettings::marginBottom})
            EXPECT_NEAR(odf.page.*field, entry.second.*field, 2);
        ASSERT_EQ(odf.paras.size(), doc.blockCount());
        int index = 0;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++index) {
            SCOPED_TRACE(index);
            const Para& p = odf.paras[index];
            EXPECT_EQ(p.text(), block.text());
            const QTextBlockFormat f = block.blockFormat();
            auto para = [&](const char* key) {
                return odf.lookup(QStringLiteral("paragraph"), p.style, false, QLatin1String(key));
            };
            const QString align = para("fo:text-align");
            EXPECT_EQ(align.isEmpty() || align == QLatin1String("left") ? QStringLiteral("start")
                      : align == QLatin1String("right")                 ? QStringLiteral("end")
                                                                        : align,
                      alignmentName(f.alignment()));
            EXPECT_NEAR(toTwips(para("fo:margin-left")), unitsToTwips(f.leftMargin()), 2);
            EXPECT_NEAR(toTwips(para("fo:margin-right")), unitsToTwips(f.rightMargin()), 2);
            EXPECT_NEAR(toTwips(para("fo:text-indent")), unitsToTwips(f.textIndent()), 2);
            EXPECT_NEAR(toTwips(para("fo:margin-top")), unitsToTwips(f.topMargin()), 2);
            EXPECT_NEAR(toTwips(para("fo:margin-bottom")), unitsToTwips(f.bottomMargin()), 2);
            EXPECT_EQ(para("fo:break-before") == QLatin1String("page"),
                      bool(f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
            const QList<QTextOption::Tab> theirTabs = odf.tabs(p.style);
            const QList<QTextOption::Tab> ourTabs = f.tabPositions();
            ASSERT_EQ(theirTabs.size(), ourTabs.size());
            const int shift = odf.tabsFromIndent ? unitsToTwips(f.leftMargin()) : 0;
            for (qsizetype t = 0; t < ourTabs.size(); ++t) {
                EXPECT_NEAR(theirTabs[t].position + shift, unitsToTwips(ourTabs[t].position), 2);
                EXPECT_EQ(theirTabs[t].type, ourTabs[t].type);
            }

            // Each run of ours, at its first character, in their spans.
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                SCOPED_TRACE(fragment.text().toStdString());
                int at = fragment.position() - block.position();
                const TextRun* run = nullptr;
                for (const TextRun& r : p.runs) {
                    if (at < r.text.size()) {
                        run = &r;
                        break;
                    }
                    at -= int(r.text.size());
                }
                ASSERT_TRUE(run);
                auto prop = [&](const char* key) {
                    return odf.textProp(p, *run, QLatin1String(key));
                };
                const QTextCharFormat c = fragment.charFormat();
                EXPECT_EQ(odf.fontFaces.value(prop("style:font-name"), prop("style:font-name")),
                          c.fontFamilies().toStringList().value(0));
                EXPECT_EQ(prop("fo:font-size"), QString::number(c.fontPointSize()) + "pt");
                EXPECT_EQ(prop("fo:font-weight") == QLatin1String("bold"),
                          c.fontWeight() >= QFont::DemiBold);
                EXPECT_EQ(prop("fo:font-style") == QLatin1String("italic"), c.fontItalic());
                const QString underline = prop("style:text-underline-style");
                EXPECT_EQ(!underline.isEmpty() && underline != QLatin1String("none"),
                          c.fontUnderline());
                if (c.hasProperty(QTextFormat::ForegroundBrush))
                    EXPECT_EQ(prop("fo:color"), c.foreground().color().name());
                else
                    EXPECT_TRUE(prop("fo:color").isEmpty() ||
                                prop("fo:color") == QLatin1String("#000000"))
                        << prop("fo:color").toStdString();
            }
        }
    }
}

}  // namespace
