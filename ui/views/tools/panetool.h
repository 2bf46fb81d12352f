#pragma once

#include "draft/linetool.h"
#include "draft/tuptype.h"
#include "draft/quillabydoc.h"

#include <QPoint>
#include <QPointer>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QKeyEvent;
class QPainter;
class QMouseEvent;
class QTimer;

namespace qb {

class CGridView;
class CQuillabyDoc;
class CInterlacePopup;
class CStampPreview;

// The mouse and keyboard editing of one grid pane: turns pointer positions
// into cells and runs the current tool on them through the document's
// primitives. A drag collects its edits into one undo step, and keeps going
// (scrolling the pane) when the pointer leaves the pane.
class CPaneTool {
public:
    explicit CPaneTool(CGridView* pane);
    ~CPaneTool();

    // Each returns true when the event was used.
    bool mousePress(QMouseEvent* e);
    bool mouseMove(QMouseEvent* e);
    bool mouseRelease(QMouseEvent* e);
    bool mouseDoubleClick(QMouseEvent* e);
    bool keyPress(QKeyEvent* e);
    // The pointer left the pane: the stamp's copy no longer follows it.
    void pointerLeft() { hideStampPreview(); }

    // Ends a drag in progress (tool change, zoom, Esc): what was drawn stays.
    void endDrag();
    bool dragging() const { return m_button != 0; }
    // Whether typed characters become the threads' symbols.
    bool typingSymbols() const { return m_typing; }
    // The thread typed keys go to (-1 none).
    int currentThread() const { return m_current; }
    void setCurrentThread(int t) { m_current = t; }
    // Outlines the thread typed keys go to (content coordinates), while no
    // drag is in progress.
    void paintCurrent(QPainter& p) const;

    // What lies under a viewport point of the pane.
    struct Hit {
        enum Area { Outside, Grid, ColorBar, Labels } area = Outside;
        int thread = -1; // end, pick, or treadle (tieup), or the drawdown end
        int value = 0;   // shaft or treadle (1-based), or the drawdown pick
        int row = 0;     // color-bar row
    };
    Hit hitAt(QPoint viewportPos) const;
    // The palette index of the color bar under a viewport point, -1 elsewhere.
    int colorAt(QPoint viewportPos) const;

    // The commands of the selection's menu.
    enum class SelectionCommand {
        Clear, Insert, Delete, SetColor, Label, Repeat, FlipVertical, FlipHorizontal, Invert, RotateCW, RotateCCW,
        Set, DeleteTreadles,
    };
    // What the menu offers in this pane (the tieup offers a shorter menu with
    // "&Delete" when whole treadles are selected).
    std::vector<SelectionCommand> selectionCommands() const;
    // Runs one on the pane's selection as one undo step, then clears the selection.
    bool runSelectionCommand(SelectionCommand c);
    // "&Label..." on threads first..last (0-based) of the threading or treadling.
    void editLabel(int first, int last);
    // Tieup "&Delete": removes treadles first..last (0-based).
    void deleteTreadles(int first, int last);

private:
    enum class PaneSide { Threading, Treadling, Tieup, Drawdown };
    PaneSide side() const;
    // The document side of a threading or treadling pane.
    Side threadSide() const { return SideOf(side() == PaneSide::Threading); }
    // The edit a drag records into: one step named after the tool, begun
    // with the first change and ended with the drag.
    Edit dragEdit();
    CQuillabyDoc& doc() const;
    // Sets or clears one cell of the threading, treadling or tieup; false
    // when the cell lies outside the loom.
    bool applyCell(int thread, int value, int row, bool set);
    int valueLimit() const;
    int threadLimit() const;
    int colorOf(bool rightButton) const;
    bool paintThread(int thread, int row, int color);
    void pencilAt(const Hit& h, bool set);
    void lineTo(int thread);
    void runStep(const Hit& h, Qt::KeyboardModifiers mods);
    void autoScroll();
    bool typeKey(QKeyEvent* e);
    bool handleKey(QKeyEvent* e);
    void advanceCurrent();
    // The selection tool.
    QPoint itemAt(QPoint viewportPos) const;
    void selectPress(QPoint pos, int button);
    void selectTo(QPoint pos);
    void selectDone();
    void showSelectionMenu(QPoint pos);
    // Threads first..last of the selection (threading and treadling).
    std::pair<int, int> selectedThreads() const;
    QPoint m_selAnchor;
    bool m_typing = false;
    bool typeSymbol(QKeyEvent* e);
    // The move tool: the thread picked up.
    int m_moveFrom = -1;
    void moveThread(int from, int to);
    // The end, pick or treadle a move would drop on, clamped to those in use.
    int moveTarget(QPoint viewportPos) const;
    // The stamp: a copy of the pane's last selection of threads.
    struct StampCopy {
        std::vector<int> shafts;
        std::vector<TreadleSet> sets;
        std::vector<int> colors;
    };
    std::optional<StampCopy> m_stamp;
    void keepStampCopy();
    void stampAt(int thread);
    // The first thread the copy covers when centred on `thread`, kept inside the grid.
    int stampFirst(int thread) const;
    void showStampPreview(QPoint viewportPos);
    void hideStampPreview();
    // The floating copy of threads from `first` on; for the move tool the
    // thread or treadle picked up, shown at `to`.
    void showCopy(int first, const StampCopy& copy);
    void showMovedItem(int to);
    QPointer<CStampPreview> m_stampPreview;
    void repeatThreads(int first, int last, int times);

    CGridView* m_pane;
    int m_button = 0; // 0 none, 1 left, 2 right
    int m_tool = 0;
    std::unique_ptr<DraftTransaction> m_drag;
    Hit m_last;
    int m_rowChosen = 0;
    bool m_erase = false;
    std::optional<LineStepper> m_line;
    int m_anchor = -1;
    bool m_lineStopped = false;
    // The drawdown pencil says once why a draft cannot be drawn in the drawdown.
    bool m_analysisTold = false;
    int m_current = -1;
    QPoint m_pointer;
    Qt::KeyboardModifiers m_mods;
    QTimer* m_scrollTimer = nullptr;
    QPointer<CInterlacePopup> m_interlace;
};

// The name of a selection command as the Edit menu shows its step.
std::string SelectionCommandName(CPaneTool::SelectionCommand c);

// The warp or weft row the modifier keys choose: none row 0, Ctrl 1,
// Ctrl+Alt 2, Ctrl+Alt+Shift 3 (2 for the line tool, where Shift erases).
int RowForModifiers(Qt::KeyboardModifiers mods, bool lineTool);

} // namespace qb
