// The print-envelope dialog: New on an empty table, the printer choice remembered per setup
// and per envelope size, and the command's checks.
#include <QLabel>

#include "envelopes/envelopes_command.h"
#include "envelopes/qb_envelopes.h"
#include "envelopes_fixture.h"
#include "output/printer_catalog.h"
#include "store/ini_file.h"

namespace {

using namespace qb::envelopes;
using labelstest::child;

class PrintEnvelope : public envtest::EnvelopesTest {
  protected:
    void SetUp() override {
        EnvelopesTest::SetUp();
        openContacts({{"Able"}});
    }
    std::unique_ptr<TQBEnvelopes> open() {
        auto d = std::make_unique<TQBEnvelopes>(*host);
        EXPECT_TRUE(d->OpenSetupTable());
        d->FormActivate();
        return d;
    }
    QString ini(const char* section, const QString& key) {
        return host->settings().readText(QLatin1String(section), key, QStringLiteral("<none>"));
    }
};

TEST_F(PrintEnvelope, NewOnAnEmptyTableSavesTheDefaultUnderTheTypedDescription) {
    auto d = open();
    EXPECT_FALSE(child<QWidget>(d.get(), "ModifyButton")->isEnabled());
    EXPECT_TRUE(child<QWidget>(d.get(), "NewButton")->isEnabled());
    QString offered;
    d->runDesigner = [&](const EnvelopeSetup& s) {
        offered = s.descript;
        EnvelopeSetup out = s;
        out.descript = QStringLiteral("Mine");
        out.barcodeKind = qb::labels::BarcodeKind::Imb;
        return std::optional<EnvelopeSetup>(out);
    };
    d->NewButtonClick();
    EXPECT_EQ(offered, QString::fromLatin1(kUntitledEnvelopeSetup));
    EnvelopeSetup expected;
    expected.descript = QStringLiteral("Mine");
    expected.delLeft = 3.167;  // stored to thousandths
    expected.delTop = 2.063;
    EXPECT_EQ(d->WorkingCopy(), expected);
    EXPECT_EQ(qb::labels::savedBarcodeKind(host->settings(), qb::labels::kEnvelopeBarcodeSection,
                                           QStringLiteral("Mine"), true),
              qb::labels::BarcodeKind::Imb);
    EXPECT_TRUE(child<QWidget>(d.get(), "PrintNow")->isEnabled());
}

TEST_F(PrintEnvelope, PrinterSetupRemembersTheChoiceUnderTheSetupAndItsSize) {
    auto d = open();
    d->runDesigner = [](const EnvelopeSetup& s) { return std::optional<EnvelopeSetup>(s); };
    d->NewButtonClick();
    ASSERT_EQ(d->WorkingCopy().descript, QString::fromLatin1(kUntitledEnvelopeSetup));
    qb::PrinterSetupAnswer answer;
    answer.printerName = qb::PrinterCatalog::pdfPrinterName();
    answer.paperName = QStringLiteral("Envelope #10");
    answer.orientation = QPageLayout::Landscape;
    script.answerPrinterSetup(answer);
    d->PrintSetupClick();
    const QString desc = d->WorkingCopy().descript;
    EXPECT_EQ(ini("EnvelopeByName", QStringLiteral("PRINTER") + desc),
              qb::PrinterCatalog::pdfPrinterName());
    EXPECT_EQ(ini("EnvelopeByName", QStringLiteral("PAPER") + desc),
              QStringLiteral("Envelope #10"));
    EXPECT_EQ(ini("EnvelopeByName", QStringLiteral("ORIENT") + desc), QStringLiteral("1"));
    EXPECT_EQ(ini("EnvelopeBySize", QStringLiteral("PAPEREnvelope #10")),
              QStringLiteral("Envelope #10"));
    EXPECT_EQ(ini("EnvelopeByName", QStringLiteral("BIN") + desc),
              ini("EnvelopeBySize", QStringLiteral("BINEnvelope #10")));
    EXPECT_TRUE(child<QLabel>(d.get(), "PaperLabel")->text().endsWith(u"Envelope #10"));
}

TEST_F(PrintEnvelope, AChoiceFallsBackToTheSizeAndAMissingPrinterIsSaidSo) {
    auto d = open();
    EnvelopeSetup s;
    s.descript = QStringLiteral("Unknown");
    host->settings().writeText(QStringLiteral("EnvelopeBySize"),
                               QStringLiteral("PAPEREnvelope #10"), QStringLiteral("Legal"));
    EXPECT_EQ(d->LoadPrinterChoice(s).paper, QStringLiteral("Legal"));
    host->settings().writeText(QStringLiteral("EnvelopeByName"), QStringLiteral("PAPERUnknown"),
                               QStringLiteral("A4"));
    EXPECT_EQ(d->LoadPrinterChoice(s).paper, QStringLiteral("A4"));
    EXPECT_EQ(d->LoadPrinterChoice(s).printer, qb::PrinterDevice::shared().printerName());

    // A remembered printer that is gone is shown as gone.
    host->settings().writeText(QStringLiteral("EnvelopeByName"),
                               QStringLiteral("PRINTERDefault Envelope Setup"),
                               QStringLiteral("Old Laser on LPT1:"));
    d->EnvelopeSetupDataSourceDataChange();
    EXPECT_TRUE(child<QLabel>(d.get(), "PrinterLabel")->text().contains(u"not installed"))
        << qPrintable(child<QLabel>(d.get(), "PrinterLabel")->text());
}

TEST_F(PrintEnvelope, TheCommandNeedsAPrinterAndAContact) {
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::None);
    script.acknowledge(QString::fromLatin1(kNoPrintersForEnvelopes));
    EnvelopesClick(*host);
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    host->table.close();
    EnvelopesClick(*host);  // nothing happens: no dialog, no message
}

}  // namespace
