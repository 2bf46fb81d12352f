#include "panekeys.h"

#include "panetool.h"
#include "toolstate.h"

#include "views/gridview.h"
#include "views/paneframes.h"
#include "views/tdinggridview.h"

#include "draft/limits.h"
#include "draft/linetool.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

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
    p.setPen(QPen(m_typing ? QColor(255, 200, 0) : QColor(0, 0, 128), m_typing ? 2 : 1, m_typing ? Qt::SolidLine : Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
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
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (!m_host.threadPane()) return false;
        const int count = warp ? doc.numEnds() : doc.numPicks();
        int next = std::max(m_current, 0);
        // Ends count from the right, picks from the top (bottom when drawn up).
        const bool down = !pane->frame()->threadingOnTop();
        switch (e->key()) {
        case Qt::Key_Left: next += warp ? 1 : 0; break;
        case Qt::Key_Right: next -= warp ? 1 : 0; break;
        case Qt::Key_Up: next += warp ? 0 : (down ? 1 : -1); break;
        case Qt::Key_Down: next += warp ? 0 : (down ? -1 : 1); break;
        case Qt::Key_Home: next = 0; break;
        default: next = std::max(0, count - 1); break;
        }
        m_current = std::clamp(next, 0, kMaxThreads - 1);
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
    return typeKey(e);
}

} // namespace qb
