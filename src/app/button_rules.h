// What the main window shows and enables in each state, decided from three facts: a file is
// open, its record is being edited, and it is positioned on a record.
#pragma once

#include <QString>

namespace qb {

struct ButtonRules {
    bool fileCommands = false;     // Rebuild Indexes and the two imports
    bool addButton = false;        // shown and enabled
    bool editAndDelete = false;    // Edit and Delete buttons, shown and enabled
    bool recordButtons = false;    // Search, RecordPrev, RecordNext, Dial, Search Memo shown
    bool saveAndCancel = false;    // shown
    bool recordCommands = false;   // Clone, Order, Utilities, Labels, Envelopes, Letters, Reports
    bool fileMenu = false;         // the File menu
    bool hideFindNext = false;     // Find Next is hidden (otherwise left as it is)
    bool filterStatus = false;     // the filter image
    bool focusToFirstBox = false;  // focus goes to Last unless already in an entry box
    // The access keys sit on the buttons that can be used.
    QString saveCaption, cancelCaption, addCaption, editCaption, deleteCaption, searchCaption;
};

ButtonRules computeButtonRules(bool fileOpen, bool editing, bool onRecord, bool filterSet);

}  // namespace qb
