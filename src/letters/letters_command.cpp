// The "Le&tters" command.
#include "letters/letters_command.h"

#include "controls/placement.h"
#include "controls/prompts.h"
#include "letters/letter_print.h"
#include "letters/letter_store.h"
#include "letters/qb_letters.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"

namespace qb::letters {

void LettersClick(ContactHost& host) {
    QWidget* window = host.hostWindow();
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(window, QString::fromLatin1(kNoPrintersForLetters));
        return;
    }
    Dataset& table = host.contactTable();
    if (!table.isOpen() || !table.onRecord()) return;

    const QString printer = PrinterDevice::shared().printerName();
    host.suspendRecordDisplay();
    {
        TqBLetters dialog(host, window);
        if (host.currentFilter().isEmpty()) dialog.DisableFilterChoice();
        if (!dialog.OpenLettersTable()) {
            prompts().information(window, QString::fromLatin1(kUnableToOpenOrCreate));
        } else {
            dialog.adjustSize();
            if (window) centreOver(dialog, *window);
            dialog.exec();
        }
    }
    // The print runs put the selection and record back themselves; the preview's contact
    // buttons move the main window's record on purpose, so it stays where they left it.
    PrinterDevice::releaseShared();
    if (!printer.isEmpty()) PrinterDevice::shared().selectPrinter(printer);
    host.resumeRecordDisplay();
}

}  // namespace qb::letters
