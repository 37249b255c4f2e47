// The "Check && Repair &State and Zip Codes" and "Check && Repair &Duplicates" commands.
#include "utilities/check_commands.h"

#include <QWidget>

#include "controls/prompts.h"
#include "store/contact_schema.h"
#include "store/exclusive_use.h"
#include "utilities/check_walk.h"
#include "utilities/dup_check.h"
#include "utilities/state_zip_check.h"

namespace qb::utilities {
namespace {

template <typename Dialog>
void runAlone(ContactHost& host, const char* indexName) {
    QWidget* window = host.hostWindow();
    const QString folder = host.programFolder();
    ExclusiveUse use(host);
    use.removeAtEnd(folder + QLatin1String(indexName));
    if (!use.open([window](const QString& text) { prompts().information(window, text); })) return;
    use.table().setSelection(QString::fromLatin1(kDeletionExclusion));
    Dialog dialog(use.table(), folder, window);
    if (window) dialog.move(window->geometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace

void CheckState1Click(ContactHost& host) {
    host.setTableEventsOn(false);
    runAlone<TStateZipCheck>(host, kStateZipIndex);
    host.setTableEventsOn(true);
}

void DuplicatesReport1Click(ContactHost& host) {
    runAlone<TDupCheck>(host, kDupIndex);
}

}  // namespace qb::utilities
