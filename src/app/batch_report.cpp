// The unattended contact report.
#include "app/batch_report.h"

#include <QFileInfo>

#include "app/batch_front.h"
#include "reports/pass_front_end.h"
#include "reports/report_job.h"
#include "reports/report_layouts.h"
#include "reports/reports_command.h"
#include "store/counted.h"

namespace qb {

namespace {

const QCommandLineOption kLayout(QStringLiteral("layout"),
                                 QStringLiteral("Prints layout N (1 to 4, as the report dialog "
                                                "lists them); 1 when not given."),
                                 QStringLiteral("N"));
const QCommandLineOption kTitle(QStringLiteral("title"),
                                QStringLiteral("Prints TEXT as the title of every page; "
                                               "\"Report for: \" and the contact file otherwise."),
                                QStringLiteral("TEXT"));
const QCommandLineOption kCodes(QStringLiteral("codes"),
                                QStringLiteral("Prints each contact's codes below its row."));
const QCommandLineOption kMemo(QStringLiteral("memo"),
                               QStringLiteral("Prints each contact's memo below its row."));

int printReport(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    reports::ReportRequest request;
    if (a.isSet(kLayout)) {
        bool ok = false;
        request.layout = a.value(kLayout).toInt(&ok);
        if (!ok || request.layout < 1 || request.layout > reports::kLayoutCount) {
            run.say(QStringLiteral("--layout takes 1, 2, 3 or 4"));
            run.say(batch::usageLine(run.def()));
            return batch::kUsage;
        }
    }
    request.codes = a.isSet(kCodes);
    request.memo = a.isSet(kMemo);
    request.scope = run.scope();
    request.preview = false;
    request.title =
        a.isSet(kTitle) ? a.value(kTitle) : QStringLiteral("Report for: ") + run.contactFilePath();

    Dataset contacts;
    if (!run.openContacts(contacts) || !run.selectRecords(contacts)) return batch::kFailed;
    if (!run.usePdfPrinter(QString::fromLatin1(reports::kNoPrintersForReports)))
        return batch::kFailed;
    // A run that has met an error already would print from records that are not those asked.
    if (run.troubled()) return batch::kFailed;
    UnshownPassFrontEnd frontEnd;
    const reports::ReportResult result = reports::DoPrint(contacts, request, frontEnd, nullptr);
    contacts.close();

    const QString out = run.pdfPath();
    if (result.outcome != reports::ReportOutcome::Completed || run.troubled() ||
        !QFileInfo::exists(out))
        return batch::kFailed;
    run.say(counted(result.records, "contact", "contacts") + QStringLiteral(" on ") +
            counted(result.pages, "page", "pages") + QStringLiteral(" written to ") + out);
    return batch::kDone;
}

}  // namespace

int runReportCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("report");
    def.summary = QStringLiteral(
        "Prints a contact report of the chosen contacts, as Print Now in the Print Report "
        "window does.");
    def.options = {kLayout, kTitle, kCodes, kMemo};
    def.optionsUsage = QStringLiteral("[--layout 1|2|3|4] [--title TEXT] [--codes] [--memo]");
    def.recordScope = true;
    return batch::runCommand(def, arguments, printReport);
}

}  // namespace qb
