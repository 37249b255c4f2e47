// Pages printed through the built-in PDF printer land where their inch positions say: the
// PDF is read back with pdftotext and the words' boxes are compared with the positions.
#include "controls/scripted_prompts.h"
#include "output/file_printer.h"
#include "output/printer_device.h"
#include "output/report_error.h"
#include "output/report_printer.h"
#include "report_harness.h"
#include "store/file_size_limit.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

namespace qb {
namespace {

struct WordBox {
    double xMin, yMin, xMax, yMax;  // inches
};

struct PdfText {
    double pageWidth = 0, pageHeight = 0;  // inches, from the first page
    int pages = 0;
    std::multimap<QString, WordBox> words;
};

PdfText readPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    PdfText out;
    static const QRegularExpression pageRe(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    for (auto it = pageRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (out.pages++ == 0) {
            out.pageWidth = m.captured(1).toDouble() / 72;
            out.pageHeight = m.captured(2).toDouble() / 72;
        }
    }
    static const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = wordRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.words.insert({m.captured(5),
                          {m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72,
                           m.captured(3).toDouble() / 72, m.captured(4).toDouble() / 72}});
    }
    return out;
}

// Where a word was meant to go: its left end on the baseline, and the font's ascent and
// descent around the baseline, which is how the text extractor sizes a word's box.
struct Expected {
    QString word;
    double x, baseline, ascent, descent;
};

class PdfOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::releaseShared();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { PrinterDevice::releaseShared(); }

    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

    QTemporaryDir dir_;
};

void note(std::vector<Expected>& where, TBaseReport& r, const QString& word, double x) {
    where.push_back(
        {word, r.OriginX() + x, r.OriginY() + r.YPos(), r.FontAscent(), r.FontDescent()});
}

void drawKnownPage(TBaseReport& r, std::vector<Expected>& where) {
    r.SetFont(QStringLiteral("Arial"), 10);
    r.GotoXY(1.0, 1.0);
    note(where, r, QStringLiteral("Alpha"), r.XPos());
    r.Print(QStringLiteral("Alpha"));
    // Right and centre edges.
    const double w = r.TextWidth(QStringLiteral("Bravo"));
    note(where, r, QStringLiteral("Bravo"), 7.5 - w);
    r.PrintRight(QStringLiteral("Bravo"), 7.5);
    // A label slot: origin, section and home as label printing sets them.
    r.SetLineHeightMethod(lhmFont);
    r.SetFont(QStringLiteral("Times New Roman"), 14);
    r.SetOriginX(2.75 + 0.1875);
    r.SetOriginY(3 * 1.0 + 0.5);
    r.SetSectionTop(0);
    r.SetSectionLeft(0);
    r.SetSectionBottom(1.0);
    r.Home();
    note(where, r, QStringLiteral("Charlie"), r.XPos());
    r.Println(QStringLiteral("Charlie"));
    note(where, r, QStringLiteral("Delta"), r.XPos());
    r.Println(QStringLiteral("Delta"));
    // A right-justified tab cell.
    r.SetOriginX(0);
    r.SetOriginY(0);
    r.SetFont(QStringLiteral("Arial"), 9);
    r.SetTab(1.0, pjLeft, 1.75, 2, BOXLINENONE, 0);
    r.SetTab(NA, pjRight, 2.0, 5, BOXLINENONE, 5);
    r.GotoXY(0, 8.25);
    r.Tab();
    note(where, r, QStringLiteral("Echo"), r.XPos());
    r.Print(QStringLiteral("Echo"));
    r.Tab();
    note(where, r, QStringLiteral("1,234"), 4.75 - 0.05 - r.TextWidth(QStringLiteral("1,234")));
    r.Print(QStringLiteral("1,234"));
}

