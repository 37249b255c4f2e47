// The "Count &Zip Codes" command.
#include "presort/zip_count_command.h"

#include "presort/count_zip_codes.h"

namespace qb::presort {

void CountZipCodesClick(ContactHost& host) {
    Dataset& table = host.contactTable();
    if (!table.isOpen()) return;
    QWidget* window = host.hostWindow();
    host.suspendRecordDisplay();
    {
        TCountZipCodes dialog(table.area(), window, window);
        dialog.adjustSize();
        if (window) dialog.move(window->geometry().center() - dialog.rect().center());
        dialog.exec();
    }
    // The count moved the engine's record behind the dataset and put it back.
    table.resync();
    host.resumeRecordDisplay();
}

}  // namespace qb::presort
