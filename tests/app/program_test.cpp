// The program itself, started twice on one program folder: the second start hands over to
// the first and ends.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

QProcess* startProgram(const QString& home, QObject* parent) {
    auto* p = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(QB_BINARY_DIR "/src/app/quillbank"), {QStringLiteral("--home"), home});
    return p;
}

TEST(Program, ASecondStartOnTheSameFolderEndsAndLeavesTheFirstRunning) {
    QTemporaryDir home;
    QObject owner;
    QProcess* first = startProgram(home.path(), &owner);
    ASSERT_TRUE(first->waitForStarted(5000));
    // The first start creates the default file (and then waits on its empty-file notice).
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(home.path() + QStringLiteral("/QUILLB1.CDX")) && clock.elapsed() < 10000)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(home.path() + QStringLiteral("/QUILLB1.DBF")));
    EXPECT_TRUE(QFile::exists(home.path() + QStringLiteral("/QBMLBLS.DBF")));

    QProcess* second = startProgram(home.path(), &owner);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();
    first->waitForFinished(5000);
}

}  // namespace
