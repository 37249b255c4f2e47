// Output files: what they refuse to replace, and that a failed write leaves the earlier file
// and nothing else behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

#include "file_size_limit.h"
#include "store/output_file.h"
#include "store_test_util.h"

namespace qb {
namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class OutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        home = dir.filePath(QStringLiteral("home"));
        QDir().mkpath(home);
        OwnedFiles::setProgramFolder(home);
    }
    void TearDown() override { OwnedFiles::setProgramFolder(QString()); }
    // Names in the folder, hidden ones included.
    QStringList namesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QString refusal(const QString& target) {
        SafeOutputFile out(target);
        if (out.begin()) {
            out.discard();
            return {};
        }
        return out.errorString();
    }

    QTemporaryDir dir;
    QString home;
};

TEST_F(OutputFileTest, RefusesEveryFileTheProgramKeepsOrHasOpenWhateverTheName) {
    put(home + QStringLiteral("/QBMLSU.DBF"), "setups");
    put(home + QStringLiteral("/QUILLB.INI"), "settings");
    Dataset contacts;
    test::Notices notices;
    const QString table = dir.filePath(QStringLiteral("C.DBF"));
    ASSERT_TRUE(CreateContactFile(table, contacts, notices.sink()));
    const QString index = dir.filePath(QStringLiteral("C.CDX"));
    ASSERT_TRUE(QFile::exists(index));
    QFile held(dir.filePath(QStringLiteral("held.txt")));
    ASSERT_TRUE(held.open(QIODevice::ReadWrite));

    // Other names for the same files: a hard link, a symbolic link, the path itself.
    const QString elsewhere = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(elsewhere);
    ASSERT_EQ(::link(QFile::encodeName(home + QStringLiteral("/QBMLSU.DBF")),
                     QFile::encodeName(elsewhere + QStringLiteral("/setups.pdf"))),
              0);
    ASSERT_EQ(::link(QFile::encodeName(index), QFile::encodeName(elsewhere + "/index.pdf")), 0);
    ASSERT_TRUE(QFile::link(home + QStringLiteral("/QUILLB.INI"), elsewhere + "/ini.pdf"));
    for (const QString& target : {table, index, elsewhere + "/setups.pdf", elsewhere + "/index.pdf",
                                  elsewhere + "/ini.pdf", held.fileName()}) {
        SCOPED_TRACE(target.toStdString());
        const QByteArray before = contentOf(target);
        EXPECT_TRUE(refusal(target).contains(QStringLiteral("cannot be written over")));
        EXPECT_EQ(contentOf(target), before);
    }
    EXPECT_TRUE(refusal(table).contains(QStringLiteral("C.DBF")));

    // Once the table is closed, it is a file like any other.
    contacts.close();
    EXPECT_EQ(refusal(index), QString());
    EXPECT_EQ(namesIn(elsewhere).size(), 3);
}

TEST_F(OutputFileTest, RefusesWhatIsNotAPlainFile) {
    const QString folder = dir.filePath(QStringLiteral("folder.pdf"));
    QDir().mkpath(folder);
    const QString fifo = dir.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    for (const QString& target : {folder, fifo, QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_TRUE(refusal(target).contains(QStringLiteral("not a plain file")));
    }
    EXPECT_TRUE(namesIn(folder).isEmpty());
}

TEST_F(OutputFileTest, ReplacesTheTargetOnlyWhenEveryWriteSucceeded) {
    const QString target = dir.filePath(QStringLiteral("list.pdf"));
    put(target, "old");
    EXPECT_EQ(writeWholeFile(target, "new"), QString());
    EXPECT_EQ(contentOf(target), QByteArray("new"));

    const QByteArray big(256 * 1024, 'x');
    QString fault;
    {
        test::FileSizeLimit limit(64 * 1024);
        fault = writeWholeFile(target, big);
    }
    EXPECT_TRUE(fault.contains(QStringLiteral("could not be written"))) << fault.toStdString();
    EXPECT_EQ(contentOf(target), QByteArray("new"));
    EXPECT_EQ(namesIn(dir.path()), QStringList({QStringLiteral("home"), "list.pdf"}));

    // A write into a folder that is not there fails before anything is made.
    EXPECT_FALSE(writeWholeFile(dir.filePath(QStringLiteral("none/x.pdf")), "x").isEmpty());
}

}  // namespace
}  // namespace qb
