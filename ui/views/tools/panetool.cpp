#include "panetool.h"

#include "stamppreview.h"
#include "toolstate.h"

#include "views/draftview.h"
#include "views/gridview.h"
#include "views/interlacepopup.h"
#include "views/paneframes.h"
#include "views/tdinggridview.h"
#include "views/tieupview.h"

#include "draft/limits.h"
#include "draft/palettetools.h"
#include "transform/fabricanalysis.h"
#include "transform/wrap.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace qb {

int RowForModifiers(Qt::KeyboardModifiers mods, bool lineTool)
{
    if (!(mods & Qt::ControlModifier)) return 0;
    if (!(mods & Qt::AltModifier)) return 1;
    if (mods & Qt::ShiftModifier) return lineTool ? 2 : 3;
    return 2;
}

namespace {

Qt::CursorShape cursorFor(Tool t)
{
    switch (t) {
    case Tool::Pencil:
    case Tool::Line:
    case Tool::PaintBrush:
    case Tool::Selection: return Qt::CrossCursor;
    case Tool::PickupColor:
    case Tool::PaintBucket: return Qt::PointingHandCursor;
    case Tool::Stamp: return Qt::DragCopyCursor;
    case Tool::Move:
    case Tool::WarpInterlace:
    case Tool::WeftInterlace: return Qt::OpenHandCursor;
    case Tool::Zoom: return Qt::SizeAllCursor;
    }
    return Qt::ArrowCursor;
}

} // namespace

CPaneTool::CPaneTool(CGridView* pane) : m_pane(pane)
{
    auto follow = [this](Tool t) {
        // A drag never outlives its tool.
        endDrag();
        m_typing = false;
        hideStampPreview();
        // The stamp's copy follows the pointer without a button held.
        m_pane->viewport()->setMouseTracking(t == Tool::Stamp);
        m_pane->viewport()->setCursor(cursorFor(t));
    };
    QObject::connect(&CToolState::instance(), &CToolState::toolChanged, pane, follow);
    m_pane->viewport()->setCursor(cursorFor(CToolState::instance().tool()));
}

CPaneTool::~CPaneTool()
{
    if (m_interlace) m_interlace->deleteLater();
}

CQuillabyDoc& CPaneTool::doc() const
{
    return *m_pane->document();
}

CPaneTool::PaneSide CPaneTool::side() const
{
    switch (m_pane->paneKind()) {
    case PaneKind::Threading: return PaneSide::Threading;
    case PaneKind::Treadling: return PaneSide::Treadling;
    case PaneKind::Tieup: return PaneSide::Tieup;
    case PaneKind::Drawdown: break;
    }
    return PaneSide::Drawdown;
}

