#pragma once

// The program's side of a serial line for tests: the few lines a serial
// adapter needs around a driver.

#include "tests/core/dobby/fakehost.h"

#include "core/draft/quillabydoc.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace qb::test {

// A 12-shaft draft: an irregular tieup treadled as a point twill.
inline std::unique_ptr<CQuillabyDoc> PointTwillDraft()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 12;
    d.treadles = 12;
    doc->OnNewDocument(d);
    for (int t = 1; t <= 12; ++t) {
        TUPTYPE col;
        for (int k : {0, 1, 2, 5}) col.set((t - 1 + k) % 12 + 1);
        doc->SetTieupColumn(kUnrecorded, t, col);
    }
    std::vector<int> treadles;
    for (int t = 1; t <= 12; ++t) treadles.push_back(t);
    for (int t = 11; t >= 2; --t) treadles.push_back(t);
    for (int p = 0; p < static_cast<int>(treadles.size()); ++p) doc->SetTreadlingCell(kUnrecorded, p, treadles[p]);
    return doc;
}

inline speed_t Speed(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    default: return B9600;
    }
}

// What the serial adapter does: open, set the line, move bytes, report failures.
class Port {
public:
    ~Port()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool open(const std::string& path, int baud)
    {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) return false;
        termios t{};
        ::tcgetattr(m_fd, &t);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, Speed(baud));
        ::cfsetospeed(&t, Speed(baud));
        t.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
        t.c_cflag |= CS8 | CLOCAL | CREAD;
        return ::tcsetattr(m_fd, TCSANOW, &t) == 0;
    }
    bool write(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
            if (n > 0) done += static_cast<std::size_t>(n);
        }
        return true;
    }
    // Waits for input and hands every byte to the driver, then writes its reply.
    void pump(CDobbyHead& head, int timeoutMs)
    {
        pollfd p{m_fd, POLLIN, 0};
        bool got = false;
        std::chrono::steady_clock::time_point arrived;
        if (::poll(&p, 1, timeoutMs) > 0) {
            std::uint8_t buf[100];
            ssize_t n;
            while ((n = ::read(m_fd, buf, sizeof buf)) > 0) {
                arrived = std::chrono::steady_clock::now();
                got = true;
                head.onBytes(buf, static_cast<std::size_t>(n));
            }
        }
        const bool answer = got && head.hasOutput();
        send(head);
        if (answer)
            replyTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - arrived).count());
    }
    void send(CDobbyHead& head)
    {
        if (head.hasOutput() && !write(head.takeOutput())) head.linkFailed(std::strerror(errno));
    }
    void drain() { ::tcdrain(m_fd); }

    // From reading the last byte of a request to having written the answer, ms.
    std::vector<double> replyTimes;

private:
    int m_fd = -1;
};

} // namespace qb::test
