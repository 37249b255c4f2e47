// Units, margins and section, paper and orientation as an engine object sees them, with and
// without an installed printer.
#include "output/printer_catalog.h"
#include "output/report_filer.h"
#include "output/report_printer.h"

#include <gtest/gtest.h>
#include <QWidget>

namespace qb {
namespace {

class UnitsTest : public ::testing::Test {
  protected:
    void SetUp() override { PrinterDevice::releaseShared(); }
    void TearDown() override { PrinterDevice::releaseShared(); }
};

TEST_F(UnitsTest, UnitsFactorPicksTheNamedUnits) {
    TReportPrinter r;
    r.SetUnitsFactor(25.4);
    EXPECT_EQ(r.Units(), unMM);
    r.SetUnitsFactor(2.54);
    EXPECT_EQ(r.Units(), unCM);
    r.SetUnitsFactor(72);
    EXPECT_EQ(r.Units(), unPoint);
    r.SetUnitsFactor(10);
    EXPECT_EQ(r.Units(), unUser);
    r.SetUnitsFactor(1);
    EXPECT_EQ(r.Units(), unInch);
}

TEST_F(UnitsTest, ZeroOrNegativeUnitsFactorChangesNothing) {
    TReportPrinter r;
    r.SetUnitsFactor(25.4);
    r.SetUnitsFactor(0);
    EXPECT_EQ(r.Units(), unMM);
    EXPECT_DOUBLE_EQ(r.UnitsFactor(), 25.4);
    r.SetUnitsFactor(-3);
    EXPECT_DOUBLE_EQ(r.UnitsFactor(), 25.4);
}

TEST_F(UnitsTest, PositionsAndSizesFollowTheUnits) {
    TReportPrinter r;
    ASSERT_TRUE(r.SetPaperSize(1, 0, 0));  // letter
    r.SetOrientation(poPortrait);
    r.SetUnits(unMM);
    EXPECT_NEAR(r.PageWidth(), 215.9, 1e-6);
    r.SetMarginLeft(25.4);
    r.SetUnits(unInch);
    EXPECT_NEAR(r.MarginLeft(), 1.0, 1e-9);
    EXPECT_NEAR(r.SectionLeft(), 1.0, 1e-9);
    const double inches = r.TextWidth(QStringLiteral("Hello"));
    r.SetUnits(unMM);
    EXPECT_NEAR(r.TextWidth(QStringLiteral("Hello")), inches * 25.4, 1e-9);
}

TEST_F(UnitsTest, MarginsMoveTheSectionEdgesAndResetSectionReturnsToThem) {
    TReportPrinter r;
    r.SetPaperSize(1, 0, 0);
    r.SetOrientation(poPortrait);
    r.SetMarginLeft(0.5);
    r.SetMarginRight(0.75);
    r.SetMarginTop(1);
    r.SetMarginBottom(1.25);
    EXPECT_DOUBLE_EQ(r.SectionLeft(), 0.5);
    EXPECT_DOUBLE_EQ(r.SectionRight(), 8.5 - 0.75);
    EXPECT_DOUBLE_EQ(r.SectionTop(), 1);
    EXPECT_DOUBLE_EQ(r.SectionBottom(), 11 - 1.25);
    r.SetSectionLeft(2);
    r.SetSectionBottom(3);
    r.ResetSection();
    EXPECT_DOUBLE_EQ(r.SectionLeft(), 0.5);
    EXPECT_DOUBLE_EQ(r.SectionBottom(), 11 - 1.25);
}

TEST_F(UnitsTest, PaperCodesAndOrientationOnThePdfPrinter) {
    TReportPrinter r;
    ASSERT_TRUE(r.SetPaperSize(9, 0, 0));
    r.SetOrientation(poPortrait);
    EXPECT_NEAR(r.PageWidth(), 210 / 25.4, 1e-9);
    EXPECT_NEAR(r.PageHeight(), 297 / 25.4, 1e-9);
    ASSERT_TRUE(r.SetPaperSize(11, 0, 0));
    EXPECT_NEAR(r.PageWidth(), 148 / 25.4, 1e-9);
    r.SetOrientation(poLandScape);
    EXPECT_EQ(r.Orientation(), poLandScape);
    EXPECT_NEAR(r.PageWidth(), 210 / 25.4, 1e-9);
    r.SetOrientation(poDefault);  // leaves the printer as it is
    EXPECT_EQ(r.Orientation(), poLandScape);
    EXPECT_FALSE(r.SetPaperSize(999, 0, 0));
}

TEST_F(UnitsTest, CustomPaperGoesToThePrinterInTenthsOfAMillimetre) {
    TReportPrinter r;
    r.SetOrientation(poPortrait);
    ASSERT_TRUE(r.SetPaperSize(0, 4.125, 9.5));
    // 9.5 inches is 2413 tenths exactly; 4.125 inches is 1047.75 tenths, sent as 1048.
    EXPECT_NEAR(r.PageWidth(), 9.5, 1e-6);
    EXPECT_NEAR(r.PageHeight(), 104.8 / 25.4, 1e-6);
    // 3.14159 inches is 797.96 tenths of a millimetre; the printer gets 798.
    ASSERT_TRUE(r.SetPaperSize(0, 5, 3.14159));
    EXPECT_NEAR(r.PageWidth(), 79.8 / 25.4, 1e-6);
    EXPECT_FALSE(r.SetPaperSize(0, 0, 3));
}

TEST_F(UnitsTest, WithoutPrintersThePageIsAPlainScreenPage) {
    PrinterCatalog::setMode(PrinterCatalog::Mode::None);
    QWidget form;
    TReportFiler r(&form);
    EXPECT_DOUBLE_EQ(r.XDPI(), 96);
    EXPECT_DOUBLE_EQ(r.UnprintableLeft(), 0);
    EXPECT_DOUBLE_EQ(r.UnprintableBottom(), 0);
    // Without a printer a custom size is recorded as given, not rounded for a driver.
    ASSERT_TRUE(r.SetPaperSize(0, 4.1234, 9.4321));
    EXPECT_DOUBLE_EQ(r.PageWidth(), 9.4321);
    EXPECT_DOUBLE_EQ(r.PageHeight(), 4.1234);
    ASSERT_TRUE(r.SetPaperSize(9, 0, 0));
    EXPECT_NEAR(r.PageWidth(), 210 / 25.4, 1e-9);
    PrinterCatalog::setMode(PrinterCatalog::Mode::PdfOnly);
}

TEST_F(UnitsTest, PropertyRulesOfTheLineAndShadeSettings) {
    TReportPrinter r;
    r.SetLinesPerInch(0);
    EXPECT_EQ(r.LinesPerInch(), 6);
    r.SetLinesPerInch(8);
    EXPECT_DOUBLE_EQ(r.LineHeight(), 0.125);
    r.SetLineHeightMethod(lhmFont);
    r.SetFont(QStringLiteral("Arial"), 12);
    EXPECT_DOUBLE_EQ(r.LineHeight(), 0.2);
    r.SetLineHeight(0.3);
    EXPECT_EQ(r.LineHeightMethod(), lhmUser);
    r.SetTabShade(150);
    EXPECT_EQ(r.TabShade(), 100);
    r.SetTabShade(-4);
    EXPECT_EQ(r.TabShade(), 0);
    r.SetTitle(QStringLiteral("A title that is much longer than thirty-one characters"));
    EXPECT_EQ(r.Title().size(), 31);
}

}  // namespace
}  // namespace qb
