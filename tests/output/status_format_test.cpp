// Status template expansion: the macros, their case, and what an engine fills in for them.
#include "output/status_format.h"
#include "output/report_filer.h"
#include "output/report_printer.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QWidget>

namespace qb {
namespace {

TEST(StatusFormat, PageOverTwoEmptyLinesWhenStatusTextIsEmpty) {
    StatusValues v;
    v.currentPage = 12;
    EXPECT_EQ(expandStatus(QStringLiteral("Printing Page %p\r%0\r%1"), v),
              QStringLiteral("Printing Page 12\r\r"));
}

TEST(StatusFormat, StatusLinesAndPageNumbersByMacro) {
    StatusValues v;
    v.currentPage = 3;
    v.firstPage = 2;
    v.lastPage = 40;
    v.lines = {QStringLiteral("zero"), QStringLiteral("one")};
    EXPECT_EQ(expandStatus(QStringLiteral("%0|%1|%2|%9|%p %P %f %L"), v),
              QStringLiteral("zero|one|||3 3 2 40"));
}

TEST(StatusFormat, UnknownMacroShowsErrorWithCharacterUpperCased) {
    StatusValues v;
    EXPECT_EQ(expandStatus(QStringLiteral("a%xb"), v), QStringLiteral("a<ERROR-%X>b"));
    EXPECT_EQ(expandStatus(QStringLiteral("%?"), v), QStringLiteral("<ERROR-%?>"));
}

TEST(StatusFormat, PercentSignsAndTrailingPercent) {
    StatusValues v;
    v.currentPage = 7;
    EXPECT_EQ(expandStatus(QStringLiteral("100%% done %p%"), v), QStringLiteral("100% done 7%"));
    EXPECT_EQ(expandStatus(QStringLiteral("%"), v), QStringLiteral("%"));
    EXPECT_EQ(expandStatus(QString(), v), QString());
}

TEST(StatusFormat, DeviceMacrosOfAReportFilePass) {
    QWidget form;
    TReportFiler filer(&form);
    filer.SetStatusFormat(QStringLiteral("%d/%r/%t"));
    EXPECT_EQ(filer.StatusString(), QStringLiteral("Preview/Preview/Screen"));
}

TEST(StatusFormat, DeviceMacrosOfAPrinterPassNameThePrinter) {
    PrinterDevice::releaseShared();
    TReportPrinter printer;
    printer.SetStatusFormat(QStringLiteral("%D on %T"));
    EXPECT_EQ(printer.StatusString(), QStringLiteral("PDF file on FILE:"));
}

TEST(StatusFormat, UpdateStatusWritesTheLabelOnlyWhenThereIsOne) {
    QWidget form;
    TReportFiler filer(&form);
    filer.StatusText() << QStringLiteral("first");
    filer.SetStatusFormat(QStringLiteral("Page %p\r%0"));
    filer.UpdateStatus();  // no label: nothing to do, nothing fails
    QLabel label;
    filer.SetStatusLabel(&label);
    filer.UpdateStatus();
    EXPECT_EQ(label.text(), QStringLiteral("Page 0\nfirst"));
}

}  // namespace
}  // namespace qb
