#include "core/transform/draftstep.h"

#include "core/transform/messages.h"

namespace qb {

DraftStep::DraftStep(Edit e, CQuillabyDoc& doc, unsigned parts)
    : m_edit(e)
    , m_doc(doc)
    , m_before(e.recording() ? DraftSnapshot::Take(doc, parts) : nullptr)
    , m_shafts(doc.numShafts())
    , m_treadles(doc.numTreadles())
{}

CommandResult DraftStep::commit(bool layout, bool fit)
{
    m_doc.RecordSnapshot(m_edit, std::move(m_before));
    if (m_shafts != m_doc.numShafts() || m_treadles != m_doc.numTreadles()) m_doc.NotifyLoomSize();
    m_doc.SetModified();
    m_doc.UpdateAllViews(nullptr);
    return CommandResult::doneResult(layout, fit);
}

bool ColorBarGuard(CQuillabyDoc& doc, bool warp, IPrompter& prompter)
{
    if (doc.activeCorrelation() != (warp ? 1 : 2)) return true;
    if (!prompter.ask(msg::kColorBars)) return false;
    doc.setCorrelation(doc.correlationSide(), false);
    return true;
}

} // namespace qb
