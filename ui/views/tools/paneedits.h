#pragma once

#include "core/draft/side.h"

namespace qb {

class CPaneTool;

// The cell edits the drawing tools share: cells of the threading,
// treadling and tieup and thread colors, each recorded into the drag's step.
class CPaneEdits {
public:
    explicit CPaneEdits(CPaneTool& host) : m_host(host) {}

    // Shafts or treadles the pane's cells may take, and the threads it may
    // draw on.
    int valueLimit() const;
    int threadLimit() const;
    // The palette index on the left or right mouse button.
    int colorOf(bool rightButton) const;
    // Sets or clears one cell of the threading, treadling or tieup; false
    // when the cell lies outside the loom.
    bool applyCell(int thread, int value, int row, bool set);
    // One thread's color in a row of the threading or treadling.
    bool paintThread(int thread, int row, int color);

private:
    CPaneTool& m_host;
};

} // namespace qb
