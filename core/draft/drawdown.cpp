#include "core/draft/drawdown.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qb {

TUPTYPE LiftedShafts(const CQuillabyDoc& doc, int pick, int weftRow)
{
    const Treadling* t = doc.treadling(weftRow);
    if (!t) return TUPTYPE();
    const TreadleSet pressed = t->GetSet(pick);
    if (doc.isLiftplan()) return pressed.shafts();
    TUPTYPE lifted;
    const Tieup& tieup = doc.tieup();
    pressed.forEach([&](int treadle) { lifted |= tieup.column(treadle - 1); });
    return lifted;
}

namespace {

COLORREF paletteColor(const CQuillabyDoc& doc, int index)
{
    return index >= 0 && index < doc.palette().count() ? doc.palette().color(index) : 0;
}

int shaftOf(const CQuillabyDoc& doc, int end, int row)
{
    const Threading* t = doc.threading(row);
    return t ? t->GetShaft(end) : 0;
}

} // namespace

COLORREF WarpColor(const CQuillabyDoc& doc, int end, int warpRow)
{
    const Threading* t = doc.threading(warpRow);
    return t ? paletteColor(doc, t->GetColor(end)) : 0;
}

COLORREF WeftColor(const CQuillabyDoc& doc, int pick, int weftRow)
{
    const Treadling* t = doc.treadling(weftRow);
    return t ? paletteColor(doc, t->GetColor(pick)) : 0;
}

Cell DrawdownCell(const CQuillabyDoc& doc, int end, int pick, bool back)
{
    const bool rising = doc.isRisingShed();
    Cell c;
    switch (doc.activeCorrelation()) {
    case 1: { // each warp row is one color bar
        const TUPTYPE lifted = LiftedShafts(doc, pick, 0);
        if (lifted.empty()) return Cell::Blank;
        bool any = false, bits = false;
        for (int j = 0; j < doc.numWarps(); ++j) {
            const int s = shaftOf(doc, end, j);
            if (!s) continue;
            any = true;
            bits = bits || lifted.test(s);
        }
        if (!any) return Cell::Blank;
        c = (rising ? bits : !bits) ? Cell::WarpUp : Cell::WeftUp;
        break;
    }
    case 2: { // each weft row is one color bar
        const int s = shaftOf(doc, end, 0);
        if (!s) return Cell::Blank;
        bool any = false, bits = false;
        for (int k = 0; k < doc.numWefts(); ++k) {
            const TUPTYPE lifted = LiftedShafts(doc, pick, k);
            if (lifted.empty()) continue;
            any = true;
            bits = bits || lifted.test(s);
        }
        if (!any) return Cell::Blank;
        c = (rising ? bits : !bits) ? Cell::WarpUp : Cell::WeftUp;
        break;
    }
    default: {
        const int s = shaftOf(doc, end, 0);
        if (!s) return Cell::Blank;
        c = WarpUp(s, LiftedShafts(doc, pick, 0), rising) ? Cell::WarpUp : Cell::WeftUp;
        break;
    }
    }
    if (back) c = c == Cell::WarpUp ? Cell::WeftUp : Cell::WarpUp;
    return c;
}

