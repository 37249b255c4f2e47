// An unattended import killed part-way: the contacts that were there stay byte for byte, the
// appended ones are whole, and the file opens (asking for a rebuild) and checks clean after it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "fixtures.h"
#include "store/contact_file.h"
#include "xbase/work_area.h"

namespace qb::import {
namespace {

TEST(ImportKilled, LeavesEarlierRecordsAndAWholeLastOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("LIST.DBF");
    {
        Dataset maker;
        ASSERT_TRUE(CreateContactFile(path, maker, [](const QString&) {}));
        for (int i = 0; i < 100; ++i) {
            ASSERT_TRUE(maker.insert());
            maker.setText("LNAME", QStringLiteral("Before%1").arg(i));
            maker.setMemo("MEMO", QStringLiteral("memo %1").arg(i));
            ASSERT_TRUE(maker.post());
        }
        maker.close();
    }
    const QByteArray before = test::fileBytes(path);
    const QByteArray memoBefore = test::fileBytes(dir.filePath("LIST.FPT"));
    QByteArray lines;
    for (int i = 0; i < 50000; ++i)
        lines += "\"After" + QByteArray::number(i) + "\",\"x\",\"memo line\"\r\n";
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("in.txt"), lines));

    QProcess p;
    p.start(QStringLiteral(QB_BINARY_DIR "/src/app/quillbank"),
            {"import", "--home", dir.path(), "--csv", dir.filePath("in.txt"), "--map",
             "1=Last,2=First,3=Memo", path});
    ASSERT_TRUE(p.waitForStarted());
    // Killed once the appends are under way, wherever the import is then.
    while (QFileInfo(path).size() < before.size() + 200 * 400 && p.state() == QProcess::Running)
        QThread::msleep(2);
    ASSERT_EQ(p.state(), QProcess::Running) << "the import ended before it could be killed";
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();

    const QByteArray after = test::fileBytes(path);
    const int headerLength = uchar(before[8]) | (uchar(before[9]) << 8);
    const int recordLength = uchar(before[10]) | (uchar(before[11]) << 8);
    // The earlier records, byte for byte; the memo blocks they point to as well.
    EXPECT_EQ(after.mid(headerLength, 100 * recordLength),
              before.mid(headerLength, 100 * recordLength));
    // (The memo file's header says where its next block goes; the blocks follow it.)
    EXPECT_EQ(test::fileBytes(dir.filePath("LIST.FPT")).mid(512, memoBefore.size() - 512),
              memoBefore.mid(512));

    QStringList notices;
    Dataset contacts;
    ASSERT_TRUE(OpenContactFile(path, contacts, [&](const QString& m) { notices << m; }));
    EXPECT_EQ(notices, QStringList{missingIndexMessage(path)});
    xb::WorkArea& a = contacts.area();
    ASSERT_GT(a.recCount(), 100u);
    a.go(a.recCount());
    const QString last = QString::fromStdString(a.getText("LNAME"));
    EXPECT_EQ(last, QStringLiteral("After%1").arg(a.recCount() - 101));
    EXPECT_EQ(a.getText("FNAME"), "x");
    EXPECT_EQ(a.getMemo("MEMO"), "memo line");
    ASSERT_TRUE(BuildContactIndexes(contacts, [](const QString&) {}));
    EXPECT_EQ(a.checkIndexes(), "");
}

}  // namespace
}  // namespace qb::import
