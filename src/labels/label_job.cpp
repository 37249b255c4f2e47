// Running one print or preview of labels.
#include "labels/label_job.h"

#include <QBuffer>
#include <cmath>

#include "controls/prompts.h"
#include "labels/label_definition.h"
#include "labels/label_print.h"
#include "presort/sorted_zip_walk.h"

namespace qb::labels {

namespace {

double twoDecimals(double v) {
    return std::round(v * 100.0) / 100.0;
}

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

}  // namespace

int paperCodeFor(const QString& code) {
    if (code == u"LTR" || code == u"LTRL") return 1;
    if (code == u"A4" || code == u"A4L") return 9;
    if (code == u"A5") return 11;
    return 0;
}

QString paperMismatchQuestion(double width, double height) {
    return QStringLiteral(
               "Quillbank was unable to confirm that the paper size was set to\r\n\r\n") +
           QString::number(width, 'f', 2) + u'"' + QStringLiteral(" by ") +
           QString::number(height, 'f', 2) + u'"' +
           QStringLiteral(
               "\r\n\r\n(you may have the wrong printer selected)\r\n\r\n"
               "Would you like to try printing anyways?");
}

QString setupRefusedMessage(const QString& descript, const QString& fault) {
    return QStringLiteral("The label setup \"") + descript.trimmed() +
           QStringLiteral("\" cannot be printed:\r\n") + fault +
           QStringLiteral("\r\nPlease correct it with Modify.");
}

LabelJobOutcome DoPrint(Dataset& contacts, const QString& programFolder,
                        const LabelJobRequest& request, bool& presortDone,
                        LabelJobFrontEnd& frontEnd, QWidget* parent) {
    // A setup table may hold values the designer never makes (edited elsewhere, or damaged);
    // they would lay labels out of the sheet or loop without end, so nothing is started.
    if (const QString fault = labelSetupFault(request.setup); !fault.isEmpty()) {
        prompts().information(parent, setupRefusedMessage(request.setup.descript, fault));
        return LabelJobOutcome::SetupRefused;
    }
    const Settings settings(programFolder + QStringLiteral("QUILLB.INI"));
    LabelSetup setup = request.setup;
    const BarcodeKind kind =
        request.kindFor(settings, kLabelBarcodeSection, setup.descript, setup.barcode);
    setup.barcode = kind != BarcodeKind::None;
    if (setup.barcode) setup.barcodeKind = kind;
    const bool imb = kind == BarcodeKind::Imb;
    ImbMailer mailer = request.mailerFor(settings);
    if (imb) {
        QString fault = mailer.refusal();
        // Bars past the label's edge would print on the next label.
        if (fault.isEmpty() && double(setup.xOffset) + kImbLength > double(setup.lblWidth))
            fault = QStringLiteral(
                        "The Intelligent Mail barcode, %1 inches long, does not fit "
                        "on these labels at this text offset")
                        .arg(kImbLength, 0, 'f', 2);
        if (!fault.isEmpty()) {
            prompts().information(parent, setupRefusedMessage(request.setup.descript, fault));
            return LabelJobOutcome::SetupRefused;
        }
    } else if (kind == BarcodeKind::Postnet && setup.lblWidth < kPostnetMinLabelWidth) {
        // The designer offers POSTNET only from this width on; a run that asks for it on
        // narrower labels (from the command line, or a table edited elsewhere) would print
        // the bars onto the next label.
        prompts().information(
            parent, setupRefusedMessage(request.setup.descript,
                                        QStringLiteral("The POSTNET barcode needs labels at "
                                                       "least %1 inches wide")
                                            .arg(kPostnetMinLabelWidth)));
        return LabelJobOutcome::SetupRefused;
    }
    // Declared first so the display catches up after the scope has put everything back.
    Resync resync(contacts);
    RecordScope scope(contacts, ScopeUser::LabelsOrReports);
    scope.apply(request.scope, request.startFromCurrent,
                [parent](const QString& text) { prompts().information(parent, text); });

    if (request.presort) {
        if (!presortDone) {
            presortDone = frontEnd.runPresort(contacts, programFolder);
            if (!presortDone) return LabelJobOutcome::PresortCancelled;
        }
        presort::SortedZipWalk::prepare(contacts.area());
        prompts().information(parent, QString::fromLatin1(kPresortOrderMessage));
    }

    const bool landscape = isLandscapePaper(setup.paperSize);
    const double sheetWidth = twoDecimals(setup.sheetWidth);
    const double sheetDepth = twoDecimals(setup.sheetDepth);
    const double paperWidth = landscape ? sheetDepth : sheetWidth;
    const double paperHeight = landscape ? sheetWidth : sheetDepth;

    TLabelPrint window(parent);
    QBuffer stream;
    if (request.preview) {
        stream.open(QIODevice::ReadWrite);
        window.PreparePreviewPass(&stream);
    } else {
        window.PreparePrinterPass();
    }
    TBaseReport& engine = window.Engine();
    engine.SetPaperSize(paperCodeFor(setup.paperSize), paperHeight, paperWidth);
    engine.SetOrientation(landscape ? poLandScape : poPortrait);

    const double pageWidth = twoDecimals(engine.PageWidth());
    const double pageHeight = twoDecimals(engine.PageHeight());
    if (std::abs(pageWidth - double(setup.sheetWidth)) > 0.05 ||
        std::abs(pageHeight - double(setup.sheetDepth)) > 0.05) {
        if (!prompts().confirm(parent, QStringLiteral("Confirm"),
                               paperMismatchQuestion(paperWidth, paperHeight)))
            return LabelJobOutcome::PaperRefused;
    }

    window.PrepareRun(contacts.area(), setup, request.copies,
                      request.presort ? programFolder : QString(), imb ? &mailer : nullptr);
    const bool ran = frontEnd.runPass(window);
    // Printed pieces keep their serial numbers, also when the pass stopped part way; a
    // preview prints none.
    if (imb && !request.preview) finishImbRun(mailer, request, settings, parent);
    if (!ran || window.Aborted()) return LabelJobOutcome::Aborted;
    if (request.preview) frontEnd.showPreview(stream);
    return LabelJobOutcome::Completed;
}

}  // namespace qb::labels
