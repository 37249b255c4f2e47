// "Print Report": the report title, the four layouts, Print Codes and Print Memo, the record
// scope, and Print Now, Preview and Printer Setup. The title is kept in the settings file when
// the dialog is left.
#pragma once

#include <QDialog>
#include <memory>

#include "reports/report_job.h"
#include "store/contact_host.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace qb {
class PassFrontEnd;
class TReportPrinter;
}  // namespace qb

namespace qb::reports {

class TUserDesignedReport : public QDialog {
  public:
    static constexpr int kHelpContext = 1038;

    explicit TUserDesignedReport(ContactHost& host, QWidget* parent = nullptr);
    ~TUserDesignedReport() override;

    // Without a filter in force "Records matching filter" is not offered.
    void DisableFilterChoice();

    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void CancelButtonClick();

    // The run a click would make, from the controls.
    ReportRequest request(bool preview) const;
    // Tests put their own in place of the status and preview windows.
    void setFrontEnd(PassFrontEnd* frontEnd) { frontEnd_ = frontEnd; }
    const ReportResult& lastResult() const { return lastResult_; }

    // Escape and the close box leave as Cancel does.
    void reject() override;

  private:
    void DoPrint(bool preview);

    ContactHost& host_;
    TReportPrinter* printer_;
    std::unique_ptr<PassFrontEnd> dialogFrontEnd_;
    PassFrontEnd* frontEnd_;
    ReportResult lastResult_;
    QLineEdit* title_;
    QListWidget* list_;
    QCheckBox *memo_, *codes_, *startCurrent_;
    QRadioButton *all_, *filter_, *onlyThis_;
};

}  // namespace qb::reports
