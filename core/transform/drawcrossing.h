#pragma once

#include "core/draft/edit.h"

namespace qb {

class CQuillabyDoc;

enum class CrossingOutcome {
    Changed,
    Unchanged,    // the crossing already showed what was wanted, or lies outside the draft
    NeedsShaft,   // the change would need a shaft beyond 64: nothing changed
    NeedsTreadle, // the change would need a treadle beyond 128: nothing changed
    NotAvailable, // the color bars are correlated with the threading or treadling
};

// The drawdown pencil: makes the crossing of end `end` and pick `pick` show
// the warp (warpUp) or the weft on top, in the draft's shed direction, and
// leaves every other crossing of the cloth as it was. An unthreaded end
// shows the weft. The loom only grows: when the end shares its shaft with
// other threads it gets a shaft of its own, copying that shaft's ties (or
// liftplan column); when the pick's treadles serve other picks too, it gets
// a treadle of its own tied like the pick's lift; then the one tie (or
// liftplan cell) is set. Existing shafts and treadles that already do the
// job are used first. Recorded into `e`.
CrossingOutcome DrawCrossing(Edit e, CQuillabyDoc& doc, int end, int pick, bool warpUp);

// The status-bar text for an outcome that changed nothing for a reason the
// weaver should hear ("" otherwise).
const char* CrossingMessage(CrossingOutcome outcome);

} // namespace qb
