#include "ui/views/tools/panetool.h"

#include "ui/views/tools/brushtool.h"
#include "ui/views/tools/buckettool.h"
#include "ui/views/tools/drawlinetool.h"
#include "ui/views/tools/interlacetool.h"
#include "ui/views/tools/movetool.h"
#include "ui/views/tools/panekeys.h"
#include "ui/views/tools/penciltool.h"
#include "ui/views/tools/pickuptool.h"
#include "ui/views/tools/selectiontool.h"
#include "ui/views/tools/stamppreview.h"
#include "ui/views/tools/stamptool.h"
#include "ui/views/tools/toolcursors.h"
#include "ui/views/tools/zoomtool.h"

#include "ui/views/gridview.h"
#include "ui/views/tdinggridview.h"

#include "core/draft/limits.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace qb {

int RowForModifiers(Qt::KeyboardModifiers mods, bool lineTool)
{
    if (!(mods & Qt::ControlModifier)) return 0;
    if (!(mods & Qt::AltModifier)) return 1;
    if (mods & Qt::ShiftModifier) return lineTool ? 2 : 3;
    return 2;
}

CPaneTool::CPaneTool(CGridView* pane)
    : m_pane(pane)
    , m_edits(std::make_unique<CPaneEdits>(*this))
    , m_selection(std::make_unique<CSelectionCommands>(*this))
    , m_keys(std::make_unique<CPaneKeys>(*this))
{
    auto follow = [this](Tool t) {
        // A drag never outlives its tool.
        endDrag();
        m_keys->stopTyping();
        hideFloatingCopy();
        // The stamp's copy follows the pointer without a button held.
        m_pane->viewport()->setMouseTracking(t == Tool::Stamp);
        UpdateToolCursor(m_pane);
    };
    QObject::connect(&CToolState::instance(), &CToolState::toolChanged, pane, follow);
    UpdateToolCursor(m_pane);
}

CPaneTool::~CPaneTool() = default;

CQuillabyDoc& CPaneTool::doc() const
{
    return *m_pane->document();
}

PaneKind CPaneTool::kind() const
{
    return m_pane->paneKind();
}

CPaneToolBase& CPaneTool::toolObject(Tool t)
{
    // The two interlacement tools share one object: at most one popup per pane.
    const Tool key = t == Tool::WeftInterlace ? Tool::WarpInterlace : t;
    auto& slot = m_tools[key];
    if (!slot) {
        switch (key) {
        case Tool::Pencil: slot = std::make_unique<CPencilTool>(*this); break;
        case Tool::Line: slot = std::make_unique<CDrawLineTool>(*this); break;
        case Tool::PickupColor: slot = std::make_unique<CPickupTool>(*this); break;
        case Tool::PaintBucket: slot = std::make_unique<CBucketTool>(*this); break;
        case Tool::PaintBrush: slot = std::make_unique<CBrushTool>(*this); break;
        case Tool::Selection: slot = std::make_unique<CSelectionTool>(*this); break;
        case Tool::Stamp: slot = std::make_unique<CStampTool>(*this); break;
        case Tool::Move: slot = std::make_unique<CMoveTool>(*this); break;
        case Tool::Zoom: slot = std::make_unique<CZoomTool>(*this); break;
        default: slot = std::make_unique<CInterlaceTool>(*this); break;
        }
    }
    return *slot;
}

CStampTool& CPaneTool::stamp()
{
    return static_cast<CStampTool&>(toolObject(Tool::Stamp));
}

bool CPaneTool::popupOpen() const
{
    auto it = m_tools.find(Tool::WarpInterlace);
    return it != m_tools.end() && static_cast<const CInterlaceTool&>(*it->second).popupOpen();
}

void CPaneTool::tell(const QString& text) const
{
    CToolState::instance().tell(text);
}

void CPaneTool::showStatus(const QString& text) const
{
    CToolState::instance().showStatus(text);
}

