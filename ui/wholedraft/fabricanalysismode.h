#pragma once

#include "core/transform/command.h"
#include "core/transform/fabricanalysis.h"

#include <QObject>
#include <QPoint>

namespace qb {

class CDraftFrame;

// "Fabric Analysis" on one draft frame: while it is on, a left click in
// the drawdown pane lifts the warp at that crossing and a right click
// lowers it, and the draft follows. The mode takes the drawdown's
// mouse presses before the pane's own tools see them.
class CFabricAnalysisMode : public QObject {
    Q_OBJECT
public:
    // The mode of `frame` (created on first use, owned by the frame).
    static CFabricAnalysisMode* of(CDraftFrame* frame);
    // The mode of `frame` if it was ever created.
    static CFabricAnalysisMode* find(const CDraftFrame* frame);

    bool isOn() const { return m_on; }
    // Switching on checks the draft (telling why it cannot), remembers the
    // drawdown display and the shed; switching off restores them and tidies
    // the draft. False when the mode could not start.
    bool setOn(bool on, IPrompter& prompter);

    // The entry point from the drawdown pane: one crossing set (lifted) or
    // cleared. Leaves the mode when the loom has no room for it.
    CellOutcome drawCell(int end, int pick, bool lifted);
    // The drawdown crossing under a point of the pane's viewport; false
    // outside the grid.
    bool crossingAt(const QPoint& viewportPos, int& end, int& pick) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CFabricAnalysisMode(CDraftFrame* frame);

    CDraftFrame* m_frame;
    bool m_on = false;
    bool m_risingShed = true;
    int m_coloring = 0;
};

} // namespace qb
