// The import commands.
#include "import/import_commands.h"

#include "controls/prompts.h"
#include "import/ascii_import_dialog.h"
#include "import/dbf_import_dialog.h"
#include "store/exclusive_use.h"

namespace qb::import {

namespace {

template <typename Window>
void runImport(ContactHost& host) {
    if (host.currentFileName().isEmpty() || !host.contactTable().isOpen()) {
        prompts().information(host.hostWindow(), QString::fromLatin1(kNoFileOpen));
        return;
    }
    ExclusiveUse use(host);
    if (!use.open([&](const QString& m) { prompts().information(host.hostWindow(), m); })) return;
    Window window(use.table(), host.programFolder(), host.hostWindow());
    window.exec();
}

}  // namespace

void mnuImportASCIIClick(ContactHost& host) {
    runImport<TAsciiImport>(host);
}

void mnuImportDBFClick(ContactHost& host) {
    runImport<TDBFImport>(host);
}

}  // namespace qb::import