ColoredCell DrawdownColoredCell(const CQuillabyDoc& doc, int end, int pick, bool back)
{
    const bool rising = doc.isRisingShed();
    ColoredCell out;
    // Where the drawdown shows nothing there is no warp to show, from either
    // side: the weft's color.
    if (DrawdownCell(doc, end, pick) == Cell::Blank) {
        out.top = out.second = WeftColor(doc, pick, 0);
        return out;
    }
    switch (doc.activeCorrelation()) {
    case 1: {
        const TUPTYPE lifted = LiftedShafts(doc, pick, 0);
        const int rows = doc.numWarps();
        int top = -1, second = -1;
        for (int j = 0; j < rows; ++j) {
            const bool up = WarpUp(shaftOf(doc, end, j), lifted, rising);
            if (up && top < 0) top = j;
            if (!up && second < 0) second = j;
        }
        out.warpUp = top >= 0;
        out.top = WarpColor(doc, end, top >= 0 ? top : rows - 1);
        out.second = WarpColor(doc, end, second >= 0 ? second : rows - 1);
        break;
    }
    case 2: {
        const int s = shaftOf(doc, end, 0);
        const int rows = doc.numWefts();
        int top = -1, second = -1;
        for (int k = 0; k < rows; ++k) {
            const bool up = WarpUp(s, LiftedShafts(doc, pick, k), rising);
            if (!up && top < 0) top = k;
            if (up && second < 0) second = k;
        }
        out.warpUp = top < 0;
        out.top = WeftColor(doc, pick, top >= 0 ? top : rows - 1);
        out.second = WeftColor(doc, pick, second >= 0 ? second : rows - 1);
        break;
    }
    default: {
        const bool up = WarpUp(shaftOf(doc, end, 0), LiftedShafts(doc, pick, 0), rising);
        const COLORREF warp = WarpColor(doc, end, 0), weft = WeftColor(doc, pick, 0);
        out.warpUp = up;
        out.top = up ? warp : weft;
        out.second = up ? weft : warp;
        break;
    }
    }
    if (back) {
        out.warpUp = !out.warpUp;
        std::swap(out.top, out.second);
    }
    return out;
}

// --- the bit-parallel path ---

namespace {
// Rows kept for distinct lifts; beyond this, rows are computed on demand.
constexpr std::size_t kCacheBytes = 64u << 20;
} // namespace

DrawdownRows::DrawdownRows(const CQuillabyDoc& doc, bool back)
    : m_ends(doc.numEnds())
    , m_picks(doc.numPicks())
    , m_words((m_ends + 63) / 64)
    , m_shafts(doc.numShafts())
    , m_mode(doc.activeCorrelation())
    , m_rising(doc.isRisingShed())
    , m_back(back)
{
    const std::size_t w = static_cast<std::size_t>(m_words);
    m_shaftMasks.assign(64 * w, 0);
    m_threaded.assign(w, 0);
    m_validEnds.assign(w, 0);
    for (int e = 0; e < m_ends; ++e) m_validEnds[e >> 6] |= std::uint64_t(1) << (e & 63);

    // Which ends each shaft carries; with warp correlation every warp row counts.
    const int warpRows = m_mode == 1 ? doc.numWarps() : 1;
    m_singleShaftPerEnd = warpRows == 1;
    for (int j = 0; j < warpRows; ++j) {
        const Threading* t = doc.threading(j);
        if (!t) continue;
        const auto& shafts = t->values();
        for (int e = 0; e < m_ends && e < static_cast<int>(shafts.size()); ++e) {
            const int s = shafts[e];
            if (s < 1 || s > 64) continue;
            const std::uint64_t bit = std::uint64_t(1) << (e & 63);
            m_shaftMasks[static_cast<std::size_t>(s - 1) * w + (e >> 6)] |= bit;
            m_threaded[e >> 6] |= bit;
        }
    }

    // The lift of every pick; picks with the same treadles share the work.
    m_lifts.resize(static_cast<std::size_t>(m_picks));
    const int weftRows = m_mode == 2 ? doc.numWefts() : 1;
    const Tieup& tieup = doc.tieup();
    std::unordered_map<std::uint64_t, TUPTYPE> hiMemo;
    for (int k = 0; k < weftRows; ++k) {
        const Treadling* t = doc.treadling(k);
        if (!t) continue;
        const auto& sets = t->values();
        for (int p = 0; p < m_picks && p < static_cast<int>(sets.size()); ++p) {
            TUPTYPE lift;
            if (doc.isLiftplan()) {
                lift = sets[p].shafts();
            } else if (sets[p].count() == 1) {
                lift = tieup.column(sets[p].lowest() - 1);
            } else {
                sets[p].forEach([&](int tr) { lift |= tieup.column(tr - 1); });
            }
            m_lifts[p] |= lift;
        }
    }

    m_cacheLimitRows = w ? kCacheBytes / (2 * w * sizeof(std::uint64_t)) : 0;
    m_scratch.assign(2 * w, 0);
}

