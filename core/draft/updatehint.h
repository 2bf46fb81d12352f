#pragma once

#include <cstdint>

namespace qb {

// What a document update concerns, so views repaint only what changed.
struct UpdateHint {
    enum Flag : std::uint32_t {
        PicksChanged = 1,   // picks first..last changed
        EndsChanged = 2,    // ends first..last changed
        CurrentPick = 4,    // the current weaving pick moved
        OnePick = 8,        // one pick changed
        NoDrawdown = 16,    // no drawdown repaint needed
    };

    std::uint32_t flags = 0;
    const void* frame = nullptr; // the one frame concerned, or null for all
    int first = 0;               // thread range, 0-based, inclusive
    int last = 0;

    bool has(Flag f) const { return (flags & f) != 0; }

    // The packed form of the range: low 16 bits first, high 16 bits last.
    std::uint32_t packedRange() const
    {
        return (std::uint32_t(first) & 0xFFFF) | ((std::uint32_t(last) & 0xFFFF) << 16);
    }
    static UpdateHint ends(int first, int last) { return {EndsChanged, nullptr, first, last}; }
    static UpdateHint picks(int first, int last) { return {PicksChanged, nullptr, first, last}; }
};

} // namespace qb
