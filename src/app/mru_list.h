// The recently-used contact files: at most four paths, most recent first, kept in the
// settings file's MRU section.
#pragma once

#include <QStringList>

#include "store/settings.h"

namespace qb {

// The non-empty entries Item1..Item4, in that order.
QStringList GetMRUList(const Settings& settings);
// Writes the list to Item1..ItemN.
void PutMRUList(const Settings& settings, const QStringList& list);
// The list after opening path: path first, then the earlier entries that differ from it
// (letter case counts), at most four.
QStringList promoteMruEntry(const QStringList& list, const QString& path);

}  // namespace qb
