// The enabling table of the main window.
#include "app/button_rules.h"

namespace qb {

ButtonRules computeButtonRules(bool fileOpen, bool editing, bool onRecord, bool filterSet) {
    ButtonRules r;
    const bool browsing = fileOpen && !editing;
    r.fileCommands = fileOpen;
    r.addButton = browsing;
    r.editAndDelete = browsing && onRecord;
    r.recordButtons = browsing && onRecord;
    r.saveAndCancel = editing;
    r.recordCommands = browsing && onRecord;
    r.fileMenu = !editing;
    r.hideFindNext = editing;
    r.filterStatus = fileOpen && filterSet;
    r.focusToFirstBox = editing;
    if (editing) {
        r.saveCaption = QStringLiteral("&Save");
        r.cancelCaption = QStringLiteral("&Cancel");
        r.addCaption = QStringLiteral("Add");
        r.editCaption = QStringLiteral("Edit");
        r.deleteCaption = QStringLiteral("Delete");
        r.searchCaption = QStringLiteral("Search");
    } else {
        r.saveCaption = QStringLiteral("Save");
        r.cancelCaption = QStringLiteral("Cancel");
        r.addCaption = QStringLiteral("&Add");
        r.editCaption = QStringLiteral("&Edit");
        r.deleteCaption = QStringLiteral("&Delete");
        r.searchCaption = QStringLiteral("Searc&h");
    }
    return r;
}

}  // namespace qb
