// The Count Zip Codes window and its report through the "PDF file" printer.
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "fixtures.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "presort/count_zip_codes.h"
#include "presort/zip_report.h"
#include "presort_test_util.h"
#include "reports/pass_front_end.h"
#include "reports/report_test_util.h"

using namespace qb::presort;
using namespace presorttest;

namespace {

// Runs passes without windows and notes the preview's caption.
class PreviewCatcher : public qb::UnshownPassFrontEnd {
  public:
    void showPreview(QIODevice&, const QString& shown) override { caption = shown; }
    QString caption;
};

class CountWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<Contact> rows;
        addCopies(rows, 300, "62704");
        area.use(makeContactFile(dir, rows), xb::UseMode::ReadOnly);
        area.setOrder(area.tagArea("LNAME"));
        area.go(7);
    }
    void TearDown() override {
        prompts.verify();
        qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::Platform);
        qb::PrinterDevice::releaseShared();
    }
    // Runs the window; `act` is called on each turn of the event loop until it returns true.
    int run(TCountZipCodes& w, std::function<bool()> act) {
        QTimer t;
        t.setInterval(0);
        QObject::connect(&t, &QTimer::timeout, [&] {
            if (act()) t.stop();
        });
        t.start();
        return w.exec();
    }

    QTemporaryDir dir;
    xb::WorkArea area;
    qb::test::PromptScript prompts;
};

TEST_F(CountWindow, CancelAnsweredNoGoesOnAndYesClosesWithoutAReport) {
    {
        TCountZipCodes w(area, nullptr);
        prompts.script.answerNo("Cancel Count?");
        bool asked = false;
        run(w, [&] {
            if (w.Counting() && !asked) {
                asked = true;
                w.findChild<QPushButton*>("CancelButton")->click();
            }
            if (w.Counted()) w.findChild<QPushButton*>("CloseButton")->click();
            return w.Counted();
        });
        ASSERT_TRUE(w.Counted());
        EXPECT_EQ(w.ReportLines().front(), "62704     300");
        // Later clicks reuse the count; a preview opens under its own caption.
        PreviewCatcher catcher;
        w.setFrontEnd(&catcher);
        w.PreviewbuttonClick();
        EXPECT_EQ(catcher.caption, "Preview Zipcode Count");
        EXPECT_TRUE(w.Counted());
        EXPECT_EQ(w.findChild<QLabel*>("WhatDoing")->text(),
                  "Finished counting. Press Print or Preview for the report");
    }
    {
        TCountZipCodes w(area, nullptr);
        prompts.script.answerYes("Cancel Count?");
        bool asked = false;
        const int result = run(w, [&] {
            if (w.Counting() && !asked) {
                asked = true;
                w.findChild<QPushButton*>("CancelButton")->click();
            }
            return asked;
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(w.Counted());
        EXPECT_TRUE(w.ReportLines().isEmpty());
    }
    // Both counts put the table back where it was.
    EXPECT_EQ(area.indexOrd(), area.tagArea("LNAME"));
    EXPECT_EQ(area.recNo(), 7u);
}

TEST_F(CountWindow, PrintSetupWithoutPrintersSaysSo) {
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::None);
    TCountZipCodes w(area, nullptr);
    prompts.script.acknowledge("There are no printers installed");
    w.PrintSetupButtonClick();
}

TEST_F(CountWindow, ReportColumnsLandWhereTheyShouldOnLetterPaper) {
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << zipReportLine(QStringLiteral("%1").arg(10000 + i), 1000 + i);
    const QString pdf = dir.filePath("zips.pdf");
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    qb::PrinterDevice::shared().selectPrinter(qb::PrinterCatalog::pdfPrinterName());
    qb::PrinterDevice::shared().setOutputFileName(pdf);
    qb::UnshownPassFrontEnd frontEnd;
    ASSERT_TRUE(RunZipReport(lines, false, frontEnd, nullptr));
    EXPECT_EQ(frontEnd.pages, 1);

    const auto words = reporttest::pdfWords(pdf);
    const auto* first = reporttest::findWord(words, "10000");
    const auto* count = reporttest::findWord(words, QLocale::system().toString(1000));
    const auto* second = reporttest::findWord(words, "10054");
    ASSERT_TRUE(first && count && second);
    EXPECT_NEAR(first->xMin, 0.55, 0.01);
    EXPECT_NEAR(count->xMax, 1.70, 0.01);
    EXPECT_NEAR(second->xMin, 2.425, 0.01);
    EXPECT_NEAR(second->yMin, first->yMin, 0.01);
    const auto* title = reporttest::findWord(words, "Zip");
    ASSERT_TRUE(title);
    EXPECT_NEAR(title->xMin, 0.5, 0.01);
}

}  // namespace

namespace {

TEST_F(CountWindow, AnEngineErrorWhileCountingIsToldAndClosesTheWindow) {
    const QString dbf = dir.filePath("CONTACTS.DBF");
    QFile file(dbf);
    ASSERT_TRUE(file.resize(file.size() / 2));
    TCountZipCodes w(area, nullptr);
    prompts.script.acknowledgeError();
    const int result = run(w, [] { return false; });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(w.Counted());
}

}  // namespace
