// The "&Labels" command of the main window.
#include "app/labels_command.h"

#include "app/main_window.h"
#include "controls/prompts.h"
#include "labels/qb_labels.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"

namespace qb {

void LabelsClick(TQBMMain& window) {
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(&window, QString::fromLatin1(kNoPrintersForLabels));
        return;
    }
    Dataset& table = window.contactTable();
    if (!table.isOpen() || !table.onRecord()) return;

    const QString printer = PrinterDevice::shared().printerName();
    const uint32_t record = table.recNo();
    const QString selection = table.selection();
    const QString order = table.orderTag();
    table.disableControls();
    window.setTableEventsOn(false);
    {
        labels::TQBLabels dialog(window, &window);
        if (window.currentFilter().isEmpty()) dialog.DisableFilterChoice();
        if (!dialog.OpenSetupTable()) {
            prompts().information(&window, QString::fromLatin1(labels::kUnableToOpenSetups));
        } else {
            dialog.adjustSize();
            dialog.move(window.geometry().center() - dialog.rect().center());
            dialog.exec();
        }
    }
    // The dialog's runs put these back themselves; this covers whatever else moved the table.
    if (table.isOpen()) {
        if (table.selection() != selection) table.setSelection(selection);
        if (table.orderTag() != order) table.setOrderTag(order);
        table.go(record);
    }
    table.enableControls();
    window.setTableEventsOn(true);
    // The next output starts from the default printer, then takes the one in use before.
    PrinterDevice::releaseShared();
    if (!printer.isEmpty()) PrinterDevice::shared().selectPrinter(printer);
    window.SetButtons();
}

}  // namespace qb
