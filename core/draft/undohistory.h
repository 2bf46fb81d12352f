#pragma once

#include "undomsg.h"

#include <deque>
#include <vector>

namespace qb {

// The records of one user action.
class UndoGroup {
public:
    void record(UndoMsg msg) { m_records.push_back(std::move(msg)); }
    bool empty() const { return m_records.empty(); }
    int count() const { return static_cast<int>(m_records.size()); }
    const std::vector<UndoMsg>& records() const { return m_records; }
    std::vector<UndoMsg>& records() { return m_records; }

private:
    std::vector<UndoMsg> m_records;
};

// The document's undo history: groups older than the undo position can be
// undone, groups from the redo position on can be redone.
class UndoHistory {
public:
    static constexpr int kMaxGroups = 64;
    static constexpr int kMaxRecords = 8000;

    // Puts a finished group into the history. A group of kMaxRecords or more
    // is not kept and empties the history; returns whether it was kept.
    bool push(UndoGroup group);
    // Takes the newest group back so more records can join it.
    UndoGroup reopen();

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < static_cast<int>(m_groups.size()); }
    // Replays the newest undoable group backwards (last record first).
    bool undo();
    // Replays the oldest redoable group forwards.
    bool redo();
    void clear();

    // A pane is closing: its records go to `replacement` (a pane of the same
    // kind in the same document), or without one every group that names it is
    // dropped.
    void paneClosing(IUndoTarget* pane, IUndoTarget* replacement);

    int groupCount() const { return static_cast<int>(m_groups.size()); }
    int undoCount() const { return m_position; }
    int redoCount() const { return groupCount() - m_position; }

private:
    std::deque<UndoGroup> m_groups; // oldest first
    int m_position = 0;             // groups [0, position) are in effect
    bool m_replaying = false;
};

} // namespace qb
