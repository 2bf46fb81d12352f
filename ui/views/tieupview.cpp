#include "ui/views/tieupview.h"

#include <QPainter>

#include <algorithm>

namespace qb {

namespace {

int labelRowsOf(const Tding* t)
{
    return t ? t->LabelRowCount() : 0;
}

} // namespace

void CTieupGridView::buildAxes(bool exporting)
{
    const CQuillabyDoc& doc = *document();
    // In an export the tieup is only as large as the loom; on screen it lines
    // up with the color bars and labels of the threading and treadling.
    const int colItems = exporting ? treadles() : treadles() + 1 + doc.numWefts() + labelRowsOf(doc.treadling(0));
    const int rowItems = exporting ? shafts() : shafts() + 1 + doc.numWarps() + labelRowsOf(doc.threading(0));
    m_cols = GridAxis(ThreadLayout::uniform(colItems), frame()->treadleWidth(), false);
    m_rows = GridAxis(ThreadLayout::uniform(rowItems), frame()->shaftHeight(), frame()->threadingOnTop());
}

void CTieupGridView::paintGridLines(QPainter& p, const QRect&)
{
    const int t = treadles(), s = shafts();
    if (t == 0 || s == 0) return;
    const QRect first = contentItemRect(0, 0), last = contentItemRect(t - 1, s - 1);
    const QRect band = first.united(last);
    if (drawsVerticalLines()) drawLines(p, m_cols, true, 0, t - 1, band.top(), band.bottom() + 2);
    if (drawsHorizontalLines()) drawLines(p, m_rows, false, 0, s - 1, band.left(), band.right() + 2);
}

CTieupView::CTieupView(CGridFrame* frame, QWidget* parent) : CTieupGridView(frame, parent)
{
    orientationChanged();
}

GlyphStyle CTieupView::notationStyle() const
{
    return styleForNotation(frame()->tieupNotation(), document()->isRisingShed());
}

void CTieupView::paintCells(QPainter& p, const QRect& area)
{
    const CQuillabyDoc& doc = *document();
    if (frame()->isPaneHidden(paneKind()) || doc.isLiftplan()) return;
    const auto [c0, c1] = m_cols.itemsIn(area.left(), area.right() + 1);
    const auto [r0, r1] = m_rows.itemsIn(area.top(), area.bottom() + 1);
    const Tieup& tu = doc.tieup();
    for (int t = c0; t <= std::min(c1, treadles() - 1); ++t) {
        const TUPTYPE col = tu.column(t);
        for (int s = r0; s <= std::min(r1, shafts() - 1); ++s) {
            if (!col.test(s + 1)) continue;
            const QRect in = inside(contentItemRect(t, s));
            switch (m_style) {
            case GlyphStyle::Number: paintCellText(p, in, glyphText(m_style, s + 1)); break;
            case GlyphStyle::Dot: paintDot(p, in); break;
            case GlyphStyle::Cross: paintCross(p, in); break;
            default: p.fillRect(in, Qt::black); break;
            }
        }
    }
}

void CTieupView::reactToHint(const UpdateHint& hint)
{
    // Thread edits leave the tieup alone, except in liftplan form where the
    // pane follows the loom's size.
    if ((hint.parts & (UpdateHint::Tieup | UpdateHint::Settings)) || document()->isLiftplan()) updateAll();
}

} // namespace qb
