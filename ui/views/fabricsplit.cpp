#include "ui/views/paneframes.h"

#include "ui/views/draftview.h"

#include <QContextMenuEvent>
#include <QLayout>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>

namespace qb {

CDraftView* CFabricFrame::newClothPane()
{
    auto* view = new CDraftView(this);
    view->setFillsPane(false);
    view->setFarEdges(false, false);
    view->setMinimumSize(10, 10);
    return view;
}

int CFabricFrame::paneRows() const
{
    return m_grid ? m_grid->count() : 1;
}

int CFabricFrame::paneColumns() const
{
    return m_grid ? static_cast<QSplitter*>(m_grid->widget(0))->count() : 1;
}

CDraftView* CFabricFrame::clothPane(int row, int column) const
{
    if (!m_grid) return row == 0 && column == 0 ? draftView() : nullptr;
    if (row < 0 || row >= paneRows() || column < 0 || column >= paneColumns()) return nullptr;
    return static_cast<CDraftView*>(static_cast<QSplitter*>(m_grid->widget(row))->widget(column));
}

bool CFabricFrame::splitRows()
{
    if (paneRows() >= 2) return false;
    if (!m_grid) {
        m_grid = new QSplitter(Qt::Vertical, this);
        m_grid->setChildrenCollapsible(false);
        auto* row = new QSplitter(Qt::Horizontal);
        row->setChildrenCollapsible(false);
        row->addWidget(draftView()); // moves the first pane out of the layout
        m_grid->addWidget(row);
        layout()->addWidget(m_grid);
    }
    const int columns = paneColumns();
    auto* row = new QSplitter(Qt::Horizontal);
    row->setChildrenCollapsible(false);
    for (int c = 0; c < columns; ++c) row->addWidget(newClothPane());
    m_grid->addWidget(row);
    relinkScrolling();
    relayoutPanes();
    return true;
}

bool CFabricFrame::splitColumns()
{
    if (paneColumns() >= 2) return false;
    if (!m_grid) {
        // One row, then a second column in it.
        splitRows();
        delete m_grid->widget(1);
    }
    for (int r = 0; r < paneRows(); ++r) static_cast<QSplitter*>(m_grid->widget(r))->addWidget(newClothPane());
    relinkScrolling();
    relayoutPanes();
    return true;
}

void CFabricFrame::unsplit()
{
    if (!m_grid) return;
    for (int r = paneRows() - 1; r >= 0; --r)
        for (int c = paneColumns() - 1; c >= 0; --c)
            if (r || c) delete clothPane(r, c);
    while (m_grid->count() > 1) delete m_grid->widget(1);
    relinkScrolling();
    relayoutPanes();
}

void CFabricFrame::relinkScrolling()
{
    auto link = [](QScrollBar* a, QScrollBar* b) {
        QObject::connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue, Qt::UniqueConnection);
        QObject::connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue, Qt::UniqueConnection);
    };
    for (int r = 0; r < paneRows(); ++r)
        for (int c = 0; c < paneColumns(); ++c) {
            CDraftView* v = clothPane(r, c);
            if (CDraftView* right = clothPane(r, c + 1)) link(v->verticalScrollBar(), right->verticalScrollBar());
            if (CDraftView* below = clothPane(r + 1, c)) link(v->horizontalScrollBar(), below->horizontalScrollBar());
        }
}

void CFabricFrame::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    QAction* rows = menu.addAction(QStringLiteral("Split &Horizontally"));
    QAction* cols = menu.addAction(QStringLiteral("Split &Vertically"));
    QAction* none = menu.addAction(QStringLiteral("&Remove Split"));
    rows->setEnabled(paneRows() < 2);
    cols->setEnabled(paneColumns() < 2);
    none->setEnabled(paneRows() * paneColumns() > 1);
    QAction* chosen = menu.exec(e->globalPos());
    if (chosen == rows) splitRows();
    else if (chosen == cols) splitColumns();
    else if (chosen == none) unsplit();
}

} // namespace qb
