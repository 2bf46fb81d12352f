#pragma once

#include "core/draft/tuptype.h"

namespace qb {

// What a dobby head driver needs from the draft being woven. The weaving run
// implements it over the document and its weaving position; tests fake it.
class IDobbyHost {
public:
    virtual ~IDobbyHost() = default;

    // Shafts of the draft (1..64).
    virtual int draftShafts() const = 0;
    // Picks of weft row 0.
    virtual int numPicks() const = 0;
    // The pick whose lift the loom holds or receives next (0-based).
    virtual int currentPick() const = 0;
    // Moves the position as the loom asked for the next pick: 0 when a lift
    // is to be sent, 1 when the run has left the treadling (nothing is sent).
    virtual int advancePick() = 0;
    // Shafts to raise for pick p; bit s-1 stands for shaft s.
    virtual TUPTYPE liftOf(int pick) const = 0;
};

} // namespace qb
