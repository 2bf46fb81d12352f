#pragma once

#include "core/dobby/dobbyhead.h"
#include "core/dobby/documentdobbyhost.h"
#include "core/dobby/weavingposition.h"

#include <functional>
#include <memory>

namespace qb {

class CQuillabyDoc;

// One weaving run of a draft on a dobby head, without the port: the start
// checks, the driver, and the weaver's commands while weaving. The owner moves
// bytes between head() and the port and ticks head() once a second.
class WeavingRun {
public:
    WeavingRun(CQuillabyDoc& doc, int headIndex, int configuredShafts, std::function<void()> beep = {});
    ~WeavingRun();
    WeavingRun(const WeavingRun&) = delete;
    WeavingRun& operator=(const WeavingRun&) = delete;

    // The checks to make before opening the port; when they fail the run
    // cannot start and the message is for the weaver.
    const DobbyStartCheck& check() const { return m_check; }
    // Starts the head once the port is open and set up (queues its first
    // bytes). False when the check failed or the head refused the draft.
    bool start();
    // Ends the run: the head's release is queued (flush it before closing).
    void stop();
    bool isRunning() const { return m_head && m_head->isStarted() && !m_head->isStopped() && !m_head->hasFailed(); }

    CDobbyHead* head() { return m_head.get(); }
    WeavingPosition& position() { return m_position; }
    const WeavingPosition& position() const { return m_position; }

    // The Dobby menu while the run exists.
    bool canSameShed() const { return !m_position.unweave(); }
    void SameShed();
    void ToggleUnweave();
    void ToggleReverse() { m_position.ToggleReverse(); }
    void ToggleLoop() { m_position.ToggleLoop(); }
    // The pick as shown (1-based).
    void SetPick(int shown);
    bool SetRepeatCount(int count) { return m_position.SetRepeatCount(count); }
    // After picks were inserted or deleted, or the shaft count changed.
    void DraftChanged();

private:
    void moved();

    CQuillabyDoc& m_doc;
    WeavingPosition m_position;
    DocumentDobbyHost m_host;
    DobbyStartCheck m_check;
    std::unique_ptr<CDobbyHead> m_head;
};

} // namespace qb
