#pragma once

#include "core/draft/quillabydoc.h"
#include "printing/glyphs.h"
#include "ui/views/gridaxis.h"
#include "ui/views/gridframe.h"

#include <QAbstractScrollArea>

#include <functional>
#include <memory>

class QPainter;

namespace qb {

class CPaneTool;

// Base of every grid pane: maps the cells of the draft to pixels in both
// directions (thick threads, orientation, zoom), draws grid lines and
// glyphs, scrolls, and reacts to the document's update hints. The pane
// keeps no display settings of its own: it asks its frame every time it
// lays itself out.
class CGridView : public QAbstractScrollArea, public IDocumentObserver {
    Q_OBJECT
public:
    explicit CGridView(CGridFrame* frame, QWidget* parent = nullptr);
    ~CGridView() override;

    CGridFrame* frame() const { return m_frame; }
    CQuillabyDoc* document() const { return m_doc; }
    virtual PaneKind paneKind() const = 0;

    // --- geometry ---
    const GridAxis& columns() const { return m_cols; }
    const GridAxis& rows() const { return m_rows; }
    int cellWidth() const { return m_cols.pitch(); }
    int cellHeight() const { return m_rows.pitch(); }
    GlyphStyle requestedStyle() const { return m_requested; }
    GlyphStyle glyphStyle() const { return m_style; }
    bool drawsVerticalLines() const { return cellWidth() > m_frame->scale().markSize; }
    bool drawsHorizontalLines() const { return cellHeight() > m_frame->scale().markSize; }
    QSize gridSize() const { return {m_cols.contentSize(), m_rows.contentSize()}; }
    // Viewport rectangle of the item at (column, row).
    QRect itemRect(int col, int row) const;
    // Where the content origin lies in the viewport.
    QPoint contentOffset() const;
    // Which side of the viewport the grid keeps to when it is smaller.
    void setFarEdges(bool right, bool bottom);
    // Whether empty cells beyond the draft fill the pane (not in the fabric views).
    void setFillsPane(bool fill) { m_fillsPane = fill; }

    // The selection in items (columns and rows of the pane; -1 = none). A
    // complete selection in the drawdown dims everything outside it.
    void setSelection(int firstCol, int lastCol, int firstRow, int lastRow);
    void clearSelection() { setSelection(-1, -1, -1, -1); }
    bool hasSelection() const { return m_sel[0] >= 0 && m_sel[1] >= 0 && m_sel[2] >= 0 && m_sel[3] >= 0; }
    int selection(int i) const { return m_sel[i]; }

    // The frame's orientation changed: the grid keeps to the edges the panes
    // beside it meet.
    virtual void orientationChanged() {}
    // Re-reads the frame and the document and repaints everything.
    void relayout();
    // Scrolls so that columns c0..c1 and rows r0..r1 come into view (a
    // direction with -1 stays); a range already in view does not move.
    void scrollToItems(int c0, int c1, int r0, int r1);
    // Viewport rectangle of the frame's highlighted thread in this pane
    // (empty when the pane does not show it).
    QRect highlightBand() const;
    // Paints the whole grid (export): only the draft's own threads, at the
    // frame's cell sizes, into `p` with its origin at the grid's corner.
    QSize exportSize();
    void renderExport(QPainter& p);

    // IDocumentObserver
    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) override;
    void weavingPickMoved(const CQuillabyDoc& doc, int previous, int current) override;

    // Tests and tools watch which rectangles a change repaints.
    void setUpdateSpy(std::function<void(const QRect&)> spy) { m_spy = std::move(spy); }

    // The editing tools working in this pane (mouse and keys go there first).
    CPaneTool& tool();

protected:
    // Builds the two axes; `exporting` leaves out the empty cells that fill the pane.
    virtual void buildAxes(bool exporting) = 0;
    virtual GlyphStyle notationStyle() const { return GlyphStyle::Plain; }
    // Paints the cells meeting `area` (content pixels).
    virtual void paintCells(QPainter& p, const QRect& area) = 0;
    virtual void paintGridLines(QPainter& p, const QRect& area);
    // Repaints what a change that keeps the layout touched, if the pane shows it.
    virtual void reactToHint(const UpdateHint& hint) = 0;
    // Repaints what marks the document's marked pick (panes that show picks).
    virtual void markPick(int /*pick*/) {}
    virtual QColor backgroundColor() const { return Qt::white; }

    // Item counts that fill the pane, so an empty draft still shows its grid.
    int fillCount(int items, const ThreadLayout& layout, int pitch, bool horizontal) const;
    // Repaint requests in content coordinates.
    void updateContent(const QRect& r);
    void updateColumnItems(int first, int last);
    void updateRowItems(int first, int last);
    void updateAll();
    // Grid lines between items first..last along one axis (-1: all) over a span.
    void drawLines(QPainter& p, const GridAxis& along, bool vertical, int firstItem, int lastItem, int spanFrom,
                   int spanTo, int period = 4);
    // Content rectangle of an item, and the part inside its grid lines.
    QRect contentItemRect(int col, int row) const;
    QRect inside(const QRect& itemRect) const;
    bool exporting() const { return m_exporting; }

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

    GridAxis m_cols, m_rows;
    GlyphStyle m_requested = GlyphStyle::Plain;
    GlyphStyle m_style = GlyphStyle::Plain;
    QFont m_cellFont;

private:
    void updateScrollBars();
    void paintHighlight(QPainter& p);
    QRect highlightContentBand() const;
    // Content span of items first..last along an axis.
    static std::pair<int, int> itemSpan(const GridAxis& axis, int first, int last);
    void computeStyle();

    CGridFrame* m_frame;
    CQuillabyDoc* m_doc;
    bool m_farRight = false, m_farBottom = false;
    bool m_exporting = false;
    bool m_fillsPane = true;
    int m_sel[4] = {-1, -1, -1, -1};
    bool m_inRelayout = false;
    std::function<void(const QRect&)> m_spy;
    std::unique_ptr<CPaneTool> m_tool;
};

} // namespace qb
