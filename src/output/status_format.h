// Expands the macros of a status template ("Printing page %p") into the text a status label
// shows while a pass runs.
#pragma once

#include <QString>
#include <QStringList>

namespace qb {

struct StatusValues {
    int currentPage = 0;
    int firstPage = 1;
    int lastPage = 9999;
    QString deviceName;
    QString driverName;
    QString portName;
    QStringList lines;  // what %0 .. %9 insert
};

QString expandStatus(const QString& format, const StatusValues& values);

}  // namespace qb
