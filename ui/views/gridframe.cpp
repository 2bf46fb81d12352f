#include "ui/views/gridframe.h"

#include "ui/views/gridview.h"

#include "core/draft/notation.h"
#include "core/draft/quillabydoc.h"

#include <QAction>

#include <algorithm>
#include <string>

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

// --- notations: the draft's, one undo step each ---

int CGridFrame::threadingNotation() const
{
    return m_doc->notations().threading;
}

int CGridFrame::treadlingNotation() const
{
    return m_doc->notations().treadling;
}

int CGridFrame::tieupNotation() const
{
    return m_doc->notations().tieup;
}

bool CGridFrame::drawdownInterlace() const
{
    return m_doc->notations().drawdown == kInterlaced && !m_interlaceSuppressed;
}

void CGridFrame::setInterlaceSuppressed(bool on)
{
    if (on == m_interlaceSuppressed) return;
    m_interlaceSuppressed = on;
    for (CGridView* p : m_panes)
        if (p->paneKind() == PaneKind::Drawdown) p->relayout();
}

namespace {

// The step's name: the menu's choice and the pane it is on.
std::string notationStep(int value, const char* pane)
{
    const char* choice = value == kNumeric ? "Numeric"
        : value == kSymbolic               ? "Symbolic"
        : value == kAlpha                  ? "Alpha"
        : value == kUserDefined            ? "User-defined"
                                           : "Plain";
    return std::string(choice) + " " + pane;
}

} // namespace

// The panes and the checks follow through the document's notification.
void CGridFrame::toggleThreadingNotation(int value)
{
    m_doc->Transaction(notationStep(value, "Threading"),
                       [&](Edit e) { ToggleThreadingNotation(e, *m_doc, Notation(value)); });
}

void CGridFrame::toggleTreadlingNotation(int value)
{
    m_doc->Transaction(notationStep(value, "Treadling"),
                       [&](Edit e) { ToggleTreadlingNotation(e, *m_doc, Notation(value)); });
}

void CGridFrame::toggleTieupNotation(int value)
{
    m_doc->Transaction(notationStep(value, "Tieup"), [&](Edit e) { ToggleTieupNotation(e, *m_doc, Notation(value)); });
}

void CGridFrame::toggleInterlace()
{
    m_doc->Transaction("Interlace", [&](Edit e) { ToggleInterlace(e, *m_doc); });
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
