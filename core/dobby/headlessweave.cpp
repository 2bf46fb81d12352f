#include "core/dobby/headlessweave.h"

#include "core/dobby/dobbyhead.h"
#include "core/dobby/dobbymessages.h"
#include "core/dobby/documentdobbyhost.h"
#include "core/dobby/posixserialport.h"
#include "core/dobby/weavingposition.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace qb {

namespace {

std::string ShaftList(TUPTYPE lift)
{
    std::string s;
    for (int sh = 1; sh <= 64; ++sh) {
        if (!lift.test(sh)) continue;
        if (!s.empty()) s += ',';
        s += std::to_string(sh);
    }
    return s.empty() ? "none" : s;
}

// Stops the position after a number of picks, as if the treadling ended there:
// the head is then sent nothing more.
class PickLimit : public IDobbyHost {
public:
    PickLimit(IDobbyHost& inner, int picks) : m_inner(inner), m_left(picks) {}
    int draftShafts() const override { return m_inner.draftShafts(); }
    int numPicks() const override { return m_inner.numPicks(); }
    int currentPick() const override { return m_inner.currentPick(); }
    TUPTYPE liftOf(int pick) const override { return m_inner.liftOf(pick); }
    int advancePick() override
    {
        if (m_limited && m_left <= 1) {
            m_reached = true;
            return 1;
        }
        const int r = m_inner.advancePick();
        if (r == 0 && m_limited) --m_left;
        return r;
    }
    void setLimited(bool on) { m_limited = on && m_left > 0; }
    bool reached() const { return m_reached; }

private:
    IDobbyHost& m_inner;
    int m_left;
    bool m_limited = false;
    bool m_reached = false;
};

bool ContinuePressed(int fd)
{
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) return false;
    char buf[256];
    return ::read(fd, buf, sizeof buf) > 0;
}

} // namespace

int RunHeadlessWeave(CQuillabyDoc& doc, const HeadlessWeaveOptions& o, std::ostream& out, std::ostream& err)
{
    const int shafts = o.shafts > 0 ? o.shafts : std::min(doc.numShafts(), kDobbyMaxShafts);
    const DobbyStartCheck check = CheckDobbyStart(doc, o.headIndex, shafts);
    if (!check.ok()) {
        err << check.message << "\n";
        return 1;
    }
    if (o.startPick > doc.numPicks()) {
        err << "The start pick " << o.startPick << " is beyond the draft's " << doc.numPicks() << " picks.\n";
        return 1;
    }
    WeavingPosition position(doc);
    if (o.startPick > 0) position.SetCurrentPick(o.startPick - 1);
    // The driver talks to the draft through the pick limit.
    DocumentDobbyHost docHost(doc, position);
    PickLimit host(docHost, o.picks);
    auto head = MakeDobbyHead(static_cast<DobbyHeadType>(o.headIndex), host, shafts);

    PosixSerialPort port;
    if (!port.open(o.device)) {
        err << CouldNotOpenPortMessage(o.device) << " (" << port.error() << ")\n";
        return 1;
    }
    if (!port.configure(head->baudRate())) {
        err << PortSetupFailedMessage(head->type(), o.device) << " (" << port.error() << ")\n";
        return 1;
    }

    position.ClearUnweave();
    host.setLimited(true);
    int status = 0;
    const auto flush = [&] {
        if (head->hasOutput() && !port.write(head->takeOutput())) head->linkFailed(port.error());
    };
    const auto handleEvents = [&] {
        for (const DobbyEvent& e : head->takeEvents()) {
            switch (e.kind) {
            case DobbyEvent::Kind::LiftSent:
                out << "pick " << e.pick + 1 << ": shafts " << ShaftList(e.shafts) << std::endl;
                break;
            case DobbyEvent::Kind::TimedOut:
                out << dobbytext::kTimedOut << (o.continueFd >= 0 ? " (press Enter to continue)" : "") << std::endl;
                break;
            case DobbyEvent::Kind::EndOfTreadling:
                if (!host.reached()) out << "end of the treadling at pick " << e.pick + 1 << std::endl;
                break;
            case DobbyEvent::Kind::Error:
                err << e.message << "\n";
                status = 1;
                break;
            default: break;
            }
        }
    };

    head->start();
    flush();
    handleEvents();
    auto nextTick = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::vector<std::uint8_t> in;
    while (!head->hasFailed() && !host.reached() && !(o.interrupted && *o.interrupted)) {
        in.clear();
        if (!port.read(100, in)) head->linkFailed(port.error());
        if (!in.empty()) head->onBytes(in);
        if (std::chrono::steady_clock::now() >= nextTick) {
            head->tick();
            nextTick += std::chrono::seconds(1);
        }
        if (head->timeoutWindowOpen() && ContinuePressed(o.continueFd)) head->pressContinue();
        flush();
        handleEvents();
    }
    head->stop();
    flush();
    handleEvents();
    port.close(); // waits for the release to leave
    position.ClearUnweave();
    if (status == 0 && host.reached()) out << "woven " << o.picks << " picks" << std::endl;
    if (status != 0) err << "To go on: --start-pick " << position.currentPick() + 1 << "\n";
    return status;
}

} // namespace qb
