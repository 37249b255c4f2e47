// "Convert to &Uppercase", "&Search && Replace Field Values" and "Delete &Records".
#include "utilities/bulk_commands.h"

#include <QWidget>

#include "utilities/bulk_dialogs.h"

namespace qb::utilities {
namespace {

template <typename Dialog>
void showCentred(Dialog& dialog, QWidget* window) {
    if (window) dialog.move(window->geometry().center() - dialog.rect().center());
    dialog.exec();
}

// The two commands that may reach soft-deleted records: the selection is the Filter page's
// expression alone while the dialog is open. Afterwards the window puts its filter in force
// again, as the changed records now answer it, and sets its buttons by what it selects.
template <typename Dialog>
void runOnFilterAlone(ContactHost& host) {
    Dataset& table = host.contactTable();
    if (!table.isOpen()) return;
    const QString filter = host.currentFilter();
    host.setTableEventsOn(false);
    table.setSelection(filter);
    host.suspendRecordDisplay();
    {
        Dialog dialog(table, filter, host.hostWindow());
        showCentred(dialog, host.hostWindow());
    }
    host.reapplyFilter();
    host.resumeRecordDisplay();
    host.setTableEventsOn(true);
}

}  // namespace

void CaseConversion1Click(ContactHost& host) {
    Dataset& table = host.contactTable();
    if (!table.isOpen()) return;
    const uint32_t record = table.onRecord() ? table.recNo() : 0;
    host.setTableEventsOn(false);
    host.suspendRecordDisplay();
    {
        TConvertToUpper dialog(table, host.currentFilter(), host.hostWindow());
        showCentred(dialog, host.hostWindow());
    }
    host.resumeRecordDisplay();
    if (record) table.go(record);
    host.setTableEventsOn(true);
}

void SearchReplaceFieldValues1Click(ContactHost& host) {
    runOnFilterAlone<TSearchAndReplace>(host);
}

void DeleteRecords1Click(ContactHost& host) {
    runOnFilterAlone<TDeleteRecords>(host);
}

}  // namespace qb::utilities
