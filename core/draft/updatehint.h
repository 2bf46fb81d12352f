#pragma once

#include <cstdint>

namespace qb {

// What changed in a document, sent once per change (an edit, its undo and
// its redo alike), so that each view decides itself what to repaint.
struct UpdateHint {
    // The parts of a draft.
    enum Part : std::uint32_t {
        Threading = 1, // ends: shafts, colors, symbols, thickness, labels
        Treadling = 2, // picks: treadles or lifted shafts, colors, symbols, thickness, labels
        Tieup = 4,
        Palette = 8,    // its colors, and the colors on the mouse buttons
        Structure = 16, // loom size, forms, row counts, correlation, tieup keys
        Texts = 32,     // title, author, notes and the other texts
        Settings = 64,  // sett, units, project plan, notations, block parameters
        AllParts = 127,
    };
    enum Flag : std::uint32_t {
        ButtonColors = 1, // only the colors on the mouse buttons changed
    };

    std::uint32_t parts = AllParts;
    // Counts or sizes changed: views lay out anew instead of repainting.
    bool layout = true;
    // For a change of Threading or Treadling alone: the threads first..last
    // (0-based, inclusive) changed; first < 0 means any of them.
    int first = -1;
    int last = -1;
    std::uint32_t flags = 0;

    bool has(Part p) const { return (parts & p) != 0; }
    bool has(Flag f) const { return (flags & f) != 0; }
    // The change is a range of threads of one side (no layout change).
    bool ranged() const { return first >= 0 && !layout; }

    // Anything may have changed.
    static UpdateHint all() { return {}; }
    static UpdateHint of(std::uint32_t parts, bool layout) { return {parts, layout, -1, -1, 0}; }
    static UpdateHint ends(int first, int last) { return {Threading, false, first, last, 0}; }
    static UpdateHint picks(int first, int last) { return {Treadling, false, first, last, 0}; }
};

} // namespace qb
