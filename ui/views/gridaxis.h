#pragma once

#include "core/draft/threadlayout.h"

#include <utility>

namespace qb {

// One direction of a grid pane: the items along it (threads, shaft rows,
// treadle columns) with the cells each takes, the pixel pitch of a cell and
// the side item 0 starts from. Coordinates are content pixels: the grid is
// totalCells * pitch wide plus one pixel for the closing line.
class GridAxis {
public:
    GridAxis() = default;
    GridAxis(ThreadLayout layout, int pitch, bool reversed);

    int pitch() const { return m_pitch; }
    bool reversed() const { return m_reversed; }
    int itemCount() const { return m_layout.count(); }
    int totalCells() const { return m_layout.totalCells(); }
    int contentSize() const { return totalCells() * m_pitch + 1; }
    const ThreadLayout& layout() const { return m_layout; }

    // Pixel where cell boundary b (0..totalCells, counted from item 0) lies.
    int boundaryPx(int b) const { return (m_reversed ? totalCells() - b : b) * m_pitch; }
    // Lowest pixel of item i and its extent.
    int itemStart(int i) const;
    int itemExtent(int i) const { return m_layout.cellsOf(i) * m_pitch; }
    // Lowest pixel of cells first..first+n-1 of the item axis.
    int cellsStart(int firstCell, int n) const;
    // The item covering content pixel px, or -1.
    int itemAt(int px) const;
    // Items whose pixels meet [a, b), as an inclusive range (first > last when none).
    std::pair<int, int> itemsIn(int a, int b) const;

private:
    ThreadLayout m_layout;
    int m_pitch = 1;
    bool m_reversed = false;
};

} // namespace qb
