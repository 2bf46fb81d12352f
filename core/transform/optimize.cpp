#include "core/transform/optimize.h"

#include "core/draft/draftstep.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"
#include "core/transform/tieupops.h"

#include <algorithm>

namespace qb {

namespace {

std::vector<bool> usedShafts(const CQuillabyDoc& doc)
{
    std::vector<bool> used(kMaxShafts + 1, false);
    for (int r = 0; r < doc.numWarps(); ++r)
        for (std::uint8_t s : doc.threading(r)->values()) used[s] = true;
    return used;
}

std::vector<bool> usedTreadles(const CQuillabyDoc& doc)
{
    std::uint64_t lo = 0, hi = 0;
    for (int r = 0; r < doc.numWefts(); ++r)
        for (const TreadleSet& s : doc.treadling(r)->values()) {
            lo |= s.lo();
            hi |= s.hi();
        }
    std::vector<bool> used(kMaxTreadles + 1, false);
    TreadleSet(lo, hi).forEach([&](int t) { used[t] = true; });
    return used;
}

// The treadles tied to each shaft (index shaft - 1).
std::vector<TreadleSet> shaftRows(const Tieup& tu)
{
    std::vector<TreadleSet> rows(static_cast<std::size_t>(tu.shaftCount()));
    for (int t = 0; t < tu.treadleCount(); ++t)
        for (std::uint64_t b = tu.column(t).bits(); b; b &= b - 1) {
            const int s = std::countr_zero(b);
            if (s < tu.shaftCount()) rows[s].set(t + 1);
        }
    return rows;
}

// For each position, the first position with an equal key (itself when it
// is the first), in one pass over a small hash table: fabric analysis merges
// after every cell, over as many as 128 treadles.
using Key = std::pair<std::uint64_t, std::uint64_t>;
Renumbering firstOfEqual(const std::vector<Key>& keys)
{
    constexpr std::size_t kTable = 512;
    static_assert(kTable > 2 * kMaxTreadles && kTable > 2 * kMaxShafts);
    std::array<int, kTable> table;
    table.fill(-1);
    Renumbering first(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Key& k = keys[i];
        std::size_t h = ((k.first * 0x9E3779B97F4A7C15ull) ^ (k.second * 0xC2B2AE3D27D4EB4Full)) >> 55;
        while (table[h] >= 0 && keys[static_cast<std::size_t>(table[h])] != k) h = (h + 1) % kTable;
        if (table[h] < 0) table[h] = static_cast<int>(i);
        first[i] = table[h];
    }
    return first;
}

// Walks positions once (n checks); an unused one moves to the end and the
// same position is checked again. Returns map[old] = new.
template <class Used, class Clear> Renumbering moveUnusedToEnd(int n, Used&& used, Clear&& clear)
{
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) order[i] = i;
    int pos = 0;
    for (int check = 0; check < n && pos < n; ++check) {
        const int x = order[pos];
        if (used(x)) {
            ++pos;
            continue;
        }
        clear(x);
        order.erase(order.begin() + pos);
        order.push_back(x);
    }
    Renumbering map(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) map[order[i]] = i;
    return map;
}

} // namespace

void ClearUnusedTreadles(CQuillabyDoc& doc)
{
    const auto used = usedTreadles(doc);
    Tieup& tu = doc.raw().tieupMutable();
    for (int t = 0; t < tu.treadleCount(); ++t)
        if (!used[t + 1]) tu.setColumn(t, TUPTYPE());
}

void ClearUnusedShaftRows(CQuillabyDoc& doc)
{
    const auto used = usedShafts(doc);
    TUPTYPE keep;
    for (int s = 1; s <= kMaxShafts; ++s)
        if (used[s]) keep.set(s);
    Tieup& tu = doc.raw().tieupMutable();
    for (int t = 0; t < tu.treadleCount(); ++t) tu.setColumn(t, tu.column(t) & keep);
}

void MergeDuplicateShafts(CQuillabyDoc& doc)
{
    const auto rows = shaftRows(doc.tieup());
    std::vector<Key> keys;
    for (const TreadleSet& r : rows) keys.emplace_back(r.lo(), r.hi());
    const Renumbering first = firstOfEqual(keys);
    std::array<std::uint8_t, 256> target{};
    for (int v = 0; v < 256; ++v) target[v] = static_cast<std::uint8_t>(v);
    bool any = false;
    for (std::size_t k = 0; k < first.size(); ++k)
        if (first[k] != static_cast<int>(k)) {
            target[k + 1] = static_cast<std::uint8_t>(first[k] + 1);
            any = true;
        }
    if (!any) return;
    for (int r = 0; r < doc.numWarps(); ++r) {
        Threading* t = doc.raw().threadingMutable(r);
        for (int e = 0; e < t->GetCount(); ++e)
            if (const int s = t->GetShaft(e); target[s] != s) t->SetValue(e, target[s]);
    }
}

