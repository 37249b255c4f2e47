// The "&Reports" command.
#include "reports/reports_command.h"

#include "controls/prompts.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "reports/user_designed_report.h"

namespace qb::reports {

void ReportsClick(ContactHost& host) {
    QWidget* window = host.hostWindow();
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(window, QString::fromLatin1(kNoPrintersForReports));
        return;
    }
    Dataset& table = host.contactTable();
    if (!table.isOpen() || !table.onRecord()) return;

    const QString printer = PrinterDevice::shared().printerName();
    host.suspendRecordDisplay();
    {
        TUserDesignedReport dialog(host, window);
        if (host.currentFilter().isEmpty()) dialog.DisableFilterChoice();
        dialog.adjustSize();
        if (window) dialog.move(window->geometry().center() - dialog.rect().center());
        dialog.exec();
    }
    // The next output starts from the default printer, then takes the one in use before.
    PrinterDevice::releaseShared();
    if (!printer.isEmpty()) PrinterDevice::shared().selectPrinter(printer);
    host.resumeRecordDisplay();
}

}  // namespace qb::reports