DrawdownRows::~DrawdownRows() = default;

void DrawdownRows::computeRow(TUPTYPE lift, std::uint64_t* up, std::uint64_t* blank) const
{
    const std::size_t w = static_cast<std::size_t>(m_words);
    const std::uint64_t liftBits = lift.bits();
    // Covered = ends whose shaft (in some row) is lifted. With one shaft per end
    // it is cheaper to OR the unlifted shafts when most shafts are lifted.
    const std::uint64_t usable = TUPTYPE::firstShafts(64).bits();
    const bool viaComplement = m_singleShaftPerEnd && std::popcount(liftBits) > 32;
    std::uint64_t pick = viaComplement ? (~liftBits & usable) : liftBits;
    const std::uint64_t* masks[64];
    int n = 0;
    for (; pick; pick &= pick - 1)
        masks[n++] = m_shaftMasks.data() + static_cast<std::size_t>(std::countr_zero(pick)) * w;
    // A block of words at a time, every mask ORed into it while it stays in
    // registers: the row is written once, not once per shaft.
    constexpr std::size_t kBlock = 32;
    for (std::size_t i0 = 0; i0 < w; i0 += kBlock) {
        std::uint64_t acc[kBlock] = {};
        if (w - i0 >= kBlock) {
            int k = 0;
            for (; k + 4 <= n; k += 4) {
                const std::uint64_t *a = masks[k] + i0, *b = masks[k + 1] + i0, *c = masks[k + 2] + i0,
                                    *d = masks[k + 3] + i0;
                for (std::size_t j = 0; j < kBlock; ++j) acc[j] |= (a[j] | b[j]) | (c[j] | d[j]);
            }
            for (; k < n; ++k)
                for (std::size_t j = 0; j < kBlock; ++j) acc[j] |= masks[k][i0 + j];
            std::copy(acc, acc + kBlock, up + i0);
        } else {
            const std::size_t len = w - i0;
            for (int k = 0; k < n; ++k)
                for (std::size_t j = 0; j < len; ++j) acc[j] |= masks[k][i0 + j];
            std::copy(acc, acc + len, up + i0);
        }
    }
    if (viaComplement)
        for (std::size_t i = 0; i < w; ++i) up[i] = m_threaded[i] & ~up[i];

    // Blank cells and the shed direction.
    const bool rowBlank = m_mode != 0 && lift.empty();
    const bool invert = !m_rising != m_back;
    for (std::size_t i = 0; i < w; ++i) {
        blank[i] = rowBlank ? m_validEnds[i] : (m_validEnds[i] & ~m_threaded[i]);
        std::uint64_t v = invert ? ~up[i] : up[i];
        up[i] = v & m_validEnds[i] & ~blank[i];
    }
}

DrawdownRows::Row DrawdownRows::row(int pick) const
{
    const std::size_t w = static_cast<std::size_t>(m_words);
    const TUPTYPE lift = pick >= 0 && pick < m_picks ? m_lifts[pick] : TUPTYPE();
    auto it = m_cacheIndex.find(lift.bits());
    if (it != m_cacheIndex.end()) {
        const std::uint64_t* base = m_cache.data() + it->second;
        return {base, base + w};
    }
    if (m_cacheIndex.size() < m_cacheLimitRows) {
        const std::size_t offset = m_cache.size();
        m_cache.resize(offset + 2 * w);
        computeRow(lift, m_cache.data() + offset, m_cache.data() + offset + w);
        m_cacheIndex.emplace(lift.bits(), offset);
        const std::uint64_t* base = m_cache.data() + offset;
        return {base, base + w};
    }
    computeRow(lift, m_scratch.data(), m_scratch.data() + w);
    return {m_scratch.data(), m_scratch.data() + w};
}

} // namespace qb
