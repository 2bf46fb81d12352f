#include "core/dobby/weavingrun.h"

#include "core/draft/quillabydoc.h"

namespace qb {

WeavingRun::WeavingRun(CQuillabyDoc& doc, int headIndex, int configuredShafts, std::function<void()> beep)
    : m_doc(doc)
    , m_position(doc, std::move(beep))
    , m_host(doc, m_position)
    , m_check(CheckDobbyStart(doc, headIndex, configuredShafts))
{
    if (m_check.ok()) m_head = MakeDobbyHead(static_cast<DobbyHeadType>(headIndex), m_host, configuredShafts);
}

WeavingRun::~WeavingRun() = default;

bool WeavingRun::start()
{
    if (!m_head) return false;
    m_position.ClearUnweave();
    m_position.UpdateSection(m_position.currentPick());
    return m_head->start();
}

void WeavingRun::stop()
{
    if (m_head) m_head->stop();
    m_position.ClearUnweave();
}

void WeavingRun::moved()
{
    if (m_head) m_head->positionChanged();
}

void WeavingRun::SameShed()
{
    if (!canSameShed()) return;
    if (m_head) m_head->notePreviousPick(m_position.currentPick());
    m_position.StepBack();
    moved();
}

void WeavingRun::ToggleUnweave()
{
    if (m_head) m_head->notePreviousPick(m_position.currentPick());
    m_position.ToggleUnweave();
    moved();
}

void WeavingRun::SetPick(int shown)
{
    if (m_head) m_head->notePreviousPick(m_position.currentPick());
    m_position.SetCurrentPick(shown - 1);
    moved();
}

void WeavingRun::DraftChanged()
{
    m_position.PicksChanged();
    if (m_head) m_head->draftChanged();
}

} // namespace qb
