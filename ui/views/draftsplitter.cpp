#include "ui/views/draftsplitter.h"

#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

CDraftSplitter::CDraftSplitter(bool drawnUp, QWidget* parent) : QWidget(parent), m_drawnUp(drawnUp)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_vertical = new QSplitter(Qt::Vertical, this);
    m_vertical->setChildrenCollapsible(false);
    layout->addWidget(m_vertical);
    for (QSplitter*& row : m_rowOf) {
        row = new QSplitter(Qt::Horizontal);
        row->setChildrenCollapsible(false);
        connect(row, &QSplitter::splitterMoved, this, [this, row] { syncRows(row); });
    }
    m_vertical->addWidget(drawnUp ? m_rowOf[1] : m_rowOf[0]);
    m_vertical->addWidget(drawnUp ? m_rowOf[0] : m_rowOf[1]);
    connect(m_vertical, &QSplitter::splitterMoved, this, [this] {
        if (m_applying) return;
        m_rowDragged = true;
        m_wantRow = threadingRowHeight();
    });
    stretchDrawdownRow();
}

void CDraftSplitter::stretchDrawdownRow()
{
    // Extra height goes to the drawdown's row, extra width to its column.
    m_vertical->setStretchFactor(m_drawnUp ? 1 : 0, 0);
    m_vertical->setStretchFactor(m_drawnUp ? 0 : 1, 1);
}

void CDraftSplitter::setDrawnUp(bool drawnUp)
{
    if (drawnUp == m_drawnUp) return;
    m_drawnUp = drawnUp;
    m_applying = true;
    m_vertical->insertWidget(0, drawnUp ? m_rowOf[1] : m_rowOf[0]);
    m_applying = false;
    stretchDrawdownRow();
    apply();
}

void CDraftSplitter::setPanes(QWidget* threading, QWidget* tieup, QWidget* drawdown, QWidget* treadling)
{
    m_rowOf[0]->addWidget(threading);
    m_rowOf[0]->addWidget(tieup);
    m_rowOf[1]->addWidget(drawdown);
    m_rowOf[1]->addWidget(treadling);
    for (QSplitter* row : m_rowOf) {
        row->setStretchFactor(0, 1);
        row->setStretchFactor(1, 0);
    }
}

int CDraftSplitter::threadingRowHeight() const
{
    return m_rowOf[0]->height();
}

int CDraftSplitter::treadleColumnWidth() const
{
    return m_rowOf[0]->sizes().value(1);
}

int CDraftSplitter::handleWidth() const
{
    return m_vertical->handleWidth();
}

void CDraftSplitter::setSizes(int rowHeight, int columnWidth)
{
    m_wantRow = rowHeight;
    m_wantColumn = columnWidth;
    m_rowDragged = m_columnDragged = false;
    apply();
}

void CDraftSplitter::apply()
{
    const int total = std::max(m_vertical->height(), height()) - m_vertical->handleWidth();
    const int width = std::max(m_rowOf[0]->width(), this->width()) - m_rowOf[0]->handleWidth();
    // What the program asks for leaves the drawdown at least half of the
    // window, handles included; a dragged size stops only at what there is.
    const int rowCap = std::max(0, total - (std::max(m_vertical->height(), height()) + 1) / 2);
    const int columnCap = std::max(0, width - (std::max(m_rowOf[0]->width(), this->width()) + 1) / 2);
    const int rowHeight = std::clamp(m_wantRow, 0, m_rowDragged ? total : rowCap);
    const int columnWidth = std::clamp(m_wantColumn, 0, m_columnDragged ? width : columnCap);
    m_applying = true;
    const int rest = std::max(0, total - rowHeight);
    m_vertical->setSizes(m_drawnUp ? QList<int>{rest, rowHeight} : QList<int>{rowHeight, rest});
    for (QSplitter* row : m_rowOf) row->setSizes({std::max(0, width - columnWidth), columnWidth});
    m_applying = false;
}

void CDraftSplitter::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    apply();
}

void CDraftSplitter::syncRows(QSplitter* from)
{
    if (!m_applying && !m_syncing) {
        m_columnDragged = true;
        m_wantColumn = from->sizes().value(1);
    }
    // Both rows share their column boundary.
    if (m_syncing) return;
    m_syncing = true;
    for (QSplitter* row : m_rowOf)
        if (row != from) row->setSizes(from->sizes());
    m_syncing = false;
}

} // namespace qb
