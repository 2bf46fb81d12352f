#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The pencil: sets (left button) or clears (right button, or Shift with the
// left) the cells it is dragged over in the threading, treadling and tieup,
// paints the color bars with the button's color, and in the drawdown makes
// each crossing it passes black (white) without changing any other crossing.
class CPencilTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    void cellAt(const PaneHit& hit, QPoint pos, Qt::KeyboardModifiers mods) override;

private:
    void step(const PaneHit& hit, int button, Qt::KeyboardModifiers mods);
    // One drawdown crossing made black (or white, erasing) in the coloring shown.
    void crossingAt(const PaneHit& hit, int button, Qt::KeyboardModifiers mods);

    int m_row = 0;
    // A stroke in the drawdown stops at the first crossing the loom cannot take.
    bool m_stopped = false;
};

} // namespace qb
