#pragma once

#include "core/draft/draftsnapshot.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"

#include <memory>

namespace qb {

// One whole-draft command on the open draft as one undo step: a snapshot of
// the parts it may change, kept as the way back. Construct it before
// changing anything through the raw accessors; commit() after.
class DraftStep {
public:
    DraftStep(Edit e, CQuillabyDoc& doc, unsigned parts = DraftSnapshot::Structure | DraftSnapshot::Palette);
    // Records the step (when `e` records), marks the document modified and
    // refreshes every view.
    CommandResult commit(bool layout = false, bool fit = false);

private:
    Edit m_edit;
    CQuillabyDoc& m_doc;
    std::shared_ptr<DraftSnapshot> m_before;
    int m_shafts;
    int m_treadles;
};

// The color-bar guard: when the side's sequences are bound to the color bars,
// asks whether to drop the binding. False when the user said No.
bool ColorBarGuard(CQuillabyDoc& doc, bool warp, IPrompter& prompter);

} // namespace qb
