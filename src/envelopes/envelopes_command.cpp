// The "&Envelopes" command.
#include "envelopes/envelopes_command.h"

#include "controls/prompts.h"
#include "envelopes/qb_envelopes.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"

namespace qb::envelopes {

void EnvelopesClick(ContactHost& host) {
    QWidget* window = host.hostWindow();
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(window, QString::fromLatin1(kNoPrintersForEnvelopes));
        return;
    }
    Dataset& table = host.contactTable();
    if (!table.isOpen() || !table.onRecord()) return;

    const QString printer = PrinterDevice::shared().printerName();
    host.suspendRecordDisplay();
    {
        TQBEnvelopes dialog(host, window);
        if (!dialog.OpenSetupTable()) {
            prompts().information(window, QString::fromLatin1(kUnableToOpenEnvelopeSetups));
        } else {
            dialog.adjustSize();
            if (window) dialog.move(window->geometry().center() - dialog.rect().center());
            dialog.exec();
        }
    }
    // Printer choices made in the dialog do not outlive it.
    PrinterDevice::releaseShared();
    if (!printer.isEmpty()) PrinterDevice::shared().selectPrinter(printer);
    host.resumeRecordDisplay();
}

}  // namespace qb::envelopes
