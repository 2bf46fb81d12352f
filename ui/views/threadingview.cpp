#include "ui/views/tdinggridview.h"

#include "core/draft/drawdown.h"

#include <QPainter>

#include <algorithm>

namespace qb {

CThreadingView::CThreadingView(CGridFrame* frame, QWidget* parent) : CTdingGridView(frame, parent)
{
    orientationChanged();
}

int CThreadingView::valueCount() const
{
    return document()->numShafts();
}

TreadleSet CThreadingView::valuesOf(int thread, int row) const
{
    TreadleSet s;
    if (const Threading* t = document()->threading(row)) s.set(t->GetShaft(thread));
    return s;
}

GlyphStyle CThreadingView::notationStyle() const
{
    return styleForNotation(frame()->threadingNotation(), document()->isRisingShed());
}

void CThreadingView::paintValue(QPainter& p, const QRect& in, int thread, int row, int value)
{
    const CQuillabyDoc& doc = *document();
    if (doc.activeCorrelation() == 1) {
        p.fillRect(in, colorOf(WarpColor(doc, thread, row)));
        return;
    }
    const int mark = frame()->scale().markSize;
    const bool tiny = cellWidth() < mark || cellHeight() < mark;
    const bool userFirstWarp = row == 0 && m_style == GlyphStyle::UserSymbol;
    if (doc.numWarps() > 1 && !tiny && !userFirstWarp) {
        paintLayerSymbol(p, in, row);
        return;
    }
    switch (m_style) {
    case GlyphStyle::Number:
    case GlyphStyle::Letter: paintCellText(p, in, glyphText(m_style, value)); break;
    case GlyphStyle::UserSymbol:
        paintCellText(p, in, glyphText(m_style, value, doc.threading(row)->GetSymbol(thread)));
        break;
    default: p.fillRect(in, Qt::black); break;
    }
}

void CThreadingView::reactToHint(const UpdateHint& hint)
{
    if (hint.ranged() && hint.parts == UpdateHint::Threading) updateColumnItems(hint.first, hint.last);
    else if (hint.parts & (UpdateHint::Threading | UpdateHint::Palette | UpdateHint::Settings)) updateAll();
}

void CThreadingView::resizeEvent(QResizeEvent* e)
{
    if (frame()->isClosing()) return;
    // The shaft rows share out the pane's height, never taller than an end is
    // wide nor smaller than a cell a weaver can click: the rest scrolls.
    const int h = std::max(std::min(viewport()->height() / std::max(1, squeezeDivisor()), frame()->endWidth()),
                           std::min(frame()->scale().markSize, frame()->endWidth()));
    if (h != frame()->shaftHeight()) frame()->setShaftHeight(h);
    CGridView::resizeEvent(e);
}

} // namespace qb
