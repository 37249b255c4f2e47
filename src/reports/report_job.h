// One print or preview of a contact report: the layout's order, the record scope and start
// record, the pass in the report status window, the preview, and the contact table's order,
// selection and record put back afterwards. The report dialog and the unattended command both
// run reports through here.
#pragma once

#include <QString>

#include "store/dataset.h"
#include "store/record_scope.h"

class QWidget;

namespace qb {
class PassFrontEnd;
}

namespace qb::reports {

struct ReportRequest {
    int layout = 1;
    QString title;
    bool codes = false;
    bool memo = false;
    ScopeChoice scope = ScopeChoice::MatchingFilter;
    bool startFromCurrent = false;
    bool preview = false;
};

enum class ReportOutcome {
    Completed,  // printed, or the preview shown (also a preview stopped by the user)
    Aborted     // cancelled, or an error ended the pass (it has been told)
};

struct ReportResult {
    ReportOutcome outcome = ReportOutcome::Aborted;
    int records = 0;
    int pages = 0;
};

ReportResult DoPrint(Dataset& contacts, const ReportRequest& request, PassFrontEnd& frontEnd,
                     QWidget* parent);

}  // namespace qb::reports
