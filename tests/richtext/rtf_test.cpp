// Reading RTF as word processors write it, writing it back, and surviving damaged input.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

using namespace qb::richtext;

namespace {

struct Loaded {
    QTextDocument doc;
    PageSettings page;
    RtfReadResult result;
    explicit Loaded(QByteArrayView rtf) { result = readRtf(rtf, doc, page); }
    QTextBlock block(int n) const { return doc.findBlockByNumber(n); }
    // The character format at the first occurrence of `text`.
    QTextCharFormat charsAt(const QString& text) const {
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().text().contains(text)) return it.fragment().charFormat();
        ADD_FAILURE() << "no text " << text.toStdString();
        return {};
    }
};

int twips(double units) {
    return unitsToTwips(units);
}

// What a word processor writes: tables, section page words, character and paragraph words,
// destinations to skip, encoded text.
const char kForeign[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
    "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman{\\*\\falt Times};}"
    "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset204 Cyr Font;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Secret title}}"
    "{\\header \\pard Header text\\par}"
    "\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1000\\margrsxn1100\\margtsxn1200\\margbsxn1300\n"
    "\\pard\\plain\\f1\\fs20 Plain {\\b bold}{\\i italic}{\\ul under}{\\cf1 red}\\par\n"
    "\\pard\\qr\\li720\\ri360\\fi-"
    "360\\sb120\\sa240\\tx1440\\tqr\\tx4320\\tqc\\tx5000\\tqdec\\tx6000"
    " Right\\tab aligned\\line next\\par\n"
    "\\pard\\qc Cafe\\'e9 \\u8364?euro \\uc2\\u8212\\'97\\'97dash \\uc1\\u-10179?\\u-8704?"
    " {\\f2 \\'cf\\'f0}\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\{\\}\\\\"
    "{\\v hidden}{\\*\\unknown skipped}{\\*\\shppict{\\pict\\pngblip 89504e47}}"
    "{\\nonshppict{\\pict 0102}}{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par\n"
    "\\pard before\\page after\\par\n"
    "\\pard\\pagebb\\qj\\fs48 big\\par\n"
    "\\pard tail\\bin4 {}\\x more\\par}";

TEST(RtfReader, KeepsWhatWordProcessorsWrite) {
    Loaded l{QByteArrayView(kForeign)};
    ASSERT_TRUE(l.result.readable);
    EXPECT_EQ(l.result.notice, QStringLiteral("Pictures in this letter are not kept."));
    EXPECT_EQ(l.page, (PageSettings{11906, 16838, 1000, 1200, 1100, 1300}));

    EXPECT_EQ(l.block(0).text(), QStringLiteral("Plain bolditalicunderred"));
    const QTextCharFormat plain = l.charsAt(QStringLiteral("Plain"));
    EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_EQ(plain.fontPointSize(), 10.0);
    EXPECT_FALSE(plain.fontWeight() > QFont::Normal || plain.fontItalic() || plain.fontUnderline());
    EXPECT_EQ(l.charsAt(QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(l.charsAt(QStringLiteral("italic")).fontItalic());
    EXPECT_FALSE(l.charsAt(QStringLiteral("italic")).fontWeight() == QFont::Bold);
    EXPECT_TRUE(l.charsAt(QStringLiteral("under")).fontUnderline());
    EXPECT_EQ(l.charsAt(QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(plain.hasProperty(QTextFormat::ForegroundBrush));

    const QTextBlockFormat para = l.block(1).blockFormat();
    EXPECT_EQ(para.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(twips(para.leftMargin()), 720);
    EXPECT_EQ(twips(para.rightMargin()), 360);
    EXPECT_EQ(twips(para.textIndent()), -360);
    EXPECT_EQ(twips(para.topMargin()), 120);
    EXPECT_EQ(twips(para.bottomMargin()), 240);
    const QList<QTextOption::Tab> tabs = para.tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(twips(tabs[0].position), 1440);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
    EXPECT_EQ(tabs[2].type, QTextOption::CenterTab);
    EXPECT_EQ(tabs[3].type, QTextOption::DelimiterTab);
    EXPECT_EQ(l.block(1).text(), QStringLiteral("Right\taligned\u2028next"));

    // Code page bytes, Unicode words with their stand-ins skipped (\uc2 skips a \'hh pair),
    // a surrogate pair, a font's own charset, symbols; hidden, starred, pictures, field codes
    // and headers leave nothing.
    EXPECT_EQ(l.block(2).text(),
              QStringLiteral("Cafe\u00e9 \u20aceuro \u2014dash \U0001F600 \u041f\u0440"
                             "\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0{}\\1"));
    EXPECT_EQ(l.block(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    EXPECT_EQ(l.block(3).text(), QStringLiteral("before"));
    EXPECT_EQ(l.block(4).text(), QStringLiteral("after"));
    EXPECT_FALSE(l.block(3).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_TRUE(l.block(4).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_TRUE(l.block(5).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(l.block(5).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(l.charsAt(QStringLiteral("big")).fontPointSize(), 24.0);
    // \bin's bytes are data, even when they look like groups.
    EXPECT_EQ(l.block(6).text(), QStringLiteral("tail more"));
    EXPECT_EQ(l.doc.blockCount(), 7);
    EXPECT_FALSE(l.doc.toPlainText().contains(QStringLiteral("Header")));
    EXPECT_FALSE(l.doc.toPlainText().contains(QStringLiteral("title")));
}

// The same letter after a word processor read it and wrote it back: its RTF says everything
// differently (styles, associated fonts, \\uc0 pairs, section page words) and must mean the same.
TEST(RtfReader, ReadsWhatAWordProcessorWroteBackAsTheSameLetter) {
    QFile file(QStringLiteral(QB_SOURCE_DIR "/tests/richtext/data/written_by_word_processor.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Loaded theirs{file.readAll()};
    Loaded ours{QByteArrayView(kForeign)};
    EXPECT_TRUE(theirs.result.notice.isEmpty()) << theirs.result.notice.toStdString();
    EXPECT_EQ(theirs.page, ours.page);
    ASSERT_EQ(theirs.doc.blockCount(), ours.doc.blockCount());
    for (int i = 0; i < ours.doc.blockCount(); ++i) {
        const QTextBlock a = ours.block(i), b = theirs.block(i);
        EXPECT_EQ(a.text(), b.text()) << i;
        EXPECT_EQ(a.blockFormat(), b.blockFormat()) << i;
        for (auto it = a.begin(); !it.atEnd(); ++it) {
            QTextCursor at(b);
            at.setPosition(b.position() + it.fragment().position() - a.position() + 1);
            EXPECT_EQ(it.fragment().charFormat(), at.charFormat())
                << i << " " << it.fragment().text().toStdString();
        }
    }
}

TEST(RtfReader, FileWithoutPageWordsHasTheFormatsDefaultPage) {
    Loaded l{QByteArrayView("{\\rtf1 x\\par}")};
    EXPECT_EQ(l.page, (PageSettings{12240, 15840, 1800, 1440, 1800, 1440}));
    EXPECT_EQ(l.doc.blockCount(), 1);
    EXPECT_TRUE(l.result.notice.isEmpty());
}

TEST(RtfReader, DamagedOrForeignBytesLoadWhatIsReadable) {
    Loaded truncated{QByteArrayView("{\\rtf1 {\\b first}\\par second {\\i third")};
    EXPECT_TRUE(truncated.result.readable);
    EXPECT_EQ(truncated.result.notice,
              QStringLiteral("Part of this letter is damaged; the readable text is shown."));
    EXPECT_EQ(truncated.doc.toPlainText(), QStringLiteral("first\nsecond third"));

    Loaded plain{QByteArrayView("Dear friend,\r\nsee you\xe9.")};
    EXPECT_FALSE(plain.result.readable);
    EXPECT_FALSE(plain.result.notice.isEmpty());
    EXPECT_EQ(plain.doc.toPlainText(), QStringLiteral("Dear friend,\nsee you\u00e9."));

    // Nesting far beyond any word processor, an overlong \bin, parameters out of range.
    QByteArray deep = "{\\rtf1 a";
    deep += QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c\\par}";
    Loaded nested{deep};
    EXPECT_EQ(nested.doc.toPlainText(), QStringLiteral("ac"));
    EXPECT_FALSE(nested.result.notice.isEmpty());

    Loaded bin{QByteArrayView("{\\rtf1 a\\bin99999999999999 xyz")};
    EXPECT_EQ(bin.doc.toPlainText(), QStringLiteral("a"));

    Loaded clamped{
        QByteArrayView("{\\rtf1\\paperw-99\\paperh999999999999\\margl2147483648"
                       "\\fs99999999 \\li-99999999 \\tx99999999 x\\par}")};
    EXPECT_EQ(clamped.page.paperWidth, 0);
    EXPECT_EQ(clamped.page.paperHeight, 31680);
    EXPECT_TRUE(clamped.page.degenerate());
    EXPECT_EQ(clamped.charsAt(QStringLiteral("x")).fontPointSize(), 1638.0);
    EXPECT_EQ(twips(clamped.block(0).blockFormat().leftMargin()), -31680);
}

// One document holding every kept feature, written, read back and written again.
TEST(RtfWriter, RoundTripKeepsEveryFeatureAndIsByteStable) {
    Loaded source{QByteArrayView(kForeign)};
    const QByteArray first = writeRtf(source.doc, source.page);
    for (const char c : first)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << first.data();
    for (const char* word : {"\\paperw11906", "\\paperh16838", "\\margl1000", "\\margr1100",
                             "\\margt1200", "\\margb1300"})
        EXPECT_TRUE(first.contains(word)) << word;

    Loaded again{first};
    EXPECT_TRUE(again.result.notice.isEmpty());
    EXPECT_EQ(again.page, source.page);
    ASSERT_EQ(again.doc.blockCount(), source.doc.blockCount());
    for (int i = 0; i < source.doc.blockCount(); ++i) {
        const QTextBlock a = source.block(i), b = again.block(i);
        EXPECT_EQ(a.text(), b.text()) << i;
        EXPECT_EQ(a.blockFormat(), b.blockFormat()) << i;
        EXPECT_EQ(a.charFormat(), b.charFormat()) << i;
        auto fa = a.begin(), fb = b.begin();
        for (; !fa.atEnd() && !fb.atEnd(); ++fa, ++fb) {
            EXPECT_EQ(fa.fragment().text(), fb.fragment().text()) << i;
            EXPECT_EQ(fa.fragment().charFormat(), fb.fragment().charFormat()) << i;
        }
        EXPECT_TRUE(fa.atEnd() && fb.atEnd()) << i;
    }
    EXPECT_EQ(writeRtf(again.doc, again.page), first);
}

// Damaged letters hold what a clean one cannot: blanks around and tabs inside font names,
// control characters as Unicode words. Saving such a letter twice must give the same bytes.
TEST(RtfWriter, ResavingADamagedLetterIsByteStable) {
    for (const char* damaged : {"{\\rtf1{\\fonttbl\\f0 Arial ;\\f1 Courier;}\\f0 x\\par}",
                                "{\\rtf1{\\fonttbl{\\f0 Ti\tmes;}}\\f0 x\\par}",
                                "{\\rtf1 a{\\b \\u1?\\u65532?}b\\par}"}) {
        Loaded once{QByteArrayView(damaged)};
        const QByteArray first = writeRtf(once.doc, once.page);
        Loaded twice{first};
        EXPECT_EQ(writeRtf(twice.doc, twice.page), first) << damaged;
    }
}

TEST(RtfWriter, AlwaysWritesThePageAndKeepsEmptyParagraphs) {
    QTextDocument doc;
    prepareLetterDocument(doc);
    doc.setPlainText(QStringLiteral("one\n\n"));
    const QByteArray rtf = writeRtf(doc, PageSettings{});
    EXPECT_TRUE(
        rtf.contains("\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440"
                     "\\margb1440"));
    Loaded back{rtf};
    EXPECT_EQ(back.doc.blockCount(), 3);
    EXPECT_EQ(back.page, PageSettings{});
    EXPECT_EQ(back.charsAt(QStringLiteral("one")).fontPointSize(), 12.0);
}

}  // namespace
