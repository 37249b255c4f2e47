// One print or preview of envelopes from a setup: the paper, the question when the envelope
// or a block would fall off it, the pass in the envelope status window and the preview. The
// print-envelope dialog and the unattended command line both run envelopes through here.
#pragma once

#include <QString>

#include "envelopes/envelope_setup.h"
#include "labels/barcode_run.h"
#include "store/dataset.h"
#include "store/record_scope.h"

class QIODevice;
class QWidget;

namespace qb::envelopes {

class TEnvelopeForm;

// The barcode overrides: the kind and the Intelligent Mail values for this run only.
struct EnvelopeJobRequest : labels::BarcodeOverrides {
    EnvelopeSetup setup;
    // Where the barcode choice of the setup and the mailer's values are kept; a run that
    // prints Intelligent Mail barcodes from the saved serial numbers writes the next one back.
    Settings settings;
    // The dialog prints the current record only; unattended runs may print one envelope per
    // record of the whole selection or the filter.
    ScopeChoice scope = ScopeChoice::OnlyCurrent;
    bool preview = false;
    // The page is made the envelope itself; otherwise the printer's selected paper is used.
    bool envelopePaper = false;
};

// What differs between a run from the dialog and an unattended one.
class EnvelopeJobFrontEnd {
  public:
    virtual ~EnvelopeJobFrontEnd() = default;
    // Print mode only, before anything else: the print dialog; false when it was cancelled.
    virtual bool confirmPrint(TEnvelopeForm& window) = 0;
    // Runs the prepared pass; false when it failed (the failure has been told).
    virtual bool runPass(TEnvelopeForm& window) = 0;
    // Shows the page of a preview pass.
    virtual void showPreview(QIODevice& stream) = 0;
};

enum class EnvelopeJobOutcome {
    Completed,     // printed, or the preview shown
    SetupRefused,  // the barcode cannot be printed as chosen; nothing printed
    Cancelled,     // the print dialog was cancelled; nothing printed
    PaperRefused,  // the envelope does not fit the paper and the user said No
    Aborted        // the pass was cancelled or failed
};

// What the user is told of a setup that cannot be printed, with the reason.
QString envelopeRefusedMessage(const QString& descript, const QString& fault);

// The question asked when the envelope or one of its blocks would not land on the paper.
QString paperTooSmallQuestion(const EnvelopeSetup& setup, double pageWidth, double pageHeight);

EnvelopeJobOutcome DoPrint(Dataset& contacts, const EnvelopeJobRequest& request,
                           EnvelopeJobFrontEnd& frontEnd, QWidget* parent);

}  // namespace qb::envelopes
