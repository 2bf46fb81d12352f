#include "ui/views/gridframe.h"

#include "ui/views/gridview.h"

#include "core/draft/notation.h"
#include "core/draft/quillabydoc.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace qb {

CGridFrame::CGridFrame(CQuillabyDoc* doc, const CellScale& scale, const QString& kindTitle, bool drawnUp,
                       bool showGridWhenHidden, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_scale(scale)
    , m_kindTitle(kindTitle)
    , m_endWidth(scale.baseCell)
    , m_shaftHeight(scale.baseCell)
    , m_treadleWidth(scale.baseCell)
    , m_pickHeight(scale.baseCell)
    , m_threadingOnTop(!drawnUp)
    , m_showGridWhenHidden(showGridWhenHidden)
{
    // Bound to the document: the frame starts from the notations saved with the draft.
    m_threadingNotation = doc->notations.threading;
    m_treadlingNotation = doc->notations.treadling;
    m_tieupNotation = doc->notations.tieup;
    m_interlace = doc->notations.drawdown == 4;
    m_docTitle = QString::fromStdString(doc->windowTitle);
    setWindowTitle(frameTitle());
}

CGridFrame::~CGridFrame()
{
    // The panes leave the document (and hand over their undo records) while
    // the frame they report to still exists.
    m_closing = true;
    const std::vector<CGridView*> panes = m_panes;
    for (CGridView* p : panes) delete p;
}

double CGridFrame::settRatio() const
{
    const double warp = m_doc->warpSett(), weft = m_doc->weftSett();
    if (warp <= 0 || weft <= 0) return 1.0;
    return weft / warp;
}

void CGridFrame::setShaftHeight(int h)
{
    h = std::max(2, h);
    if (h == m_shaftHeight) return;
    m_shaftHeight = h;
    relayoutPanes();
}

void CGridFrame::setCellSizes(int endWidth, int shaftHeight, int treadleWidth, int pickHeight)
{
    m_endWidth = std::max(1, endWidth);
    m_shaftHeight = std::max(1, shaftHeight);
    m_treadleWidth = std::max(1, treadleWidth);
    m_pickHeight = std::max(1, pickHeight);
    relayoutPanes();
}

void CGridFrame::setTreadleWidth(int w)
{
    w = std::max(2, w);
    if (w == m_treadleWidth) return;
    m_treadleWidth = w;
    relayoutPanes();
}

void CGridFrame::setShowGridWhenHidden(bool on)
{
    m_showGridWhenHidden = on;
    for (CGridView* p : m_panes)
        if (p->paneKind() == PaneKind::Drawdown) p->relayout();
}

void CGridFrame::setDrawnUp(bool drawnUp)
{
    if (m_threadingOnTop == !drawnUp) return;
    m_threadingOnTop = !drawnUp;
    arrangePanes();
    relayoutPanes();
}

void CGridFrame::arrangePanes()
{
    for (CGridView* p : m_panes) p->orientationChanged();
}

void CGridFrame::setWeavingPick(int pick)
{
    if (pick == m_weavingPick) return;
    m_weavingPick = pick;
    for (CGridView* p : m_panes)
        if (p->paneKind() == PaneKind::Drawdown) p->relayout();
}

void CGridFrame::setHighlight(const ThreadHighlight& h)
{
    if (h == m_highlight) return;
    m_highlight = h;
    for (CGridView* p : m_panes) p->viewport()->update();
}

void CGridFrame::registerPane(CGridView* pane)
{
    m_panes.push_back(pane);
    if (!m_active) m_active = pane;
}

void CGridFrame::unregisterPane(CGridView* pane)
{
    m_panes.erase(std::remove(m_panes.begin(), m_panes.end(), pane), m_panes.end());
    if (m_active == pane) m_active = m_panes.empty() ? nullptr : m_panes.front();
}

void CGridFrame::setActivePane(CGridView* pane)
{
    m_active = pane;
    if (pane) pane->setFocus(Qt::MouseFocusReason);
}

void CGridFrame::relayoutPanes()
{
    for (CGridView* p : m_panes) p->relayout();
}

void CGridFrame::readNotations()
{
    m_threadingNotation = m_doc->notations.threading;
    m_treadlingNotation = m_doc->notations.treadling;
    m_tieupNotation = m_doc->notations.tieup;
    m_interlace = m_doc->notations.drawdown == 4;
    relayoutPanes();
    updateActionStates();
}

void CGridFrame::setDocumentTitle(const QString& title)
{
    m_docTitle = title;
    setWindowTitle(frameTitle());
    emit titleChanged(frameTitle());
}

QString CGridFrame::frameTitle() const
{
    return QStringLiteral("%1 <%2>").arg(m_kindTitle, m_docTitle.left(516));
}

// --- zoom ---

void CGridFrame::zoomIn()
{
    if (m_zoomStep < 10) applyZoomStep(m_zoomStep + 1);
}

void CGridFrame::zoomOut()
{
    // The smallest step still gives 2-pixel cells; one further would change nothing.
    const int lowest = -((m_scale.baseCell - 2) / 2);
    if (m_zoomStep > lowest) applyZoomStep(m_zoomStep - 1);
}

void CGridFrame::applyZoomStep(int step)
{
    m_zoomStep = step;
    const int size = std::max(2, m_scale.baseCell + 2 * step);
    // A shaft height or treadle width squeezed to the pane stays squeezed.
    if (m_shaftHeight >= m_endWidth) m_shaftHeight = size;
    if (m_treadleWidth >= m_pickHeight) m_treadleWidth = size;
    m_endWidth = m_pickHeight = size;
    relayoutPanes();
    afterZoom();
    updateActionStates();
}

// --- notation and display toggles ---

namespace {

int toggled(int current, int value)
{
    return current == value ? 0 : value;
}

void store(CQuillabyDoc* doc, int& field, int value)
{
    if (field == value) return;
    field = value;
    doc->SetModified();
}

} // namespace

void CGridFrame::toggleThreadingNotation(int value)
{
    m_threadingNotation = toggled(m_threadingNotation, value);
    store(m_doc, m_doc->notations.threading, m_threadingNotation);
    relayoutPanes();
    updateActionStates();
}

void CGridFrame::toggleTreadlingNotation(int value)
{
    m_treadlingNotation = toggled(m_treadlingNotation, value);
    store(m_doc, m_doc->notations.treadling, m_treadlingNotation);
    relayoutPanes();
    updateActionStates();
}

void CGridFrame::toggleTieupNotation(int value)
{
    m_tieupNotation = toggled(m_tieupNotation, value);
    store(m_doc, m_doc->notations.tieup, m_tieupNotation);
    relayoutPanes();
    updateActionStates();
}

bool CGridFrame::allowMultipleTreadles()
{
    if (m_treadlingNotation != kUserDefined) return true;
    const auto answer = QMessageBox::question(
        this, QApplication::applicationName(),
        QStringLiteral("When multiple treadles are enabled, user-defined characters\ncan no longer be used for the "
                       "treadling notation.\n\n Okay to turn user-defined notation off and continue?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    m_treadlingNotation = kPlain;
    store(m_doc, m_doc->notations.treadling, kPlain);
    relayoutPanes();
    updateActionStates();
    return true;
}

void CGridFrame::toggleInterlace()
{
    m_interlace = !m_interlace;
    store(m_doc, m_doc->notations.drawdown, m_interlace ? 4 : 0);
    relayoutPanes();
    updateActionStates();
}

void CGridFrame::setColoring(int coloring)
{
    m_coloring = std::clamp(coloring, 0, 2);
    for (CGridView* p : m_panes)
        if (p->paneKind() == PaneKind::Drawdown) p->relayout();
    updateActionStates();
}

void CGridFrame::toggleHidden(PaneKind k)
{
    m_hidden[int(k)] = !m_hidden[int(k)];
    for (CGridView* p : m_panes)
        if (p->paneKind() == k) p->relayout();
    updateActionStates();
}

void CGridFrame::toggleColorBar(bool warp)
{
    bool& flag = m_colorBarHidden[warp ? 0 : 1];
    flag = !flag;
    const PaneKind k = warp ? PaneKind::Threading : PaneKind::Treadling;
    for (CGridView* p : m_panes)
        if (p->paneKind() == k) p->relayout();
    updateActionStates();
}

void CGridFrame::toggleSettAspect()
{
    if (settRatio() == 1.0 && !m_settAspect) return;
    m_settAspect = !m_settAspect;
    relayoutPanes();
    afterZoom();
    updateActionStates();
}

} // namespace qb
