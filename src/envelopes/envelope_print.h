// Drawing envelopes through the report engine: the feed offset worked out from the paper the
// engine reports, the preview stamp, the return, message and delivery blocks and the barcode
// under the delivery block; and TEnvelopeForm, the status window the pass runs in.
#pragma once

#include <QImage>
#include <functional>

#include "envelopes/envelope_geometry.h"
#include "envelopes/envelope_setup.h"
#include "labels/label_lines.h"
#include "output/status_window.h"
#include "xbase/work_area.h"

namespace qb {
class TBaseReport;
}

namespace qb::envelopes {

// The closing texts of envelope passes; a printer pass is cancelled without a question.
StatusTexts envelopeStatusTexts();

// The stamp a preview shows where the postage goes: a picture drawn here, 72 by 72 pixels.
QImage stampPicture();

// The one place a barcode is drawn above the delivery block: from the block's left edge, a
// POSTNET barcode's top kBarcodeRise above the block's first line (an Intelligent Mail one
// ends on the same bottom line and takes the mailer's next tracking code). Draws nothing for
// a ZIP that does not qualify.
void drawDeliveryBarcode(TBaseReport& report, const EnvelopeSetup& setup,
                         const labels::AddressFields& contact, const Offset& offset,
                         labels::ImbMailer* mailer);

// How far above the delivery block's top the setup's barcode starts; 0 without one.
double barcodeRiseAbove(const EnvelopeSetup& setup);

// The page-drawing routines of an envelope pass: one envelope for the contact table's current
// record, or one per record from there to the end of the selection.
class EnvelopeRun {
  public:
    EnvelopeRun(xb::WorkArea& contacts, const EnvelopeSetup& setup, bool preview,
                bool wholeSelection);

    // Asked before each envelope after the first; true ends the run.
    std::function<bool()> stopRequested;
    // Called once per envelope, so windows stay responsive during a long run.
    std::function<void()> letEventsRun;
    // Numbers the Intelligent Mail barcodes; each envelope drawn takes the next serial number.
    labels::ImbMailer* imbMailer = nullptr;

    // OnBeforePrint: the offsets cleared, the orientation of the feed, the status line.
    void BeforePrintEnvelope(TBaseReport& report);
    // OnPrint: works out the offsets from the paper, then draws the envelopes.
    void PrintEnvelope(TBaseReport& report);

    const EnvelopeSetup& setup() const { return setup_; }
    const Feed& feed() const { return feed_; }
    Offset offset() const { return offset_; }
    bool paperIsTheEnvelope() const { return paperIsEnvelope_; }
    int envelopes() const { return envelopes_; }

  private:
    void placeOnPaper(TBaseReport& r);
    void drawEnvelope(TBaseReport& r);

    xb::WorkArea& contacts_;
    EnvelopeSetup setup_;
    Feed feed_;
    bool preview_;
    bool wholeSelection_;
    Offset offset_;
    bool paperIsEnvelope_ = false;
    int envelopes_ = 0;
};

// The envelope status window. Its button cancels a printer pass at once and only marks a
// preview pass as stopped (the one page is drawn anyway).
class TEnvelopeForm : public TStatusWindow {
  public:
    explicit TEnvelopeForm(QWidget* parent = nullptr);
    ~TEnvelopeForm() override;

    // Sets up the run. Call after PreparePrinterPass or PreparePreviewPass.
    void PrepareRun(xb::WorkArea& contacts, const EnvelopeSetup& setup, bool wholeSelection,
                    labels::ImbMailer* imbMailer = nullptr);
    // Runs the prepared pass without showing the window (unattended runs); engine failures
    // pass to the caller.
    void RunUnshown();

    EnvelopeRun* run() const { return run_.get(); }

  private:
    std::unique_ptr<EnvelopeRun> run_;
};

}  // namespace qb::envelopes

namespace qb::envelopes {

// Whether the envelope, placed as the feed method has it on paper of pageWidth by pageHeight
// inches (as oriented), lies on the paper, and every block it prints starts on the page.
// Paper that is the envelope itself holds it by definition.
bool envelopeFitsOnPaper(const EnvelopeSetup& setup, double pageWidth, double pageHeight,
                         double unprintableLeft, double unprintableTop);

}  // namespace qb::envelopes
