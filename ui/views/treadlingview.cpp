#include "ui/views/tdinggridview.h"

#include "core/draft/drawdown.h"

#include <QPainter>

#include <algorithm>

namespace qb {

CTreadlingView::CTreadlingView(CGridFrame* frame, QWidget* parent) : CTdingGridView(frame, parent)
{
    orientationChanged();
}

int CTreadlingView::valueCount() const
{
    return document()->numTreadles();
}

TreadleSet CTreadlingView::valuesOf(int thread, int row) const
{
    const Treadling* t = document()->treadling(row);
    return t ? t->GetSet(thread) : TreadleSet();
}

GlyphStyle CTreadlingView::notationStyle() const
{
    return styleForNotation(frame()->treadlingNotation(), document()->isRisingShed());
}

void CTreadlingView::paintValue(QPainter& p, const QRect& in, int thread, int row, int value)
{
    const CQuillabyDoc& doc = *document();
    if (doc.activeCorrelation() == 2) {
        p.fillRect(in, colorOf(WeftColor(doc, thread, row)));
        return;
    }
    // Several wefts: each row has its symbol, as in the threading.
    const int mark = frame()->scale().markSize;
    const bool tiny = cellWidth() < mark || cellHeight() < mark;
    const bool userFirstWeft = row == 0 && m_style == GlyphStyle::UserSymbol;
    if (doc.numWefts() > 1 && !tiny && !userFirstWeft) {
        paintLayerSymbol(p, in, row);
        return;
    }
    switch (m_style) {
    case GlyphStyle::Number: paintCellText(p, in, glyphText(m_style, value)); break;
    case GlyphStyle::UserSymbol:
        paintCellText(p, in, glyphText(m_style, value, doc.treadling(row)->GetSymbol(thread)));
        break;
    default: p.fillRect(in, Qt::black); break;
    }
}

void CTreadlingView::reactToHint(const UpdateHint& hint)
{
    if (hint.ranged() && hint.parts == UpdateHint::Treadling) updateRowItems(hint.first, hint.last);
    else if (hint.parts & (UpdateHint::Treadling | UpdateHint::Palette | UpdateHint::Settings)) updateAll();
}

void CTreadlingView::markPick(int pick)
{
    // The marker reaches a few rows beyond its pick.
    updateRowItems(pick - 4, pick + 4);
}

void CTreadlingView::resizeEvent(QResizeEvent* e)
{
    if (frame()->isClosing()) return;
    // The treadle columns share out the pane's width, never wider than a pick
    // is tall nor narrower than a cell a weaver can click: the rest scrolls.
    const int w = std::max(std::min(viewport()->width() / std::max(1, squeezeDivisor()), frame()->pickHeight()),
                           std::min(frame()->scale().markSize, frame()->pickHeight()));
    if (w != frame()->treadleWidth()) frame()->setTreadleWidth(w);
    CGridView::resizeEvent(e);
}

} // namespace qb
