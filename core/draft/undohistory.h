#pragma once

#include "core/draft/undomsg.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The records of one user action, under the name the Edit menu shows.
class UndoGroup {
public:
    explicit UndoGroup(std::string name = {}) : m_name(std::move(name)) {}
    const std::string& name() const { return m_name; }
    void record(UndoMsg msg);
    bool empty() const { return m_records.empty(); }
    int count() const { return static_cast<int>(m_records.size()); }
    const std::vector<UndoMsg>& records() const { return m_records; }
    // Snapshot memory held by the records.
    std::size_t bytes() const { return m_bytes; }
    // Replays every record: undo last first (later records may depend on
    // earlier ones, an end appended and then set), redo first first.
    void replay(CQuillabyDoc& doc, bool undo);

private:
    void recount();

    std::string m_name;
    std::vector<UndoMsg> m_records;
    std::size_t m_bytes = 0;
};

// The document's undo history: groups before the position can be undone,
// groups from it on redone. At most kMaxGroups groups and about kMaxBytes of
// snapshots are kept; the oldest go first.
class UndoHistory {
public:
    static constexpr int kMaxGroups = 64;
    // A group with more records is turned into one snapshot step before it
    // is pushed (see CQuillabyDoc::Transaction).
    static constexpr int kMaxRecords = 8000;
    static constexpr std::size_t kMaxBytes = std::size_t(100) << 20;

    // Puts a finished group into the history; a new action ends the redo
    // branch. Empty groups are not kept.
    void push(UndoGroup group);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < static_cast<int>(m_groups.size()); }
    // The names of the steps Undo and Redo would take (empty when none).
    const std::string& undoName() const;
    const std::string& redoName() const;
    bool undo(CQuillabyDoc& doc);
    bool redo(CQuillabyDoc& doc);
    void clear();

    int groupCount() const { return static_cast<int>(m_groups.size()); }
    int undoCount() const { return m_position; }
    int redoCount() const { return groupCount() - m_position; }
    std::size_t bytes() const;

private:
    void trim();

    std::deque<UndoGroup> m_groups; // oldest first
    int m_position = 0;             // groups [0, position) are in effect
    bool m_replaying = false;
};

} // namespace qb
