// The unattended dial, started as a separate program on a pseudo-terminal: the bytes, the
// hang-up held back until Enter, the saved choices it uses, and its refusals.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "pseudo_terminal.h"
#include "store/settings.h"

namespace qb {
namespace {

class BatchDial : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(modem.isValid());
        settings.write(setting::DialDevice, modem.path(), QStringLiteral("2"));
        // Never a real port of the machine running the tests.
        settings.write(setting::DialDevice, home.filePath(QStringLiteral("none")),
                       QStringLiteral("1"));
    }
    void start(const QStringList& arguments) {
        process.start(
            QStringLiteral(QB_BINARY_DIR "/src/app/quillbank"),
            QStringList{QStringLiteral("dial"), QStringLiteral("--home"), home.path()} + arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    int finish() {
        EXPECT_TRUE(process.waitForFinished(60000));
        return process.exitCode();
    }

    QTemporaryDir home;
    Settings settings{home.filePath(QStringLiteral("QUILLB.INI"))};
    test::PseudoTerminal modem;
    QProcess process;
};

TEST_F(BatchDial, DialsWithTheOptionsAndHangsUpOnlyAfterEnter) {
    start({QStringLiteral("--port"), QStringLiteral("2"), QStringLiteral("--pulse"),
           QStringLiteral("--prefix"), QStringLiteral("9,"), QStringLiteral("555-12 34")});
    EXPECT_EQ(modem.received(), QByteArray("ATDP9,555-12 34\r\n"));
    EXPECT_EQ(modem.nothingMore(), QByteArray());
    process.write("\n");
    process.waitForBytesWritten();
    EXPECT_EQ(modem.received(), QByteArray("ATH\r\n"));
    EXPECT_EQ(finish(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("Pick up phone"));
}

TEST_F(BatchDial, TheSavedPortAndPrefixServeWhenNoneIsGiven) {
    settings.write(setting::DialPort, 1);
    settings.write(setting::DialPrefix, QStringLiteral("8,"));
    start({QStringLiteral("123")});
    process.closeWriteChannel();  // no one at the keyboard: hangs up at once
    EXPECT_EQ(modem.received(), QByteArray("ATDT8,123\r\nATH\r\n"));
    EXPECT_EQ(finish(), 0);
}

TEST_F(BatchDial, RefusesWrongArgumentsAndUnsafeNumbers) {
    start({QStringLiteral("--port"), QStringLiteral("5"), QStringLiteral("1")});
    EXPECT_EQ(finish(), 2);
    start({QStringLiteral("--port"), QStringLiteral("2"), QStringLiteral("1;ATZ")});
    EXPECT_EQ(finish(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("printable ASCII"));
    start({QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("1")});
    EXPECT_EQ(finish(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("Unable to open COM1"));
    EXPECT_EQ(modem.nothingMore(), QByteArray());
}

}  // namespace
}  // namespace qb
