#pragma once

#include "command.h"
#include "draft/draftsnapshot.h"
#include "draft/quillabydoc.h"

#include <memory>

namespace qb {

class CQuillabyDoc;
class IUndoTarget;

// One whole-draft command on the open draft as one undo step. Construct it
// before changing anything; commit() after. With no pane nothing is recorded
// (internal use, or a replay).
class DraftStep {
public:
    DraftStep(CQuillabyDoc& doc, IUndoTarget* pane);
    // Records the step (when a pane was given), marks the document modified
    // and refreshes every view.
    CommandResult commit(bool layout = false, bool fit = false);

private:
    CQuillabyDoc& m_doc;
    IUndoTarget* m_pane;
    std::shared_ptr<const DraftSnapshot> m_before;
    int m_shafts;
    int m_treadles;
};

// The color-bar guard: when the side's sequences are bound to the color bars,
// asks whether to drop the binding. False when the user said No.
bool ColorBarGuard(CQuillabyDoc& doc, bool warp, IPrompter& prompter);

} // namespace qb
