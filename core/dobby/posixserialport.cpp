#include "core/dobby/posixserialport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace qb {

namespace {

bool speedOf(int baud, speed_t& s)
{
    switch (baud) {
    case 1200: s = B1200; return true;
    case 2400: s = B2400; return true;
    case 4800: s = B4800; return true;
    case 9600: s = B9600; return true;
    case 19200: s = B19200; return true;
    default: return false;
    }
}

} // namespace

PosixSerialPort::~PosixSerialPort()
{
    close();
}

bool PosixSerialPort::failed(const char* what)
{
    m_error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

bool PosixSerialPort::open(const std::string& device)
{
    if (m_fd >= 0) {
        m_error = "already open";
        return false;
    }
    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return failed("open");
    // One program at a time on the loom's line.
    ::ioctl(m_fd, TIOCEXCL);
    return true;
}

bool PosixSerialPort::configure(int baud)
{
    speed_t s;
    if (!speedOf(baud, s)) {
        errno = EINVAL;
        return failed("speed");
    }
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0) return failed("tcgetattr");
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, s) != 0 || ::cfsetospeed(&t, s) != 0) return failed("speed");
    if (::tcsetattr(m_fd, TCSANOW, &t) != 0) return failed("tcsetattr");
    return true;
}

bool PosixSerialPort::write(const std::vector<std::uint8_t>& bytes)
{
    if (m_fd < 0) {
        m_error = "not open";
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return failed("write");
        pollfd p{m_fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, 2000);
        if (r == 0) {
            errno = ETIMEDOUT;
            return failed("write");
        }
        if (r < 0 && errno != EINTR) return failed("write");
        if (p.revents & (POLLERR | POLLHUP)) {
            errno = EIO;
            return failed("write");
        }
    }
    return true;
}

bool PosixSerialPort::read(int timeoutMs, std::vector<std::uint8_t>& out)
{
    if (m_fd < 0) {
        m_error = "not open";
        return false;
    }
    pollfd p{m_fd, POLLIN, 0};
    const int r = ::poll(&p, 1, timeoutMs);
    if (r < 0) return errno == EINTR ? true : failed("poll");
    if (r == 0) return true;
    std::uint8_t buf[100];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
            if (n == static_cast<ssize_t>(sizeof buf)) continue;
            return true;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
        if (n == 0 && !(p.revents & POLLHUP)) return true;
        // The adapter was unplugged or the other end of the line is gone.
        if (n == 0) errno = EIO;
        return failed("read");
    }
}

void PosixSerialPort::drain()
{
    if (m_fd >= 0) ::tcdrain(m_fd);
}

void PosixSerialPort::close()
{
    if (m_fd < 0) return;
    ::tcdrain(m_fd);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace qb
