// The "&Reports" and "Count &Zip Codes" commands from the main window's menus.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app_fixture.h"
#include "modal_guard.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "presort/count_zip_codes.h"
#include "reports/reports_command.h"
#include "reports/user_designed_report.h"

namespace qb {
namespace {

using test::AppTest;

class ReportCommands : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        mode_ = PrinterCatalog::mode();
        PrinterCatalog::setMode(PrinterCatalog::Mode::PdfOnly);
        file = contactFile(QStringLiteral("PEOPLE.DBF"), {{"Adams", "Ann"}, {"Baker", "Bob"}});
        writeSettings("[MRU]\r\nItem1=" + file.toUtf8() + "\r\n");
        start();
    }
    void TearDown() override {
        PrinterCatalog::setMode(mode_);
        PrinterDevice::releaseShared();
        AppTest::TearDown();
    }
    // Opens the report dialog from the menu and hands it to `act` once it is up.
    void withReportDialog(const std::function<void(reports::TUserDesignedReport&)>& act) {
        bool seen = false;
        test::whenModal<reports::TUserDesignedReport>([&](reports::TUserDesignedReport& d) {
            seen = true;
            act(d);
        });
        window->menus().reports->trigger();
        EXPECT_TRUE(seen);
    }

    QString file;

  private:
    PrinterCatalog::Mode mode_ = PrinterCatalog::Mode::PdfOnly;
};

TEST_F(ReportCommands, ReportsWithoutPrintersSaysSoAndOpensNothing) {
    PrinterCatalog::setMode(PrinterCatalog::Mode::None);
    script.acknowledge(QString::fromLatin1(reports::kNoPrintersForReports));
    window->menus().reports->trigger();
}

TEST_F(ReportCommands, TheTitleDefaultsToTheFileAndIsKeptWhenTheDialogIsLeft) {
    Dataset& table = window->contactTable();
    table.next();
    const uint32_t record = table.recNo();
    withReportDialog([&](reports::TUserDesignedReport& d) {
        EXPECT_FALSE(window->tableEventsOn());
        EXPECT_FALSE(d.findChild<QRadioButton*>(QStringLiteral("rbQFilter"))->isEnabled());
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("rbQAll"))->isChecked());
        EXPECT_EQ(d.findChild<QListWidget*>(QStringLiteral("ReportList"))->currentRow(), 0);
        auto* title = d.findChild<QLineEdit*>(QStringLiteral("TitleField"));
        EXPECT_EQ(title->text(), QStringLiteral("Report for: ") + file);
        title->setText(QStringLiteral("Members 2026"));
        d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    });
    EXPECT_TRUE(window->tableEventsOn());
    EXPECT_EQ(table.recNo(), record);
    withReportDialog([&](reports::TUserDesignedReport& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("TitleField"))->text(), "Members 2026");
        d.reject();
    });
}

TEST_F(ReportCommands, PrintNowRunsNothingWhenThePrintDialogIsCancelled) {
    withReportDialog([&](reports::TUserDesignedReport& d) {
        script.answerPrintDialog({false});
        d.findChild<QPushButton*>(QStringLiteral("PrintNow"))->click();
        EXPECT_EQ(d.lastResult().records, 0);
        EXPECT_EQ(d.lastResult().pages, 0);
        d.reject();
    });
}

TEST_F(ReportCommands, CountZipCodesCountsTheSelectionAndGivesTheRecordBack) {
    Dataset& table = window->contactTable();
    table.next();
    const uint32_t record = table.recNo();
    bool counted = false;
    QTimer t;
    t.setInterval(0);
    QObject::connect(&t, &QTimer::timeout, [&] {
        auto* d = dynamic_cast<presort::TCountZipCodes*>(QApplication::activeModalWidget());
        if (!d || !d->Counted()) return;
        counted = true;
        EXPECT_EQ(d->Tally()->blanks(), 2u);
        d->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
    });
    t.start();
    window->menus().countZipCodes->trigger();
    EXPECT_TRUE(counted);
    EXPECT_EQ(table.recNo(), record);
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
}

}  // namespace
}  // namespace qb
