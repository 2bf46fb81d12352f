#include "ui/views/draftframe.h"

#include "ui/views/draftsplitter.h"
#include "ui/views/draftview.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tieupview.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

namespace {

void linkScroll(QScrollBar* a, QScrollBar* b)
{
    QObject::connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
    QObject::connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
}

} // namespace

CDraftFrame* CDraftFrame::create(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool showGridWhenHidden,
                                 QWidget* parent)
{
    return new CDraftFrame(doc, scale, drawnUp, showGridWhenHidden, parent);
}

CDraftFrame::CDraftFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool showGridWhenHidden,
                         QWidget* parent)
    : CGridFrame(doc, scale, QStringLiteral("Draft"), drawnUp, showGridWhenHidden, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new CDraftSplitter(drawnUp, this);
    layout->addWidget(m_splitter);

    m_threading = new CThreadingView(this);
    m_tieup = new CTieupView(this);
    m_draft = new CDraftView(this);
    m_treadling = new CTreadlingView(this);
    m_splitter->setPanes(m_threading, m_tieup, m_draft, m_treadling);

    // Scroll bars only where a row or column needs one, and the same in both
    // panes of a row or column so that their cells stay aligned.
    m_draft->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_draft->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_threading->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_threading->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_treadling->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_treadling->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tieup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tieup->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    linkScroll(m_threading->horizontalScrollBar(), m_draft->horizontalScrollBar());
    linkScroll(m_treadling->verticalScrollBar(), m_draft->verticalScrollBar());
    linkScroll(m_threading->verticalScrollBar(), m_tieup->verticalScrollBar());
    linkScroll(m_tieup->horizontalScrollBar(), m_treadling->horizontalScrollBar());

    const QSize fit = fittedSplitSizes();
    resize(fit.width() + 40 * scale.baseCell, fit.height() + 30 * scale.baseCell);
    setSplitSizes(fit.height(), fit.width());
    setActivePane(m_threading);
    relayoutPanes();
}

int CDraftFrame::threadingRowHeight() const
{
    return m_splitter->threadingRowHeight();
}

int CDraftFrame::treadleColumnWidth() const
{
    return m_splitter->treadleColumnWidth();
}

void CDraftFrame::setSplitSizes(int rowHeight, int columnWidth)
{
    m_splitter->setSizes(rowHeight, columnWidth);
}

QSize CDraftFrame::fittedSplitSizes() const
{
    const CQuillabyDoc& doc = *document();
    const int warpLabels = doc.threading(0) ? doc.threading(0)->LabelRowCount() : 0;
    const int weftLabels = doc.treadling(0) ? doc.treadling(0)->LabelRowCount() : 0;
    const int rowHeight = (doc.numShafts() + doc.numWarps() + warpLabels + 2) * pickHeight();
    const int colWidth = (doc.numTreadles() + doc.numWefts() + weftLabels + 2) * endWidth();
    return {colWidth, rowHeight};
}

void CDraftFrame::fitInWindow()
{
    const QSize fit = fittedSplitSizes();
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub || sub->isMaximized()) {
        setSplitSizes(fit.height(), fit.width());
        return;
    }
    // Not maximised: the window grows or shrinks so the drawdown shows whole.
    const QSize grid = m_draft->gridSize();
    const int extraW = m_draft->verticalScrollBar()->sizeHint().width() + m_splitter->handleWidth();
    const int extraH = m_draft->horizontalScrollBar()->sizeHint().height() + m_splitter->handleWidth();
    QSize want(fit.width() + grid.width() + extraW, fit.height() + grid.height() + extraH);
    QSize frameExtra = sub->size() - size();
    if (QMdiArea* area = sub->mdiArea()) want = want.boundedTo(area->viewport()->size() - frameExtra);
    sub->resize(want + frameExtra);
    setSplitSizes(fit.height(), fit.width());
}

void CDraftFrame::arrangePanes()
{
    m_splitter->setDrawnUp(!threadingOnTop());
    CGridFrame::arrangePanes();
}

QImage CDraftFrame::composePanes()
{
    CGridView* grid[2][2] = {{m_threading, m_tieup}, {m_draft, m_treadling}};
    QSize s[2][2];
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) s[r][c] = grid[r][c]->exportSize();
    const int leftW = std::max(s[0][0].width(), s[1][0].width());
    const int rightW = std::max(s[0][1].width(), s[1][1].width());
    const int topH = std::max(s[0][0].height(), s[0][1].height());
    const int bottomH = std::max(s[1][0].height(), s[1][1].height());
    const QSize total(leftW + rightW, topH + bottomH);
    if (!exportSizeOk(total)) return {};
    QImage img(total, QImage::Format_RGB32);
    if (img.isNull()) return img;
    img.fill(Qt::white);
    QPainter p(&img);
    const bool drawnUp = !threadingOnTop();
    // Row r of `grid` is the threading's row (0) or the drawdown's row (1).
    for (int r = 0; r < 2; ++r) {
        const bool upper = (r == 0) != drawnUp;
        const int rowH = r == 0 ? topH : bottomH;
        for (int c = 0; c < 2; ++c) {
            const int x = c == 0 ? leftW - s[r][c].width() : leftW;
            int y = upper ? 0 : (drawnUp ? bottomH : topH);
            // Keep each pane against the joint of the four panes.
            if (upper) y += rowH - s[r][c].height();
            p.save();
            p.translate(x, y);
            grid[r][c]->renderExport(p);
            p.restore();
        }
    }
    return img;
}

} // namespace qb
