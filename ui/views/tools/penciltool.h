#pragma once

#include "panetoolbase.h"

namespace qb {

// The pencil: sets (left button) or clears (right button, or Shift with the
// left) the cells it is dragged over in the threading, treadling and tieup,
// paints the color bars with the button's color, and sets single crossings
// in the drawdown.
class CPencilTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    void cellAt(const PaneHit& hit, QPoint pos, Qt::KeyboardModifiers mods) override;

private:
    void step(const PaneHit& hit, int button, Qt::KeyboardModifiers mods);
    void drawdownClick(const ToolPress& p);

    int m_row = 0;
    // The drawdown pencil says once why a draft cannot be drawn in the drawdown.
    bool m_analysisTold = false;
};

} // namespace qb
