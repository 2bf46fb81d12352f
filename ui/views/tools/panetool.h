#pragma once

#include "ui/views/tools/paneedits.h"
#include "ui/views/tools/panetoolbase.h"
#include "ui/views/tools/selectioncommands.h"
#include "ui/views/tools/stamppreview.h"
#include "ui/views/tools/toolstate.h"

#include "core/draft/quillabydoc.h"
#include "core/draft/tuptype.h"
#include "ui/views/gridframe.h"

#include <QPoint>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class QKeyEvent;
class QPainter;
class QMouseEvent;
class QTimer;

namespace qb {

class CGridView;
class CPaneKeys;
class CStampPreview;
class CStampTool;
class CInterlaceTool;

// The mouse and keyboard editing of one grid pane: turns pointer positions
// into cells and hands them to the current tool, one object per tool. A drag
// collects its edits into one undo step and keeps going (scrolling the pane)
// when the pointer leaves the pane. Keys go to the pane's CPaneKeys.
class CPaneTool {
public:
    explicit CPaneTool(CGridView* pane);
    ~CPaneTool();
    CPaneTool(const CPaneTool&) = delete;
    CPaneTool& operator=(const CPaneTool&) = delete;

    // Each returns true when the event was used.
    bool mousePress(QMouseEvent* e);
    bool mouseMove(QMouseEvent* e);
    bool mouseRelease(QMouseEvent* e);
    bool mouseDoubleClick(QMouseEvent* e);
    bool keyPress(QKeyEvent* e);
    // A modifier key went down or up: the cursor shows what a press would do.
    void modifiersChanged(QKeyEvent* e);
    // The pointer left the pane: the stamp's copy no longer follows it.
    void pointerLeft() { hideFloatingCopy(); }

    // Ends a drag in progress (tool change, zoom, Esc): what was drawn stays.
    void endDrag();
    bool dragging() const { return m_button != 0; }
    // Whether typed characters become the threads' symbols.
    bool typingSymbols() const;
    // The thread typed keys go to (-1 none).
    int currentThread() const;
    void setCurrentThread(int t);
    // Outlines the current thread and cell (content coordinates), while no
    // drag is in progress.
    void paintCurrent(QPainter& p) const;

    using Hit = PaneHit;
    Hit hitAt(QPoint viewportPos) const;
    // The palette index of the color bar under a viewport point, -1 elsewhere.
    int colorAt(QPoint viewportPos) const;

    // The selection's menu (see CSelectionCommands).
    using SelectionCommand = qb::SelectionCommand;
    std::vector<SelectionCommand> selectionCommands() const;
    bool runSelectionCommand(SelectionCommand c);
    void editLabel(int first, int last);
    void deleteTreadles(int first, int last);

    // --- what the tools share ---
    CGridView* pane() const { return m_pane; }
    CQuillabyDoc& doc() const;
    PaneKind kind() const;
    bool threadPane() const { return kind() == PaneKind::Threading || kind() == PaneKind::Treadling; }
    // The document side of a threading or treadling pane.
    Side threadSide() const { return SideOf(kind() == PaneKind::Threading); }
    // The edit the current drag records into: one step named after the
    // tool, begun with the first change and ended with the drag.
    Edit dragEdit();
    // The button of the drag (0 none, 1 left, 2 right).
    int button() const { return m_button; }
    // The item (column, row) under a viewport point, clamped to the grid.
    QPoint itemAt(QPoint viewportPos) const;
    CPaneEdits& edits() const { return *m_edits; }
    // The see-through copy over the pane: threads from `first` on, or any
    // cells inside a frame; hidden again at the end of a drag or a hover.
    void showFloatingCopy(int first, const ThreadCopy& copy);
    void showFloatingCells(const QRect& frame, std::vector<QRect> cells);
    void hideFloatingCopy();
    CStampTool& stamp();
    CSelectionCommands& selection() const { return *m_selection; }
    CPaneKeys& keys() const { return *m_keys; }
    // Whether an interlacement popup of this pane is open.
    bool popupOpen() const;
    // Tells the weaver something in a message box.
    void tell(const QString& text) const;
    // Says something in the main window's status bar.
    void showStatus(const QString& text) const;

private:
    CPaneToolBase& toolObject(Tool t);
    void autoScroll();

    CGridView* m_pane;
    std::map<Tool, std::unique_ptr<CPaneToolBase>> m_tools;
    std::unique_ptr<CPaneEdits> m_edits;
    std::unique_ptr<CSelectionCommands> m_selection;
    std::unique_ptr<CPaneKeys> m_keys;
    // The tool of the last press, which gets the drag.
    CPaneToolBase* m_active = nullptr;
    Tool m_activeTool = Tool::Pencil;
    int m_button = 0;
    std::unique_ptr<DraftTransaction> m_drag;
    Hit m_last;
    QPoint m_pointer;
    Qt::KeyboardModifiers m_mods;
    QTimer* m_scrollTimer = nullptr;
    QPointer<CStampPreview> m_floating;
};

// The warp or weft row the modifier keys choose: none row 0, Ctrl 1,
// Ctrl+Alt 2, Ctrl+Alt+Shift 3 (2 for the line tool, where Shift erases).
int RowForModifiers(Qt::KeyboardModifiers mods, bool lineTool);

} // namespace qb
