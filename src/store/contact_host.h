// What a dialog may use of the main window: the contact table and the state around it. The
// main window implements this, so dialogs below it never depend on the window class itself.
#pragma once

#include <QString>
#include <cstdint>

#include "store/dataset.h"
#include "store/settings.h"

class QWidget;

namespace qb {

class ContactHost {
  public:
    virtual ~ContactHost() = default;

    // The contact table on the open contact file (closed when none is open).
    virtual Dataset& contactTable() = 0;
    // Full path of the open contact file; empty when none is open.
    virtual QString currentFileName() const = 0;
    // The Filter page's expression without the deletion exclusion; empty for no filter.
    virtual QString currentFilter() const = 0;
    // Tag name of the current order; empty while no file is open.
    virtual QString currentOrder() const = 0;
    // While off, the record-entry reactions to inserts, edits and posts do nothing; output and
    // utility commands switch it off around their dialogs.
    virtual bool tableEventsOn() const = 0;
    virtual void setTableEventsOn(bool on) = 0;
    // The program folder, with a trailing '/'.
    virtual QString programFolder() const = 0;
    virtual Settings settings() const = 0;
    // The window dialogs centre themselves over.
    virtual QWidget* hostWindow() = 0;
    // Holds the record display still while a command's dialog moves the contact table: the
    // bound controls stop following it and the record-entry reactions are off. Resuming
    // brings the window up to date with wherever the table now is.
    virtual void suspendRecordDisplay() = 0;
    virtual void resumeRecordDisplay() = 0;
    // For a utility that needs the file alone: the window lets go of its table, and later
    // takes the same file back, shows its first page with its filter still in force and
    // returns to record recno when that record is still there.
    virtual void releaseContactFile() = 0;
    virtual void reclaimContactFile(uint32_t recno) = 0;
    // Puts the Filter page's filter in force again with the deletion exclusion, goes to the
    // first record it now selects and brings the buttons up to date: for commands that
    // changed which records the filter selects, or moved the table's selection meanwhile.
    virtual void reapplyFilter() = 0;
};

}  // namespace qb
