#include "ui/views/paneframes.h"

#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tieupview.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qb {

CGridFrame* CreateGridFrame(FrameKind kind, CQuillabyDoc* doc, const CellScale& scale, bool drawnUp,
                            bool showGridWhenHidden, QWidget* parent)
{
    switch (kind) {
    case FrameKind::Draft: return CDraftFrame::create(doc, scale, drawnUp, showGridWhenHidden, parent);
    case FrameKind::Threading: return new CThreadingFrame(doc, scale, drawnUp, parent);
    case FrameKind::Treadling: return new CTreadlingFrame(doc, scale, drawnUp, parent);
    case FrameKind::Tieup: return new CTieupFrame(doc, scale, drawnUp, parent);
    case FrameKind::Fabric: return new CFabricFrame(doc, scale, drawnUp, parent);
    case FrameKind::FabricBack: return new CFabricBackFrame(doc, scale, drawnUp, parent);
    }
    return nullptr;
}

void CSinglePaneFrame::setPane(CGridView* pane)
{
    m_pane = pane;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane);
    setActivePane(pane);
    const QSize g = pane->gridSize();
    resize(std::min(g.width() + 20, 900), std::min(g.height() + 20, 700));
    relayoutPanes();
}

void CSinglePaneFrame::fitInWindow()
{
    if (!m_pane) return;
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (sub && sub->isMaximized()) return;
    QWidget* host = sub ? static_cast<QWidget*>(sub) : this;
    const QSize extra = host->size() - m_pane->viewport()->size();
    QSize want = m_pane->gridSize() + extra;
    if (sub && sub->mdiArea()) want = want.boundedTo(sub->mdiArea()->viewport()->size());
    host->resize(want);
}

CThreadingFrame::CThreadingFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent)
    : CSinglePaneFrame(doc, scale, QStringLiteral("Threading"), drawnUp, false, parent)
{
    setPane(new CThreadingView(this));
}

CTieupFrame::CTieupFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent)
    : CSinglePaneFrame(doc, scale, QStringLiteral("Tieup"), drawnUp, false, parent)
{
    setPane(new CTieupView(this));
}

CTreadlingFrame::CTreadlingFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent)
    : CSinglePaneFrame(doc, scale, QStringLiteral("Treadling"), drawnUp, false, parent)
{
    setPane(new CTreadlingView(this));
}

CFabricFrame::CFabricFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent)
    : CFabricFrame(doc, scale, drawnUp, false, parent)
{}

CFabricFrame::CFabricFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, bool back, QWidget* parent)
    : CSinglePaneFrame(doc, scale, back ? QStringLiteral("Fabric Back") : QStringLiteral("Fabric"), drawnUp, false,
                       parent)
{
    m_fabricBack = back;
    applyZoomStep(-3);
    setPane(newClothPane());
}

CDraftView* CFabricFrame::draftView() const
{
    return static_cast<CDraftView*>(pane());
}

QSize CFabricFrame::drawdownCell() const
{
    int w = endWidth(), h = pickHeight();
    if (!m_settAspect) return {w, h};
    const double x = settRatio();
    if (x > 1) h = std::max(2, int(std::floor(w / x)));
    else if (x < 1) w = std::max(2, int(std::floor(h * x)));
    return {w, h};
}

CFabricBackFrame::CFabricBackFrame(CQuillabyDoc* doc, const CellScale& scale, bool drawnUp, QWidget* parent)
    : CFabricFrame(doc, scale, drawnUp, true, parent)
{}

} // namespace qb
