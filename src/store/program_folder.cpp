// Finding the program folder and filling it with the shipped tables on first use.
#include "store/program_folder.h"

#include "store/output_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace qb {
namespace {

bool writableFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    // Permission bits lie on some mounts; trying is the only sure test.
    QTemporaryFile probe(withTrailingSlash(folder) + QStringLiteral("probe-XXXXXX"));
    return probe.open();
}

// The files that make up one table: the table, its compound index and its memo file.
QStringList companions(const QString& table) {
    const QString base = table.left(table.lastIndexOf(u'.'));
    return {table, base + QStringLiteral(".CDX"), base + QStringLiteral(".FPT")};
}

// A file in the folder whose name matches regardless of letter case.
QString existingName(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (dir.exists(name)) return dir.filePath(name);
    const QStringList all = dir.entryList(QDir::Files);
    for (const QString& candidate : all) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(candidate);
    }
    return {};
}

}  // namespace

const QStringList& shippedTableNames() {
    static const QStringList names = {QStringLiteral("QBMLBLS.DBF"), QStringLiteral("QBMENVS.DBF"),
                                      QStringLiteral("QBMSZCK.DBF"), QStringLiteral("QBMLSU.DBF"),
                                      QStringLiteral("QBMESU.DBF")};
    return names;
}

QString withTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/')) return folder;
    return folder + u'/';
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

namespace {

QString findProgramFolder(const QString& requested, const QString& executableFolder) {
    QString chosen = requested;
    if (chosen.isEmpty()) chosen = qEnvironmentVariable("QUILLBANK_HOME");
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return withTrailingSlash(QFileInfo(chosen).absoluteFilePath());
    }
    if (writableFolder(executableFolder)) {
        return withTrailingSlash(QFileInfo(executableFolder).absoluteFilePath());
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return withTrailingSlash(data);
}

}  // namespace

QString resolveProgramFolder(const QString& requested, const QString& executableFolder) {
    const QString folder = findProgramFolder(requested, executableFolder);
    // The files kept there (tables, settings, lock) are the program's from now on: no output
    // may be written over them.
    OwnedFiles::setProgramFolder(folder);
    return folder;
}

QStringList provideShippedTables(const QString& programFolder, const QString& sourceFolder) {
    QStringList missing;
    const QString target = withTrailingSlash(programFolder);
    const QString source = withTrailingSlash(sourceFolder);
    for (const QString& table : shippedTableNames()) {
        if (!existingName(target, table).isEmpty()) continue;
        if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath() ||
            existingName(source, table).isEmpty()) {
            missing << table;
            continue;
        }
        bool ok = true;
        for (const QString& part : companions(table)) {
            const QString from = existingName(source, part);
            if (from.isEmpty()) continue;
            QFile::remove(target + part);
            ok = QFile::copy(from, target + part) && ok;
            // Installed copies may be read-only; the program folder's copy must not be.
            QFile::setPermissions(target + part, QFile::permissions(target + part) |
                                                     QFileDevice::WriteOwner |
                                                     QFileDevice::ReadOwner);
        }
        if (!ok) missing << table;
    }
    return missing;
}

}  // namespace qb
