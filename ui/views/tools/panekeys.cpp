#include "panetool.h"

#include "toolstate.h"

#include "views/gridview.h"
#include "views/interlacepopup.h"
#include "views/paneframes.h"
#include "views/tdinggridview.h"

#include "draft/limits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace qb {

void CPaneTool::advanceCurrent()
{
    if (m_current >= 0 && m_current + 1 < kMaxThreads) ++m_current;
}

bool CPaneTool::typeKey(QKeyEvent* e)
{
    if (side() != PaneSide::Threading && side() != PaneSide::Treadling) return false;
    const QString text = e->text();
    if (text.size() != 1 || m_current < 0) return false;
    const char key = text.at(0).toLatin1();
    const bool alpha = side() == PaneSide::Threading && m_pane->frame()->threadingNotation() == 3;
    const int value = ShaftForKey(key, alpha);
    if (value == 0) return false;
    if (value <= valueLimit()) {
        const int row = RowForModifiers(e->modifiers(), false);
        doc().Transaction("Typing", [&](Edit s) {
            if (side() == PaneSide::Threading) doc().SetThreadingCell(s, m_current, value, row);
            else doc().SetTreadlingCell(s, m_current, value, row);
        });
        advanceCurrent();
    }
    return true;
}

bool CPaneTool::typeSymbol(QKeyEvent* e)
{
    const bool warp = side() == PaneSide::Threading;
    const int count = warp ? doc().numEnds() : doc().numPicks();
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: m_typing = false; return true;
    case Qt::Key_Backspace:
        if (m_current > 0) {
            --m_current;
            doc().Transaction("Symbol", [&](Edit s) { doc().SetSymbol(s, SideOf(warp), m_current, 0, 0); });
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
    doc().Transaction("Symbol", [&](Edit s) { doc().SetSymbol(s, SideOf(warp), m_current, symbol, 0); });
    if (++m_current >= count) m_typing = false;
    return true;
}

void CPaneTool::paintCurrent(QPainter& p) const
{
    auto* t = dynamic_cast<CTdingGridView*>(m_pane);
    if (!t || m_button || m_current < 0 || m_current >= t->threadAxis().itemCount() || t->valueCount() == 0) return;
    const QRect r = t->threadCell(m_current, 0).united(t->threadCell(m_current, t->valueCount() - 1));
    // Yellow while symbols are typed, else a dotted frame.
    p.setPen(QPen(m_typing ? QColor(255, 200, 0) : QColor(0, 0, 128), m_typing ? 2 : 1, m_typing ? Qt::SolidLine : Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

bool CPaneTool::keyPress(QKeyEvent* e)
{
    const bool used = handleKey(e);
    if (used) m_pane->viewport()->update();
    return used;
}

bool CPaneTool::handleKey(QKeyEvent* e)
{
    if (m_typing) return typeSymbol(e);
    switch (e->key()) {
    case Qt::Key_Escape:
        if (m_button || m_pane->hasSelection() || m_interlace) {
            endDrag();
            m_pane->clearSelection();
        } else {
            // The cloth frames have nothing to draw in: their tool is the zoom.
            const bool cloth = qobject_cast<CFabricFrame*>(m_pane->frame()) != nullptr;
            CToolState::instance().setTool(cloth ? Tool::Zoom : Tool::Pencil);
        }
        return true;
    case Qt::Key_Space:
        if (m_current < 0 || (side() != PaneSide::Threading && side() != PaneSide::Treadling)) return false;
        {
            const bool warp = side() == PaneSide::Threading;
            const Tding* t = warp ? static_cast<const Tding*>(doc().threading(0)) : doc().treadling(0);
            if (!t || m_current >= t->GetCount()) return true;
            const bool thick = t->GetThick(m_current) != 0;
            doc().Transaction("Thick Thread", [&](Edit s) { doc().SetThick(s, SideOf(warp), m_current, !thick); });
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (side() != PaneSide::Threading && side() != PaneSide::Treadling) return false;
        const bool warp = side() == PaneSide::Threading;
        const int count = warp ? doc().numEnds() : doc().numPicks();
        int next = std::max(m_current, 0);
        // Ends count from the right, picks from the top (bottom when drawn up).
        const bool down = !m_pane->frame()->threadingOnTop();
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
        if (!m_pane->hasSelection() || (side() != PaneSide::Threading && side() != PaneSide::Treadling)) return false;
        runSelectionCommand(SelectionCommand::Delete);
        return true;
    case Qt::Key_Insert:
        if (m_current < 0 || (side() != PaneSide::Threading && side() != PaneSide::Treadling)) return false;
        doc().Transaction("Insert", [&](Edit s) {
            doc().InsertThreads(s, threadSide(), m_current, 1);
        });
        advanceCurrent();
        return true;
    default: break;
    }
    return typeKey(e);
}

} // namespace qb
