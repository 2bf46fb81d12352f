#include "core/draft/draftstep.h"

#include "core/draft/quillabydoc.h"

namespace qb {

DraftStep::DraftStep(Edit e, CQuillabyDoc& doc, unsigned parts)
    : m_edit(e)
    , m_doc(doc)
    , m_parts(parts)
    // The small parts are kept even unrecorded, so that a change that
    // changes nothing leaves the draft unmodified.
    , m_before(e.recording() || !(parts & DraftSnapshot::Structure) ? DraftSnapshot::Take(doc, parts) : nullptr)
    , m_loom(LoomShape::of(doc))
{
    if (parts & DraftSnapshot::Palette) m_palette = doc.palette();
    // What the primitives called meanwhile tell goes out with the step.
    m_doc.beginBatch();
}

DraftStep::~DraftStep()
{
    if (m_open) m_doc.endBatch();
}

bool DraftStep::commit()
{
    if (!m_open) return false;
    m_open = false;
    const bool changed = !(m_before && m_before->Matches(m_doc));
    if (changed) {
        if (m_edit.recording()) m_doc.recordSnapshot(m_edit, std::move(m_before));
        const unsigned parts = m_palette && *m_palette == m_doc.palette() ? m_parts & ~DraftSnapshot::Palette : m_parts;
        m_doc.changed(DraftSnapshot::HintFor(parts, !(m_loom == LoomShape::of(m_doc))));
    }
    m_doc.endBatch();
    return changed;
}

} // namespace qb
