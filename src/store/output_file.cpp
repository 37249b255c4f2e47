// Output files written beside their target and put in place only when whole, and the list of
// files they must never replace.
#include "store/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <cerrno>
#include <cstring>

namespace qb {
namespace {

struct Registry {
    QMutex mutex;
    QString programFolder;
    QStringList tables;
};

Registry& registry() {
    static Registry r;
    return r;
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

FileIdentity identityFrom(const struct stat& st) {
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

// The name without its extension, as tables and their memos and indexes share it.
QString stem(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

// Whether a file in `folder` whose name passes `matches` is the file itself.
template <typename Match>
bool folderHolds(const QString& folder, const FileIdentity& file, Match matches) {
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!matches(name)) continue;
        if (identityOf(QDir(folder).filePath(name)) == file) return true;
    }
    return false;
}

bool programFolderFile(const QString& name) {
    return name.startsWith(QLatin1String("QBM"), Qt::CaseInsensitive) ||
           name.compare(QLatin1String("QUILLB.INI"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("quillbank.lock"), Qt::CaseInsensitive) == 0;
}

// Whether any descriptor of the process is open on the file; the kernel's list of them is the
// only one that knows about every file, whoever opened it.
bool processHasOpen(const FileIdentity& file) {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == ::dirfd(dir)) continue;
        struct stat st;
        if (::fstat(int(fd), &st) == 0 && S_ISREG(st.st_mode) && identityFrom(st) == file) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

QString folderPart(const QString& path) {
    return QFileInfo(path).absolutePath();
}

}  // namespace

std::optional<FileIdentity> identityOf(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return identityFrom(st);
}

void OwnedFiles::setProgramFolder(const QString& folder) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.programFolder = folder;
}

void OwnedFiles::addTable(const QString& path) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.tables.append(QFileInfo(path).absoluteFilePath());
}

void OwnedFiles::removeTable(const QString& path) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.tables.removeOne(QFileInfo(path).absoluteFilePath());
}

std::optional<QString> OwnedFiles::claim(const FileIdentity& file) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    for (const QString& table : std::as_const(r.tables)) {
        const QString tableStem = stem(QFileInfo(table).fileName());
        if (folderHolds(folderPart(table), file, [&](const QString& name) {
                return stem(name).compare(tableStem, Qt::CaseInsensitive) == 0;
            }))
            return QStringLiteral("part of the table %1, which is in use")
                .arg(QFileInfo(table).fileName());
    }
    if (!r.programFolder.isEmpty() && folderHolds(r.programFolder, file, programFolderFile))
        return QStringLiteral("one of Quillbank's own files");
    if (processHasOpen(file)) return QStringLiteral("a file Quillbank has open");
    return std::nullopt;
}

SafeOutputFile::SafeOutputFile(const QString& target, QObject* parent)
    : QIODevice(parent), target_(QFileInfo(target).absoluteFilePath()) {}

SafeOutputFile::~SafeOutputFile() {
    discard();
}

bool SafeOutputFile::begin() {
    if (fd_ >= 0) return true;
    failed_ = false;
    size_ = 0;
    // A link is written through: the file it leads to is the one the user meant.
    const QFileInfo info(target_);
    if (info.isSymLink() && info.exists()) target_ = info.canonicalFilePath();

    mode_t mode = 0;
    struct stat st;
    if (::stat(QFile::encodeName(target_).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            setErrorString(
                QStringLiteral("%1 cannot be written over: it is not a plain file").arg(target_));
            return false;
        }
        if (const auto owner = OwnedFiles::claim(identityFrom(st))) {
            setErrorString(
                QStringLiteral("%1 cannot be written over: it is %2").arg(target_, *owner));
            return false;
        }
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        setErrorString(
            QStringLiteral("%1 cannot be written (%2)").arg(target_, systemError(errno)));
        return false;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    // The side file lives in the target's folder so that the final rename stays on one file
    // system; a unique name keeps it clear of every other file there.
    QByteArray pattern = QFile::encodeName(folderPart(target_) + QStringLiteral("/.") +
                                           info.fileName() + QStringLiteral("-XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        setErrorString(
            QStringLiteral("%1 cannot be written (%2)").arg(target_, systemError(errno)));
        return false;
    }
    ::fchmod(fd, mode);
    fd_ = fd;
    side_ = QFile::decodeName(pattern);
    QIODevice::open(QIODevice::WriteOnly);
    return true;
}

void SafeOutputFile::fail(const QString& why) {
    if (failed_) return;
    failed_ = true;
    setErrorString(QStringLiteral("%1 could not be written (%2)").arg(target_, why));
}

qint64 SafeOutputFile::readData(char*, qint64) {
    return -1;
}

qint64 SafeOutputFile::writeData(const char* data, qint64 size) {
    if (failed_ || fd_ < 0) return -1;
    qint64 at = pos();
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, data + done, size_t(size - done), off_t(at + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(systemError(n < 0 ? errno : ENOSPC));
            return -1;
        }
        done += n;
    }
    size_ = std::max(size_, at + done);
    return done;
}

bool SafeOutputFile::closeSide() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
}

bool SafeOutputFile::commit() {
    if (fd_ < 0) return false;
    if (!failed_ && ::fsync(fd_) != 0) fail(systemError(errno));
    if (!closeSide() && !failed_) fail(systemError(errno));
    // The target may have changed while the file was being written.
    if (!failed_) {
        struct stat st;
        if (::stat(QFile::encodeName(target_).constData(), &st) == 0) {
            if (!S_ISREG(st.st_mode)) {
                fail(QStringLiteral("it is not a plain file"));
            } else if (const auto owner = OwnedFiles::claim(identityFrom(st))) {
                fail(QStringLiteral("it is %1").arg(*owner));
            }
        }
    }
    if (!failed_ &&
        ::rename(QFile::encodeName(side_).constData(), QFile::encodeName(target_).constData()) != 0)
        fail(systemError(errno));
    if (failed_) {
        discard();
        return false;
    }
    side_.clear();
    // Makes the new name durable; the file itself is already on disk.
    const int dir = ::open(QFile::encodeName(folderPart(target_)).constData(), O_RDONLY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    QIODevice::close();
    return true;
}

void SafeOutputFile::discard() {
    closeSide();
    if (!side_.isEmpty()) ::unlink(QFile::encodeName(side_).constData());
    side_.clear();
    // Closing a device forgets its error; the reason for a failure must outlive it.
    const QString why = errorString();
    if (isOpen()) QIODevice::close();
    setErrorString(why);
}

QString writeWholeFile(const QString& target, const QByteArray& bytes) {
    SafeOutputFile file(target);
    if (!file.begin()) return file.errorString();
    file.write(bytes);
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace qb
