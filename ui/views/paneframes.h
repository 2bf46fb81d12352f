#pragma once

#include "ui/views/gridframe.h"

class QSplitter;

namespace qb {

class CDraftView;

// The kinds of draft window the View menu opens.
enum class FrameKind { Draft, Threading, Treadling, Tieup, Fabric, FabricBack };

// Opens a window of the given kind on `doc` (the "Draft" kind is a further
// four-pane CDraftFrame).
CGridFrame* CreateGridFrame(FrameKind kind, CQuillabyDoc* doc, const CellScale& scale, bool drawnUp,
                            bool showGridWhenHidden, QWidget* parent = nullptr);

// A frame showing one pane alone; it sizes itself to the pane's grid.
class CSinglePaneFrame : public CGridFrame {
    Q_OBJECT
public:
    CGridView* pane() const { return m_pane; }
    void fitInWindow() override;

protected:
    using CGridFrame::CGridFrame;
    void setPane(CGridView* pane);

private:
    CGridView* m_pane = nullptr;
};

class CThreadingFrame : public CSinglePaneFrame {
    Q_OBJECT
public:
    CThreadingFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent = nullptr);
};

class CTieupFrame : public CSinglePaneFrame {
    Q_OBJECT
public:
    CTieupFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent = nullptr);
};

class CTreadlingFrame : public CSinglePaneFrame {
    Q_OBJECT
public:
    CTreadlingFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent = nullptr);
};

// The simulated cloth: one drawdown pane, starting at 6-pixel cells, that
// may proportion its cells to the sett.
class CFabricFrame : public CSinglePaneFrame {
    Q_OBJECT
public:
    CFabricFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent = nullptr);
    CDraftView* draftView() const;
    QSize drawdownCell() const override;

    // The cloth may be seen in up to 2 x 2 panes (from the pane's context
    // menu); panes in one row scroll together vertically, panes in one
    // column horizontally.
    bool splitRows();
    bool splitColumns();
    void unsplit();
    int paneRows() const;
    int paneColumns() const;
    CDraftView* clothPane(int row, int column) const;

protected:
    CFabricFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool back, QWidget* parent);
    void afterZoom() override { fitInWindow(); }
    // The cloth keeps to the top left whichever way the draft is drawn.
    void arrangePanes() override {}
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    CDraftView* newClothPane();
    void relinkScrolling();

    QSplitter* m_grid = nullptr; // rows of panes, each row a horizontal splitter
};

// The back of the cloth: every cell shows the thread the face hides.
class CFabricBackFrame : public CFabricFrame {
    Q_OBJECT
public:
    CFabricBackFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent = nullptr);
};

} // namespace qb
