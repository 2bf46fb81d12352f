#include "core/draft/draftstep.h"

#include "core/draft/quillabydoc.h"

namespace qb {

DraftStep::DraftStep(Edit e, CQuillabyDoc& doc, unsigned parts)
    : m_edit(e)
    , m_doc(doc)
    // The small parts are kept even unrecorded, so that a change that
    // changes nothing leaves the draft unmodified.
    , m_before(e.recording() || !(parts & DraftSnapshot::Structure) ? DraftSnapshot::Take(doc, parts) : nullptr)
    , m_shafts(doc.numShafts())
    , m_treadles(doc.numTreadles())
{}

bool DraftStep::commit()
{
    if (!m_open) return false;
    m_open = false;
    if (m_before && m_before->Matches(m_doc)) return false;
    if (m_edit.recording()) m_doc.recordSnapshot(m_edit, std::move(m_before));
    m_doc.SetModified();
    if (m_shafts != m_doc.numShafts() || m_treadles != m_doc.numTreadles()) m_doc.NotifyLoomSize();
    m_doc.UpdateAllViews(nullptr);
    return true;
}

} // namespace qb
