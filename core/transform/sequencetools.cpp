#include "core/transform/sequencetools.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <numeric>

namespace qb {

void CopyLabelsThatFit(const Tding& src, Tding& dst)
{
    for (int r = 0; r < kLabelRows; ++r)
        for (const Label& l : src.labelRow(r))
            if (l.start + l.length <= dst.GetCount()) dst.AddLabel(l);
}

Renumbering IdentityRenumbering(int n)
{
    Renumbering m(static_cast<std::size_t>(std::max(0, n)));
    std::iota(m.begin(), m.end(), 0);
    return m;
}

void ComposeRotation(Renumbering& map, int a, int b)
{
    if (a == b) return;
    for (int& v : map) {
        if (a < b) {
            if (v == a) v = b;
            else if (v > a && v <= b) --v;
        } else {
            if (v == a) v = b;
            else if (v >= b && v < a) ++v;
        }
    }
}

TreadleSet RenumberSet(TreadleSet set, const Renumbering& map)
{
    TreadleSet out;
    const int n = static_cast<int>(map.size());
    const std::uint64_t lo = set.lo(), hi = set.hi();
    if ((hi == 0 && lo != 0 && (lo & (lo - 1)) == 0) || (lo == 0 && hi != 0 && (hi & (hi - 1)) == 0)) {
        // The common case: one treadle per pick.
        const int t = set.lowest();
        out.set(t <= n ? map[t - 1] + 1 : t);
        return out;
    }
    set.forEach([&](int t) { out.set(t <= n ? map[t - 1] + 1 : t); });
    return out;
}

namespace {
TUPTYPE renumberShafts(TUPTYPE set, const Renumbering& map)
{
    TUPTYPE out;
    const int n = static_cast<int>(map.size());
    for (std::uint64_t b = set.bits(); b; b &= b - 1) {
        const int s = std::countr_zero(b) + 1;
        out.set(s <= n ? map[s - 1] + 1 : s);
    }
    return out;
}
} // namespace

void RenumberShafts(CQuillabyDoc& doc, const Renumbering& map)
{
    const int n = static_cast<int>(map.size());
    std::array<std::uint8_t, 256> lut{};
    for (int v = 0; v < 256; ++v) lut[v] = static_cast<std::uint8_t>(v >= 1 && v <= n ? map[v - 1] + 1 : v);
    for (int r = 0; r < doc.numWarps(); ++r) {
        Threading* t = doc.raw().threadingMutable(r);
        for (int e = 0; e < t->GetCount(); ++e)
            if (const int s = t->GetShaft(e)) t->SetValue(e, lut[s]);
    }
    Tieup& tu = doc.raw().tieupMutable();
    for (int c = 0; c < tu.treadleCount(); ++c) tu.setColumn(c, renumberShafts(tu.column(c), map));
    if (doc.isLiftplan())
        for (int r = 0; r < doc.numWefts(); ++r) {
            Treadling* t = doc.raw().treadlingMutable(r);
            for (int p = 0; p < t->GetCount(); ++p) t->SetSet(p, RenumberSet(t->GetSet(p), map));
        }
}

void RenumberTreadles(CQuillabyDoc& doc, const Renumbering& map)
{
    for (int r = 0; r < doc.numWefts(); ++r) {
        Treadling* t = doc.raw().treadlingMutable(r);
        for (int p = 0; p < t->GetCount(); ++p) {
            const TreadleSet s = t->GetSet(p);
            if (s.empty()) continue;
            if (const TreadleSet n = RenumberSet(s, map); n != s) t->SetSet(p, n);
        }
    }
    Tieup& tu = doc.raw().tieupMutable();
    std::vector<TUPTYPE> cols(static_cast<std::size_t>(tu.treadleCount()));
    for (int c = 0; c < tu.treadleCount(); ++c) cols[c] = tu.column(c);
    for (int c = 0; c < tu.treadleCount() && c < static_cast<int>(map.size()); ++c) tu.setColumn(map[c], cols[c]);
}

int FindUsedShafts(const CQuillabyDoc& doc)
{
    int best = 0;
    for (int r = 0; r < doc.numWarps(); ++r) best = std::max(best, doc.threading(r)->HighestValue());
    return best;
}

int FindUsedTreadles(const CQuillabyDoc& doc)
{
    std::uint64_t lo = 0, hi = 0;
    for (int r = 0; r < doc.numWefts(); ++r)
        for (const TreadleSet& s : doc.treadling(r)->values()) {
            lo |= s.lo();
            hi |= s.hi();
        }
    return TreadleSet(lo, hi).highest();
}

} // namespace qb
