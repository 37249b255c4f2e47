// The "&Labels" command.
#include "labels/labels_command.h"

#include "controls/prompts.h"
#include "labels/qb_labels.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"

namespace qb::labels {

void LabelsClick(ContactHost& host) {
    QWidget* window = host.hostWindow();
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(window, QString::fromLatin1(kNoPrintersForLabels));
        return;
    }
    Dataset& table = host.contactTable();
    if (!table.isOpen() || !table.onRecord()) return;

    const QString printer = PrinterDevice::shared().printerName();
    const uint32_t record = table.recNo();
    const QString selection = table.selection();
    const QString order = table.orderTag();
    host.suspendRecordDisplay();
    {
        TQBLabels dialog(host, window);
        if (host.currentFilter().isEmpty()) dialog.DisableFilterChoice();
        if (!dialog.OpenSetupTable()) {
            prompts().information(window, QString::fromLatin1(kUnableToOpenSetups));
        } else {
            dialog.adjustSize();
            if (window) dialog.move(window->geometry().center() - dialog.rect().center());
            dialog.exec();
        }
    }
    // The dialog's runs put these back themselves; this covers whatever else moved the table.
    if (table.isOpen()) {
        if (table.selection() != selection) table.setSelection(selection);
        if (table.orderTag() != order) table.setOrderTag(order);
        table.go(record);
    }
    // The next output starts from the default printer, then takes the one in use before.
    PrinterDevice::releaseShared();
    if (!printer.isEmpty()) PrinterDevice::shared().selectPrinter(printer);
    host.resumeRecordDisplay();
}

}  // namespace qb::labels