void MergeDuplicateTreadles(CQuillabyDoc& doc)
{
    const Tieup& tu = doc.tieup();
    std::vector<Key> keys;
    for (int t = 0; t < tu.treadleCount(); ++t) keys.emplace_back(tu.column(t).bits(), 0);
    const Renumbering target = firstOfEqual(keys);
    TreadleSet moved;
    for (std::size_t k = 0; k < target.size(); ++k)
        if (target[k] != static_cast<int>(k)) moved.set(static_cast<int>(k) + 1);
    if (moved.empty()) return;
    // Only picks on a merged treadle change (fabric analysis runs this for every cell).
    for (int r = 0; r < doc.numWefts(); ++r) {
        Treadling* t = doc.raw().treadlingMutable(r);
        for (int p = 0; p < t->GetCount(); ++p)
            if (const TreadleSet s = t->GetSet(p); !(s & moved).empty()) t->SetSet(p, RenumberSet(s, target));
    }
}

void MoveUnusedShaftsUp(CQuillabyDoc& doc)
{
    const auto used = usedShafts(doc);
    Tieup& tu = doc.raw().tieupMutable();
    const Renumbering map = moveUnusedToEnd(
        doc.numShafts(), [&](int x) { return used[x + 1]; },
        [&](int x) {
            for (int t = 0; t < tu.treadleCount(); ++t) tu.clearCell(t, x + 1);
        });
    if (map != IdentityRenumbering(doc.numShafts())) RenumberShafts(doc, map);
}

void MoveUnusedTreadlesRight(CQuillabyDoc& doc)
{
    const auto used = usedTreadles(doc);
    Tieup& tu = doc.raw().tieupMutable();
    const Renumbering map = moveUnusedToEnd(
        doc.numTreadles(), [&](int x) { return used[x + 1]; }, [&](int x) { tu.setColumn(x, TUPTYPE()); });
    if (map != IdentityRenumbering(doc.numTreadles())) RenumberTreadles(doc, map);
}

CommandResult Optimize(Edit e, CQuillabyDoc& doc, Side side, IPrompter& prompter)
{
    // Shaft rows of a liftplan are not in the tieup; moving them would
    // change the cloth.
    if (doc.isLiftplan()) return CommandResult::refused(prompter, msg::needsTieupForm("Optimize"));
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, side == Side::Threading, prompter)) return CommandResult::declined();
    if (side == Side::Threading) {
        ClearUnusedTreadles(doc);
        MergeDuplicateShafts(doc);
        MoveUnusedShaftsUp(doc);
    } else {
        ClearUnusedShaftRows(doc);
        MergeDuplicateTreadles(doc);
        MoveUnusedTreadlesRight(doc);
    }
    step.commit();
    return CommandResult::doneResult();
}

NewDraftResult OptimizeDraft(const CQuillabyDoc& doc, IPrompter& prompter)
{
    NewDraftResult out;
    auto d = doc.Clone();
    const bool wasLiftplan = doc.isLiftplan();
    if (wasLiftplan || doc.multipleTreadles()) {
        // Every distinct lift needs a treadle of its own here; a partial
        // conversion would change the cloth.
        FixedPrompter no(false);
        if (ConvertToTieup(kUnrecorded, *d, no).status == CommandResult::Status::Declined) {
            out.result = CommandResult::refused(prompter, msg::treadlesRequired(kMaxTreadles + 1));
            return out;
        }
    }
    ClearUnusedTreadles(*d);
    MergeDuplicateShafts(*d);
    MoveUnusedShaftsUp(*d);
    ClearUnusedShaftRows(*d);
    MergeDuplicateTreadles(*d);
    MoveUnusedTreadlesRight(*d);
    d->SetNumShafts(kUnrecorded, std::max(1, FindUsedShafts(*d)));
    d->SetNumTreadles(kUnrecorded, std::max(1, FindUsedTreadles(*d)));
    if (wasLiftplan) {
        FixedPrompter yes(true);
        ConvertToLiftplan(kUnrecorded, *d, yes);
    }
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
