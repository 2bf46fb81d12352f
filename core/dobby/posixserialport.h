#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

// A serial device (or pseudo-terminal) on a POSIX system, for running a loom
// without the windows: exclusive open, raw 8N1 at a given speed, writes that
// wait until every byte is handed over, reads that never block for long.
class PosixSerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort();
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(const std::string& device);
    // Raw, 8 data bits, no parity, one stop bit, no flow control.
    bool configure(int baud);
    bool write(const std::vector<std::uint8_t>& bytes);
    // Waits up to timeoutMs for input and appends what came. False when the
    // device failed or went away.
    bool read(int timeoutMs, std::vector<std::uint8_t>& out);
    // Waits until everything written has left.
    void drain();
    void close();

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const std::string& error() const { return m_error; }

private:
    bool failed(const char* what);

    int m_fd = -1;
    std::string m_error;
};

} // namespace qb
