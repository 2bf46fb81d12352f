// The primitives on the loom: shafts, treadles, warp and weft rows, and
// multiple treadles.
#include "core/draft/quillabydoc.h"

#include "core/draft/draftstep.h"

#include <algorithm>

namespace qb {

bool CQuillabyDoc::loomConsistent() const
{
    if (m_tieup->shaftCount() != m_shafts || m_tieup->treadleCount() != m_treadles) return false;
    if (m_liftplan && m_treadles != m_shafts) return false;
    for (const auto& t : m_threading)
        if (t && t->limit() != m_shafts) return false;
    for (const auto& t : m_treadling)
        if (t && t->limit() != m_treadles) return false;
    return true;
}

bool CQuillabyDoc::SetNumShafts(Edit e, int n)
{
    if (n < 1 || n > kMaxShafts) return false;
    if (n == m_shafts && loomConsistent()) return false;
    // Fewer shafts drop the cells above them: the whole structure comes back.
    DraftStep step(e, *this, DraftSnapshot::Structure);
    m_shafts = n;
    for (int r = 0; r < kMaxRows; ++r)
        if (m_threading[r]) m_threading[r]->SetLimit(n);
    m_tieup->setShaftCount(n);
    if (m_liftplan) {
        m_treadles = n;
        for (int r = 0; r < kMaxRows; ++r)
            if (m_treadling[r]) m_treadling[r]->SetLimit(n);
        m_tieup->setTreadleCount(n);
    }
    return step.commit();
}

bool CQuillabyDoc::SetNumTreadles(Edit e, int n)
{
    if (n < 1 || n > kMaxTreadles) return false;
    // In liftplan form the treadles are the shafts.
    if (m_liftplan) n = std::min(n, kMaxShafts);
    if (n == m_treadles && loomConsistent()) return false;
    DraftStep step(e, *this, DraftSnapshot::Structure);
    if (m_liftplan) {
        m_shafts = n;
        for (int r = 0; r < kMaxRows; ++r)
            if (m_threading[r]) m_threading[r]->SetLimit(n);
        m_tieup->setShaftCount(n);
    }
    m_treadles = n;
    for (int r = 0; r < kMaxRows; ++r)
        if (m_treadling[r]) m_treadling[r]->SetLimit(n);
    m_tieup->setTreadleCount(n);
    return step.commit();
}

int CQuillabyDoc::uniformColorSlot(bool warp, int slot) const
{
    const auto* t = warp ? static_cast<const Tding*>(m_threading[slot].get()) : m_treadling[slot].get();
    if (!t) t = warp ? static_cast<const Tding*>(m_threading[0].get()) : m_treadling[0].get();
    return t ? t->UniformOrDefaultColor() : 0;
}

bool CQuillabyDoc::SetNumRows(Edit e, Side side, int n, std::array<int, 2> barColors)
{
    const bool warp = IsWarp(side);
    if (n < 1 || n > kMaxRows || !m_threading[0] || !m_treadling[0]) return false;
    int& count = warp ? m_numWarps : m_numWefts;
    if (n == count) return false;
    DraftStep step(e, *this, DraftSnapshot::Structure);

    // The default colors of new rows, slot by slot.
    std::array<int, kMaxRows> slots{};
    if (m_numWarps >= 2 || m_numWefts >= 2) {
        const bool fromWarp = m_numWarps >= 2;
        const int rows = fromWarp ? m_numWarps : m_numWefts;
        for (int i = 0; i < kMaxRows; ++i) slots[i] = uniformColorSlot(fromWarp, i < rows ? i : 0);
    } else {
        slots[0] = uniformColorSlot(warp, 0);
        slots[1] = uniformColorSlot(!warp, 0);
        slots[2] = barColors[0];
        slots[3] = barColors[1];
    }
    // A new row's threads take its default color: it must name a palette entry.
    for (int& c : slots) c = std::clamp(c, 0, std::max(0, m_palette->count() - 1));

    for (int r = n; r < kMaxRows; ++r) {
        if (warp) m_threading[r].reset();
        else m_treadling[r].reset();
    }
    for (int r = count; r < n; ++r) {
        if (warp) {
            auto t = std::make_unique<Threading>(m_shafts);
            t->setDefaultColor(slots[r]);
            t->Append(numEnds());
            m_threading[r] = std::move(t);
        } else {
            auto t = std::make_unique<Treadling>(m_treadling[0]->limit());
            t->setDefaultColor(slots[r]);
            t->setMultiple(m_treadling[0]->multiple());
            t->Append(numPicks());
            m_treadling[r] = std::move(t);
        }
    }
    count = n;
    return step.commit();
}

bool CQuillabyDoc::SetMultipleTreadles(Edit e, bool on)
{
    if (!m_treadling[0] || m_treadling[0]->multiple() == on) return false;
    // Only a single weft may switch; a liftplan always has several per pick.
    if (m_numWefts > 1 || (m_liftplan && !on)) return false;
    // Switching off needs one treadle per pick; the tieup conversion makes it so.
    if (!on)
        for (const TreadleSet& v : m_treadling[0]->values())
            if (v.count() > 1) return false;
    DraftStep step(e, *this, DraftSnapshot::Structure);
    for (auto& t : m_treadling)
        if (t) t->setMultiple(on);
    return step.commit();
}

} // namespace qb