void expectWordsWhereMeant(const PdfText& pdf, const std::vector<Expected>& where) {
    ASSERT_EQ(where.size(), 6u);
    for (const Expected& e : where) {
        const auto found = pdf.words.find(e.word);
        ASSERT_NE(found, pdf.words.end()) << qPrintable(e.word);
        const WordBox& b = found->second;
        EXPECT_NEAR(b.xMin, e.x, 0.01) << qPrintable(e.word);
        EXPECT_NEAR(b.yMin, e.baseline - e.ascent, 0.01) << qPrintable(e.word);
        EXPECT_NEAR(b.yMax, e.baseline + e.descent, 0.01) << qPrintable(e.word);
    }
}

TEST_F(PdfOutput, TextsLandWhereTheirInchPositionsSay) {
    ScriptedPrompts script;
    script.answerSaveFile(path("known.pdf"));
    ScopedPrompts scoped(script);
    std::vector<Expected> where;
    TReportPrinter printer;
    printer.OnPrint = [&](TBaseReport& r) { drawKnownPage(r, where); };
    printer.Execute();
    ASSERT_FALSE(printer.Aborted());
    ASSERT_TRUE(QFile::exists(path("known.pdf")));
    EXPECT_FALSE(QFile::exists(path("known.pdf.part")));
    const PdfText pdf = readPdf(path("known.pdf"));
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NEAR(pdf.pageWidth, 8.5, 0.01);
    EXPECT_NEAR(pdf.pageHeight, 11, 0.01);
    expectWordsWhereMeant(pdf, where);
}

TEST_F(PdfOutput, AReportFileWrittenToPdfKeepsThePositionsAndTheCustomSize) {
    std::vector<Expected> where;
    PrinterDevice::shared().setPaperSize(0, 11, 9.5);
    const auto rec = test::record([&](TBaseReport& r) { drawKnownPage(r, where); });
    QBuffer stream;
    stream.setData(rec.bytes);
    TFilePrinter file;
    file.SetStream(&stream);
    file.WritePdf(path("replayed.pdf"));
    const PdfText pdf = readPdf(path("replayed.pdf"));
    EXPECT_NEAR(pdf.pageWidth, 9.5, 0.01);
    expectWordsWhereMeant(pdf, where);
}

TEST_F(PdfOutput, WritingADamagedReportLeavesNoHalfFile) {
    const auto rec = test::record([](TBaseReport& r) {
        r.Print(QStringLiteral("one"));
        r.NewPage();
        r.Print(QStringLiteral("two"));
    });
    QByteArray bytes = rec.bytes;
    const qsizetype page2 = bytes.indexOf(QByteArray("PAGE\x02\x00\x00\x00", 8));
    ASSERT_GT(page2, 0);
    bytes[page2 + 12] = char(0xEE);
    QBuffer stream;
    stream.setData(bytes);
    TFilePrinter file;
    file.SetStream(&stream);
    EXPECT_THROW(file.WritePdf(path("half.pdf")), ReportError);
    EXPECT_FALSE(QFile::exists(path("half.pdf")));
}

