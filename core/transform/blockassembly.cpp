#include "core/transform/blockassembly.h"

#include "core/transform/blockmessages.h"

#include <algorithm>
#include <optional>

namespace qb {

namespace {

template <class V> class Assembler {
public:
    Assembler(const AssemblyInput<V>& in, const AssemblyOptions& o) : m_in(in), m_o(o) {}

    AssemblyResult<V> run()
    {
        const int count = static_cast<int>(m_in.blocks.size());
        const int len = m_o.unitLength;
        const int transition = std::clamp(m_o.transition, 0, len - 1);
        const int turning = std::clamp(m_o.turning, 0, len - 1);
        Unit<V> cur;
        int back = 0;
        bool transitioned = false;
        for (int i = 0; i < count; ++i) {
            const int k = m_in.blocks[static_cast<std::size_t>(i)];
            if (i == 0 || k != m_in.blocks[static_cast<std::size_t>(i - 1)]) {
                if (!unitOf(k, cur)) return fail(blockmsg::format(m_in.enoughMessage, k));
                if (i == 0) m_first = cur;
                if (i > 0 && m_o.flip && !flip(cur, i, !transitioned))
                    return fail(blockmsg::format(m_in.overlapMessage, i + 1));
                if (i > 0) transitioned = true;
                m_w = std::max(0, m_w - back); // never before the first thread
            }
            for (auto& t : cur) t.source = i;
            const bool last = i == count - 1;
            write(cur, last && m_o.shortenLast && m_o.transitionOverlaps ? len - transition : len);
            back = 0;
            m_extra = 0;
            if (last) break;
            const bool turns = !m_in.turning.empty() && m_in.turning[static_cast<std::size_t>(i)] && turning > 0;
            const bool changes = m_in.blocks[static_cast<std::size_t>(i + 1)] != k;
            const int n = turns ? turning : changes ? transition : 0;
            const bool overlaps = turns ? m_o.turningOverlaps : m_o.transitionOverlaps;
            if (n > 0 && overlaps) back = n;
            else if (n > 0) {
                write(cur, n);
                m_extra = n;
            }
        }
        m_out.resize(static_cast<std::size_t>(m_w));
        AssemblyResult<V> r;
        r.threads = std::move(m_out);
        return r;
    }

private:
    AssemblyResult<V> fail(std::string message)
    {
        AssemblyResult<V> r;
        r.error = std::move(message);
        return r;
    }

    bool unitOf(int k, Unit<V>& cur)
    {
        const Unit<V>* u = m_in.unit(k);
        if (!u || static_cast<int>(u->size()) != m_o.unitLength) return false;
        cur = *u;
        return true;
    }

    // Writes the first n threads of the unit at the write position.
    void write(const Unit<V>& unit, int n)
    {
        if (static_cast<int>(m_out.size()) < m_w + n) m_out.resize(static_cast<std::size_t>(m_w + n));
        std::copy_n(unit.begin(), n, m_out.begin() + m_w);
        m_w += n;
    }

    std::optional<TreadleSet> firstTiedown(const Unit<V>& unit) const
    {
        for (const auto& t : unit)
            if (const TreadleSet d = m_in.tiedown(t.value); !d.empty()) return d;
        return std::nullopt;
    }

    std::optional<TreadleSet> lastTiedown() const
    {
        for (int j = m_w - 1; j >= 0; --j)
            if (const TreadleSet d = m_in.tiedown(m_out[static_cast<std::size_t>(j)].value); !d.empty()) return d;
        return std::nullopt;
    }

    bool needsFlip(const Unit<V>& unit) const
    {
        if (m_w == 0 || unit.empty()) return false;
        if (m_o.flipToShared) return !(unit.front().value == m_out[static_cast<std::size_t>(m_w - 1)].value);
        const auto a = firstTiedown(unit), b = lastTiedown();
        return a && b && *a == *b;
    }

    // Reverses the new unit if needed; at the first transition the first
    // unit (every copy of it written so far) may be reversed too.
    bool flip(Unit<V>& unit, int i, bool first)
    {
        if (!needsFlip(unit)) return true;
        std::reverse(unit.begin(), unit.end());
        if (!needsFlip(unit)) return true;
        if (!first) return false;
        // Everything written so far is the first block's run: write it again
        // with its unit reversed.
        std::reverse(m_first.begin(), m_first.end());
        m_out.clear();
        m_w = 0;
        for (int j = 0; j < i; ++j) {
            for (auto& t : m_first) t.source = j;
            write(m_first, m_o.unitLength);
        }
        if (m_extra > 0) write(m_first, m_extra);
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!needsFlip(unit)) return true;
            std::reverse(unit.begin(), unit.end());
        }
        return false;
    }

    const AssemblyInput<V>& m_in;
    const AssemblyOptions& m_o;
    std::vector<PlacedThread<V>> m_out;
    Unit<V> m_first;
    int m_w = 0;
    int m_extra = 0; // threads written once more after the latest unit
};

} // namespace

template <class V> AssemblyResult<V> AssembleUnits(const AssemblyInput<V>& in, const AssemblyOptions& o)
{
    if (o.unitLength < 1) {
        AssemblyResult<V> r;
        r.error = blockmsg::format(in.enoughMessage, in.blocks.empty() ? 1 : in.blocks.front());
        return r;
    }
    return Assembler<V>(in, o).run();
}

template AssemblyResult<int> AssembleUnits(const AssemblyInput<int>&, const AssemblyOptions&);
template AssemblyResult<TreadleSet> AssembleUnits(const AssemblyInput<TreadleSet>&, const AssemblyOptions&);

} // namespace qb
