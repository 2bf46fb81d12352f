#pragma once

#include "tools/loom-emulator/ptyloom.h"

#include <atomic>
#include <deque>
#include <istream>

namespace qb::loom {

// A weaver at the emulated loom: answers the program's greeting, asks for
// picks and records every shed the program opened.
class LoomSession {
public:
    explicit LoomSession(PtyLoom& loom) : m_loom(loom) {}

    struct AutoOptions {
        int picks = 50;                           // pick requests after the first lift; 0: until stopped
        std::chrono::milliseconds interval{0};    // pause between picks (the weaver's pace)
        std::chrono::milliseconds patience{5000}; // how long to wait for the program
        bool waitForRelease = true;               // wait for the program to end the run
    };
    // Weaves `picks` picks; false when the program stopped answering.
    bool runAuto(const AutoOptions& options);
    // Runs script commands, one per line (see the emulator's --help).
    bool runScript(std::istream& in);
    // Asks run*() to return soon (from another thread or a signal handler).
    void requestStop() { m_stop = true; }

    // Every shed the loom opened, in order (the first lift included).
    const std::vector<TUPTYPE>& sheds() const { return m_sheds; }
    // Pick request to the last byte of its lift, in milliseconds.
    const std::vector<double>& replyTimes() const { return m_replyTimes; }
    double worstReplyMs() const;
    // The line settings seen when the program first spoke.
    const std::string& lineSettings() const { return m_line; }
    bool lineOk() const { return m_lineOk; }
    bool releaseHeard() const { return m_release; }
    bool selfTestHeard() const { return m_test; }
    // What went wrong, for the log and for tests.
    const std::vector<std::string>& problems() const { return m_problems; }

private:
    // Reads until a heard command of `kind` (or any when Garbage) arrives.
    bool waitFor(Heard::Kind kind, std::chrono::milliseconds timeout);
    // Reads until the program opened a new shed; false on time-out.
    bool waitForShed(std::chrono::milliseconds timeout);
    bool pump(std::chrono::milliseconds timeout, std::vector<Heard>& heard);
    void handle(const Heard& h);
    void problem(std::string text);
    bool escapeFamily() const;
    bool handshake(std::chrono::milliseconds patience);

    PtyLoom& m_loom;
    std::atomic<bool> m_stop{false};
    std::vector<TUPTYPE> m_sheds;
    std::vector<double> m_replyTimes;
    std::vector<std::string> m_problems;
    std::string m_line;
    bool m_lineChecked = false;
    bool m_lineOk = false;
    bool m_release = false;
    bool m_test = false;
    int m_newSheds = 0;
    // Commands heard but not yet waited for, oldest first.
    std::deque<Heard::Kind> m_backlog;
};

} // namespace qb::loom
