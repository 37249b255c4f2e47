// Status template expansion: one pass over the template, macros taken case-insensitively.
#include "output/status_format.h"

namespace qb {

QString expandStatus(const QString& format, const StatusValues& values) {
    QString out;
    out.reserve(format.size() + 16);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const QChar m = format[++i].toUpper();
        if (m == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else if (m.isDigit() && m.unicode() < 128) {
            const qsizetype line = m.unicode() - '0';
            if (line < values.lines.size()) out += values.lines[line];
        } else if (m == QLatin1Char('P')) {
            out += QString::number(values.currentPage);
        } else if (m == QLatin1Char('F')) {
            out += QString::number(values.firstPage);
        } else if (m == QLatin1Char('L')) {
            out += QString::number(values.lastPage);
        } else if (m == QLatin1Char('D')) {
            out += values.deviceName;
        } else if (m == QLatin1Char('R')) {
            out += values.driverName;
        } else if (m == QLatin1Char('T')) {
            out += values.portName;
        } else {
            out += QStringLiteral("<ERROR-%") + m + QLatin1Char('>');
        }
    }
    return out;
}

}  // namespace qb
