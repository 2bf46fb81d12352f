#pragma once

#include "core/draft/draftsnapshot.h"
#include "core/draft/edit.h"

#include <memory>
#include <optional>

namespace qb {

class CQuillabyDoc;

// A change of whole parts of a draft (DraftSnapshot::Part flags) as one
// recorded step: construct it before changing anything through
// CQuillabyDoc::raw(), commit() after. A step never committed records
// nothing and leaves the document as the raw changes left it.
class DraftStep {
public:
    DraftStep(Edit e, CQuillabyDoc& doc, unsigned parts = DraftSnapshot::Structure | DraftSnapshot::Palette);
    ~DraftStep();
    DraftStep(const DraftStep&) = delete;
    DraftStep& operator=(const DraftStep&) = delete;

    // Records the parts as they were (when the edit records), marks the
    // document modified and notifies its observers once, with the parts
    // and whether the loom's shape changed. False, with nothing recorded, marked or told,
    // when the parts came out as they were; only the small parts are
    // compared, as comparing every row costs as much as keeping the step.
    bool commit();

private:
    Edit m_edit;
    CQuillabyDoc& m_doc;
    unsigned m_parts;
    std::shared_ptr<DraftSnapshot> m_before;
    LoomShape m_loom;
    // The palette before, so that views hear of it only when it changed.
    std::optional<ColorPalette> m_palette;
    bool m_open = true;
};

} // namespace qb
