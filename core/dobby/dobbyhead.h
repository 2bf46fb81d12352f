#pragma once

#include "core/dobby/dobbyevent.h"
#include "core/dobby/dobbyprotocol.h"
#include "core/dobby/idobbyhost.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The common part of every dobby head driver: a protocol state machine with no
// I/O of its own. The owner opens the port at baudRate() 8N1, calls start(),
// feeds received bytes to onBytes(), calls tick() once a second, and after
// every call writes takeOutput() to the port (flushing it) and handles
// takeEvents(). A failed write or a lost port goes to linkFailed(). stop()
// queues the release command; flush it before closing the port.
class CDobbyHead {
public:
    virtual ~CDobbyHead();
    CDobbyHead(const CDobbyHead&) = delete;
    CDobbyHead& operator=(const CDobbyHead&) = delete;

    DobbyHeadType type() const { return m_type; }
    const DobbyHeadInfo& info() const { return DobbyHead(m_type); }
    int baudRate() const { return info().baud; }

    // Begins the conversation once the port is open and set up. Refuses (false,
    // with an Error event and nothing queued) a draft that lifts a shaft the
    // head cannot raise, or that has no picks.
    bool start();
    // Bytes received from the head, in order.
    void onBytes(std::span<const std::uint8_t> bytes);
    void onBytes(const std::uint8_t* data, std::size_t n) { onBytes({data, n}); }
    // The one-second timer.
    void tick();
    // The weaver moved the position (Same Shed, Unweave, Set Pick): the head
    // gets the new current lift at once when it is waiting for picks.
    void positionChanged();
    // Continue in the time-out window.
    void pressContinue();
    // Picks or shafts of the draft changed during the run.
    void draftChanged();
    // A write failed or the port went away: the run stops where it is; the
    // current pick stays the one the loom has not yet received.
    void linkFailed(std::string_view reason);
    // Ends the run or the self-test (queues the release where the head has one).
    void stop();

    std::vector<std::uint8_t> takeOutput();
    bool hasOutput() const { return !m_output.empty(); }
    std::vector<DobbyEvent> takeEvents();
    bool hasEvents() const { return !m_events.empty(); }

    // Protocol state; the values are per family (see the subclasses).
    int state() const { return m_state; }
    bool isStarted() const { return m_started; }
    bool isStopped() const { return m_stopped; }
    bool hasFailed() const { return m_failed; }
    bool isSelfTest() const { return m_host == nullptr; }
    bool timeoutWindowOpen() const { return m_timeoutOpen; }
    int secondsTimedOut() const { return m_timeoutSeconds; }
    int previousPick() const { return m_previousPick; }
    // The weaver is about to move the position: remember where it was, so
    // both rows can be redrawn.
    void notePreviousPick(int pick) { m_previousPick = pick; }
    int configuredShafts() const { return m_configuredShafts; }
    int shaftsUsed() const { return m_shaftsUsed; }
    int liftByteCount() const { return m_liftByteCount; }
    // The highest shaft this run can raise: the configured count within the head's limit.
    int liftableShafts() const;

    // The first pick (0-based) that lifts a shaft above `limit`, with that
    // shaft in `shaft`; -1 when every pick can be woven.
    static int FindUnliftablePick(const IDobbyHost& host, int limit, int& shaft);
    // The weaver's text for such a pick.
    static std::string UnliftableDetail(const DobbyHeadInfo& head, int limit, int pick, int shaft);

protected:
    CDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts);

    // The head's own start: greeting or status query.
    virtual void OnStart() = 0;
    // Decodes the receive queue (m_queue) until it is empty.
    virtual void ProcessInput() = 0;
    // Sends the current pick's lift; `repeat` when the weaver moved the position.
    virtual void SendLift(bool repeat) = 0;
    virtual int LiftByteCount() = 0;
    // The state in which the head waits for pick requests.
    virtual int WeavingState() const = 0;
    virtual void Shutdown() = 0;
    // Continue was pressed in the time-out window: the head resumes.
    virtual void Resume() {}

    // The loom asked for the next pick.
    void RequestNextPick();
    // The current pick's lift, checked against what the head can raise. False
    // (the run failed, nothing to send) when the pick lifts a shaft too many.
    bool CurrentLift(TUPTYPE& lift);

    void write(std::uint8_t b) { m_output.push_back(b); }
    void write(std::string_view text) { m_output.insert(m_output.end(), text.begin(), text.end()); }
    void post(DobbyEvent e) { m_events.push_back(std::move(e)); }
    void emitPick(DobbyEvent::Kind kind);
    void fail(std::string message);
    void setShaftsUsed(int n) { m_shaftsUsed = n; }
    void openTimeoutWindow();

    IDobbyHost* m_host;
    std::deque<std::uint8_t> m_queue;
    int m_state = 0;
    int m_previousPick = -1;
    int m_liftByteCount = 0;

private:
    DobbyHeadType m_type;
    int m_configuredShafts;
    int m_shaftsUsed;
    bool m_started = false;
    bool m_stopped = false;
    bool m_failed = false;
    bool m_timeoutOpen = false;
    int m_timeoutSeconds = 0;
    std::vector<std::uint8_t> m_output;
    std::vector<DobbyEvent> m_events;
};

// The driver for a weaving run on head `type`.
std::unique_ptr<CDobbyHead> MakeDobbyHead(DobbyHeadType type, IDobbyHost& host, int configuredShafts);
// The self-test driver; null for heads that have no self-test.
std::unique_ptr<CDobbyHead> MakeSelfTestHead(DobbyHeadType type, int configuredShafts);

} // namespace qb
