#pragma once

#include <cstdint>

namespace qb {

// What a document update concerns, so views repaint only what changed.
struct UpdateHint {
    enum Flag : std::uint32_t {
        PicksChanged = 1,  // picks first..last changed
        EndsChanged = 2,   // ends first..last changed
        OnePick = 8,       // one pick changed
        NoDrawdown = 16,   // no drawdown repaint needed
        ButtonColors = 32, // only the colors on the mouse buttons changed
    };

    std::uint32_t flags = 0;
    int first = 0; // thread range, 0-based, inclusive
    int last = 0;

    bool has(Flag f) const { return (flags & f) != 0; }

    static UpdateHint ends(int first, int last) { return {EndsChanged, first, last}; }
    static UpdateHint picks(int first, int last) { return {PicksChanged, first, last}; }
};

} // namespace qb
