#pragma once

#include "core/draft/tuptype.h"

#include <string>

namespace qb {

// Something the driver tells its owner; the owner drains them after each input.
struct DobbyEvent {
    enum class Kind {
        HeadReady,       // the head answered the greeting and holds its first lift
        PickRequested,   // the loom asked for the next pick and the position moved
        LiftSent,        // a lift for `pick` was queued (shafts = what was sent)
        EndOfTreadling,  // the loom asked for a pick beyond the treadling: nothing sent
        TimedOut,        // the head reported a time-out: show the time-out window
        TimeoutCleared,  // Continue was pressed (by the weaver or the driver): close it
        SelfTestStarted, // the head answered and the test command went out
        SelfTestResult,  // the self-test ended; ok tells whether the head ever answered
        Error,           // the run cannot go on; `message` is for the weaver
    };

    explicit DobbyEvent(Kind k) : kind(k) {}

    Kind kind;
    int pick = -1;         // the current pick after the event
    int previousPick = -1; // the pick that was current before it
    TUPTYPE shafts;
    bool ok = true;
    std::string message;
};

} // namespace qb
