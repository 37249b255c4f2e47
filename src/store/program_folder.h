// The program folder: where the settings file, the program's own tables, the presort list
// and the temporary check indexes live, and where a new contact file is proposed.
#pragma once

#include <QString>
#include <QStringList>

namespace qb {

// The tables the program ships with (each with its compound index, and memo file if any).
const QStringList& shippedTableNames();

// Resolves the program folder, always with a trailing '/'. In order: the folder given (from
// --home), the environment variable QUILLBANK_HOME, the executable's folder when writable,
// else the per-user application data folder.
QString resolveProgramFolder(const QString& requested, const QString& executableFolder);

// Copies each shipped table (with its index and memo files) that the folder lacks from the
// installed copies in sourceFolder; an existing table is never overwritten. Returns the
// names of tables that could not be provided (the source lacks them or a copy failed).
QStringList provideShippedTables(const QString& programFolder, const QString& sourceFolder);

// The folder part of a path, with a trailing '/'.
QString folderOf(const QString& path);
// The path with a trailing '/' added when missing.
QString withTrailingSlash(const QString& folder);

}  // namespace qb
