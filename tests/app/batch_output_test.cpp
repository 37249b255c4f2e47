// What the unattended label run writes: never over a file the program keeps or has open, never
// over anything but a plain file, and never a partial PDF when the disk fills.
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app_fixture.h"
#include "batch_process.h"

namespace qb {
namespace {

using test::AppTest;

using test::Outcome;

class BatchOutput : public AppTest {
  protected:
    Outcome run(const QStringList& arguments, rlim_t fileSizeLimit = 0) {
        return test::runQuillbank(
            QStringList{QStringLiteral("labels"), QStringLiteral("--home"), folder} + arguments,
            fileSizeLimit);
    }
    QByteArray contentOf(const QString& file) {
        // A pipe would block the reader; only plain files have a content to compare.
        if (!QFileInfo(file).isFile()) return {};
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList namesInFolder() const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QString people(int count) {
        std::vector<test::Contact> list(size_t(count), test::Contact{"Adams", "Ann"});
        return contactFile(QStringLiteral("PEOPLE.DBF"), list);
    }
};

TEST_F(BatchOutput, NoFileTheProgramKeepsOrHasOpenBecomesThePdf) {
    const QString file = people(3);
    writeSettings("[Labels]\n");
    const QString other = path(QStringLiteral("elsewhere"));
    QDir().mkpath(other);
    // The index under another name and the setups through a link are the same files.
    ASSERT_EQ(::link(QFile::encodeName(path(QStringLiteral("PEOPLE.CDX"))),
                     QFile::encodeName(other + QStringLiteral("/index.pdf"))),
              0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("QBMLSU.DBF")), other + "/setups.pdf"));
    const QString fifo = path(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    const QStringList before = namesInFolder();

    for (const QString& target :
         {file, path(QStringLiteral("PEOPLE.FPT")), other + QStringLiteral("/index.pdf"),
          other + QStringLiteral("/setups.pdf"), path(QStringLiteral("QBMLBLS.CDX")),
          path(QStringLiteral("QUILLB.INI")), other, fifo}) {
        SCOPED_TRACE(target.toStdString());
        const QByteArray kept = contentOf(target);
        const Outcome r = run({QStringLiteral("--pdf"), target, file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.errors.contains(QStringLiteral("cannot be written over")))
            << qPrintable(r.errors);
        EXPECT_FALSE(r.errors.contains(QStringLiteral("written to")));
        EXPECT_EQ(contentOf(target), kept);
        EXPECT_EQ(namesInFolder(), before);
        EXPECT_EQ(QDir(other).entryList(QDir::AllEntries | QDir::Hidden).size(), 4);
    }
}

TEST_F(BatchOutput, AFullDiskKeepsTheEarlierPdfAndFailsTheRun) {
    const QString file = people(300);
    const QString out = path(QStringLiteral("out.pdf"));
    ASSERT_EQ(run({QStringLiteral("--pdf"), out, file}).exitCode, 0);
    const QByteArray earlier = contentOf(out);
    ASSERT_GT(earlier.size(), 8000);
    const QStringList before = namesInFolder();

    const Outcome r =
        run({QStringLiteral("--copies"), QStringLiteral("3"), QStringLiteral("--pdf"), out, file},
            20000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("could not be written"))) << qPrintable(r.errors);
    EXPECT_FALSE(r.errors.contains(QStringLiteral("written to")));
    EXPECT_EQ(contentOf(out), earlier);
    EXPECT_EQ(namesInFolder(), before);
}

}  // namespace
}  // namespace qb
