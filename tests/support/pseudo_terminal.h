// A pseudo-terminal in raw mode standing in for a modem's serial port: the program writes to
// its device path, the test reads from the other end exactly the bytes that were sent.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <cstdlib>

namespace qb::test {

class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        path_ = QString::fromLocal8Bit(::ptsname(master_));
        // Held open by the test, so the line stays up between the program's opens and closes.
        line_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios raw{};
        if (line_ < 0 || ::tcgetattr(line_, &raw) != 0) return;
        // Raw: no line end is turned into another, so what arrives is what was written.
        ::cfmakeraw(&raw);
        ::tcsetattr(line_, TCSANOW, &raw);
    }
    ~PseudoTerminal() {
        if (line_ >= 0) ::close(line_);
        if (master_ >= 0) ::close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isValid() const { return line_ >= 0; }
    // The device path the program opens.
    const QString& path() const { return path_; }
    // The device the program writes to, for holding its output back (flow control).
    int line() const { return line_; }

    // What arrived: waits up to firstMs for a first byte, then takes bytes until the line has
    // been quiet for a moment.
    QByteArray received(int firstMs = 5000) {
        QByteArray got;
        int wait = firstMs;
        for (;;) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, wait) <= 0) return got;
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) return got;
            got.append(buffer, n);
            wait = 100;
        }
    }
    // Whatever arrives within a short while; empty when the program sent nothing.
    QByteArray nothingMore() { return received(300); }

  private:
    int master_ = -1;
    int line_ = -1;
    QString path_;
};

}  // namespace qb::test
