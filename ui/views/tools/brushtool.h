#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The paint brush: like the pencil on a color bar, but anywhere in the
// threading or treadling; the row is the one the modifier keys choose.
class CBrushTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    void cellAt(const PaneHit& hit, QPoint pos, Qt::KeyboardModifiers mods) override;

private:
    void paint(const PaneHit& hit, int button);
    int m_row = 0;
};

} // namespace qb
