#include "tools/loom-emulator/ptyloom.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace qb::loom {

namespace {

int baudOf(speed_t s)
{
    switch (s) {
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return -1;
    }
}

} // namespace

PtyLoom::PtyLoom(DobbyHeadType head) : m_protocol(head) {}

PtyLoom::~PtyLoom()
{
    close();
}

void PtyLoom::close()
{
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
    m_master = m_slave = -1;
}

bool PtyLoom::open()
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    m_device = name;
    // Raw from the start, so nothing the loom says is echoed back to it before
    // the program sets the port up. The slave stays open here so the master
    // never reads EIO when the program closes and reopens the port.
    termios t{};
    ::tcgetattr(m_slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_slave, TCSANOW, &t);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    note("playing " + std::string(DobbyHead(head()).name) + " on " + m_device);
    return true;
}

void PtyLoom::note(const std::string& text)
{
    if (!m_log) return;
    const double t = std::chrono::duration<double>(Clock::now() - m_start).count();
    std::fprintf(m_log, "%9.3f  %s\n", t, text.c_str());
    std::fflush(m_log);
}

void PtyLoom::logBytes(const char* dir, const Bytes& bytes)
{
    if (!m_log || bytes.empty()) return;
    std::string s = dir;
    char hex[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        s += hex;
    }
    s += "  |";
    for (std::uint8_t b : bytes) s += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
    s += '|';
    note(s);
}

bool PtyLoom::send(const Bytes& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                pollfd p{m_master, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            m_error = std::string("write: ") + std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    m_lastSent = Clock::now();
    logBytes("loom ->", bytes);
    return true;
}

bool PtyLoom::receive(std::chrono::milliseconds timeout, std::vector<Heard>& heard)
{
    pollfd p{m_master, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(timeout.count()));
    if (r < 0) {
        if (errno == EINTR) return true;
        m_error = std::string("poll: ") + std::strerror(errno);
        return false;
    }
    if (r == 0) {
        // A quiet line settles an AVL II lift that ended on 0x7F.
        for (Heard& h : m_protocol.flush()) heard.push_back(std::move(h));
        return true;
    }
    std::uint8_t buf[256];
    const ssize_t n = ::read(m_master, buf, sizeof buf);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return true;
        m_error = std::string("read: ") + std::strerror(errno);
        return false;
    }
    if (n == 0) return true;
    m_lastReceived = Clock::now();
    const Bytes bytes(buf, buf + n);
    logBytes("loom <-", bytes);
    for (Heard& h : m_protocol.feed(bytes)) {
        if (m_log) {
            std::string s = std::string("heard ") + KindName(h.kind);
            if (h.kind == Heard::Kind::Lift || h.kind == Heard::Kind::Pattern) {
                s += ":";
                if (h.shafts.empty()) s += " none";
                for (int sh = 1; sh <= 64; ++sh)
                    if (h.shafts.test(sh)) s += " " + std::to_string(sh);
            }
            note(s);
        }
        heard.push_back(std::move(h));
    }
    return true;
}

std::string PtyLoom::lineSettings() const
{
    termios t{};
    if (::tcgetattr(m_slave, &t) != 0) return "unknown";
    int bits = 8;
    switch (t.c_cflag & CSIZE) {
    case CS5: bits = 5; break;
    case CS6: bits = 6; break;
    case CS7: bits = 7; break;
    default: break;
    }
    const char parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 'O' : 'E') : 'N';
    return std::to_string(baudOf(::cfgetospeed(&t))) + " " + std::to_string(bits) + parity
        + ((t.c_cflag & CSTOPB) ? "2" : "1");
}

bool PtyLoom::lineSettingsOk(std::string* found) const
{
    const std::string s = lineSettings();
    if (found) *found = s;
    return s == std::to_string(DobbyHead(head()).baud) + " 8N1";
}

} // namespace qb::loom
