#include "core/draft/undohistory.h"

#include "core/draft/draftsnapshot.h"
#include "core/draft/undorequests.h"

namespace qb {

void UndoGroup::record(UndoMsg msg)
{
    if (msg.swap) m_bytes += msg.swap->bytes();
    m_records.push_back(std::move(msg));
}

void UndoGroup::recount()
{
    m_bytes = 0;
    for (const UndoMsg& m : m_records)
        if (m.swap) m_bytes += m.swap->bytes();
}

void UndoGroup::replay(CQuillabyDoc& doc, bool undo)
{
    if (undo)
        for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) ApplyUndoMsg(doc, *it, true);
    else
        for (UndoMsg& m : m_records) ApplyUndoMsg(doc, m, false);
    // A swap leaves the other state behind, which may be larger or smaller.
    recount();
}

void UndoHistory::push(UndoGroup group)
{
    if (group.empty()) return;
    m_groups.erase(m_groups.begin() + m_position, m_groups.end());
    m_groups.push_back(std::move(group));
    m_position = static_cast<int>(m_groups.size());
    trim();
}

void UndoHistory::trim()
{
    while (groupCount() > kMaxGroups || (groupCount() > 1 && bytes() > kMaxBytes)) {
        m_groups.pop_front();
        if (m_position > 0) --m_position;
    }
}

std::size_t UndoHistory::bytes() const
{
    std::size_t n = 0;
    for (const UndoGroup& g : m_groups) n += g.bytes();
    return n;
}

const std::string& UndoHistory::undoName() const
{
    static const std::string none;
    return canUndo() ? m_groups[m_position - 1].name() : none;
}

const std::string& UndoHistory::redoName() const
{
    static const std::string none;
    return canRedo() ? m_groups[m_position].name() : none;
}

bool UndoHistory::undo(CQuillabyDoc& doc)
{
    if (!canUndo() || m_replaying) return false;
    m_replaying = true;
    m_groups[m_position - 1].replay(doc, true);
    --m_position;
    m_replaying = false;
    return true;
}

bool UndoHistory::redo(CQuillabyDoc& doc)
{
    if (!canRedo() || m_replaying) return false;
    m_replaying = true;
    m_groups[m_position].replay(doc, false);
    ++m_position;
    m_replaying = false;
    return true;
}

void UndoHistory::clear()
{
    m_groups.clear();
    m_position = 0;
}

} // namespace qb
