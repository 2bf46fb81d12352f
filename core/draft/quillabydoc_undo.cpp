// Recording, committing and replaying the document's undo steps.
#include "core/draft/quillabydoc.h"

#include "core/draft/draftinvariants.h"
#include "core/draft/draftsnapshot.h"
#include "core/draft/undorequests.h"

#include <cstdio>
#include <cstdlib>

namespace qb {

namespace {

// Builds with checks on stop at the first transaction or replay that leaves
// the draft inconsistent, naming what broke, so the faulty edit is found at
// once instead of in a later crash.
void checkInvariants([[maybe_unused]] const CQuillabyDoc& doc, [[maybe_unused]] const char* after)
{
#ifdef QUILLABY_CHECK_INVARIANTS
    const std::string broken = BrokenInvariant(doc);
    if (!broken.empty()) {
        std::fprintf(stderr, "draft invariant broken after %s:\n%s", after, broken.c_str());
        std::abort();
    }
#endif
}

} // namespace

void CQuillabyDoc::record(Edit e, DraftPart part, UndoRequest undo, UndoRequest redo)
{
    if (!e.recording()) return;
    // An edit handed out by another document would undo the wrong draft.
    if (e.m_doc != this) {
        checkInvariants(*this, "an edit from another document");
        return;
    }
    undo.part = redo.part = part;
    e.group()->record(UndoMsg{std::move(undo), std::move(redo), nullptr});
}

void CQuillabyDoc::recordSnapshot(Edit e, std::shared_ptr<DraftSnapshot> before)
{
    if (!e.recording() || !before || e.m_doc != this) return;
    e.group()->record(UndoMsg{req::nothing(), req::nothing(), std::move(before)});
}

DraftTransaction::DraftTransaction(CQuillabyDoc& doc, std::string name)
    : m_doc(&doc)
    , m_group(std::move(name))
    , m_outermost(doc.m_openGroup == nullptr)
{
    if (m_outermost) doc.m_openGroup = &m_group;
}

bool DraftTransaction::commit()
{
    if (!m_open) return false;
    m_open = false;
    if (!m_outermost) return true;
    m_doc->m_openGroup = nullptr;
    return m_doc->commit(std::move(m_group));
}

bool CQuillabyDoc::commit(UndoGroup group)
{
    checkInvariants(*this, group.name().c_str());
    if (group.empty()) return false;
    if (group.count() > UndoHistory::kMaxRecords) {
        // Too many cell records to keep: replay them backwards on a copy to
        // get the draft as it was, and keep that as one snapshot step.
        auto before = Clone();
        for (auto it = group.records().rbegin(); it != group.records().rend(); ++it) {
            UndoMsg copy = *it;
            ApplyUndoMsg(*before, copy, true);
        }
        UndoGroup compact(group.name());
        compact.record(UndoMsg{req::nothing(), req::nothing(), DraftSnapshot::Take(*before, DraftSnapshot::All)});
        group = std::move(compact);
    }
    m_history.push(std::move(group));
    afterHistoryChange();
    return true;
}

void CQuillabyDoc::afterHistoryChange()
{
    const auto observers = m_observers;
    for (auto* o : observers) o->historyChanged(*this);
}

bool CQuillabyDoc::Undo()
{
    if (m_openGroup) return false;
    beginBatch();
    const bool undone = m_history.undo(*this);
    endBatch();
    if (!undone) return false;
    checkInvariants(*this, "undo");
    afterHistoryChange();
    return true;
}

bool CQuillabyDoc::Redo()
{
    if (m_openGroup) return false;
    beginBatch();
    const bool redone = m_history.redo(*this);
    endBatch();
    if (!redone) return false;
    checkInvariants(*this, "redo");
    afterHistoryChange();
    return true;
}

void CQuillabyDoc::DiscardHistory()
{
    m_history.clear();
    afterHistoryChange();
}

} // namespace qb