TEST_F(PdfOutput, PageRangeAndCopiesOfAPrinterPass) {
    ScriptedPrompts script;
    script.answerSaveFile(path("range.pdf"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    printer.SetCopies(2);
    printer.SetFirstPage(2);
    printer.SetLastPage(3);
    printer.OnPrint = [](TBaseReport& r) {
        for (int page = 1; page <= 4; ++page) {
            if (page > 1) r.NewPage();
            r.GotoXY(1, 1);
            r.Print(QStringLiteral("page%1").arg(page));
        }
    };
    printer.Execute();
    const PdfText pdf = readPdf(path("range.pdf"));
    // Pages 2 and 3, twice: the PDF printer cannot make copies itself.
    EXPECT_EQ(pdf.pages, 4);
    EXPECT_EQ(pdf.words.count(QStringLiteral("page2")), 2u);
    EXPECT_EQ(pdf.words.count(QStringLiteral("page3")), 2u);
    EXPECT_EQ(pdf.words.count(QStringLiteral("page1")), 0u);
}

TEST_F(PdfOutput, AnAbortedPrinterPassLeavesNoFile) {
    ScriptedPrompts script;
    script.answerSaveFile(path("aborted.pdf"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    bool after = false;
    printer.OnAfterPrint = [&](TBaseReport&) { after = true; };
    printer.OnPrint = [](TBaseReport& r) {
        r.Print(QStringLiteral("one"));
        r.NewPage();
        r.Abort();
    };
    printer.Execute();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_TRUE(after);
    EXPECT_FALSE(QFile::exists(path("aborted.pdf")));
    EXPECT_FALSE(QFile::exists(path("aborted.pdf.part")));
}

TEST_F(PdfOutput, CancellingTheFileChoiceRunsNoPage) {
    ScriptedPrompts script;
    script.answerSaveFile(std::nullopt);
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    bool drew = false;
    printer.OnPrint = [&](TBaseReport&) { drew = true; };
    printer.Execute();
    EXPECT_FALSE(drew);
    EXPECT_TRUE(printer.Aborted());
    EXPECT_EQ(script.asked().at(0).caption, QStringLiteral("Save PDF File As"));
}

TEST_F(PdfOutput, AnUnwritableFileIsToldByName) {
    ScriptedPrompts script;
    script.answerSaveFile(path("missing-folder/out.pdf"));
    script.acknowledgeError(path("missing-folder/out.pdf") +
                            QStringLiteral(" cannot be written (No such file or directory)"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    printer.OnPrint = [](TBaseReport& r) { r.Print(QStringLiteral("x")); };
    printer.Execute();
    EXPECT_TRUE(printer.Aborted());
}

// The PDF's document information as pdfinfo shows it ("Pages", "Title", ...).
QString pdfInfo(const QString& pdf, const QString& key) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(p.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines)
        if (line.startsWith(key + u':')) return line.mid(key.size() + 1).trimmed();
    return {};
}

// Four pages of numbered words.
void fourPages(TBaseReport& r) {
    for (int page = 1; page <= 4; ++page) {
        if (page > 1) r.NewPage();
        r.GotoXY(1, 1);
        r.Print(QStringLiteral("page%1 ").repeated(400).arg(page));
    }
}

TEST_F(PdfOutput, AFailedWriteKeepsTheEarlierFileAndFailsThePass) {
    QFile earlier(path("out.pdf"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    ScriptedPrompts script;
    script.answerSaveFile(path("out.pdf"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    printer.OnPrint = fourPages;
    {
        test::FileSizeLimit full(2048);
        EXPECT_THROW(printer.Execute(), ReportError);
    }
    EXPECT_FALSE(printer.Printing());
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
}

TEST_F(PdfOutput, APassThatFailsPartWayWritesNothing) {
    ScriptedPrompts script;
    script.answerSaveFile(path("half.pdf"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    printer.OnPrint = [](TBaseReport& r) {
        r.Print(QStringLiteral("one"));
        r.NewPage();
        throw ReportError(QStringLiteral("the records could not be read"));
    };
    EXPECT_THROW(printer.Execute(), ReportError);
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(PdfOutput, APassHasNoLastPageUnlessOneWasChosen) {
    ScriptedPrompts script;
    script.answerSaveFile(path("long.pdf"));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    printer.OnPrint = [](TBaseReport& r) {
        for (int page = 1; page < 10002; ++page)
            r.NewPage();
    };
    printer.Execute();
    EXPECT_EQ(pdfInfo(path("long.pdf"), QStringLiteral("Pages")), QStringLiteral("10002"));
}

TEST_F(PdfOutput, TheRangeChosenInThePrintDialogIsPrintedByTheNextPass) {
    ScriptedPrompts script;
    script.answerPrintDialog({true, std::nullopt, std::make_pair(2, 3)});
    script.answerSaveFile(path("chosen.pdf"));
    ScopedPrompts scoped(script);
    // A dialog asks on its own object; the status window's object prints.
    TReportPrinter dialogs;
    ASSERT_TRUE(dialogs.ShowPrintDialog());
    TReportPrinter pass;
    pass.OnPrint = fourPages;
    pass.Execute();
    EXPECT_EQ(pdfInfo(path("chosen.pdf"), QStringLiteral("Pages")), QStringLiteral("2"));
}

}  // namespace
}  // namespace qb
