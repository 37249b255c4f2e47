// The labels status window: a print or preview pass of a label run, with the labels' own
// closing texts and cancel question.
#pragma once

#include <memory>

#include "labels/label_sheet.h"
#include "output/status_window.h"

namespace qb::labels {

// The closing texts and the cancel question of label passes.
StatusTexts labelStatusTexts();

class TLabelPrint : public TStatusWindow {
  public:
    explicit TLabelPrint(QWidget* parent = nullptr);
    ~TLabelPrint() override;

    // Sets up the run that PrintLabels draws. Call after PreparePrinterPass or
    // PreparePreviewPass; wires the engine's events to the two routines below.
    void PrepareRun(xb::WorkArea& contacts, const LabelSetup& setup, int copies,
                    const QString& presortFolder, ImbMailer* imbMailer = nullptr);

    // OnBeforePrint: the page number over two empty status lines.
    void BeforePrintLabels(TBaseReport& report);
    // OnPrint: the labels of the whole run.
    void PrintLabels(TBaseReport& report);

    // Runs the prepared pass without showing the window (unattended runs). Engine failures
    // pass to the caller.
    void RunUnshown();

    const LabelSheetRun* run() const { return run_.get(); }

  private:
    std::unique_ptr<LabelSheetRun> run_;
};

}  // namespace qb::labels
