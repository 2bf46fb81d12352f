#include "core/dobby/avldobbyhead.h"

#include <algorithm>

namespace qb {

AVLDobbyHead::AVLDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts, std::uint8_t endByte)
    : CDobbyHead(type, host, configuredShafts)
    , m_endByte(endByte)
{}

void AVLDobbyHead::OnStart()
{
    write(avl::kGreeting);
    write(m_endByte);
    m_state = WaitingForHead;
}

int AVLDobbyHead::LiftByteCount()
{
    setShaftsUsed(std::min(shaftsUsed(), kDobbyMaxShafts));
    return std::min((shaftsUsed() + 3) / 4, avl::kMaxLiftBytes);
}

void AVLDobbyHead::SendLift(bool)
{
    TUPTYPE lift;
    if (!CurrentLift(lift)) return;
    for (std::uint8_t b : EncodeLift(lift, m_liftByteCount)) write(b);
    write(m_endByte);
}

void AVLDobbyHead::SendFirstLift()
{
    // The head is told the full width it is set up for, whatever the draft uses.
    const int used = shaftsUsed();
    const int count = m_liftByteCount;
    setShaftsUsed(configuredShafts());
    m_liftByteCount = LiftByteCount();
    SendLift(false);
    setShaftsUsed(used);
    m_liftByteCount = count;
}

void AVLDobbyHead::ProcessInput()
{
    while (!m_queue.empty() && !hasFailed()) {
        const std::uint8_t b = m_queue.front();
        m_queue.pop_front();
        if (b != avl::kFrameEnd) {
            m_pending = b;
            continue;
        }
        const std::uint8_t code = m_pending;
        m_pending = 0;
        if (code) HandleReply(code);
    }
}

void AVLDobbyHead::HandleReply(std::uint8_t code)
{
    switch (m_state) {
    case WaitingForHead:
        if (code == avl::kReady) {
            m_previousPick = m_host ? m_host->currentPick() : -1;
            SendFirstLift();
            m_state = Weaving;
            if (!hasFailed()) emitPick(DobbyEvent::Kind::HeadReady);
        }
        break;
    case Weaving:
        if (code == avl::kReplyB) m_state = PickComing;
        break;
    case PickComing:
        if (code == avl::kReplyA) {
            RequestNextPick();
            m_state = Weaving;
        }
        break;
    default: break;
    }
}

AVL2DobbyHead::AVL2DobbyHead(IDobbyHost* host, int configuredShafts)
    : AVLDobbyHead(DobbyHeadType::AVL2, host, configuredShafts, avl::kEndAVL2)
{}

std::vector<std::uint8_t> AVL2DobbyHead::EncodeLift(TUPTYPE lift, int count) const
{
    std::vector<std::uint8_t> out;
    for (int j = 0; j < count; ++j) {
        std::uint8_t b = ByteNumber(j);
        for (int i = 0; i < 4; ++i)
            if (lift.test(4 * j + i + 1)) b |= std::uint8_t(1u << i);
        out.push_back(b);
    }
    return out;
}

AVL3DobbyHead::AVL3DobbyHead(IDobbyHost* host, int configuredShafts)
    : AVLDobbyHead(DobbyHeadType::AVL3, host, configuredShafts, avl::kEndAVL3)
{}

std::vector<std::uint8_t> AVL3DobbyHead::EncodeLift(TUPTYPE lift, int count) const
{
    std::vector<std::uint8_t> out;
    for (int j = 0; j < count; ++j) {
        std::uint8_t b = ByteNumber(j);
        for (int i = 0; i < 4; ++i)
            if (!lift.test(4 * j + i + 1)) b |= std::uint8_t(1u << i);
        out.push_back(b);
    }
    return out;
}

} // namespace qb
