#include "core/dobby/dobbyhead.h"

#include "core/dobby/avldobbyhead.h"
#include "core/dobby/merlindobbyhead.h"

#include <algorithm>

namespace qb {

CDobbyHead::CDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts)
    : m_host(host)
    , m_type(type)
    , m_configuredShafts(std::clamp(configuredShafts, kDobbyMinShafts, kDobbyMaxShafts))
    , m_shaftsUsed(host ? std::min(host->draftShafts(), m_configuredShafts) : m_configuredShafts)
{}

CDobbyHead::~CDobbyHead() = default;

int CDobbyHead::liftableShafts() const
{
    return std::min(m_configuredShafts, info().maxShafts);
}

int CDobbyHead::FindUnliftablePick(const IDobbyHost& host, int limit, int& shaft)
{
    const TUPTYPE draftShafts = TUPTYPE::firstShafts(host.draftShafts());
    const TUPTYPE beyond = ~TUPTYPE::firstShafts(limit);
    const int picks = host.numPicks();
    for (int p = 0; p < picks; ++p) {
        const TUPTYPE extra = host.liftOf(p) & draftShafts & beyond;
        if (!extra.empty()) {
            shaft = extra.lowest();
            return p;
        }
    }
    shaft = 0;
    return -1;
}

std::string CDobbyHead::UnliftableDetail(const DobbyHeadInfo& head, int limit, int pick, int shaft)
{
    return "Pick " + std::to_string(pick + 1) + " lifts shaft " + std::to_string(shaft) + ", but the "
        + std::string(head.name) + " dobby head can raise only shafts 1 to " + std::to_string(limit)
        + ".\nReduce the draft's shafts or change the dobby settings.";
}

bool CDobbyHead::start()
{
    if (m_started) return !m_failed;
    m_started = true;
    if (m_host) {
        if (m_host->numPicks() <= 0) {
            fail("Cannot start dobby. There are no picks in the treadling.");
            return false;
        }
        int shaft = 0;
        const int pick = FindUnliftablePick(*m_host, liftableShafts(), shaft);
        if (pick >= 0) {
            fail("Cannot start dobby. " + UnliftableDetail(info(), liftableShafts(), pick, shaft));
            return false;
        }
    }
    m_liftByteCount = LiftByteCount();
    OnStart();
    return !m_failed;
}

void CDobbyHead::onBytes(std::span<const std::uint8_t> bytes)
{
    if (!m_started || m_stopped || m_failed) return;
    m_queue.insert(m_queue.end(), bytes.begin(), bytes.end());
    ProcessInput();
    // A failure in the middle of a burst drops the rest: the run is over.
    if (m_failed) m_queue.clear();
}

void CDobbyHead::tick()
{
    // The loom is waiting on the weaver; the time is only counted for the window.
    if (m_timeoutOpen) ++m_timeoutSeconds;
}

void CDobbyHead::positionChanged()
{
    if (!m_started || m_stopped || m_failed || !m_host) return;
    if (m_state == WeavingState()) SendLift(true);
}

void CDobbyHead::pressContinue()
{
    if (!m_timeoutOpen || m_stopped || m_failed) return;
    m_timeoutOpen = false;
    m_timeoutSeconds = 0;
    Resume();
    emitPick(DobbyEvent::Kind::TimeoutCleared);
}

void CDobbyHead::openTimeoutWindow()
{
    if (m_timeoutOpen) return;
    m_timeoutOpen = true;
    m_timeoutSeconds = 0;
    emitPick(DobbyEvent::Kind::TimedOut);
}

void CDobbyHead::draftChanged()
{
    if (!m_host) return;
    m_shaftsUsed = std::min(m_host->draftShafts(), m_configuredShafts);
    m_liftByteCount = LiftByteCount();
}

void CDobbyHead::linkFailed(std::string_view reason)
{
    if (m_failed || m_stopped) return;
    std::string msg = "Lost the connection to the dobby head";
    if (!reason.empty()) msg += ": " + std::string(reason);
    msg += ".";
    if (m_host)
        msg += "\nWeaving stopped at pick " + std::to_string(m_host->currentPick() + 1)
            + "; start again to go on from there.";
    // Nothing more can reach the head.
    m_output.clear();
    fail(std::move(msg));
}

