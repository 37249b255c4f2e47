// The one way the program writes a file the user asked for (a PDF, a copied-out list, the
// presort list): never over a file the program has open or keeps, never over anything but a
// plain file, and never half: the bytes go to a side file that replaces the target only once
// every write, the flush to disk and the close have succeeded.
#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>

namespace qb {

// A file as the file system knows it, whatever name or link leads to it.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of what path leads to (links followed); nothing when it does not exist.
std::optional<FileIdentity> identityOf(const QString& path);

// The files no output may replace: every file the process has open, the program folder's own
// files (its tables with their indexes and memos, the settings file, the lock file), and the
// table, memo and index of each contact file in use.
class OwnedFiles {
  public:
    static void setProgramFolder(const QString& folder);
    // A table in use: the file and the files beside it that share its name (memo, indexes).
    static void addTable(const QString& path);
    static void removeTable(const QString& path);
    // Why the file is off limits ("the program folder's QBMLSU.DBF"), or nothing when it is not.
    static std::optional<QString> claim(const FileIdentity& file);
};

class SafeOutputFile : public QIODevice {
  public:
    explicit SafeOutputFile(const QString& target, QObject* parent = nullptr);
    // Discards the side file unless committed.
    ~SafeOutputFile() override;

    QString target() const { return target_; }
    // Checks the target and creates the side file beside it; false with errorString() set
    // when the target is refused or the side file cannot be made.
    bool begin();
    // Whether a write has failed; the first failure is kept in errorString().
    bool failed() const { return failed_; }
    // Flushes the side file to disk and puts it in the target's place. False, with the side
    // file removed and the target as it was, when anything failed on the way.
    bool commit();
    // Drops the side file; the target stays as it was.
    void discard();

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    void fail(const QString& why);
    bool closeSide();

    QString target_;
    QString side_;
    int fd_ = -1;
    qint64 size_ = 0;
    bool failed_ = false;
};

// Writes bytes whole to target through a SafeOutputFile; an empty text when done, else the
// message saying what went wrong.
QString writeWholeFile(const QString& target, const QByteArray& bytes);

}  // namespace qb
