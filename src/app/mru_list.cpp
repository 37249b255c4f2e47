// Reading, reordering and writing the recently-used list.
#include "app/mru_list.h"

namespace qb {

QStringList GetMRUList(const Settings& settings) {
    QStringList list;
    for (int i = 1; i <= setting::kMruSize; ++i) {
        const QString entry = settings.read(setting::MruItem, QString::number(i));
        if (!entry.isEmpty()) list << entry;
    }
    return list;
}

void PutMRUList(const Settings& settings, const QStringList& list) {
    for (int i = 0; i < list.size() && i < setting::kMruSize; ++i) {
        settings.write(setting::MruItem, list[i], QString::number(i + 1));
    }
}

QStringList promoteMruEntry(const QStringList& list, const QString& path) {
    QStringList out{path};
    for (const QString& entry : list) {
        if (out.size() >= setting::kMruSize) break;
        // Two paths that differ only in letter case may be two files.
        if (entry.compare(path, Qt::CaseSensitive) != 0) out << entry;
    }
    return out;
}

}  // namespace qb
