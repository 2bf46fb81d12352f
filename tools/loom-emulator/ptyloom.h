#pragma once

#include "tools/loom-emulator/loomprotocol.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace qb::loom {

// A pseudo-terminal that plays a dobby head: the program opens device() as
// its serial port. Every byte both ways can be logged.
class PtyLoom {
public:
    using Clock = std::chrono::steady_clock;

    explicit PtyLoom(DobbyHeadType head);
    ~PtyLoom();
    PtyLoom(const PtyLoom&) = delete;
    PtyLoom& operator=(const PtyLoom&) = delete;

    // Opens the pseudo-terminal; false with error() set on failure.
    bool open();
    // Hangs the line up, as an unplugged cable would.
    void close();
    const std::string& device() const { return m_device; }
    const std::string& error() const { return m_error; }
    LoomProtocol& protocol() { return m_protocol; }
    DobbyHeadType head() const { return m_protocol.head(); }

    // Log lines go here (null: no log).
    void setLog(std::FILE* log) { m_log = log; }
    void note(const std::string& text);

    // Sends bytes to the program; false when the write failed.
    bool send(const Bytes& bytes);
    bool send(Reply r) { return send(m_protocol.reply(r)); }
    // Waits up to `timeout` for bytes from the program and decodes them.
    // Returns false on a closed or failed line.
    bool receive(std::chrono::milliseconds timeout, std::vector<Heard>& heard);
    // Time the last byte of the last send() left, and the last byte arrived.
    Clock::time_point lastSent() const { return m_lastSent; }
    Clock::time_point lastReceived() const { return m_lastReceived; }

    // The line settings the program set on the port, as "9600 8N1".
    std::string lineSettings() const;
    // Whether they are what the head needs; `found` gets them.
    bool lineSettingsOk(std::string* found = nullptr) const;

private:
    void logBytes(const char* dir, const Bytes& bytes);

    LoomProtocol m_protocol;
    int m_master = -1;
    int m_slave = -1;
    std::string m_device;
    std::string m_error;
    std::FILE* m_log = nullptr;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastSent{};
    Clock::time_point m_lastReceived{};
};

} // namespace qb::loom