CPaneTool::Hit CPaneTool::hitAt(QPoint pos) const
{
    Hit h;
    const QPoint c = pos - m_pane->contentOffset();
    const int col = m_pane->columns().itemAt(c.x());
    const int row = m_pane->rows().itemAt(c.y());
    if (col < 0 || row < 0) return h;
    switch (kind()) {
    case PaneKind::Threading:
    case PaneKind::Treadling: {
        auto* t = static_cast<CTdingGridView*>(m_pane);
        const bool warp = t->isWarpSide();
        h.thread = warp ? col : row;
        const int item = warp ? row : col;
        if (item < t->valueCount()) {
            h.area = Hit::Grid;
            h.value = item + 1;
        } else if (item > t->valueCount() && item <= t->valueCount() + t->rowsInUse()) {
            h.area = Hit::ColorBar;
            h.row = item - t->valueCount() - 1;
        } else if (item >= t->labelItem(0)) {
            h.area = Hit::Labels;
            h.row = item - t->labelItem(0);
        }
        break;
    }
    case PaneKind::Tieup:
        if (col < doc().numTreadles() && row < doc().numShafts()) {
            h.area = Hit::Grid;
            h.thread = col;
            h.value = row + 1;
        }
        break;
    case PaneKind::Drawdown:
        h.area = Hit::Grid;
        h.thread = col;
        h.value = row;
        break;
    }
    return h;
}

QPoint CPaneTool::itemAt(QPoint pos) const
{
    const QPoint c = pos - m_pane->contentOffset();
    auto clampedItem = [](const GridAxis& a, int px) {
        const int i = a.itemAt(std::clamp(px, 0, std::max(0, a.contentSize() - 2)));
        return std::max(i, 0);
    };
    return {clampedItem(m_pane->columns(), c.x()), clampedItem(m_pane->rows(), c.y())};
}

int CPaneTool::colorAt(QPoint pos) const
{
    const Hit h = hitAt(pos);
    if (h.area != Hit::ColorBar) return -1;
    const bool warp = kind() == PaneKind::Threading;
    const Tding* seq = warp ? static_cast<const Tding*>(doc().threading(h.row)) : doc().treadling(h.row);
    if (!seq || h.thread >= (warp ? doc().numEnds() : doc().numPicks())) return -1;
    return seq->GetColor(h.thread);
}

void CPaneTool::showFloatingCopy(int first, const ThreadCopy& copy)
{
    if (!m_floating) m_floating = new CStampPreview(m_pane->viewport());
    if (!m_floating->showThreads(static_cast<const CTdingGridView&>(*m_pane), first, copy)) hideFloatingCopy();
}

void CPaneTool::showFloatingCells(const QRect& frame, std::vector<QRect> cells)
{
    if (!m_floating) m_floating = new CStampPreview(m_pane->viewport());
    m_floating->showAt(frame, std::move(cells));
}

void CPaneTool::hideFloatingCopy()
{
    if (m_floating) m_floating->hide();
}

Edit CPaneTool::dragEdit()
{
    if (!m_drag) m_drag = std::make_unique<DraftTransaction>(doc(), ToolName(m_activeTool));
    return m_drag->edit();
}

bool CPaneTool::mousePress(QMouseEvent* e)
{
    if (m_button) return true;
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (!button) return false;
    if (kind() == PaneKind::Tieup && doc().isLiftplan()) return true;
    const Tool tool = CToolState::instance().tool();
    const ToolPress p{tool, hitAt(e->position().toPoint()), e->position().toPoint(), button, e->modifiers()};
    m_mods = p.mods;
    if (p.hit.thread >= 0 && threadPane()) m_keys->pressedAt(p.hit);
    UpdateToolCursor(m_pane, p.mods, button);
    CPaneToolBase& t = toolObject(tool);
    m_activeTool = tool;
    bool drag = false;
    const bool used = t.press(p, drag);
    if (!drag) {
        // Only a drag keeps its step open.
        m_drag.reset();
        return used;
    }
    m_active = &t;
    m_button = button;
    m_last = p.hit;
    m_pointer = p.pos;
    return true;
}

