// The dialling component: the dial command, the pause for the handset, the hang-up.
#include "dialer/dialer.h"

#include "controls/prompts.h"
#include "dialer/serial_port.h"

namespace qb::dialer {

QString comName(int port) {
    return QStringLiteral("COM") + QString::number(clampPort(port) + 1);
}

int clampPort(int port) {
    return port < 0 ? 0 : (port >= kPortCount ? kPortCount - 1 : port);
}

QString devicePath(const Settings& settings, int port) {
    const int p = clampPort(port);
    const QString fallback = QStringLiteral("/dev/ttyS") + QString::number(p);
    const QString path = settings.read(setting::DialDevice, QString::number(p + 1)).trimmed();
    return path.isEmpty() ? fallback : path;
}

QByteArray dialCommand(const QString& number, TDialMethod method) {
    QByteArray command = method == dmPulse ? QByteArrayLiteral("ATDP") : QByteArrayLiteral("ATDT");
    return command + number.toLatin1() + QByteArrayLiteral("\r\n");
}

QString refusal(const QString& text, const QString& what) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == u';')
            return QStringLiteral(
                       "The %1 may hold only printable ASCII characters other than "
                       "\";\"; it was not dialled")
                .arg(what);
    }
    return {};
}

bool TDialer::Dial(QWidget* parent) {
    // Refused before anything is opened: nothing at all goes to the modem.
    const QString why = refusal(NumberToDial, QStringLiteral("number to dial"));
    if (!why.isEmpty()) {
        prompts().error(parent, why);
        return false;
    }
    if (Confirm && !prompts().confirm(parent, QStringLiteral("Confirm"),
                                      QStringLiteral("About to dial the number ") + NumberToDial +
                                          QStringLiteral(". Are you sure?")))
        return false;

    const int port = clampPort(ComPort);
    const QString path = devicePath(settings_, port);
    SerialPort line;
    line.setWriteBudgetMs(writeBudgetMs_);
    switch (line.open(path)) {
        case SerialPort::OpenResult::Opened:
            break;
        case SerialPort::OpenResult::Failed:
            prompts().error(parent, QStringLiteral("Unable to open ") + comName(port));
            return false;
        case SerialPort::OpenResult::NotSerialPort:
            prompts().error(parent, QStringLiteral("Unable to open ") + comName(port) +
                                        QStringLiteral("\r\n") + path +
                                        QStringLiteral(" is not a serial port"));
            return false;
    }
    if (!line.write(dialCommand(NumberToDial, Method))) {
        line.close();
        prompts().error(parent, QString::fromLatin1(kUnableToDial));
        return false;
    }
    // The only pacing: the modem keeps the line until the user has the handset up.
    prompts().information(parent, QString::fromLatin1(kPickUpPhone));
    const bool hungUp = line.write(QByteArray(kHangUpCommand));
    line.close();
    if (!hungUp) prompts().error(parent, QString::fromLatin1(kUnableToHangUp));
    return true;
}

}  // namespace qb::dialer
