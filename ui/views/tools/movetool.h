#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The move tool: picks up an end, a pick or a treadle (tieup), carries it
// with the pointer and drops it where the button comes up, as one step.
class CMoveTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    DragFollow follow() const override { return DragFollow::Pointer; }
    void pointerAt(QPoint pos) override;
    void released(QPoint pos) override;
    void stop() override;

private:
    // The end, pick or treadle a drop would land on, clamped to those in use.
    int target(QPoint viewportPos) const;
    void showAt(int to);
    // The thread leaves its place and goes back in at `to` with its values,
    // colors and symbols in every row.
    void moveThread(int from, int to);

    int m_from = -1;
};

} // namespace qb
