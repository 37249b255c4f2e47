// Paging in twips: where text lands on paper (read back from a PDF with pdftotext -bbox),
// page breaks, and pages that cannot hold text.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include "richtext/paginator.h"
#include "richtext/rtf_reader.h"

using namespace qb::richtext;

namespace {

struct Word {
    int page;
    QString text;
    double xMin, yMin, xMax, yMax;  // inches from the paper's top-left corner
};

// Reads the RTF, pages it, prints every page into a PDF and reads the words back.
std::vector<Word> printedWords(const QByteArray& rtf, int* pageCount = nullptr) {
    QTextDocument doc;
    PageSettings page;
    readRtf(rtf, doc, page);
    const Paginator pages(doc, page);
    if (pageCount) *pageCount = pages.pageCount();

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QSizeF(page.paperWidth / 1440.0, page.paperHeight / 1440.0),
                                     QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        painter.scale(1200.0 / 1440, 1200.0 / 1440);
        for (int i = 0; i < pages.pageCount(); ++i) {
            if (i) writer.newPage();
            pages.drawPage(painter, i);
        }
    }
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    run.waitForFinished(60000);
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    std::vector<Word> words;
    int pageNo = -1;
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++pageNo;
            continue;
        }
        words.push_back({pageNo, m.captured(5), m.captured(1).toDouble() / 72,
                         m.captured(2).toDouble() / 72, m.captured(3).toDouble() / 72,
                         m.captured(4).toDouble() / 72});
    }
    return words;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    ADD_FAILURE() << "word not printed: " << text.toStdString();
    static const Word none{-1, {}, -1, -1, -1, -1};
    return &none;
}

constexpr double kTolerance = 0.02;

class PaginatorPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
};

TEST_F(PaginatorPdf, MarginsIndentsTabsAndAlignmentLandWhereTheTemplateSays) {
    QByteArray hangingWords;
    for (int i = 0; i < 40; ++i)
        hangingWords += "h" + QByteArray::number(i) + " ";
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\\paperw12240\\paperh15840"
        "\\margl1440\\margr1800\\margt1080\\margb1440\\f0\\fs24 "
        "\\pard Alpha beta\\par"
        "\\pard\\qr Ending here\\par"
        "\\pard\\li720\\fi-360 Hanging " +
        hangingWords +
        "\\par"
        "\\pard\\tx2880 Before\\tab Tabbed\\par"
        "\\pard\\li720\\tx2880 Indented\\tab Stopped\\par"
        "\\pard\\li720\\fi-360 1.\\tab Item\\par"
        "\\pard\\li360 a\\tab Default\\par"
        "\\pard Broken\\line Continued\\par}";
    const std::vector<Word> words = printedWords(rtf);
    const Word* alpha = find(words, QStringLiteral("Alpha"));
    EXPECT_NEAR(alpha->xMin, 1.00, kTolerance);
    EXPECT_NEAR(alpha->yMin, 0.75, kTolerance);
    EXPECT_NEAR(find(words, QStringLiteral("here"))->xMax, 7.25, kTolerance);
    EXPECT_NEAR(find(words, QStringLiteral("Hanging"))->xMin, 1.25, kTolerance);
    const double firstLine = find(words, QStringLiteral("Hanging"))->yMin;
    double nextLines = 99;
    for (const Word& w : words)
        if (w.text.startsWith(QLatin1Char('h')) && w.yMin > firstLine + 0.1)
            nextLines = std::min(nextLines, w.xMin);
    EXPECT_NEAR(nextLines, 1.50, kTolerance) << "wrapped lines start at the left indent";
    EXPECT_NEAR(find(words, QStringLiteral("Tabbed"))->xMin, 3.00, kTolerance);
    EXPECT_NEAR(find(words, QStringLiteral("Indented"))->xMin, 1.50, kTolerance);
    EXPECT_NEAR(find(words, QStringLiteral("Stopped"))->xMin, 3.00, kTolerance)
        << "tab stops count from the text margin, not from the indent";
    EXPECT_NEAR(find(words, QStringLiteral("Item"))->xMin, 1.50, kTolerance);
    EXPECT_NEAR(find(words, QStringLiteral("Default"))->xMin, 1.50, kTolerance);
    const Word* continued = find(words, QStringLiteral("Continued"));
    EXPECT_NEAR(continued->xMin, 1.00, kTolerance);
    EXPECT_GT(continued->yMin, find(words, QStringLiteral("Broken"))->yMax - kTolerance);
}

TEST_F(PaginatorPdf, EveryWordPrintsOnceAndNoLineCrossesAPageEdge) {
    QByteArray rtf =
        "{\\rtf1\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440"
        "\\margb1440\\fs28 ";
    QStringList expected;
    for (int p = 0; p < 120; ++p) {
        for (int w = 0; w < 12; ++w) {
            const QString word = QStringLiteral("w%1x%2").arg(p).arg(w);
            expected << word;
            rtf += word.toLatin1() + ' ';
        }
        rtf += p == 60 ? "\\page " : "\\par ";
    }
    rtf += "}";
    int pageCount = 0;
    const std::vector<Word> words = printedWords(rtf, &pageCount);
    ASSERT_GT(pageCount, 2);
    QStringList printed;
    for (const Word& w : words) {
        EXPECT_GE(w.yMin, 1.0 - kTolerance) << w.text.toStdString();
        EXPECT_LE(w.yMax, 10.0 + kTolerance) << w.text.toStdString();
        printed << w.text;
    }
    EXPECT_EQ(printed, expected);
    // The paragraph after the break opens its page.
    const Word* after = find(words, QStringLiteral("w61x0"));
    EXPECT_NEAR(after->yMin, 1.0, kTolerance);
    EXPECT_EQ(after->page, find(words, QStringLiteral("w60x11"))->page + 1);
}

TEST(Paginator, PageStartsPointAtTheFirstCharacterOfEachPage) {
    QTextDocument doc;
    PageSettings page;
    readRtf("{\\rtf1\\paperw12240\\paperh15840 one\\par two\\page three\\par}", doc, page);
    const Paginator pages(doc, page);
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_EQ(pages.pageStarts(), (QList<int>{0, int(doc.toPlainText().indexOf("three"))}));
}

TEST(Paginator, RefusesPagesThatCannotHoldTextAndNeverStalls) {
    QTextDocument doc;
    PageSettings page;
    readRtf("{\\rtf1 text\\par}", doc, page);
    for (const PageSettings bad :
         {PageSettings{0, 15840, 0, 0, 0, 0}, PageSettings{12240, 15840, 6000, 1440, 6000, 1440},
          PageSettings{12240, 2000, 1440, 1000, 1440, 300}, PageSettings{-5, -5, 0, 0, 0, 0}}) {
        EXPECT_TRUE(bad.degenerate());
        EXPECT_EQ(Paginator(doc, bad).pageCount(), 0);
    }
    // Just over half an inch each way is still a page; a line taller than it gets a page of
    // its own instead of being pushed on forever.
    readRtf(
        "{\\rtf1\\paperw1460\\paperh1460\\margl360\\margr360\\margt360\\margb360"
        " a\\par\\fs3276 B\\par c\\par}",
        doc, page);
    EXPECT_FALSE(page.degenerate());
    EXPECT_EQ(Paginator(doc, page).pageCount(), 3);
}

}  // namespace
