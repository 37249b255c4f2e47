// The printer layer: the installed printers with the built-in PDF printer, the one shared
// selection, papers and paper sources, and the print and set-up dialogs through the prompts.
#include "controls/scripted_prompts.h"
#include "output/ppd_bins.h"
#include "output/printer_catalog.h"
#include "output/report_printer.h"

#include "controls/qt_prompts.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace qb {
namespace {

class PrinterLayer : public ::testing::Test {
  protected:
    void SetUp() override { PrinterDevice::releaseShared(); }
    void TearDown() override {
        PrinterCatalog::setMode(PrinterCatalog::Mode::PdfOnly);
        PrinterDevice::releaseShared();
    }
};

TEST_F(PrinterLayer, ThePdfPrinterIsAlwaysInstalledAndIsTheDefaultWithoutOthers) {
    TReportPrinter r;
    EXPECT_EQ(r.PrinterNames(), QStringList{QStringLiteral("PDF file")});
    EXPECT_EQ(r.PrinterIndex(), 0);
    EXPECT_EQ(PrinterCatalog::defaultName(), QStringLiteral("PDF file"));
    // The platform's own printers, whatever they are here, come before it.
    PrinterCatalog::setMode(PrinterCatalog::Mode::Platform);
    EXPECT_EQ(PrinterCatalog::names().constLast(), QStringLiteral("PDF file"));
}

TEST_F(PrinterLayer, NoPrintersMeansAnEmptyListAndIndexMinusOne) {
    PrinterCatalog::setMode(PrinterCatalog::Mode::None);
    TReportPrinter r;
    EXPECT_TRUE(r.PrinterNames().isEmpty());
    EXPECT_EQ(r.PrinterIndex(), -1);
    EXPECT_FALSE(r.SelectPrinter(QStringLiteral("PDF file")));
    EXPECT_TRUE(r.BinNames().isEmpty());
    EXPECT_TRUE(r.PaperNames().isEmpty());
    EXPECT_FALSE(r.ShowPrintDialog());  // nothing to show, and no prompt appears
}

TEST_F(PrinterLayer, SelectionByNameAndIndex) {
    TReportPrinter r;
    EXPECT_FALSE(r.SelectPrinter(QStringLiteral("No Such Printer")));
    EXPECT_TRUE(r.SelectPrinter(QStringLiteral("PDF file")));
    r.SetPrinterIndex(5);  // outside the list: refused
    EXPECT_EQ(r.PrinterIndex(), 0);
    r.SetPrinterIndex(-1);  // the default
    EXPECT_EQ(r.PrinterIndex(), 0);
}

TEST_F(PrinterLayer, ChoicesMadeThroughOneObjectAreWhatTheNextObjectUses) {
    {
        TReportPrinter dialogs;
        ASSERT_TRUE(dialogs.SelectPaper(QStringLiteral("A5")));
        dialogs.SetOrientation(poLandScape);
        dialogs.SetCopies(3);
    }
    TReportPrinter status;
    EXPECT_EQ(status.PaperNames().at(status.PaperIndex()), QStringLiteral("A5"));
    EXPECT_EQ(status.Orientation(), poLandScape);
    EXPECT_EQ(status.Copies(), 3);
    // Released, the next use starts afresh on the default printer and its defaults.
    PrinterDevice::releaseShared();
    EXPECT_EQ(status.Orientation(), poPortrait);
    EXPECT_EQ(status.Copies(), 1);
    EXPECT_EQ(status.PaperNames().at(status.PaperIndex()), QStringLiteral("Letter"));
}

TEST_F(PrinterLayer, PapersAndBinsOfThePdfPrinter) {
    TReportPrinter r;
    const QStringList papers = r.PaperNames();
    EXPECT_TRUE(papers.contains(QStringLiteral("A4")));
    EXPECT_TRUE(papers.contains(QStringLiteral("Envelope #10")));
    EXPECT_FALSE(r.SelectPaper(QStringLiteral("Napkin")));
    ASSERT_TRUE(r.SelectPaper(QStringLiteral("Envelope #10")));
    EXPECT_NEAR(r.PageWidth(), 4.125, 1e-3);
    EXPECT_EQ(r.BinNames(), QStringList{QStringLiteral("Automatically Select")});
    EXPECT_TRUE(r.SelectBin(QStringLiteral("Automatically Select")));
    EXPECT_FALSE(r.SelectBin(QStringLiteral("Tray 9")));
    EXPECT_EQ(r.BinIndex(), 0);
    // A custom size is no paper of the list.
    ASSERT_TRUE(r.SetPaperSize(0, 5, 7));
    EXPECT_EQ(r.PaperIndex(), -1);
}

TEST_F(PrinterLayer, PrintDialogTakesBackCopiesAndPageRange) {
    ScriptedPrompts script;
    ScopedPrompts scoped(script);
    TReportPrinter r;
    script.answerPrintDialog({true, 2, std::make_pair(3, 5)});
    ASSERT_TRUE(r.ShowPrintDialog());
    EXPECT_EQ(r.Copies(), 2);
    EXPECT_EQ(r.FirstPage(), 3);
    EXPECT_EQ(r.LastPage(), 5);

    script.answerPrintDialog({true, std::nullopt, std::nullopt});
    ASSERT_TRUE(r.ShowPrintDialog());
    EXPECT_EQ(r.FirstPage(), 1);
    EXPECT_EQ(r.LastPage(), kNoLastPage);

    script.answerPrintDialog({false, 7, std::make_pair(2, 2)});
    EXPECT_FALSE(r.ShowPrintDialog());
    EXPECT_EQ(r.FirstPage(), 1);
    EXPECT_EQ(script.asked().size(), 3);
}

TEST_F(PrinterLayer, PrinterSetupChangesThePaperAndOrientation) {
    ScriptedPrompts script;
    ScopedPrompts scoped(script);
    TReportPrinter r;
    r.SetOrientation(poPortrait);
    script.answerPrinterSetup({true, QStringLiteral("A4"), QPageLayout::Landscape,
                               QStringLiteral("PDF file"), QStringLiteral("Automatically Select")});
    ASSERT_TRUE(r.ShowPrinterSetupDialog());
    EXPECT_EQ(r.Orientation(), poLandScape);
    EXPECT_NEAR(r.PageWidth(), 297 / 25.4, 1e-9);
    script.answerPrinterSetup({false, QStringLiteral("A5"), std::nullopt, {}, {}});
    EXPECT_FALSE(r.ShowPrinterSetupDialog());
    EXPECT_EQ(r.PaperNames().value(r.PaperIndex()), QStringLiteral("A4"));
}

TEST_F(PrinterLayer, PrinterSetupIsOurOwnDialogForThePdfPrinterToo) {
    QtPrompts real;
    ScopedPrompts scoped(real);
    TReportPrinter r;
    r.SetPaperSize(0, 11, 4);  // a paper the printer does not list
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* paper = dialog->findChild<QComboBox*>(QStringLiteral("PaperCombo"));
        if (!paper) {
            dialog->close();
            FAIL() << "Printer Setup showed another dialog";
        }
        shown << dialog->findChild<QComboBox*>(QStringLiteral("PrinterCombo"))->currentText()
              << paper->currentText();
        dialog->findChild<QRadioButton*>(QStringLiteral("LandscapeButton"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    ASSERT_TRUE(r.ShowPrinterSetupDialog());
    EXPECT_EQ(shown, QStringList({QStringLiteral("PDF file"), QString()}));
    // The unlisted paper stays; the orientation chosen takes effect.
    EXPECT_EQ(r.Orientation(), poLandScape);
    EXPECT_NEAR(r.PageWidth(), 11, 0.01);
    EXPECT_NEAR(r.PageHeight(), 4, 0.01);

    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>(QStringLiteral("PaperCombo"))->setCurrentText("A5");
        dialog->findChild<QRadioButton*>(QStringLiteral("PortraitButton"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    ASSERT_TRUE(r.ShowPrinterSetupDialog());
    EXPECT_EQ(r.Orientation(), poPortrait);
    EXPECT_NEAR(r.PageWidth(), 148 / 25.4, 0.01);
}

TEST(PpdBins, InputSlotsWithAndWithoutTranslations) {
    QBuffer ppd;
    ppd.setData(
        "*PPD-Adobe: \"4.3\"\n"
        "*OpenUI *InputSlot/Paper Source: PickOne\n"
        "*DefaultInputSlot: Auto\n"
        "*InputSlot Auto/Automatically Select: \"<</ManualFeed false>>setpagedevice\"\n"
        "*InputSlot Manual/Manual Feed: \"<</ManualFeed true>>setpagedevice\"\n"
        "*InputSlot Tray2: \"<</MediaPosition 2>>setpagedevice\"\n"
        "*InputSlot : \"broken\"\n"
        "*CloseUI: *InputSlot\n");
    ppd.open(QIODevice::ReadOnly);
    const auto bins = readPpdInputSlots(ppd);
    ASSERT_EQ(bins.size(), 3u);
    EXPECT_EQ(bins[0].name, QStringLiteral("Automatically Select"));
    EXPECT_EQ(bins[0].keyword, QStringLiteral("Auto"));
    EXPECT_EQ(bins[1].name, QStringLiteral("Manual Feed"));
    EXPECT_EQ(bins[2].name, QStringLiteral("Tray2"));
    EXPECT_TRUE(ppdInputSlotsOf(QStringLiteral("../etc/passwd")).empty());
}

}  // namespace
}  // namespace qb
