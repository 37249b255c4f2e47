// The "&Labels" command: its checks before the dialog, and what the window has back after it.
#include <QApplication>
#include <QFile>
#include <QRadioButton>
#include <QTimer>

#include "app_fixture.h"
#include "labels/labels_command.h"
#include "labels/qb_labels.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"

namespace qb {
namespace {

using test::AppTest;

class LabelsCommand : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        mode_ = PrinterCatalog::mode();
    }
    void TearDown() override {
        PrinterCatalog::setMode(mode_);
        PrinterDevice::releaseShared();
        AppTest::TearDown();
    }
    void startWithPeople() {
        PrinterCatalog::setMode(PrinterCatalog::Mode::PdfOnly);
        writeSettings("[MRU]\r\nItem1=" +
                      contactFile(QStringLiteral("PEOPLE.DBF"),
                                  {{"Adams", "Ann"}, {"Baker", "Bob"}, {"Clark", "Cy"}})
                          .toUtf8() +
                      "\r\n");
        start();
    }

  private:
    PrinterCatalog::Mode mode_ = PrinterCatalog::Mode::PdfOnly;
};

TEST_F(LabelsCommand, WithoutPrintersNothingOpens) {
    startWithPeople();
    PrinterCatalog::setMode(PrinterCatalog::Mode::None);
    script.acknowledge(QString::fromLatin1(labels::kNoPrintersForLabels));
    window->menus().labels->trigger();
}

TEST_F(LabelsCommand, AMissingSetupTableIsToldAndTheWindowIsLeftAsItWas) {
    startWithPeople();
    QFile::remove(path(QStringLiteral("QBMLSU.DBF")));
    QFile::remove(path(QStringLiteral("QBMLSU.CDX")));
    script.acknowledge(QStringLiteral("Unable to Open QBMLSU.DBF (label setup file)"));
    window->menus().labels->trigger();
    EXPECT_TRUE(window->tableEventsOn());
    EXPECT_FALSE(window->contactTable().controlsDisabled());
}

TEST_F(LabelsCommand, TheDialogRunsWithTheDisplayHeldAndEverythingComesBack) {
    startWithPeople();
    Dataset& table = window->contactTable();
    table.next();  // Baker
    const uint32_t record = table.recNo();
    const QString selection = table.selection();
    bool checked = false;
    QTimer::singleShot(20, [&] {
        auto* dialog = dynamic_cast<labels::TQBLabels*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        checked = true;
        EXPECT_FALSE(window->tableEventsOn());
        EXPECT_TRUE(table.controlsDisabled());
        // No filter is in force: "Records matching filter" is not offered.
        EXPECT_FALSE(dialog->findChild<QRadioButton*>(QStringLiteral("rbQFilter"))->isEnabled());
        EXPECT_TRUE(dialog->findChild<QRadioButton*>(QStringLiteral("rbQAll"))->isChecked());
        // Something moved the table meanwhile.
        table.setSelection(QStringLiteral("LNAME=\"Clark\""));
        table.setOrderTag(QStringLiteral("ZIP"));
        dialog->accept();
    });
    window->menus().labels->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(window->tableEventsOn());
    EXPECT_FALSE(table.controlsDisabled());
    EXPECT_EQ(table.selection(), selection);
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(table.recNo(), record);
    EXPECT_EQ(PrinterDevice::shared().printerName(), PrinterCatalog::pdfPrinterName());
}

}  // namespace
}  // namespace qb
