#include "tools/loom-emulator/loomsession.h"

#include <algorithm>
#include <sstream>
#include <thread>

namespace qb::loom {

using namespace std::chrono;

bool LoomSession::escapeFamily() const
{
    return m_loom.head() == DobbyHeadType::Louet || m_loom.head() == DobbyHeadType::Leclerc2;
}

void LoomSession::problem(std::string text)
{
    m_loom.note("PROBLEM: " + text);
    m_problems.push_back(std::move(text));
}

double LoomSession::worstReplyMs() const
{
    return m_replyTimes.empty() ? 0.0 : *std::max_element(m_replyTimes.begin(), m_replyTimes.end());
}

void LoomSession::handle(const Heard& h)
{
    if (!m_lineChecked) {
        // The program has set the port up by the time it first speaks.
        m_lineChecked = true;
        m_lineOk = m_loom.lineSettingsOk(&m_line);
        m_loom.note("line settings " + m_line + (m_lineOk ? " (right)" : " (WRONG for this head)"));
        if (!m_lineOk)
            problem("line settings " + m_line + ", the head needs " + std::to_string(DobbyHead(m_loom.head()).baud)
                    + " 8N1");
    }
    switch (h.kind) {
    case Heard::Kind::Lift:
    case Heard::Kind::Push:
        m_sheds.push_back(h.shafts);
        ++m_newSheds;
        break;
    case Heard::Kind::Release: m_release = true; break;
    case Heard::Kind::Test: m_test = true; break;
    case Heard::Kind::Garbage: {
        std::ostringstream s;
        s << "bytes the head does not understand:";
        for (std::uint8_t b : h.raw) s << ' ' << std::hex << int(b);
        problem(s.str());
        break;
    }
    default: break;
    }
}

bool LoomSession::pump(milliseconds timeout, std::vector<Heard>& heard)
{
    heard.clear();
    if (!m_loom.receive(timeout, heard)) {
        problem(m_loom.error());
        return false;
    }
    for (const Heard& h : heard) {
        handle(h);
        m_backlog.push_back(h.kind);
    }
    return true;
}

bool LoomSession::waitFor(Heard::Kind kind, milliseconds timeout)
{
    const auto until = steady_clock::now() + timeout;
    std::vector<Heard> heard;
    for (;;) {
        while (!m_backlog.empty()) {
            const Heard::Kind k = m_backlog.front();
            m_backlog.pop_front();
            if (k == kind) return true;
        }
        if (m_stop || steady_clock::now() >= until) return false;
        if (!pump(milliseconds(20), heard)) return false;
    }
}

bool LoomSession::waitForShed(milliseconds timeout)
{
    const int before = m_newSheds;
    const auto until = steady_clock::now() + timeout;
    std::vector<Heard> heard;
    while (!m_stop && steady_clock::now() < until) {
        if (!pump(milliseconds(20), heard)) return false;
        if (m_newSheds > before) {
            // What led to the shed is done with; what came after it is kept.
            const auto last = std::find_if(m_backlog.rbegin(), m_backlog.rend(), [](Heard::Kind k) {
                return k == Heard::Kind::Lift || k == Heard::Kind::Push;
            });
            m_backlog.erase(m_backlog.begin(), last.base());
            return true;
        }
    }
    return false;
}

bool LoomSession::handshake(milliseconds patience)
{
    switch (m_loom.head()) {
    case DobbyHeadType::AVL2:
    case DobbyHeadType::AVL3:
        if (!waitFor(Heard::Kind::Greeting, patience)) {
            problem("no greeting from the program");
            return false;
        }
        m_loom.send(Reply::Ready);
        break;
    case DobbyHeadType::Louet:
    case DobbyHeadType::Leclerc2:
        if (!waitFor(Heard::Kind::Query, patience)) {
            problem("no status query from the program");
            return false;
        }
        m_loom.send(Reply::Ready);
        break;
    case DobbyHeadType::Leclerc1: break; // the program sends its first lift unasked
    }
    if (!waitForShed(patience)) {
        problem("no first lift from the program");
        return false;
    }
    return true;
}

bool LoomSession::runAuto(const AutoOptions& o)
{
    if (!handshake(o.patience)) return false;
    for (int i = 0; !m_stop && (o.picks <= 0 || i < o.picks); ++i) {
        if (o.interval.count() > 0) {
            std::vector<Heard> heard;
            const auto until = steady_clock::now() + o.interval;
            while (!m_stop && steady_clock::now() < until)
                if (!pump(duration_cast<milliseconds>(until - steady_clock::now()) + milliseconds(1), heard))
                    return false;
        }
        if (!m_loom.send(Reply::PickRequest)) {
            problem(m_loom.error());
            return false;
        }
        const auto asked = m_loom.lastSent();
        if (!waitForShed(o.patience)) {
            if (!m_stop) problem("no lift for pick request " + std::to_string(i + 1));
            return false;
        }
        m_replyTimes.push_back(duration<double, std::milli>(m_loom.lastReceived() - asked).count());
    }
    // The nibble heads have no release command.
    const bool releases = escapeFamily() || m_loom.head() == DobbyHeadType::Leclerc1;
    if (o.waitForRelease && releases && !m_release) waitFor(Heard::Kind::Release, o.patience);
    return true;
}

namespace {

bool parseKind(const std::string& word, Heard::Kind& kind)
{
    for (Heard::Kind k : {Heard::Kind::Greeting, Heard::Kind::Lift, Heard::Kind::Query, Heard::Kind::Test,
                          Heard::Kind::Release, Heard::Kind::Push, Heard::Kind::Pattern}) {
        if (word == KindName(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

} // namespace

bool LoomSession::runScript(std::istream& in)
{
    std::string line;
    bool ok = true;
    while (!m_stop && std::getline(in, line)) {
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string cmd;
        if (!(words >> cmd)) continue;
        m_loom.note("script: " + line);
        if (cmd == "quit") {
            break;
        } else if (cmd == "ready" || cmd == "ack" || cmd == "timeout" || cmd == "status" || cmd == "status-flag") {
            const Reply r = cmd == "ready" ? Reply::Ready
                : cmd == "ack"             ? Reply::Acknowledge
                : cmd == "timeout"         ? Reply::Timeout
                : cmd == "status"          ? Reply::Status
                                           : Reply::StatusFlag;
            if (!m_loom.protocol().hasReply(r)) {
                problem("this head has no '" + cmd + "'");
                ok = false;
                continue;
            }
            m_loom.send(r);
        } else if (cmd == "pick") {
            int n = 1;
            words >> n;
            for (int i = 0; i < n && !m_stop; ++i) {
                m_loom.send(Reply::PickRequest);
                const auto asked = m_loom.lastSent();
                if (!waitForShed(seconds(2))) {
                    m_loom.note("no lift for that pick request");
                    break;
                }
                m_replyTimes.push_back(duration<double, std::milli>(m_loom.lastReceived() - asked).count());
            }
        } else if (cmd == "weave") {
            AutoOptions o;
            words >> o.picks;
            int ms = 0;
            if (words >> ms) o.interval = milliseconds(ms);
            o.waitForRelease = false;
            ok = runAuto(o) && ok;
        } else if (cmd == "raw") {
            Bytes bytes;
            std::string hex;
            while (words >> hex) bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
            m_loom.send(bytes);
        } else if (cmd == "sleep") {
            int ms = 0;
            words >> ms;
            std::vector<Heard> heard;
            const auto until = steady_clock::now() + milliseconds(ms);
            while (!m_stop && steady_clock::now() < until) pump(milliseconds(20), heard);
        } else if (cmd == "wait") {
            std::string what;
            int ms = 5000;
            words >> what >> ms;
            Heard::Kind kind;
            if (what == "shed") {
                if (!waitForShed(milliseconds(ms))) {
                    problem("no shed within " + std::to_string(ms) + " ms");
                    ok = false;
                }
            } else if (parseKind(what, kind)) {
                if (!waitFor(kind, milliseconds(ms))) {
                    problem("no " + what + " within " + std::to_string(ms) + " ms");
                    ok = false;
                }
            } else {
                problem("unknown wait: " + what);
                ok = false;
            }
        } else if (cmd == "expect-line") {
            std::string found;
            if (!m_loom.lineSettingsOk(&found)) {
                problem("line settings " + found);
                ok = false;
            } else {
                m_loom.note("line settings " + found + " (right)");
            }
        } else {
            problem("unknown script command: " + cmd);
            ok = false;
        }
    }
    return ok;
}

} // namespace qb::loom
