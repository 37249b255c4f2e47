// The unattended envelope run.
#include "app/batch_envelopes.h"

#include <QFileInfo>

#include "app/batch_barcode.h"
#include "app/batch_front.h"
#include "controls/prompts.h"
#include "envelopes/envelope_job.h"
#include "envelopes/envelope_print.h"
#include "envelopes/envelopes_command.h"
#include "output/printer_device.h"
#include "output/report_error.h"
#include "store/counted.h"
#include "xbase/error.h"

namespace qb {

namespace {

// The pass without its window; nothing to confirm or preview.
class UnattendedEnvelopes : public envelopes::EnvelopeJobFrontEnd {
  public:
    explicit UnattendedEnvelopes(const batch::Run& run) : run_(run) {}

    bool confirmPrint(envelopes::TEnvelopeForm&) override { return true; }
    bool runPass(envelopes::TEnvelopeForm& window) override {
        if (run_.troubled()) return false;
        try {
            window.RunUnshown();
        } catch (const ReportError& e) {
            prompts().error(nullptr, e.message());
            return false;
        } catch (const std::exception& e) {
            prompts().error(nullptr, QString::fromLocal8Bit(e.what()));
            return false;
        }
        if (const envelopes::EnvelopeRun* r = window.run()) printed = r->envelopes();
        return true;
    }
    void showPreview(QIODevice&) override {}

    int printed = 0;

  private:
    const batch::Run& run_;
};

const QCommandLineOption kSetup(QStringLiteral("setup"),
                                QStringLiteral("Prints with the envelope setup of this "
                                               "description (letter case ignored); the first "
                                               "one otherwise, or the default setup when there "
                                               "is none."),
                                QStringLiteral("NAME"));
const QCommandLineOption kPaper(QStringLiteral("paper"),
                                QStringLiteral("\"envelope\" (the default) makes each page the "
                                               "envelope itself; a paper name of the PDF printer "
                                               "(such as Letter) places the envelope on that "
                                               "sheet as the setup's feed method says."),
                                QStringLiteral("envelope|PAPERNAME"));

// The row of the setup table whose description is `name` (trimmed, letter case ignored).
bool findSetup(Dataset& setups, const QString& name) {
    const QString wanted = name.trimmed();
    setups.first();
    while (!setups.eof() &&
           setups.text(QStringLiteral("DESCRIPT")).trimmed().compare(wanted, Qt::CaseInsensitive))
        setups.next();
    return !setups.eof();
}

int printEnvelopes(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    const QString paper = a.isSet(kPaper) ? a.value(kPaper).trimmed() : QStringLiteral("envelope");
    if (paper.isEmpty()) {
        run.say(QStringLiteral("--paper takes \"envelope\" or a paper name"));
        run.say(batch::usageLine(run.def()));
        return batch::kUsage;
    }
    envelopes::EnvelopeJobRequest request;
    if (const QString fault = batch::readBarcodeOptions(a, request); !fault.isEmpty()) {
        run.say(fault);
        run.say(batch::usageLine(run.def()));
        return batch::kUsage;
    }

    Dataset setups;
    try {
        setups.open(run.programFolder() + QLatin1String(envelopes::kEnvelopeSetupFileName),
                    xb::UseMode::ReadOnly);
    } catch (const xb::Error& e) {
        run.say(QString::fromLatin1(envelopes::kUnableToOpenEnvelopeSetups) + u'\n' +
                QString::fromStdString(e.what()));
        return batch::kFailed;
    }
    if (a.isSet(kSetup)) {
        if (!findSetup(setups, a.value(kSetup))) {
            run.say(QStringLiteral("There is no envelope setup named \"%1\"").arg(a.value(kSetup)));
            return batch::kFailed;
        }
    } else {
        setups.first();
    }
    request.setup = envelopes::ReadEnvelopeSetup(setups.area());
    request.settings = Settings(run.programFolder() + QStringLiteral("QUILLB.INI"));
    setups.close();
    request.scope = run.scope();
    request.envelopePaper = paper.compare(u"envelope", Qt::CaseInsensitive) == 0;

    Dataset contacts;
    if (!run.openContacts(contacts) || !run.selectRecords(contacts)) return batch::kFailed;
    if (!run.usePdfPrinter(QString::fromLatin1(envelopes::kNoPrintersForEnvelopes)))
        return batch::kFailed;
    if (!request.envelopePaper && !PrinterDevice::shared().selectPaper(paper)) {
        run.say(QStringLiteral("The PDF printer has no paper named \"%1\"; it offers: %2")
                    .arg(paper, PrinterDevice::shared().paperNames().join(QStringLiteral(", "))));
        return batch::kFailed;
    }
    contacts.first();
    if (!contacts.onRecord()) {
        run.say(QStringLiteral("No contact is chosen: nothing to print"));
        return batch::kFailed;
    }

    UnattendedEnvelopes frontEnd(run);
    const envelopes::EnvelopeJobOutcome outcome =
        envelopes::DoPrint(contacts, request, frontEnd, nullptr);
    contacts.close();

    const QString out = run.pdfPath();
    if (outcome != envelopes::EnvelopeJobOutcome::Completed || run.troubled() ||
        !QFileInfo::exists(out))
        return batch::kFailed;
    run.say(counted(frontEnd.printed, "envelope", "envelopes") + QStringLiteral(" written to ") +
            out);
    return batch::kDone;
}

}  // namespace

int runEnvelopesCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("envelopes");
    def.summary = QStringLiteral(
        "Prints an envelope for the current contact (or, with --scope all or filter, one per "
        "chosen contact), as Print Now in the Print Envelope window does.");
    def.options = {kSetup, kPaper};
    def.options += batch::barcodeOptions();
    def.optionsUsage = QStringLiteral("[--setup NAME] [--paper envelope|PAPERNAME] ") +
                       batch::barcodeOptionsUsage();
    def.recordScope = true;
    // One envelope for the current contact unless a scope or a filter asks for more.
    def.defaultScope = ScopeChoice::OnlyCurrent;
    return batch::runCommand(def, arguments, printEnvelopes);
}

}  // namespace qb