void CDobbyHead::stop()
{
    if (m_stopped) return;
    if (m_started && !m_failed) Shutdown();
    if (isSelfTest() && m_started) {
        DobbyEvent e(DobbyEvent::Kind::SelfTestResult);
        e.ok = !m_failed && m_state == 5;
        if (!e.ok && !m_failed) e.message = "No response from dobby head";
        post(std::move(e));
    }
    m_stopped = true;
    m_timeoutOpen = false;
    if (m_host) m_previousPick = m_host->currentPick();
}

std::vector<std::uint8_t> CDobbyHead::takeOutput()
{
    std::vector<std::uint8_t> out;
    out.swap(m_output);
    return out;
}

std::vector<DobbyEvent> CDobbyHead::takeEvents()
{
    std::vector<DobbyEvent> out;
    out.swap(m_events);
    return out;
}

void CDobbyHead::emitPick(DobbyEvent::Kind kind)
{
    DobbyEvent e{kind};
    if (m_host) e.pick = m_host->currentPick();
    e.previousPick = m_previousPick;
    post(std::move(e));
}

void CDobbyHead::fail(std::string message)
{
    m_failed = true;
    m_timeoutOpen = false;
    DobbyEvent e(DobbyEvent::Kind::Error);
    if (m_host) e.pick = m_host->currentPick();
    e.previousPick = m_previousPick;
    e.ok = false;
    e.message = std::move(message);
    post(std::move(e));
}

void CDobbyHead::RequestNextPick()
{
    m_previousPick = m_host->currentPick();
    if (m_host->advancePick() == 0) {
        emitPick(DobbyEvent::Kind::PickRequested);
        SendLift(false);
    } else {
        emitPick(DobbyEvent::Kind::EndOfTreadling);
    }
}

bool CDobbyHead::CurrentLift(TUPTYPE& lift)
{
    if (!m_host) {
        lift = TUPTYPE();
        return true;
    }
    const int pick = m_host->currentPick();
    lift = m_host->liftOf(pick) & TUPTYPE::firstShafts(m_host->draftShafts());
    const TUPTYPE extra = lift & ~TUPTYPE::firstShafts(liftableShafts());
    if (!extra.empty()) {
        // Weaving it without that shaft would spoil the cloth.
        fail("Weaving stopped. " + UnliftableDetail(info(), liftableShafts(), pick, extra.lowest()));
        return false;
    }
    DobbyEvent e(DobbyEvent::Kind::LiftSent);
    e.pick = pick;
    e.previousPick = m_previousPick;
    e.shafts = lift;
    post(std::move(e));
    return true;
}

std::unique_ptr<CDobbyHead> MakeDobbyHead(DobbyHeadType type, IDobbyHost& host, int configuredShafts)
{
    switch (type) {
    case DobbyHeadType::AVL2: return std::make_unique<AVL2DobbyHead>(&host, configuredShafts);
    case DobbyHeadType::AVL3: return std::make_unique<AVL3DobbyHead>(&host, configuredShafts);
    case DobbyHeadType::Louet: return std::make_unique<LouetDobbyHead>(&host, configuredShafts);
    case DobbyHeadType::Leclerc1: return std::make_unique<Leclerc1DobbyHead>(&host, configuredShafts);
    case DobbyHeadType::Leclerc2: return std::make_unique<Leclerc2DobbyHead>(&host, configuredShafts);
    }
    return nullptr;
}

std::unique_ptr<CDobbyHead> MakeSelfTestHead(DobbyHeadType type, int configuredShafts)
{
    switch (type) {
    case DobbyHeadType::Louet: return std::make_unique<LouetDobbyHead>(nullptr, configuredShafts);
    case DobbyHeadType::Leclerc2: return std::make_unique<Leclerc2DobbyHead>(nullptr, configuredShafts);
    default: return nullptr;
    }
}

} // namespace qb
