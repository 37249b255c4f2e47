// The small modal window every print or preview pass runs in: a status label that follows the
// pass, and one button that cancels or stops it and then closes the window. Each output
// (labels, envelopes, reports, ZIP counts) gives it its own closing texts and cancel question.
#pragma once

#include "output/report_filer.h"
#include "output/report_printer.h"

#include <QDialog>
#include <QString>

class QFrame;
class QIODevice;
class QLabel;
class QPushButton;

namespace qb {

struct StatusTexts {
    QString printCanceled;
    QString previewCanceled;
    QString previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    QString printCompleted;
    QString previewReady;
    // Asked before a printer pass is cancelled; empty cancels at once.
    QString cancelQuestion;
};

class TStatusWindow : public QDialog {
  public:
    explicit TStatusWindow(QWidget* parent = nullptr);
    ~TStatusWindow() override;

    void SetTexts(const StatusTexts& texts) { texts_ = texts; }
    const StatusTexts& Texts() const { return texts_; }

    // Makes this a printer pass: caption "Print Status", button "Cancel".
    void PreparePrinterPass();
    // Makes this a preview pass into the caller's stream: "Preview Status", button "Stop".
    void PreparePreviewPass(QIODevice* stream);
    bool IsPreview() const { return preview_; }

    TReportPrinter& ReportPrinter() { return *printer_; }
    TReportFiler& ReportFiler() { return *filer_; }
    // The engine object of the prepared pass.
    TBaseReport& Engine();
    // Sets the page-drawing and preparation routines and clears every other event.
    void WireHandlers(TReportEvent onPrint, TReportEvent onBeforePrint);

    QLabel* StatusLabel() const { return statusLabel_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    // Set by the button of a preview pass; page-drawing routines test it before each record.
    bool StopRequested() const { return stopRequested_; }
    bool Aborted() const;
    bool PassFinished() const { return finished_; }

    void CancelButtonClick();
    // Escape and the close box act only once the pass has finished.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormActivate();
    void runPass();
    QString closingText() const;

    TReportPrinter* printer_;
    TReportFiler* filer_;
    QFrame* panel_;
    QLabel* statusLabel_;
    QPushButton* cancelButton_;
    StatusTexts texts_;
    bool preview_ = false;
    bool firstActivation_ = true;
    bool running_ = false;
    bool finished_ = false;
    bool failed_ = false;
    bool stopRequested_ = false;
};

}  // namespace qb
