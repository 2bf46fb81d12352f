#include "draftstep.h"

#include "draft/quillabydoc.h"
#include "draft/undorequests.h"
#include "messages.h"

namespace qb {

DraftStep::DraftStep(CQuillabyDoc& doc, IUndoTarget* pane)
    : m_doc(doc)
    , m_pane(pane)
    , m_shafts(doc.numShafts())
    , m_treadles(doc.numTreadles())
{
    if (m_pane) m_before = DraftSnapshot::Take(doc);
}

CommandResult DraftStep::commit(bool layout, bool fit)
{
    if (m_pane) {
        auto after = DraftSnapshot::Take(m_doc);
        m_doc.Transaction(m_pane, [&](EditSource s) {
            s.group->record(UndoMsg{m_pane, req::restoreDraft(m_before), req::restoreDraft(after)});
        });
    }
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
