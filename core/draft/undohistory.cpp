#include "undohistory.h"

#include <algorithm>

namespace qb {

bool UndoHistory::push(UndoGroup group)
{
    if (group.empty()) return true;
    if (group.count() > kMaxRecords) {
        clear();
        return false;
    }
    // A new action ends the redo branch.
    m_groups.erase(m_groups.begin() + m_position, m_groups.end());
    m_groups.push_back(std::move(group));
    if (static_cast<int>(m_groups.size()) > kMaxGroups) m_groups.pop_front();
    m_position = static_cast<int>(m_groups.size());
    return true;
}

UndoGroup UndoHistory::reopen()
{
    if (!canUndo() || canRedo()) return {};
    UndoGroup g = std::move(m_groups.back());
    m_groups.pop_back();
    m_position = static_cast<int>(m_groups.size());
    return g;
}

bool UndoHistory::undo()
{
    if (!canUndo() || m_replaying) return false;
    m_replaying = true;
    const UndoGroup& g = m_groups[m_position - 1];
    // Later records may depend on earlier ones (an end appended, then set), so
    // they are reversed last first.
    for (auto it = g.records().rbegin(); it != g.records().rend(); ++it)
        if (it->target && it->undo.msg != kReqNothing) it->target->handleUndoRequest(it->undo);
    --m_position;
    m_replaying = false;
    return true;
}

bool UndoHistory::redo()
{
    if (!canRedo() || m_replaying) return false;
    m_replaying = true;
    const UndoGroup& g = m_groups[m_position];
    for (const UndoMsg& m : g.records())
        if (m.target && m.redo.msg != kReqNothing) m.target->handleUndoRequest(m.redo);
    ++m_position;
    m_replaying = false;
    return true;
}

void UndoHistory::clear()
{
    m_groups.clear();
    m_position = 0;
}

void UndoHistory::paneClosing(IUndoTarget* pane, IUndoTarget* replacement)
{
    if (!pane) return;
    if (replacement) {
        for (auto& g : m_groups)
            for (auto& m : g.records())
                if (m.target == pane) m.target = replacement;
        return;
    }
    int index = 0;
    for (auto it = m_groups.begin(); it != m_groups.end(); ++index) {
        const bool names = std::any_of(it->records().begin(), it->records().end(),
                                       [&](const UndoMsg& m) { return m.target == pane; });
        if (!names) {
            ++it;
            continue;
        }
        it = m_groups.erase(it);
        if (index < m_position) --m_position;
        --index;
    }
}

} // namespace qb
