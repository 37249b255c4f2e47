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

QString envelopeRefusedMessage(const QString& descript, const QString& fault) {
    return QStringLiteral("The envelope setup \"") + descript.trimmed() +
           QStringLiteral("\" cannot be printed:\r\n") + fault +
           QStringLiteral("\r\nPlease correct it with Modify.");
}

EnvelopeJobOutcome DoPrint(Dataset& contacts, const EnvelopeJobRequest& request,
                           EnvelopeJobFrontEnd& frontEnd, QWidget* parent) {
    EnvelopeSetup setup = request.setup;
    const Settings& settings = request.settings;
    const labels::BarcodeKind kind =
        request.kindFor(settings, labels::kEnvelopeBarcodeSection, setup.descript, setup.barcode);
    setup.barcode = kind != labels::BarcodeKind::None;
    if (setup.barcode) setup.barcodeKind = kind;
    const bool imb = kind == labels::BarcodeKind::Imb;
    labels::ImbMailer mailer = request.mailerFor(settings);
    if (imb) {
        QString fault = mailer.refusal();
        // Bars past the envelope's edge would be lost, and a part barcode misread.
        if (fault.isEmpty() && setup.delLeft + labels::kImbLength > setup.envWidth)
            fault = QStringLiteral(
                        "The Intelligent Mail barcode, %1 inches long, does not fit on the "
                        "envelope from the delivery address's left edge")
                        .arg(labels::kImbLength, 0, 'f', 2);
        if (!fault.isEmpty()) {
            prompts().information(parent, envelopeRefusedMessage(setup.descript, fault));
            return EnvelopeJobOutcome::SetupRefused;
        }
    }
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
    window.PrepareRun(contacts.area(), setup, whole, imb ? &mailer : nullptr);
    const bool ran = frontEnd.runPass(window);
    // Printed envelopes keep their serial numbers, also when the pass stopped part way; a
    // preview prints none.
    if (imb && !request.preview) labels::finishImbRun(mailer, request, settings, parent);
    if (!ran || window.Aborted()) return EnvelopeJobOutcome::Aborted;
    if (request.preview) frontEnd.showPreview(stream);
    return EnvelopeJobOutcome::Completed;
}

}  // namespace qb::envelopes
