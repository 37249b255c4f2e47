// "Print Envelope" (TQBEnvelopes): the envelope setups of QBMESU.DBF with New, Modify and
// Delete, the printer, paper source and paper each setup was last printed with, and Print Now
// and Preview of one envelope for the main window's current contact.
#pragma once

#include <QDialog>
#include <memory>

#include "envelopes/envelope_job.h"
#include "envelopes/envelope_setup.h"
#include "store/contact_host.h"
#include "store/dataset.h"

class QLabel;
class QPushButton;

namespace qb {
class TReportPrinter;
}
namespace qb::labels {
class TableGrid;
}

namespace qb::envelopes {

inline constexpr const char* kUntitledEnvelopeSetup = "{Untitled Envelope Setup Record}";

// The printer choice remembered for a setup, as read from the settings file.
struct PrinterChoice {
    QString printer;
    QString bin;
    QString paper;
    int orientation = 0;
};

// The dialog's front end: the status window shown modally, the preview window.
class EnvelopeDialogFrontEnd : public EnvelopeJobFrontEnd {
  public:
    EnvelopeDialogFrontEnd(QWidget* mainWindow, std::function<bool()> printDialog)
        : main_(mainWindow), printDialog_(std::move(printDialog)) {}
    bool confirmPrint(TEnvelopeForm& window) override;
    bool runPass(TEnvelopeForm& window) override;
    void showPreview(QIODevice& stream) override;

  private:
    QWidget* main_;
    std::function<bool()> printDialog_;
};

class TQBEnvelopes : public QDialog {
  public:
    explicit TQBEnvelopes(ContactHost& host, QWidget* parent = nullptr);
    ~TQBEnvelopes() override;

    // Opens QBMESU.DBF from the program folder on the first row; false when it cannot.
    bool OpenSetupTable();

    void FormActivate();
    void EnvelopeSetupDataSourceDataChange();
    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void PrintNowClick();
    void PreviewButtonClick();
    void PrintSetupClick();

    // The setup of the current row (the default setup when there is none).
    const EnvelopeSetup& WorkingCopy() const { return working_; }
    // The printer choice of a setup as the settings file and the device give it.
    PrinterChoice LoadPrinterChoice(const EnvelopeSetup& setup) const;
    // Writes the device's printer, source, paper and orientation under the setup's
    // description and envelope name.
    void SavePrinterChoice(const EnvelopeSetup& setup) const;
    EnvelopeJobOutcome LastOutcome() const { return lastOutcome_; }

    // Tests put an unshown front end here.
    void setFrontEnd(EnvelopeJobFrontEnd* frontEnd) { frontEnd_ = frontEnd; }
    // Runs the designer on a copy of the setup; the edited setup when it closed with Save.
    // Replaceable for tests.
    std::function<std::optional<EnvelopeSetup>(const EnvelopeSetup&)> runDesigner;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void readCurrent();
    void applyPrinterChoice();
    void showPrinterLabels();
    void SetButtons();
    void DoPrint(bool preview);

    ContactHost& host_;
    Dataset setups_;
    TReportPrinter* printer_;
    std::unique_ptr<EnvelopeDialogFrontEnd> dialogFrontEnd_;
    EnvelopeJobFrontEnd* frontEnd_;
    EnvelopeSetup working_;
    bool newSetup_ = false;
    bool firstActivation_ = true;
    QString choicePrinter_;
    EnvelopeJobOutcome lastOutcome_ = EnvelopeJobOutcome::Completed;
    labels::TableGrid* grid_;
    QPushButton *modify_, *new_, *delete_, *printNow_, *preview_;
    QLabel *printerLabel_, *binLabel_, *paperLabel_;
};

}  // namespace qb::envelopes
