// Running one print or preview of envelopes.
#include "envelopes/envelope_job.h"

#include <QBuffer>

#include "controls/prompts.h"
#include "envelopes/envelope_print.h"
#include "output/base_report.h"

namespace qb::envelopes {

namespace {

// Puts the display of the contact table back in step with the engine, however the run ends.
class Resync {
  public:
    explicit Resync(Dataset& table) : table_(table) {}
    ~Resync() { table_.resync(); }
    Resync(const Resync&) = delete;
    Resync& operator=(const Resync&) = delete;

  private:
    Dataset& table_;
};

QString inches(double v) {
    return QString::number(v, 'f', 2) + u'"';
}

}  // namespace

QString paperTooSmallQuestion(const EnvelopeSetup& s, double pw, double ph) {
    return QStringLiteral("The envelope (") + inches(s.envWidth) + QStringLiteral(" by ") +
           inches(s.envHeight) +
           QStringLiteral(
               ") or one of its items would not lie on the paper "
               "selected (") +
           inches(pw) + QStringLiteral(" by ") + inches(ph) +
           QStringLiteral(
               ").\r\n\r\n(you may have the wrong printer or paper selected)\r\n\r\n"
               "Would you like to try printing anyways?");
}

EnvelopeJobOutcome DoPrint(Dataset& contacts, const EnvelopeJobRequest& request,
                           EnvelopeJobFrontEnd& frontEnd, QWidget* parent) {
    const EnvelopeSetup& setup = request.setup;
    TEnvelopeForm window(parent);
    QBuffer stream;
    if (request.preview) {
        stream.open(QIODevice::ReadWrite);
        window.PreparePreviewPass(&stream);
    } else {
        window.PreparePrinterPass();
        if (!frontEnd.confirmPrint(window)) return EnvelopeJobOutcome::Cancelled;
    }
    TBaseReport& engine = window.Engine();
    const bool landscape = setup.orient != 0;
    if (request.envelopePaper) {
        // The paper is given as it stands in the feed: a landscape feed turns it.
        const double across = landscape ? setup.envHeight : setup.envWidth;
        const double along = landscape ? setup.envWidth : setup.envHeight;
        engine.SetPaperSize(0, along, across);
    }
    engine.SetOrientation(landscape ? poLandScape : poPortrait);
    engine.ReadPageGeometry();
    const double pw = engine.PageWidth();
    const double ph = engine.PageHeight();
    if (!envelopeFitsOnPaper(setup, pw, ph, engine.UnprintableLeft(), engine.UnprintableTop()) &&
        !prompts().confirm(parent, QStringLiteral("Confirm"), paperTooSmallQuestion(setup, pw, ph)))
        return EnvelopeJobOutcome::PaperRefused;

    // Declared first so the display catches up after the scope has put everything back.
    Resync resync(contacts);
    RecordScope scope(contacts, ScopeUser::LabelsOrReports);
    const bool whole = request.scope != ScopeChoice::OnlyCurrent;
    if (whole) {
        scope.apply(request.scope, false,
                    [parent](const QString& text) { prompts().information(parent, text); });
    }
    window.PrepareRun(contacts.area(), setup, whole);
    const bool ran = frontEnd.runPass(window);
    if (!ran || window.Aborted()) return EnvelopeJobOutcome::Aborted;
    if (request.preview) frontEnd.showPreview(stream);
    return EnvelopeJobOutcome::Completed;
}

}  // namespace qb::envelopes
