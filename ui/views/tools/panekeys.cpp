#include "ui/views/tools/panekeys.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/views/gridview.h"
#include "ui/views/paneframes.h"
#include "ui/views/tdinggridview.h"

#include "core/draft/limits.h"
#include "core/draft/linetool.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace qb {

void CPaneKeys::startTyping(int thread)
{
    m_typing = true;
    m_current = thread;
    m_host.pane()->viewport()->update();
}

bool CPaneKeys::doubleClick(const PaneHit& h)
{
    CQuillabyDoc& doc = m_host.doc();
    const bool warp = m_host.kind() == PaneKind::Threading;
    // Under user-defined notation a double-click on the cells starts typing symbols.
    if (h.area == PaneHit::Grid) {
        CGridFrame* f = m_host.pane()->frame();
        const int notation = warp ? f->threadingNotation() : f->treadlingNotation();
        if (notation != 5 || h.thread >= (warp ? doc.numEnds() : doc.numPicks())) return false;
        m_host.endDrag();
        startTyping(h.thread);
        return true;
    }
    // A double-click on a label edits it.
    if (h.area != PaneHit::Labels) return false;
    const Tding* seq = warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
    if (!seq || h.row >= seq->LabelRowCount()) return true;
    for (const Label& l : seq->labelRow(h.row))
        if (h.thread >= l.start && h.thread <= l.last()) {
            m_host.editLabel(l.start, l.last());
            return true;
        }
    return true;
}

void CPaneKeys::advanceCurrent()
{
    if (m_current >= 0 && m_current + 1 < kMaxThreads) ++m_current;
}

bool CPaneKeys::typeKey(QKeyEvent* e)
{
    if (!m_host.threadPane()) return false;
    const QString text = e->text();
    if (text.size() != 1 || m_current < 0) return false;
    const char key = text.at(0).toLatin1();
    const bool warp = m_host.kind() == PaneKind::Threading;
    const bool alpha = warp && m_host.pane()->frame()->threadingNotation() == 3;
    const int value = ShaftForKey(key, alpha);
    if (value == 0) return false;
    if (value <= m_host.edits().valueLimit()) {
        m_value = value;
        CQuillabyDoc& doc = m_host.doc();
        const int row = RowForModifiers(e->modifiers(), false);
        doc.Transaction("Typing", [&](Edit s) {
            if (warp) doc.SetThreadingCell(s, m_current, value, row);
            else doc.SetTreadlingCell(s, m_current, value, row);
        });
        advanceCurrent();
    }
    return true;
}

bool CPaneKeys::typeSymbol(QKeyEvent* e)
{
    CQuillabyDoc& doc = m_host.doc();
    const bool warp = m_host.kind() == PaneKind::Threading;
    const int count = warp ? doc.numEnds() : doc.numPicks();
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: m_typing = false; return true;
    case Qt::Key_Backspace:
        if (m_current > 0) {
            --m_current;
            doc.Transaction("Symbol", [&](Edit s) { doc.SetSymbol(s, SideOf(warp), m_current, 0, 0); });
        }
        return true;
    default: break;
    }
    const QString text = e->text();
    if (text.size() != 1) return false;
    const ushort ch = text.at(0).unicode();
    // One byte per symbol, and never a character the file format reserves.
    if (ch < 0x20 || ch > 0x7E || ch == '[' || ch == ']' || ch == ';') {
        QApplication::beep();
        return true;
    }
    if (m_current < 0 || m_current >= count) {
        m_typing = false;
        return true;
    }
    const int symbol = ch == ' ' ? 0 : int(ch);
    doc.Transaction("Symbol", [&](Edit s) { doc.SetSymbol(s, SideOf(warp), m_current, symbol, 0); });
    if (++m_current >= count) m_typing = false;
    return true;
}

