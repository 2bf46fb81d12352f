#include "core/dobby/merlindobbyhead.h"

namespace qb {

MerlinDobbyHead::MerlinDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts, merlin::Letters letters,
                                 int liftBytes)
    : CDobbyHead(type, host, configuredShafts)
    , m_letters(letters)
    , m_liftBytes(liftBytes)
{}

std::vector<std::uint8_t> MerlinDobbyHead::EncodeLift(TUPTYPE lift) const
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(m_liftBytes), 0);
    for (int j = 0; j < m_liftBytes; ++j) out[j] = static_cast<std::uint8_t>(lift.bits() >> (8 * j));
    return out;
}

void MerlinDobbyHead::OnStart()
{
    m_state = isSelfTest() ? SelfTestWaiting : WaitingForHead;
    QueryStatus();
}

void MerlinDobbyHead::QueryStatus()
{
    write(merlin::kEsc);
    write(m_letters.query);
    write(merlin::kCR);
}

void MerlinDobbyHead::StartSelfTest()
{
    write(merlin::kEsc);
    write(m_letters.test);
    write(merlin::kCR);
}

void MerlinDobbyHead::SendRelease()
{
    write(merlin::kEsc);
    write(m_letters.release);
    write(merlin::kCR);
}

void MerlinDobbyHead::SendPush()
{
    write(merlin::kEsc);
    write(m_letters.push);
    write(merlin::kCR);
}

void MerlinDobbyHead::SendPattern(const std::vector<std::uint8_t>& liftBytes)
{
    write(merlin::kEsc);
    write(m_letters.pattern);
    for (std::uint8_t b : liftBytes) write(b);
    write(merlin::kCR);
}

void MerlinDobbyHead::SendLift(bool repeat)
{
    TUPTYPE lift;
    if (!CurrentLift(lift)) return;
    const std::vector<std::uint8_t> bytes = EncodeLift(lift);
    if (repeat) {
        // The weaver moved: the new shed replaces the open one.
        SendPattern(bytes);
        SendRelease();
        SendPush();
    } else {
        SendRelease();
        SendPattern(bytes);
        SendPush();
    }
}

void MerlinDobbyHead::SendFirstPattern()
{
    if (m_host) m_previousPick = m_host->currentPick();
    TUPTYPE lift;
    if (!CurrentLift(lift)) return;
    SendPattern(EncodeLift(lift));
    SendPush();
    emitPick(DobbyEvent::Kind::HeadReady);
}

void MerlinDobbyHead::Resume()
{
    SendPush();
    m_state = Weaving;
}

void MerlinDobbyHead::beginFrame()
{
    m_inFrame = true;
    m_firstSeen = false;
    m_dataSeen = false;
    m_b1 = m_b2 = 0;
}

void MerlinDobbyHead::dataByte(std::uint8_t b)
{
    m_dataSeen = true;
    if (!m_firstSeen) {
        m_b1 = b;
        m_firstSeen = true;
    } else {
        m_b2 = b; // the second data byte is the frame's last
    }
}

void MerlinDobbyHead::endFrame()
{
    m_inFrame = false;
}

void MerlinDobbyHead::ProcessInput()
{
    while (!m_queue.empty() && !hasFailed()) {
        const std::uint8_t b = m_queue.front();
        m_queue.pop_front();
        if (b == merlin::kEsc) {
            beginFrame();
        } else if (b == merlin::kCR) {
            if (m_inFrame) HandleFrame();
            endFrame();
        } else {
            dataByte(b);
        }
    }
}

void MerlinDobbyHead::HandleFrame()
{
    switch (m_state) {
    case WaitingForHead:
        if (IsStatus(true) || IsAcknowledge()) {
            SendFirstPattern();
            if (!hasFailed()) m_state = Weaving;
        }
        break;
    case Weaving:
        if (IsPickRequest()) {
            RequestNextPick();
        } else if (IsTimeout()) {
            openTimeoutWindow();
            m_state = TimedOut;
        }
        break;
    case TimedOut:
        if (IsStatus(false) && TimeoutFlagSet()) m_state = TimeoutClearing;
        break;
    case SelfTestWaiting:
        if (IsStatus(true) || IsAcknowledge()) {
            StartSelfTest();
            m_state = SelfTestRunning;
            post(DobbyEvent(DobbyEvent::Kind::SelfTestStarted));
        }
        break;
    case TimeoutClearing:
        // The head cleared its time-out flag: Continue on the weaver's behalf.
        if (IsStatus(false) && m_b2 == 0) pressContinue();
        break;
    default: break;
    }
}

LouetDobbyHead::LouetDobbyHead(IDobbyHost* host, int configuredShafts)
    : MerlinDobbyHead(DobbyHeadType::Louet, host, configuredShafts, merlin::kLouet, merlin::kLiftBytesLouet)
{}

Leclerc2DobbyHead::Leclerc2DobbyHead(IDobbyHost* host, int configuredShafts)
    : MerlinDobbyHead(DobbyHeadType::Leclerc2, host, configuredShafts, merlin::kLeclerc2, merlin::kLiftBytesLeclerc2)
{}

Leclerc1DobbyHead::Leclerc1DobbyHead(IDobbyHost* host, int configuredShafts)
    : MerlinDobbyHead(DobbyHeadType::Leclerc1, host, configuredShafts, merlin::Letters{}, merlin::kLiftBytesLeclerc1)
{}

std::string Leclerc1DobbyHead::PatternText(TUPTYPE lift)
{
    static const char digits[] = "0123456789ABCDEF";
    const unsigned v = lift.bits() & 0xFFFFu;
    std::string s(merlin::kTextPatternPrefix);
    for (int shift = 12; shift >= 0; shift -= 4) s += digits[(v >> shift) & 0xF];
    s += "\r\n";
    return s;
}

void Leclerc1DobbyHead::OnStart()
{
    MerlinDobbyHead::OnStart();
    if (isSelfTest()) return;
    // This head sends no status: it gets the current lift at once.
    SendFirstPattern();
    if (!hasFailed()) m_state = Weaving;
}

void Leclerc1DobbyHead::ProcessInput()
{
    while (!m_queue.empty() && !hasFailed()) {
        const std::uint8_t b = m_queue.front();
        m_queue.pop_front();
        if (b == merlin::kOpenBracket) {
            beginFrame();
        } else if (b == merlin::kCloseBracket || b == merlin::kCR) {
            // A reply is handled once: "[CC]" CR LF is one pick, not two. A bare
            // line ("CC" CR) still counts; an empty CR does nothing.
            if (m_inFrame || m_dataSeen) HandleFrame();
            endFrame();
            m_firstSeen = false;
            m_dataSeen = false;
            m_b1 = m_b2 = 0;
        } else if (b != merlin::kLF) {
            dataByte(b);
        }
    }
}

void Leclerc1DobbyHead::StartSelfTest()
{
    write(merlin::kTextTest);
}

void Leclerc1DobbyHead::SendRelease()
{
    write(merlin::kTextRelease);
}

void Leclerc1DobbyHead::SendPush()
{
    write(merlin::kTextPush);
}

void Leclerc1DobbyHead::SendPattern(const std::vector<std::uint8_t>& liftBytes)
{
    TUPTYPE lift(liftBytes.size() >= 2 ? std::uint64_t(liftBytes[0]) | (std::uint64_t(liftBytes[1]) << 8)
                                       : std::uint64_t(liftBytes.empty() ? 0 : liftBytes[0]));
    write(PatternText(lift));
}

} // namespace qb
