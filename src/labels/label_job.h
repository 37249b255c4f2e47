// One print or preview of labels from a setup: the record scope, the presort, the paper and
// its check, the pass in the labels status window and the preview, with the contact table's
// selection, order and record put back afterwards. The print-labels dialog and the
// unattended command line both run labels through here.
#pragma once

#include <QString>

#include "labels/barcode_run.h"
#include "labels/label_setup.h"
#include "store/dataset.h"
#include "store/record_scope.h"

class QIODevice;
class QWidget;

namespace qb::labels {

class TLabelPrint;

// The barcode overrides: the kind and the Intelligent Mail values for this run only.
struct LabelJobRequest : BarcodeOverrides {
    LabelSetup setup;
    ScopeChoice scope = ScopeChoice::MatchingFilter;
    bool startFromCurrent = false;
    bool presort = false;
    int copies = 1;
    bool preview = false;
};

// What differs between a run from the dialog and an unattended one.
class LabelJobFrontEnd {
  public:
    virtual ~LabelJobFrontEnd() = default;
    // Runs the bulk-mail presort over the table's selection; true when it completed.
    virtual bool runPresort(Dataset& contacts, const QString& programFolder) = 0;
    // Runs the prepared pass; false when it failed (the failure has been told).
    virtual bool runPass(TLabelPrint& window) = 0;
    // Shows the pages of a preview pass.
    virtual void showPreview(QIODevice& stream) = 0;
};

enum class LabelJobOutcome {
    Completed,         // printed, or the preview shown (also a preview stopped by the user)
    SetupRefused,      // the setup's values cannot make labels; nothing printed
    PresortCancelled,  // nothing printed
    PaperRefused,      // the paper-size question was answered No
    Aborted            // the pass was cancelled or failed
};

// The paper code the printer is asked for (1 Letter, 9 A4, 11 A5, 0 for a custom size).
int paperCodeFor(const QString& paperCode);
// The question asked when the printer's paper differs from the stock's.
QString paperMismatchQuestion(double width, double height);
inline constexpr const char* kPresortOrderMessage =
    "Labels will print/preview in the following order:\r\n  1. 5-Digit presort\r\n  "
    "2. 3-Digit presort\r\n  3. ADC presort";

// What the user is told of a setup that cannot be printed, with the reason.
QString setupRefusedMessage(const QString& descript, const QString& fault);

// Runs one print or preview. presortDone says whether a presort completed since the scope
// last changed; a presort run here updates it. Messages and questions go through prompts().
LabelJobOutcome DoPrint(Dataset& contacts, const QString& programFolder,
                        const LabelJobRequest& request, bool& presortDone,
                        LabelJobFrontEnd& frontEnd, QWidget* parent);

}  // namespace qb::labels
