#pragma once

#include "ui/views/gridframe.h"

namespace qb {

class CThreadingView;
class CTieupView;
class CTreadlingView;
class CDraftView;
class CDraftSplitter;

// The draft window: threading, tieup, treadling and drawdown in a 2 x 2
// arrangement whose row of the threading and column of the treadling keep
// their sizes while the window is resized. Panes sharing a row scroll
// together vertically, panes sharing a column horizontally.
class CDraftFrame : public CGridFrame {
    Q_OBJECT
public:
    // A new draft window on `doc`; the panes subscribe to the document and
    // unsubscribe when the frame is destroyed. drawnUp: the DraftDrawnUp
    // setting; showGridWhenHidden: the ShowGridWhenHidden setting.
    static CDraftFrame* create(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool showGridWhenHidden,
                               QWidget* parent = nullptr);

    CThreadingView* threadingView() const { return m_threading; }
    CTieupView* tieupView() const { return m_tieup; }
    CTreadlingView* treadlingView() const { return m_treadling; }
    CDraftView* draftView() const { return m_draft; }

    // The two sizes the splitter keeps: the height of the threading's row and
    // the width of the treadling's column.
    int threadingRowHeight() const;
    int treadleColumnWidth() const;
    void setSplitSizes(int rowHeight, int columnWidth);
    // The sizes that show the threading's rows and the treadling's columns whole.
    QSize fittedSplitSizes() const;

    void fitInWindow() override;
    // Where a new draft window goes in the main window's client area: the
    // right two thirds, full height.
    static QRect initialGeometry(const QSize& clientArea)
    {
        return QRect(clientArea.width() / 3, 0, 2 * clientArea.width() / 3, clientArea.height());
    }

protected:
    CDraftFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool showGridWhenHidden, QWidget* parent);
    QImage composePanes() override;
    void arrangePanes() override;

private:
    CDraftSplitter* m_splitter = nullptr;
    CThreadingView* m_threading = nullptr;
    CTieupView* m_tieup = nullptr;
    CTreadlingView* m_treadling = nullptr;
    CDraftView* m_draft = nullptr;
};

} // namespace qb
