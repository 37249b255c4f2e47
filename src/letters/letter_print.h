// Printing letters: the page loop over the chosen contacts (each letter merged anew from the
// template, its pages drawn by the paginator on the printer's page), the paper asked of the
// printer, and the status window "Print Status Screen" that runs the loop with its Cancel.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "output/printer_device.h"
#include "richtext/page_settings.h"
#include "store/record_scope.h"
#include "xbase/date.h"

class QLabel;
class QPushButton;
class QTextDocument;

namespace qb {
class Dataset;
}

namespace qb::letters {

inline constexpr const char* kLetterPrintCompleted = "Letter Print Completed!";
inline constexpr const char* kLetterPrintCanceled = "Letter Print Canceled!";
inline constexpr const char* kCancelPrintJob = "Cancel print job?";
inline constexpr const char* kNoPrintersForLetters =
    "There are no installed printers.\r\nPrinting letters is not feasible";
inline constexpr const char* kPageTooSmall =
    "The letter's margins leave no room for text on its page. Change them under Page Setup.";

// Asks the printer for the letter's paper. When the printer's page is smaller than the letter's
// either way, returns the question to ask before printing (the bottom or right of each page
// would be lost); empty when the page fits.
QString fitPaper(PrinterDevice& device, const richtext::PageSettings& page);

// What one print run is asked to do.
struct LetterJob {
    const QTextDocument* letter = nullptr;  // the template, never changed by the run
    richtext::PageSettings page;
    int copies = 1;
    bool onlyCurrent = false;
    // Today's Date; the day the run starts when not fixed.
    std::optional<xb::Jdn> date;
};

enum class LetterRunEnd { Completed, Cancelled, Failed };

// The page loop, from the contact table's current record through the selection (or that
// record alone). The document is opened and ended here; a failed end is a failure.
class LetterRun {
  public:
    LetterRun(Dataset& contacts, const LetterJob& job);

    // Told after each record with the pages printed so far.
    std::function<void(int pages)> onProgress;
    // Asked after each record; true stops the run as cancelled.
    std::function<bool()> stopRequested;

    LetterRunEnd run(PrinterDevice& device, const QString& title);
    int pages() const { return pages_; }
    int letters() const { return letters_; }
    // What went wrong when the run failed.
    QString failure() const { return failure_; }

  private:
    bool printLetter(PrinterDevice& device, const QTextDocument& merged);

    Dataset& contacts_;
    LetterJob job_;
    int pages_ = 0;
    int letters_ = 0;
    QString failure_;
};

// "Print Status Screen": runs the loop on its first showing, lets Cancel be heard once per
// record (asking "Cancel print job?"), and ends with its closing text and an OK button.
class TLetterPrint : public QDialog {
  public:
    TLetterPrint(Dataset& contacts, const LetterJob& job, QWidget* parent = nullptr);

    // The loop without showing the window (unattended runs and tests).
    LetterRunEnd RunUnshown();
    LetterRunEnd outcome() const { return outcome_; }
    const LetterRun& run() const { return run_; }
    void CancelButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    LetterRunEnd execute();
    bool pollCancel();

    LetterRun run_;
    QLabel* status_;
    QPushButton* cancel_;
    bool activated_ = false;
    bool running_ = false;
    bool cancelRequest_ = false;
    LetterRunEnd outcome_ = LetterRunEnd::Completed;
};

// A print run as Print Now starts it: the record scope applied, the printer asked for the
// letter's paper (a smaller sheet is a question, and No stops the run), the status window run
// (shown modally when show is set, else unshown), and the scope put back.
struct LetterPrintRequest {
    LetterJob job;
    ScopeChoice scope = ScopeChoice::OnlyCurrent;
    bool startFromCurrent = false;
};
struct LetterPrintResult {
    LetterRunEnd end = LetterRunEnd::Completed;
    int pages = 0;
    int letters = 0;
    QString failure;  // told already when the window was shown
};
LetterPrintResult DoPrintLetters(Dataset& contacts, const LetterPrintRequest& request,
                                 QWidget* parent, bool show);

}  // namespace qb::letters