bool CPaneTool::mouseMove(QMouseEvent* e)
{
    if (!m_button) {
        if (CToolState::instance().tool() != Tool::Stamp) return false;
        return stamp().hover(e->position().toPoint());
    }
    m_pointer = e->position().toPoint();
    const DragFollow follow = m_active->follow();
    if (follow == DragFollow::PointerNoScroll) {
        m_active->pointerAt(m_pointer);
        return true;
    }
    m_mods = e->modifiers();
    const Hit h = hitAt(m_pointer);
    if (!m_pane->viewport()->rect().contains(m_pointer)) {
        if (!m_scrollTimer) {
            m_scrollTimer = new QTimer(m_pane);
            m_scrollTimer->setInterval(50);
            QObject::connect(m_scrollTimer, &QTimer::timeout, m_pane, [this] { autoScroll(); });
        }
        if (!m_scrollTimer->isActive()) m_scrollTimer->start();
    } else if (m_scrollTimer) {
        m_scrollTimer->stop();
    }
    if (follow == DragFollow::Pointer) {
        m_active->pointerAt(m_pointer);
        return true;
    }
    if (h.thread == m_last.thread && h.value == m_last.value && h.area == m_last.area) return true;
    m_last = h;
    m_active->cellAt(h, m_pointer, m_mods);
    return true;
}

void CPaneTool::autoScroll()
{
    if (!m_button) {
        m_scrollTimer->stop();
        return;
    }
    const QRect v = m_pane->viewport()->rect();
    QScrollBar* hs = m_pane->horizontalScrollBar();
    QScrollBar* vs = m_pane->verticalScrollBar();
    const int stepX = m_pane->cellWidth(), stepY = m_pane->cellHeight();
    if (m_pointer.x() < v.left()) hs->setValue(hs->value() - stepX);
    else if (m_pointer.x() > v.right()) hs->setValue(hs->value() + stepX);
    if (m_pointer.y() < v.top()) vs->setValue(vs->value() - stepY);
    else if (m_pointer.y() > v.bottom()) vs->setValue(vs->value() + stepY);
    // The cell under the pointer changed although the pointer did not move.
    const QPoint clamped(std::clamp(m_pointer.x(), v.left(), v.right()),
                         std::clamp(m_pointer.y(), v.top(), v.bottom()));
    const Hit h = hitAt(clamped);
    if (h.thread == m_last.thread && h.value == m_last.value) return;
    m_last = h;
    if (h.area != Hit::Outside) m_active->cellAt(h, clamped, m_mods);
}

bool CPaneTool::mouseRelease(QMouseEvent* e)
{
    if (!m_button) return false;
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (button != m_button) return true;
    // The current thread's frame shows again.
    if (threadPane()) m_pane->viewport()->update();
    m_active->released(e->position().toPoint());
    endDrag();
    UpdateToolCursor(m_pane, e->modifiers());
    return true;
}

void CPaneTool::endDrag()
{
    if (m_active) m_active->stop();
    if (m_scrollTimer) m_scrollTimer->stop();
    if (!m_button) return;
    m_button = 0;
    m_drag.reset();
    m_active->dragEnded();
}

bool CPaneTool::mouseDoubleClick(QMouseEvent* e)
{
    if (!threadPane()) return false;
    return m_keys->doubleClick(hitAt(e->position().toPoint()));
}

bool CPaneTool::keyPress(QKeyEvent* e)
{
    modifiersChanged(e);
    return m_keys->keyPress(e);
}

void CPaneTool::modifiersChanged(QKeyEvent* e)
{
    // Shift, Ctrl and Alt choose the erasing and row variants of the cursor.
    const int k = e->key();
    if (k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt)
        UpdateToolCursor(m_pane, QGuiApplication::queryKeyboardModifiers(), m_button);
}

bool CPaneTool::typingSymbols() const
{
    return m_keys->typing();
}

int CPaneTool::currentThread() const
{
    return m_keys->current();
}

void CPaneTool::setCurrentThread(int t)
{
    m_keys->setCurrent(t);
}

void CPaneTool::paintCurrent(QPainter& p) const
{
    if (!m_button) m_keys->paintCurrent(p);
}

std::vector<SelectionCommand> CPaneTool::selectionCommands() const
{
    return m_selection->offered();
}

bool CPaneTool::runSelectionCommand(SelectionCommand c)
{
    return m_selection->run(c);
}

void CPaneTool::editLabel(int first, int last)
{
    m_selection->editLabel(first, last);
}

void CPaneTool::deleteTreadles(int first, int last)
{
    m_selection->deleteTreadles(first, last);
}

} // namespace qb
