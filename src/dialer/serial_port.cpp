// The modem's serial device through the POSIX calls.
#include "dialer/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace qb::dialer {

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

}  // namespace

SerialPort::~SerialPort() {
    close();
}

SerialPort::OpenResult SerialPort::open(const QString& devicePath) {
    close();
    const QByteArray path = devicePath.toLocal8Bit();
    struct stat info {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0) return OpenResult::Failed;
    // Checked before opening too: opening a FIFO or some special files has effects of its own.
    if (!S_ISCHR(info.st_mode)) return OpenResult::NotSerialPort;

    // Non-blocking: a port whose modem raises no carrier would otherwise hold open() forever.
    // No controlling terminal: a hang-up on the line must not end the program.
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OpenResult::Failed;
    // The path may have been swapped since the check; what counts is what was opened. Only a
    // terminal line is a serial port: other character devices (memory, disks) take no modem
    // commands.
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) || !::isatty(fd)) {
        ::close(fd);
        return OpenResult::NotSerialPort;
    }
    // No sharing: a port another program (or another dial) is using stays its own.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return OpenResult::Failed;
    }
    fd_ = fd;
    return OpenResult::Opened;
}

bool SerialPort::write(const QByteArray& bytes) {
    if (fd_ < 0) return false;
    stalled_ = true;  // until every byte has left
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(writeBudgetMs_);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        // The line takes nothing now; wait for room, but only as long as the budget allows.
        pollfd p{fd_, POLLOUT, 0};
        const int left = msLeft(deadline);
        if (left == 0) return false;
        const int ready = ::poll(&p, 1, left);
        if (ready < 0 && errno != EINTR) return false;
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
    }
    // Taken by the driver is not yet sent: a modem that holds the line (flow control) keeps
    // the bytes in the output queue. They must have left before the budget ends.
    for (;;) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) {
            stalled_ = false;
            return true;
        }
        if (msLeft(deadline) == 0) return false;
        ::usleep(10000);
    }
}

void SerialPort::close() {
    if (fd_ < 0) return;
    // A serial driver's close waits up to half a minute for unsent bytes; a stalled line's are
    // dropped. Bytes that have left are not touched: the modem has them.
    if (stalled_) ::tcflush(fd_, TCOFLUSH);
    stalled_ = false;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace qb::dialer
