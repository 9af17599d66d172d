#include "platform/phone/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vb {
namespace {

using Clock = std::chrono::steady_clock;

speed_t speedFor(int baud) {
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// poll() that survives signals and never waits beyond the deadline.
// Returns the revents, 0 on timeout, -1 on error.
int waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, msLeft(deadline));
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

} // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::SetBaudRate(int baud) {
    if (speedFor(baud) == B0) return false;
    m_baud = baud;
    return true;
}

void SerialPort::fail(const QString& what, int err) {
    m_error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err)));
}

bool SerialPort::Open(const QString& device, bool dtr, bool rts) {
    Close();
    m_error.clear();
    m_hungUp = false;
    // Non-blocking so that a port waiting for carrier cannot hold the open; no controlling
    // terminal so that a hang-up on the line never signals the program.
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(device, errno);
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        fail(device, errno);
        ::close(fd);
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    termios withSpeed = tio;
    const speed_t speed = speedFor(m_baud);
    ::cfsetispeed(&withSpeed, speed);
    ::cfsetospeed(&withSpeed, speed);
    // Some terminals (pseudo-terminals, odd adapters) refuse a rate; raw mode matters more.
    if (::tcsetattr(fd, TCSANOW, &withSpeed) != 0 && ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        fail(device, errno);
        ::close(fd);
        return false;
    }
    // Data cables draw their power from DTR and RTS; lines without modem control are fine.
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) == 0) {
        lines = dtr ? lines | TIOCM_DTR : lines & ~TIOCM_DTR;
        lines = rts ? lines | TIOCM_RTS : lines & ~TIOCM_RTS;
        (void)::ioctl(fd, TIOCMSET, &lines);
    }
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    return true;
}

void SerialPort::Attach(int fd) {
    Close();
    m_error.clear();
    m_hungUp = false;
    if (fd < 0) return;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_fd = fd;
}

bool SerialPort::Drain(int timeoutMs) {
    if (m_fd < 0) return true;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        int queued = 0;
        // Descriptors without an output queue (pipes, sockets in tests) have nothing to wait for.
        if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
        if (msLeft(deadline) == 0) return false;
        ::usleep(1000);
    }
}

void SerialPort::Close() {
    if (m_fd < 0) return;
    // Output still queued after the time it needs belongs to a stalled line: it is dropped, or
    // closing would wait for it. Otherwise only unread input goes; a flush of the output would
    // also throw away what the other end has not read yet (a pseudo-terminal's peer).
    int queued = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued < 0) queued = 0;
    const int needMs = 50 + int(qint64(queued) * 10 * 1000 / (m_baud > 0 ? m_baud : 1));
    ::tcflush(m_fd, Drain(needMs) ? TCIFLUSH : TCIOFLUSH);
    ::close(m_fd);
    m_fd = -1;
}

bool SerialPort::WriteAll(const QByteArray& data, int timeoutMs) {
    if (m_fd < 0) return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(QStringLiteral("write"), errno);
            return false;
        }
        const int ev = waitFor(m_fd, POLLOUT, deadline);
        if (ev == 0) {
            m_error = QStringLiteral("write: timeout");
            return false;
        }
        if (ev < 0 || (ev & (POLLERR | POLLNVAL))) {
            fail(QStringLiteral("write"), ev < 0 ? errno : EIO);
            return false;
        }
    }
    return true;
}

int SerialPort::Read(char* buffer, int maxBytes, int timeoutMs) {
    if (m_fd < 0 || maxBytes <= 0) return -1;
    if (m_hungUp) return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size_t(maxBytes));
        if (n > 0) return int(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            // A pseudo-terminal whose other side closed reports EIO: the cable is gone.
            if (errno == EIO) m_hungUp = true;
            fail(QStringLiteral("read"), errno);
            return -1;
        }
        if (n == 0) {
            // Zero bytes from a descriptor that polls as hung up is the end of the line, not
            // "nothing yet": without this check the loop would spin until the deadline.
            const int now = waitFor(m_fd, POLLIN, Clock::now());
            if (now > 0 && (now & POLLHUP)) {
                m_hungUp = true;
                m_error = QStringLiteral("read: line hung up");
                return -1;
            }
            if (msLeft(deadline) == 0) return 0;
        }
        const int ev = waitFor(m_fd, POLLIN, deadline);
        if (ev == 0) return 0;
        if (ev < 0 || (ev & POLLNVAL)) {
            fail(QStringLiteral("read"), ev < 0 ? errno : EBADF);
            return -1;
        }
        if ((ev & (POLLERR | POLLHUP)) && !(ev & POLLIN)) {
            m_hungUp = true;
            m_error = QStringLiteral("read: line hung up");
            return -1;
        }
    }
}

int SerialPort::ReadByte(int timeoutMs) {
    char c = 0;
    return Read(&c, 1, timeoutMs) == 1 ? int(static_cast<unsigned char>(c)) : -1;
}

void SerialPort::DiscardInput() {
    if (m_fd < 0) return;
    ::tcflush(m_fd, TCIFLUSH);
    // Bytes may sit in the driver past the flush on some adapters; drain them without waiting,
    // but never more than a few buffers' worth: a device that keeps sending would hold us here.
    char scratch[256];
    for (int i = 0; i < 64; ++i)
        if (::read(m_fd, scratch, sizeof scratch) <= 0) break;
}

} // namespace vb
