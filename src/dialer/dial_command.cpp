// The Dial button of the main window.
#include "dialer/dial_command.h"

#include "dialer/dialer_dialog.h"

namespace qb::dialer {

void DialButtonClick(ContactHost& host) {
    Dataset& table = host.contactTable();
    QString phone;
    if (table.isOpen() && table.onRecord()) {
        phone = table.text(QStringLiteral("PHONE"));
        while (phone.endsWith(u' '))
            phone.chop(1);
    }
    QWidget* window = host.hostWindow();
    TQBDialer dialog(host.settings(), phone, window);
    dialog.adjustSize();
    if (window) dialog.move(window->geometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace qb::dialer
