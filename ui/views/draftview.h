#pragma once

#include "ui/views/gridview.h"

#include "core/draft/drawdown.h"
#include "core/graphic/drawdownimage.h"

#include <memory>

namespace qb {

// The drawdown pane, and the only pane of the fabric frames: ends from the
// right, picks from the top (from the bottom when drawn up). Paints the
// visible part as one image from the bit-parallel rows, which are built
// once per draft change.
class CDraftView : public CGridView {
    Q_OBJECT
public:
    explicit CDraftView(CGridFrame* frame, QWidget* parent = nullptr);
    PaneKind paneKind() const override { return PaneKind::Drawdown; }
    void orientationChanged() override { setFarEdges(true, !frame()->threadingOnTop()); }

    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) override;

    // The style a paint uses, from the frame and the document.
    DrawdownStyle style() const;
    // The draft's own threads (without the cells that fill the pane).
    const ThreadLayout& endLayout() const { return m_ends; }
    const ThreadLayout& pickLayout() const { return m_picks; }
    const DrawdownRows& drawdownRows();
    // The whole drawdown at the given cell size and style (exports).
    QImage renderImage(const DrawdownStyle& style);

protected:
    void buildAxes(bool exporting) override;
    void paintCells(QPainter& p, const QRect& area) override;
    void paintGridLines(QPainter& p, const QRect& area) override;
    void reactToHint(const UpdateHint& hint) override;
    void markPick(int pick) override;
    QColor backgroundColor() const override;

private:
    QSize cellSize() const;

    ThreadLayout m_ends, m_picks;
    std::unique_ptr<DrawdownRows> m_rowsCache;
};

} // namespace qb
