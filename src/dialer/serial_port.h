// The byte channel to a modem: a serial device opened for writing only, written with a time
// limit, closed without waiting. Nothing is read and the line settings are left as the system
// has them.
#pragma once

#include <QByteArray>
#include <QString>

namespace qb::dialer {

class SerialPort {
  public:
    // How long a write may take to leave the program before it counts as failed.
    static constexpr int kDefaultWriteBudgetMs = 3000;

    enum class OpenResult {
        Opened,
        Failed,         // missing, in use, or the system refused it
        NotSerialPort,  // exists, but is no character device with a terminal line behind it
    };

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens an existing device. It can never become the program's controlling terminal, and
    // opening does not wait for a carrier. Another program holding the port keeps it.
    OpenResult open(const QString& devicePath);
    bool isOpen() const { return fd_ >= 0; }
    // Writes all bytes; false when the device refused them or they had not all gone out
    // within the write budget (no carrier, flow control held by nothing on the line).
    bool write(const QByteArray& bytes);
    // After a write that failed, drops whatever is still unsent, so closing never waits on a
    // stalled line.
    void close();

    void setWriteBudgetMs(int ms) { writeBudgetMs_ = ms; }

  private:
    int fd_ = -1;
    bool stalled_ = false;
    int writeBudgetMs_ = kDefaultWriteBudgetMs;
};

}  // namespace qb::dialer