CPaneTool::Hit CPaneTool::hitAt(QPoint pos) const
{
    Hit h;
    const QPoint c = pos - m_pane->contentOffset();
    const int col = m_pane->columns().itemAt(c.x());
    const int row = m_pane->rows().itemAt(c.y());
    if (col < 0 || row < 0) return h;
    switch (side()) {
    case PaneSide::Threading:
    case PaneSide::Treadling: {
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
    case PaneSide::Tieup:
        if (col < doc().numTreadles() && row < doc().numShafts()) {
            h.area = Hit::Grid;
            h.thread = col;
            h.value = row + 1;
        }
        break;
    case PaneSide::Drawdown:
        h.area = Hit::Grid;
        h.thread = col;
        h.value = row;
        break;
    }
    return h;
}

int CPaneTool::colorAt(QPoint pos) const
{
    const Hit h = hitAt(pos);
    if (h.area != Hit::ColorBar) return -1;
    const bool warp = side() == PaneSide::Threading;
    const Tding* seq = warp ? static_cast<const Tding*>(doc().threading(h.row)) : doc().treadling(h.row);
    if (!seq || h.thread >= (warp ? doc().numEnds() : doc().numPicks())) return -1;
    return seq->GetColor(h.thread);
}

int CPaneTool::valueLimit() const
{
    switch (side()) {
    case PaneSide::Threading: return doc().numShafts();
    case PaneSide::Treadling: return doc().isLiftplan() ? doc().numShafts() : doc().numTreadles();
    case PaneSide::Tieup: return doc().numShafts();
    case PaneSide::Drawdown: break;
    }
    return 0;
}

int CPaneTool::threadLimit() const
{
    return side() == PaneSide::Tieup ? doc().numTreadles() : kMaxThreads;
}

bool CPaneTool::applyCell(int thread, int value, int row, bool set)
{
    if (thread < 0 || thread >= threadLimit() || value < 1 || value > valueLimit()) return false;
    const Edit s = dragEdit();
    CQuillabyDoc& d = doc();
    switch (side()) {
    case PaneSide::Threading:
        if (set) d.SetThreadingCell(s, thread, value, row);
        else if (thread < d.numEnds() && d.threading(row) && d.threading(row)->GetShaft(thread) == value)
            d.ClearThreadingCell(s, thread, row);
        return true;
    case PaneSide::Treadling:
        if (set) d.SetTreadlingCell(s, thread, value, row);
        else d.ClearTreadlingCell(s, thread, value, row);
        return true;
    case PaneSide::Tieup:
        if (set) d.SetTieupCell(s, thread, value);
        else d.ClearTieupCell(s, thread, value);
        return true;
    case PaneSide::Drawdown: break;
    }
    return false;
}

int CPaneTool::colorOf(bool rightButton) const
{
    const ColorPalette& p = doc().palette();
    return rightButton ? p.rightColor() : p.leftColor();
}

bool CPaneTool::paintThread(int thread, int row, int color)
{
    const Edit s = dragEdit();
    if (side() == PaneSide::Threading) {
        if (thread >= doc().numEnds()) return false;
        return doc().SetThreadColors(s, Side::Threading, thread, thread, color, row);
    }
    if (side() == PaneSide::Treadling) {
        if (thread >= doc().numPicks()) return false;
        return doc().SetThreadColors(s, Side::Treadling, thread, thread, color, row);
    }
    return false;
}

void CPaneTool::pencilAt(const Hit& h, bool set)
{
    if (h.area == Hit::Grid) {
        applyCell(h.thread, h.value, m_rowChosen, set);
    } else if (h.area == Hit::ColorBar) {
        const bool warp = side() == PaneSide::Threading;
        CGridFrame* f = m_pane->frame();
        if (f->isColorBarHidden(warp) || f->drawdownColoring() != 0 || doc().correlationOn()) return;
        paintThread(h.thread, h.row, colorOf(m_button == 2));
    }
}

void CPaneTool::runStep(const Hit& h, Qt::KeyboardModifiers mods)
{
    const bool shift = mods & Qt::ShiftModifier;
    const bool rowShift = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    const bool erase = (m_button == 2) != (shift && !rowShift);
    switch (Tool(m_tool)) {
    case Tool::Pencil:
        if (side() == PaneSide::Drawdown) return; // the drawdown takes clicks only
        pencilAt(h, !erase);
        break;
    case Tool::PaintBrush:
        if (h.area == Hit::Grid || h.area == Hit::ColorBar) paintThread(h.thread, m_rowChosen, colorOf(m_button == 2));
        break;
    case Tool::Line:
        if (h.thread >= 0) lineTo(h.thread);
        break;
    case Tool::WarpInterlace:
    case Tool::WeftInterlace:
        if (m_interlace && h.thread >= 0) {
            const int t = Tool(m_tool) == Tool::WarpInterlace ? h.thread : h.value;
            auto* dv = static_cast<CDraftView*>(m_pane);
            const int n = Tool(m_tool) == Tool::WarpInterlace ? dv->endLayout().count() : dv->pickLayout().count();
            if (t < n) m_interlace->setThread(t);
        }
        break;
    default: break;
    }
}

void CPaneTool::lineTo(int thread)
{
    if (!m_line || m_lineStopped) return;
    thread = std::clamp(thread, 0, threadLimit() - 1);
    while (m_anchor != thread) {
        const int delta = thread > m_anchor ? 1 : -1;
        const int shaft = m_line->step(delta);
        if (!applyCell(m_anchor + delta, shaft, m_rowChosen, !m_erase)) {
            m_lineStopped = true;
            return;
        }
        m_anchor += delta;
        m_current = m_anchor;
    }
}

bool CPaneTool::mousePress(QMouseEvent* e)
{
    if (m_button) return true;
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (!button) return false;
    if (side() == PaneSide::Tieup && doc().isLiftplan()) return true;
    const CToolState& ts = CToolState::instance();
    const Tool tool = ts.tool();
    const Hit h = hitAt(e->position().toPoint());
    m_mods = e->modifiers();
    const bool shift = m_mods & Qt::ShiftModifier;
    if (h.thread >= 0 && side() != PaneSide::Tieup && side() != PaneSide::Drawdown) m_current = h.thread;
    switch (tool) {
    case Tool::Selection: {
        const QPoint it = itemAt(e->position().toPoint());
        const bool inside = m_pane->hasSelection() && it.x() >= m_pane->selection(0) && it.x() <= m_pane->selection(1)
                            && it.y() >= m_pane->selection(2) && it.y() <= m_pane->selection(3);
        if (button == 2 && inside && !selectionCommands().empty()) showSelectionMenu(e->position().toPoint());
        else if (side() != PaneSide::Tieup || !doc().isLiftplan()) selectPress(e->position().toPoint(), button);
        return true;
    }
    case Tool::Move: {
        if (side() == PaneSide::Drawdown || h.thread < 0) return true;
        const int count = side() == PaneSide::Threading ? doc().numEnds()
                          : side() == PaneSide::Tieup   ? doc().numTreadles()
                                                    : doc().numPicks();
        if (h.thread >= count) return true;
        m_moveFrom = h.thread;
        m_button = button;
        m_tool = int(tool);
        m_pane->viewport()->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case Tool::Stamp:
        if (m_stamp && h.thread >= 0 && (side() == PaneSide::Threading || side() == PaneSide::Treadling)) {
            stampAt(stampFirst(h.thread));
            CToolState::instance().setTool(Tool::Pencil);
        }
        return true;
    case Tool::Zoom: {
        const bool out = (button == 1) != shift;
        const QPoint pos = e->position().toPoint();
        const QPoint item = itemAt(pos);
        if (out) m_pane->frame()->zoomOut();
        else m_pane->frame()->zoomIn();
        // The clicked cell stays under the pointer.
        const QPoint moved = m_pane->itemRect(item.x(), item.y()).center() - pos;
        m_pane->horizontalScrollBar()->setValue(m_pane->horizontalScrollBar()->value() + moved.x());
        m_pane->verticalScrollBar()->setValue(m_pane->verticalScrollBar()->value() + moved.y());
        return true;
    }
    case Tool::PickupColor: {
        const int color = colorAt(e->position().toPoint());
        if (color < 0 || color >= doc().palette().count()) return true;
        doc().SetButtonColor(button == 2, color);
        CToolState::instance().buttonChanged();
        CToolState::instance().reselectPrevious();
        return true;
    }
    case Tool::PaintBucket: {
        if (h.area != Hit::ColorBar) return true;
        CToolState::instance().selectRight(button == 2);
        // The fill's first color is the other button's; a pattern puts the
        // clicking button's color on the odd threads.
        const int second = colorOf(button == 2), first = colorOf(button != 2);
        const int pattern = CToolState::instance().fillPattern();
        const int row = RowForModifiers(m_mods, false);
        const int n = side() == PaneSide::Threading ? doc().numEnds() : doc().numPicks();
        if (n == 0) return true;
        doc().Transaction("Paint Bucket", [&](Edit s) { FillThreadColors(s, doc(), threadSide(), row, pattern, first, second); });
        return true;
    }
    case Tool::WarpInterlace:
    case Tool::WeftInterlace: {
        if (side() != PaneSide::Drawdown) return false;
        auto* dv = static_cast<CDraftView*>(m_pane);
        const bool warp = tool == Tool::WarpInterlace;
        const int t = warp ? h.thread : h.value;
        if (t < 0 || t >= (warp ? dv->endLayout().count() : dv->pickLayout().count())) return true;
        if (m_interlace) m_interlace->deleteLater();
        if (warp) m_interlace = new CWarpInterlacePopup(dv, t);
        else m_interlace = new CWeftInterlacePopup(dv, t);
        m_interlace->reposition();
        m_interlace->show();
        break;
    }
    case Tool::Pencil:
        if (side() == PaneSide::Drawdown) {
            // One crossing per click; threading, tieup and treadling follow.
            auto* dv = static_cast<CDraftView*>(m_pane);
            if (h.thread < 0 || h.thread >= dv->endLayout().count() || h.value >= dv->pickLayout().count())
                return true;
            const bool lifted = (button == 1) != shift;
            CellOutcome outcome = CellOutcome::NotAvailable;
            doc().Transaction("Pencil", [&](Edit e) { outcome = FabricAnalysisCell(e, doc(), h.thread, h.value, lifted); });
            if (outcome == CellOutcome::NotAvailable
                && !m_analysisTold) {
                m_analysisTold = true;
                FixedPrompter why;
                CanAnalyzeFabric(doc(), why);
                if (!why.lastMessage.empty()) CToolState::instance().tell(QString::fromStdString(why.lastMessage));
            }
            return true;
        }
        if (h.area != Hit::Grid && h.area != Hit::ColorBar) return true;
        m_rowChosen = h.area == Hit::ColorBar ? h.row : RowForModifiers(m_mods, false);
        break;
    case Tool::PaintBrush:
        if (side() != PaneSide::Threading && side() != PaneSide::Treadling) return true;
        if (h.area == Hit::Outside) return true;
        m_rowChosen = RowForModifiers(m_mods, false);
        break;
    case Tool::Line: {
        if (h.area != Hit::Grid || side() == PaneSide::Drawdown) return true;
        m_rowChosen = RowForModifiers(m_mods, true);
        m_erase = shift;
        LineParams p;
        p.kind = ts.lineKind();
        p.shafts = valueLimit();
        p.length = ts.lineLength();
        p.offset = ts.lineOffset();
        p.rightButton = button == 2;
        if (p.shafts <= 0) return true;
        m_line.emplace(p, h.value);
        m_anchor = h.thread;
        m_lineStopped = false;
        m_button = button;
        m_tool = int(tool);
        applyCell(h.thread, h.value, m_rowChosen, !m_erase);
        m_last = h;
        m_pointer = e->position().toPoint();
        return true;
    }
    default: return false;
    }
    m_button = button;
    m_tool = int(tool);
    m_last = h;
    m_pointer = e->position().toPoint();
    runStep(h, m_mods);
    return true;
}

bool CPaneTool::mouseMove(QMouseEvent* e)
{
    if (!m_button) {
        if (CToolState::instance().tool() != Tool::Stamp || !m_stamp) return false;
        showStampPreview(e->position().toPoint());
        return true;
    }
    m_pointer = e->position().toPoint();
    if (Tool(m_tool) == Tool::Selection) {
        selectTo(m_pointer);
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
    if (Tool(m_tool) == Tool::Move) {
        // The picked-up thread or treadle rides with the pointer.
        showMovedItem(moveTarget(m_pointer));
        return true;
    }
    if (h.thread == m_last.thread && h.value == m_last.value && h.area == m_last.area) return true;
    if (Tool(m_tool) == Tool::Line && h.thread < 0) {
        // Off the grid the line still follows the pointer along the threads.
        const QPoint c = m_pointer - m_pane->contentOffset();
        auto* t = dynamic_cast<CTdingGridView*>(m_pane);
        const bool alongX = !t || t->isWarpSide();
        const GridAxis& axis = alongX ? m_pane->columns() : m_pane->rows();
        const int px = std::clamp(alongX ? c.x() : c.y(), 0, std::max(0, axis.contentSize() - 2));
        const int th = axis.itemAt(px);
        if (th >= 0) lineTo(th);
        m_last = h;
        return true;
    }
    m_last = h;
    if (h.area != Hit::Outside) runStep(h, m_mods);
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
    const QPoint clamped(std::clamp(m_pointer.x(), v.left(), v.right()), std::clamp(m_pointer.y(), v.top(), v.bottom()));
    const Hit h = hitAt(clamped);
    if (h.thread == m_last.thread && h.value == m_last.value) return;
    m_last = h;
    if (h.area != Hit::Outside) runStep(h, m_mods);
}

bool CPaneTool::mouseRelease(QMouseEvent* e)
{
    if (!m_button) return false;
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (button != m_button) return true;
    // The current thread's frame shows again.
    if (side() == PaneSide::Threading || side() == PaneSide::Treadling) m_pane->viewport()->update();
    if (Tool(m_tool) == Tool::Move && m_moveFrom >= 0) {
        m_pane->viewport()->setCursor(cursorFor(Tool::Move));
        const int to = moveTarget(e->position().toPoint());
        // A treadle takes its tie-up column and its picks to the drop column.
        if (to >= 0 && to != m_moveFrom) {
            if (side() == PaneSide::Tieup)
                doc().Transaction("Move", [&](Edit e) { MoveTreadle(e, doc(), m_moveFrom, to); });
            else moveThread(m_moveFrom, to);
        }
        m_moveFrom = -1;
    }
    endDrag();
    return true;
}

int CPaneTool::moveTarget(QPoint pos) const
{
    const QPoint c = pos - m_pane->contentOffset();
    const bool tieup = side() == PaneSide::Tieup;
    const auto* t = tieup ? nullptr : static_cast<const CTdingGridView*>(m_pane);
    const bool alongX = tieup || t->isWarpSide();
    const GridAxis& axis = tieup ? m_pane->columns() : t->threadAxis();
    const int px = std::clamp(alongX ? c.x() : c.y(), 0, std::max(0, axis.contentSize() - 2));
    const int count = side() == PaneSide::Threading ? doc().numEnds() : tieup ? doc().numTreadles() : doc().numPicks();
    return std::min(axis.itemAt(px), count - 1);
}

Edit CPaneTool::dragEdit()
{
    if (!m_drag) m_drag = std::make_unique<DraftTransaction>(doc(), ToolName(Tool(m_tool)));
    return m_drag->edit();
}

void CPaneTool::endDrag()
{
    if (Tool(m_tool) == Tool::Move) hideStampPreview();
    if (m_scrollTimer) m_scrollTimer->stop();
    if (m_interlace) {
        m_interlace->deleteLater();
        m_interlace = nullptr;
    }
    if (!m_button) return;
    m_button = 0;
    m_line.reset();
    m_drag.reset();
    if (Tool(m_tool) == Tool::Selection) selectDone();
}

bool CPaneTool::mouseDoubleClick(QMouseEvent* e)
{
    const Hit h = hitAt(e->position().toPoint());
    // Under user-defined notation a double-click on the cells starts typing symbols.
    if (h.area == Hit::Grid && (side() == PaneSide::Threading || side() == PaneSide::Treadling)) {
        CGridFrame* f = m_pane->frame();
        const int notation = side() == PaneSide::Threading ? f->threadingNotation() : f->treadlingNotation();
        const int count = side() == PaneSide::Threading ? doc().numEnds() : doc().numPicks();
        if (notation != 5 || h.thread >= count) return false;
        endDrag();
        m_typing = true;
        m_current = h.thread;
        m_pane->viewport()->update();
        return true;
    }
    // A double-click on a label edits it.
    if (h.area != Hit::Labels || (side() != PaneSide::Threading && side() != PaneSide::Treadling)) return false;
    const bool warp = side() == PaneSide::Threading;
    const Tding* seq = warp ? static_cast<const Tding*>(doc().threading(0)) : doc().treadling(0);
    if (!seq || h.row >= seq->LabelRowCount()) return true;
    for (const Label& l : seq->labelRow(h.row))
        if (h.thread >= l.start && h.thread <= l.last()) {
            editLabel(l.start, l.last());
            return true;
        }
    return true;
}

} // namespace qb
