#pragma once

#include <QPoint>
#include <Qt>

namespace qb {

class CPaneTool;
enum class Tool;

// What lies under a point of a pane's viewport.
struct PaneHit {
    enum Area { Outside, Grid, ColorBar, Labels } area = Outside;
    int thread = -1; // end, pick, or treadle (tieup), or the drawdown end
    int value = 0;   // shaft or treadle (1-based), or the drawdown pick
    int row = 0;     // color-bar or label row
};

// A button press as the tools see it.
struct ToolPress {
    Tool tool;
    PaneHit hit;
    QPoint pos;     // viewport coordinates
    int button = 0; // 1 left, 2 right
    Qt::KeyboardModifiers mods;
    bool shift() const { return mods & Qt::ShiftModifier; }
};

// How a drag reaches the tool that started it.
enum class DragFollow {
    Cells,          // a step for every new cell under the pointer; the pane scrolls at its edges
    Pointer,        // every pointer move; the pane scrolls at its edges
    PointerNoScroll // every pointer move, nothing else
};

// One tool of the tool bar working in one pane. The pane's CPaneTool owns
// one object per tool, hands it the presses while it is the current tool,
// and the drag it starts; the drag's edits all go into one undo step
// (CPaneTool::dragEdit()).
class CPaneToolBase {
public:
    explicit CPaneToolBase(CPaneTool& host) : m_host(host) {}
    virtual ~CPaneToolBase() = default;
    CPaneToolBase(const CPaneToolBase&) = delete;
    CPaneToolBase& operator=(const CPaneToolBase&) = delete;

    // A button went down. Returns false when the press is not the tool's
    // at all (the pane then handles it); sets `drag` when a drag begins.
    virtual bool press(const ToolPress& p, bool& drag) = 0;
    virtual DragFollow follow() const { return DragFollow::Cells; }
    // The drag reached a new cell (DragFollow::Cells).
    virtual void cellAt(const PaneHit& /*hit*/, QPoint /*pos*/, Qt::KeyboardModifiers /*mods*/) {}
    // The pointer moved during the drag (the two Pointer modes).
    virtual void pointerAt(QPoint /*pos*/) {}
    // The button came up over `pos`, before the drag ends.
    virtual void released(QPoint /*pos*/) {}
    // The drag ended (release, Esc, a tool change).
    virtual void dragEnded() {}
    // Anything the tool shows is put away (also when no drag is going on).
    virtual void stop() {}

protected:
    CPaneTool& host() const { return m_host; }

private:
    CPaneTool& m_host;
};

} // namespace qb
