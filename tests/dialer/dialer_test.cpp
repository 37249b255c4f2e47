// The dialer against a pseudo-terminal: the exact bytes the modem gets and when, the settings
// the window keeps, and every refusal (missing port, no serial device, unsafe characters, a
// line that takes nothing).
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "dialer/dialer.h"
#include "dialer/dialer_dialog.h"
#include "fixtures.h"
#include "pseudo_terminal.h"

namespace qb::dialer {
namespace {

class DialerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(modem.isValid());
    }
    Settings settings() const { return Settings(dir.filePath(QStringLiteral("QUILLB.INI"))); }
    // "COM n" leads to the pseudo-terminal, or to any other path.
    void connectPort(int n, const QString& path) {
        settings().write(setting::DialDevice, path, QString::number(n));
    }
    QLineEdit* box(TQBDialer& d, const char* name) {
        return d.findChild<QLineEdit*>(QLatin1String(name));
    }
    void choose(TQBDialer& d, const char* group, const QString& caption) {
        for (auto* radio :
             d.findChild<QWidget*>(QLatin1String(group))->findChildren<QRadioButton*>())
            if (radio->text() == caption) radio->setChecked(true);
    }
    void dial(TQBDialer& d) { d.findChild<QPushButton*>(QStringLiteral("DialButton"))->click(); }

    QTemporaryDir dir;
    test::PseudoTerminal modem;
    test::PromptScript prompts;
};

TEST_F(DialerTest, SendsPrefixAndNumberAsTypedAndHangsUpOnlyAfterThePickUpMessage) {
    connectPort(2, modem.path());
    TQBDialer window(settings(), QStringLiteral("555-1234"));
    window.show();
    choose(window, "Port", QStringLiteral("COM 2"));
    box(window, "prefix")->setText(QStringLiteral("9 "));
    QByteArray beforeAnswer;
    prompts.script.acknowledge(QString::fromLatin1(kPickUpPhone)).whenShown([&] {
        beforeAnswer = modem.received();
        beforeAnswer += modem.nothingMore();
    });
    dial(window);
    EXPECT_EQ(beforeAnswer, QByteArray("ATDT9 555-1234\r\n"));
    EXPECT_EQ(modem.received(), QByteArray("ATH\r\n"));
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("HelpButton"))->isHidden());
    EXPECT_TRUE(window.isVisible());  // stays open for another call

    // Pulse, and an empty number still dials the prefix.
    choose(window, "ToneOrPulse", QStringLiteral("Pulse"));
    box(window, "Number")->clear();
    prompts.script.acknowledge(QString::fromLatin1(kPickUpPhone));
    dial(window);
    EXPECT_EQ(modem.received(), QByteArray("ATDP9 \r\nATH\r\n"));
    prompts.verify();
}

TEST_F(DialerTest, TheLastChoicesComeBackInANewWindowReadOnlyAtTheFirstActivation) {
    connectPort(3, modem.path());
    {
        TQBDialer window(settings(), QStringLiteral("1"));
        window.show();
        choose(window, "Port", QStringLiteral("COM 3"));
        choose(window, "ToneOrPulse", QStringLiteral("Pulse"));
        box(window, "prefix")->setText(QStringLiteral("0,"));
        prompts.script.acknowledge(QString::fromLatin1(kPickUpPhone));
        dial(window);
    }
    TQBDialer again(settings(), QString());
    again.show();
    EXPECT_EQ(again.portIndex(), 2);
    EXPECT_EQ(again.methodIndex(), dmPulse);
    EXPECT_EQ(box(again, "prefix")->text(), QStringLiteral("0,"));
    choose(again, "Port", QStringLiteral("COM 1"));
    again.hide();
    again.show();
    EXPECT_EQ(again.portIndex(), 0);

    // A port index typed into the file by hand is brought into range.
    settings().write(setting::DialPort, 9);
    TQBDialer clamped(settings(), QString());
    clamped.show();
    EXPECT_EQ(clamped.portIndex(), 3);
    prompts.verify();
}

TEST_F(DialerTest, APortThatIsMissingOrNoSerialDeviceIsNotWritten) {
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(test::writeFileBytes(file, "keep"));
    connectPort(1, dir.filePath(QStringLiteral("no-such-device")));
    connectPort(3, file);
    connectPort(4, QStringLiteral("/dev/null"));  // a character device, but no terminal line
    prompts.script.acknowledgeError(QStringLiteral("Unable to open COM1"))
        .acknowledgeError(QStringLiteral("Unable to open COM3\r\n") + file +
                          QStringLiteral(" is not a serial port"))
        .acknowledgeError(QStringLiteral("Unable to open COM4\r\n/dev/null is not a serial port"));
    for (int port : {dpCOM1, dpCOM3, dpCOM4}) {
        TDialer dialer(settings());
        dialer.ComPort = port;
        dialer.NumberToDial = QStringLiteral("5551234");
        EXPECT_FALSE(dialer.Dial(nullptr));
    }
    EXPECT_EQ(test::fileBytes(file), QByteArray("keep"));
    prompts.verify();
}

TEST_F(DialerTest, UnsafeCharactersAreRefusedBeforeAnythingIsSentOrSaved) {
    connectPort(1, modem.path());
    TQBDialer window(settings(), QStringLiteral("555\r\nATZ"));
    window.show();
    const QString numberRefused = QStringLiteral(
        "The number to dial may hold only printable ASCII characters other than \";\"; it was "
        "not dialled");
    prompts.script.acknowledgeError(numberRefused);
    dial(window);
    box(window, "Number")->setText(QStringLiteral("555;"));
    prompts.script.acknowledgeError(numberRefused);
    dial(window);
    box(window, "Number")->setText(QStringLiteral("555"));
    box(window, "prefix")->setText(QStringLiteral("9\u00e9"));
    prompts.script.acknowledgeError(QStringLiteral(
        "The prefix may hold only printable ASCII characters other than \";\"; it was not "
        "dialled"));
    dial(window);
    EXPECT_EQ(modem.nothingMore(), QByteArray());
    EXPECT_FALSE(QFile::exists(settings().path()) &&
                 test::fileBytes(settings().path()).contains("Prefix"));

    // The component refuses too, whoever sets its number.
    TDialer dialer(settings());
    dialer.NumberToDial = QStringLiteral("1\n2");
    prompts.script.acknowledgeError(numberRefused);
    EXPECT_FALSE(dialer.Dial(nullptr));
    EXPECT_EQ(modem.nothingMore(), QByteArray());
    prompts.verify();
}

TEST_F(DialerTest, ALineThatTakesNothingFailsTheDialWithinTheBudget) {
    connectPort(1, modem.path());
    // Output held back, as a modem holding the flow control would.
    ASSERT_EQ(::tcflow(modem.line(), TCOOFF), 0);
    TDialer dialer(settings());
    dialer.setWriteBudgetMs(200);
    dialer.NumberToDial = QStringLiteral("5551234");
    prompts.script.acknowledgeError(QString::fromLatin1(kUnableToDial));
    EXPECT_FALSE(dialer.Dial(nullptr));
    prompts.verify();
}

}  // namespace
}  // namespace qb::dialer
