// TDialer: dials a number through the modem on one of four serial ports and hangs the modem up
// once the user has picked up the handset. Only the dial and hang-up commands are ever sent.
#pragma once

#include <QByteArray>
#include <QString>

#include "store/settings.h"

class QWidget;

namespace qb::dialer {

inline constexpr int kPortCount = 4;

enum TDialPort { dpCOM1 = 0, dpCOM2, dpCOM3, dpCOM4 };
enum TDialMethod { dmTone = 0, dmPulse = 1 };

inline constexpr const char* kPickUpPhone = "Pick up phone";
inline constexpr const char* kUnableToDial = "Unable to dial number";
inline constexpr const char* kUnableToHangUp =
    "The modem did not take the command to hang up; it may still hold the line";

// The port's device name as messages show it: "COM" and the digit port + 1.
QString comName(int port);
// A port index as read from anywhere, brought into 0 … 3.
int clampPort(int port);
// The device path that "COM n" stands for: the settings file's "Dialing" key "COMn", else
// /dev/ttyS0 … /dev/ttyS3.
QString devicePath(const Settings& settings, int port);

// The command that dials `number`: ATDT (ATDP for pulse), the number as given, CR LF.
QByteArray dialCommand(const QString& number, TDialMethod method);
inline constexpr const char* kHangUpCommand = "ATH\r\n";

// Why `text` cannot go to the modem, named `what` ("number to dial", "prefix"); empty when it
// can. A line break would end the command and begin another, ";" keeps the modem in command
// mode after dialling, and anything outside printable ASCII means nothing to a modem.
QString refusal(const QString& text, const QString& what);

class TDialer {
  public:
    explicit TDialer(Settings settings) : settings_(std::move(settings)) {}

    int ComPort = dpCOM1;
    TDialMethod Method = dmTone;
    QString NumberToDial;
    bool Confirm = false;

    // Dials NumberToDial and tells the user, through the prompts, to pick up the phone; the
    // modem is told to hang up after that message is closed. Every failure is told; false
    // when nothing was dialled.
    bool Dial(QWidget* parent);

    // How long each command may take to leave; a stalled line fails the dial after this.
    void setWriteBudgetMs(int ms) { writeBudgetMs_ = ms; }

  private:
    Settings settings_;
    int writeBudgetMs_ = 3000;
};

}  // namespace qb::dialer
