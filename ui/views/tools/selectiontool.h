#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The selection: a rubber band of cells (whole threads in the threading and
// treadling). A finished selection of threads becomes the stamp's copy; one
// in the drawdown offers to crop the draft. A right click inside the
// selection opens its menu.
class CSelectionTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    DragFollow follow() const override { return DragFollow::PointerNoScroll; }
    void pointerAt(QPoint pos) override { selectTo(pos); }
    void dragEnded() override;

private:
    void selectTo(QPoint pos);
    void crop();

    QPoint m_anchor;
};

} // namespace qb
