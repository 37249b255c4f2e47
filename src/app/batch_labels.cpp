// The unattended label run.
#include "app/batch_labels.h"

#include <QFileInfo>

#include "app/batch_barcode.h"
#include "app/batch_front.h"
#include "controls/prompts.h"
#include "labels/label_print.h"
#include "labels/labels_command.h"
#include "labels/qb_labels.h"
#include "output/report_error.h"
#include "presort/bulk_mail_presort.h"
#include "presort/presort_file.h"
#include "store/counted.h"
#include "xbase/error.h"

namespace qb {

namespace {

class QuietPresort : public presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

// The presort and the pass without their windows; nothing to preview.
class UnattendedFrontEnd : public labels::LabelJobFrontEnd {
  public:
    explicit UnattendedFrontEnd(const batch::Run& run) : run_(run) {}

    bool runPresort(Dataset& contacts, const QString& programFolder) override {
        QuietPresort observer;
        presort::BulkMailPresort run(observer);
        try {
            return run.run(contacts.area(), programFolder);
        } catch (const presort::PresortFileError& e) {
            prompts().error(nullptr, QString::fromUtf8(e.what()));
        } catch (const xb::Error& e) {
            prompts().error(nullptr, QString::fromUtf8(e.what()));
        }
        return false;
    }
    bool runPass(labels::TLabelPrint& window) override {
        // A run that has already met an error (reading the records for the scope, say) would
        // print from a selection that is not what was asked for.
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
        if (const labels::LabelSheetRun* run = window.run()) {
            labels = run->recordLabels();
            separators = run->separatorLabels();
        }
        pages = window.Engine().CurrentPage();
        return true;
    }
    void showPreview(QIODevice&) override {}

    int labels = 0;
    int separators = 0;
    int pages = 0;

  private:
    const batch::Run& run_;
};

// Finds the named setup (trimmed, letter case ignored); false when there is none.
bool goToSetup(Dataset& setups, const QString& name) {
    for (setups.first(); !setups.eof(); setups.next()) {
        if (setups.text(QStringLiteral("DESCRIPT"))
                .trimmed()
                .compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

const QCommandLineOption kSetup(QStringLiteral("setup"),
                                QStringLiteral("Prints with the label setup of this description "
                                               "(letter case ignored); the first one otherwise."),
                                QStringLiteral("NAME"));
const QCommandLineOption kPresort(QStringLiteral("presort"),
                                  QStringLiteral("Presorts for bulk mail, with a separator label "
                                                 "before each group."));
const QCommandLineOption kCopies(QStringLiteral("copies"),
                                 QStringLiteral("Prints N labels of each contact (1 to 999)."),
                                 QStringLiteral("N"));

int printLabels(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    int copies = 1;
    if (a.isSet(kCopies)) {
        bool ok = false;
        copies = a.value(kCopies).toInt(&ok);
        if (!ok || copies < 1 || copies > 999) {
            run.say(QStringLiteral("--copies takes a number from 1 to 999"));
            run.say(batch::usageLine(run.def()));
            return batch::kUsage;
        }
    }
    labels::LabelJobRequest request;
    if (const QString fault = batch::readBarcodeOptions(a, request); !fault.isEmpty()) {
        run.say(fault);
        run.say(batch::usageLine(run.def()));
        return batch::kUsage;
    }
    const bool presort = a.isSet(kPresort);
    if (presort && run.scope() == ScopeChoice::OnlyCurrent) {
        run.say(QStringLiteral("--presort cannot be used with --scope current"));
        run.say(batch::usageLine(run.def()));
        return batch::kUsage;
    }

    // The label setup.
    Dataset setups;
    try {
        setups.open(run.programFolder() + QLatin1String(labels::kLabelSetupFileName),
                    xb::UseMode::ReadOnly);
    } catch (const xb::Error& e) {
        run.say(QString::fromLatin1(labels::kUnableToOpenSetups) + u'\n' +
                QString::fromStdString(e.what()));
        return batch::kFailed;
    }
    if (a.isSet(kSetup) && !goToSetup(setups, a.value(kSetup))) {
        run.say(QStringLiteral("There is no label setup named \"%1\"").arg(a.value(kSetup)));
        return batch::kFailed;
    }
    if (!a.isSet(kSetup)) setups.first();
    const labels::LabelSetup setup = labels::ReadLabelSetup(setups.area());
    setups.close();

    // The contacts and their selection.
    Dataset contacts;
    if (!run.openContacts(contacts) || !run.selectRecords(contacts)) return batch::kFailed;
    if (!run.usePdfPrinter(QString::fromLatin1(labels::kNoPrintersForLabels)))
        return batch::kFailed;

    request.setup = setup;
    request.scope = run.scope();
    request.presort = presort;
    request.copies = copies;
    request.preview = false;
    bool presortDone = false;
    UnattendedFrontEnd frontEnd(run);
    const labels::LabelJobOutcome outcome =
        labels::DoPrint(contacts, run.programFolder(), request, presortDone, frontEnd, nullptr);
    contacts.close();

    const QString out = run.pdfPath();
    if (outcome != labels::LabelJobOutcome::Completed || run.troubled() || !QFileInfo::exists(out))
        return batch::kFailed;
    QString done = counted(frontEnd.labels, "label", "labels");
    if (frontEnd.separators > 0)
        done += QStringLiteral(" and ") + counted(frontEnd.separators, "separator", "separators");
    run.say(done + QStringLiteral(" on ") + counted(frontEnd.pages, "page", "pages") +
            QStringLiteral(" written to ") + out);
    return batch::kDone;
}

}  // namespace

int runLabelsCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("labels");
    def.summary = QStringLiteral(
        "Prints a label for each chosen contact, as Print Now in the Print Labels window does.");
    def.options = {kSetup, kPresort, kCopies};
    def.options += batch::barcodeOptions();
    def.optionsUsage =
        QStringLiteral("[--setup NAME] [--presort] [--copies N] ") + batch::barcodeOptionsUsage();
    def.recordScope = true;
    return batch::runCommand(def, arguments, printLabels);
}

}  // namespace qb
