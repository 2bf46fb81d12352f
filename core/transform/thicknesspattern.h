#pragma once

#include "core/transform/command.h"

#include <vector>

namespace qb {

class CQuillabyDoc;

// The pattern of thick and thin threads the "Thread Thickness" dialog edits
// in its 16 cells; kept for the program's lifetime by the caller.
class ThicknessPattern {
public:
    static constexpr int kCells = 16;

    // Left click: a cell past the end extends the pattern with thin entries
    // up to it; a defined cell toggles between thin and thick.
    void toggle(int cell);
    // Right click: removes the entry, the later ones move one place left. A
    // cell past the end has no entry and is ignored.
    void remove(int cell);

    const std::vector<bool>& thick() const { return m_thick; }
    int size() const { return static_cast<int>(m_thick.size()); }
    bool empty() const { return m_thick.empty(); }

private:
    std::vector<bool> m_thick;
};

// OK of the dialog: the pattern repeated over every thread of the side's
// first row (where thickness lives: it is the row the panes and files use).
// One undo step; an empty pattern or a side without threads changes nothing.
CommandResult ApplyThicknessPattern(Edit e, CQuillabyDoc& doc, Side side, const std::vector<bool>& thick);

} // namespace qb
