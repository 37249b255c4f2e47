// "Count Zip Codes": counts the ZIP keys of the contact table's selection as soon as it opens,
// with progress and a Cancel that asks first, then offers the count report to print or
// preview.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

#include "presort/bulk_mail_presort.h"
#include "presort/zip_tally.h"

class QLabel;
class QPushButton;
class QWidget;

namespace qb {
class PassFrontEnd;
class TReportPrinter;
}  // namespace qb

namespace qb::presort {

class TCountZipCodes : public QDialog, private PresortObserver {
  public:
    // The window's own close request, posted so it arrives after the activation handler.
    static constexpr int kCloseMessage = 42;
    static constexpr int kHelpContext = 4571;

    // mainWindow is where the status and preview windows centre themselves.
    TCountZipCodes(xb::WorkArea& contacts, QWidget* mainWindow, QWidget* parent = nullptr);
    ~TCountZipCodes() override;

    void DoTheSort();
    void CancelButtonClick();
    void PrintButtonClick();
    void PreviewbuttonClick();
    void PrintSetupButtonClick();
    void CloseButtonClick();

    bool Counted() const { return counted_; }
    bool Counting() const { return counting_; }
    const QStringList& ReportLines() const { return lines_; }
    const std::optional<ZipTally>& Tally() const { return tally_; }

    // Tests put their own in place of the status and preview windows.
    void setFrontEnd(PassFrontEnd* frontEnd) { frontEnd_ = frontEnd; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void reject() override;

  private:
    void FormActivate();
    void DoThePrintJob(bool preview);
    void showProgress(const QString& text) override;
    void letPendingEventsRun() override;
    bool cancelRequested() override { return cancelled_; }

    xb::WorkArea& contacts_;
    TReportPrinter* printer_;
    std::unique_ptr<PassFrontEnd> dialogFrontEnd_;
    PassFrontEnd* frontEnd_;
    QLabel* whatDoing_;
    QLabel* statusLabel_;
    QPushButton* cancelButton_;
    QWidget* livePanel_;
    std::optional<ZipTally> tally_;
    QStringList lines_;
    bool firstActivation_ = true;
    bool counting_ = false;
    bool counted_ = false;
    bool cancelled_ = false;
};

}  // namespace qb::presort
