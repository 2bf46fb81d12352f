#pragma once

#include "core/dobby/dobbyhead.h"
#include "core/dobby/idobbyhost.h"
#include "core/dobby/weavingposition.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace qb::test {

using Bytes = std::vector<std::uint8_t>;

inline TUPTYPE Shafts(std::initializer_list<int> list)
{
    TUPTYPE t;
    for (int s : list) t.set(s);
    return t;
}

inline Bytes B(std::initializer_list<int> list)
{
    Bytes out;
    for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

inline Bytes Text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A draft of given lifts, woven with the real position model.
class FakeHost : public IDobbyHost {
public:
    FakeHost(int shafts, std::vector<TUPTYPE> lifts)
        : m_shafts(shafts)
        , m_lifts(std::move(lifts))
        , m_position(m_state, [this] { return static_cast<int>(m_lifts.size()); })
    {}

    int draftShafts() const override { return m_shafts; }
    int numPicks() const override { return static_cast<int>(m_lifts.size()); }
    int currentPick() const override { return m_position.currentPick(); }
    int advancePick() override
    {
        ++advances;
        return m_position.AdvancePick();
    }
    TUPTYPE liftOf(int pick) const override { return m_lifts.at(static_cast<std::size_t>(pick)); }

    WeavingPosition& position() { return m_position; }
    std::vector<TUPTYPE>& lifts() { return m_lifts; }
    void setShafts(int n) { m_shafts = n; }

    int advances = 0;

private:
    int m_shafts;
    std::vector<TUPTYPE> m_lifts;
    WeavingRunState m_state;
    WeavingPosition m_position;
};

inline Bytes Feed(CDobbyHead& head, const Bytes& in)
{
    head.onBytes(in);
    return head.takeOutput();
}

inline int CountEvents(const std::vector<DobbyEvent>& events, DobbyEvent::Kind kind)
{
    int n = 0;
    for (const DobbyEvent& e : events) n += e.kind == kind;
    return n;
}

} // namespace qb::test