void CPaneKeys::paintCurrent(QPainter& p) const
{
    auto* t = dynamic_cast<CTdingGridView*>(m_host.pane());
    if (!t || m_current < 0 || m_current >= t->threadAxis().itemCount() || t->valueCount() == 0) return;
    const QRect r = t->threadCell(m_current, 0).united(t->threadCell(m_current, t->valueCount() - 1));
    // Yellow while symbols are typed, else a dotted frame.
    p.setPen(QPen(m_typing ? QColor(255, 200, 0) : QColor(0, 0, 128), m_typing ? 2 : 1,
                  m_typing ? Qt::SolidLine : Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (m_typing || m_value < 1 || m_value > t->valueCount()) return;
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.drawRect(t->threadCell(m_current, m_value - 1).adjusted(1, 1, -1, -1));
}

bool CPaneKeys::keyPress(QKeyEvent* e)
{
    const bool used = handleKey(e);
    if (used) m_host.pane()->viewport()->update();
    return used;
}

bool CPaneKeys::handleKey(QKeyEvent* e)
{
    if (m_typing) return typeSymbol(e);
    CGridView* pane = m_host.pane();
    CQuillabyDoc& doc = m_host.doc();
    const bool warp = m_host.kind() == PaneKind::Threading;
    switch (e->key()) {
    case Qt::Key_Escape:
        if (m_host.dragging() || pane->hasSelection() || m_host.popupOpen()) {
            m_host.endDrag();
            pane->clearSelection();
        } else {
            // The cloth frames have nothing to draw in: their tool is the zoom.
            const bool cloth = qobject_cast<CFabricFrame*>(pane->frame()) != nullptr;
            CToolState::instance().setTool(cloth ? Tool::Zoom : Tool::Pencil);
        }
        return true;
    case Qt::Key_Space: {
        if (m_current < 0 || !m_host.threadPane()) return false;
        const Tding* t = warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
        if (!t || m_current >= t->GetCount()) return true;
        const bool thick = t->GetThick(m_current) != 0;
        doc.Transaction("Thick Thread", [&](Edit s) { doc.SetThick(s, SideOf(warp), m_current, !thick); });
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The current cell is set, as a pencil click would, and the next thread comes up.
        if (m_current < 0 || !m_host.threadPane() || m_value > m_host.edits().valueLimit()) return false;
        const int row = RowForModifiers(e->modifiers(), false);
        doc.Transaction("Typing", [&](Edit s) {
            if (warp) doc.SetThreadingCell(s, m_current, m_value, row);
            else doc.SetTreadlingCell(s, m_current, m_value, row);
        });
        advanceCurrent();
        showCurrent();
        return true;
    }
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (!pane->hasSelection() || !m_host.threadPane()) return false;
        m_host.runSelectionCommand(SelectionCommand::Delete);
        return true;
    case Qt::Key_Insert:
        if (m_current < 0 || !m_host.threadPane()) return false;
        doc.Transaction("Insert", [&](Edit s) { doc.InsertThreads(s, m_host.threadSide(), m_current, 1); });
        advanceCurrent();
        return true;
    default: break;
    }
    return moveKey(e) || typeKey(e);
}

void CPaneKeys::pressedAt(const PaneHit& hit)
{
    m_current = hit.thread;
    if (hit.area == PaneHit::Grid) m_value = hit.value;
}

int CPaneKeys::threadsPerWindow() const
{
    auto* t = static_cast<const CTdingGridView*>(m_host.pane());
    const QSize v = t->viewport()->size();
    const int pitch = std::max(1, t->threadAxis().pitch());
    return std::max(1, (t->isWarpSide() ? v.width() : v.height()) / pitch);
}

bool CPaneKeys::moveKey(QKeyEvent* e)
{
    if (!m_host.threadPane()) return false;
    CQuillabyDoc& doc = m_host.doc();
    const bool warp = m_host.kind() == PaneKind::Threading;
    const int count = warp ? doc.numEnds() : doc.numPicks();
    const int values = std::max(1, m_host.edits().valueLimit());
    // Ends count from the right and shafts from the drawdown outwards; picks
    // count downwards (upwards when drawn up) and treadles from the left.
    const bool onTop = m_host.pane()->frame()->threadingOnTop();
    const int downPick = onTop ? 1 : -1; // the pick below on the screen
    const int upShaft = onTop ? 1 : -1;  // the shaft above on the screen
    int thread = std::max(m_current, 0), value = std::clamp(m_value, 1, values);
    int scrolled = 0; // threads a page key moves on
    // The arrow's direction on the screen.
    int dx = 0, dy = 0;
    switch (e->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_PageDown: scrolled = warp ? threadsPerWindow() : downPick * threadsPerWindow(); break;
    case Qt::Key_PageUp: scrolled = warp ? -threadsPerWindow() : -downPick * threadsPerWindow(); break;
    case Qt::Key_Home: thread = 0; break;
    case Qt::Key_End: thread = std::max(0, count - 1); break;
    default: return false;
    }
    if (warp) {
        thread -= dx;          // end 1 at the right
        value -= dy * upShaft; // screen up is a higher shaft when the threading is on top
    } else {
        value += dx; // treadle 1 at the left
        thread += dy * downPick;
    }
    m_current = std::clamp(thread + scrolled, 0, kMaxThreads - 1);
    m_value = std::clamp(value, 1, values);
    if (scrolled) {
        // A page key scrolls by the window and the current cell goes along.
        auto* t = static_cast<const CTdingGridView*>(m_host.pane());
        QScrollBar* bar = warp ? m_host.pane()->horizontalScrollBar() : m_host.pane()->verticalScrollBar();
        const bool fromFarEdge = warp || !onTop; // thread 1 at the right or bottom
        const int px = (m_current - std::max(thread, 0)) * t->threadAxis().pitch();
        bar->setValue(bar->value() + (fromFarEdge ? -px : px));
    }
    showCurrent();
    return true;
}

void CPaneKeys::showCurrent()
{
    auto* t = static_cast<CTdingGridView*>(m_host.pane());
    if (m_current < 0 || m_current >= t->threadAxis().itemCount()) return;
    const QRect cell = t->threadCell(m_current, m_value - 1).translated(t->contentOffset());
    const QRect view = t->viewport()->rect();
    QScrollBar* h = t->horizontalScrollBar();
    QScrollBar* v = t->verticalScrollBar();
    if (cell.left() < view.left()) h->setValue(h->value() - (view.left() - cell.left()));
    else if (cell.right() > view.right()) h->setValue(h->value() + (cell.right() - view.right()));
    if (cell.top() < view.top()) v->setValue(v->value() - (view.top() - cell.top()));
    else if (cell.bottom() > view.bottom()) v->setValue(v->value() + (cell.bottom() - view.bottom()));
}

} // namespace qb
