// Running one contact report.
#include "reports/report_job.h"

#include <QBuffer>

#include "controls/prompts.h"
#include "reports/pass_front_end.h"
#include "reports/user_report_print.h"

namespace qb::reports {

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

}  // namespace

ReportResult DoPrint(Dataset& contacts, const ReportRequest& request, PassFrontEnd& frontEnd,
                     QWidget* parent) {
    ReportResult result;
    const ReportLayout& layout = reportLayout(request.layout);
    // Declared first so the display catches up after the scope has put everything back.
    Resync resync(contacts);
    RecordScope scope(contacts, ScopeUser::LabelsOrReports);
    contacts.setOrderTag(layout.orderTag);
    scope.apply(request.scope, request.startFromCurrent,
                [parent](const QString& text) { prompts().information(parent, text); });

    xb::WorkArea& area = contacts.area();
    const uint32_t record = scope.rememberedRecord();
    const bool startedAtRecord =
        request.startFromCurrent && !area.eof() && record > 0 && area.recNo() == record;
    if (!startedAtRecord) {
        // From the first record, contacts without the layout's key are left out: they would
        // head the list with an empty name or organization. Only those: a name that begins
        // with a blank or a punctuation mark is a name.
        try {
            while (!area.eof() && leavesOut(layout, readReportFields(area, false)))
                area.skip();
        } catch (const std::exception& e) {
            prompts().error(parent, QString::fromUtf8(e.what()));
            return result;
        }
    }

    TUserReportPrint window(parent);
    QBuffer stream;
    if (request.preview) {
        stream.open(QIODevice::ReadWrite);
        window.PreparePreviewPass(&stream);
    } else {
        window.PreparePrinterPass();
    }
    window.PrepareRun(area, layout.number, request.title, request.codes, request.memo);
    window.Engine().SetTitle(request.title.trimmed().isEmpty() ? QStringLiteral("Report")
                                                               : request.title.trimmed());
    const bool ran = frontEnd.runPass(window);
    result.records = window.pages()->recordsPrinted();
    result.pages = window.Engine().CurrentPage();
    if (!ran || window.Aborted()) return result;
    if (request.preview) frontEnd.showPreview(stream, QStringLiteral("Preview Report"));
    result.outcome = ReportOutcome::Completed;
    return result;
}

}  // namespace qb::reports
