#include "core/transform/drawcrossing.h"

#include "core/draft/draftstep.h"
#include "core/draft/drawdown.h"
#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"

#include <utility>
#include <vector>

namespace qb {

namespace {

// Beyond this many picks to rewrite, one snapshot is cheaper to record and
// to show than a step per pick.
constexpr std::size_t kPicksOneByOne = 64;

// How many threads use each shaft and how many picks each treadle, over all
// rows in use: a shaft or treadle used once is the clicked thread's own.
struct Usage {
    std::vector<int> shafts;   // [shaft]
    std::vector<int> treadles; // [treadle]

    explicit Usage(const CQuillabyDoc& doc) : shafts(kMaxShafts + 2, 0), treadles(kMaxTreadles + 2, 0)
    {
        for (int r = 0; r < doc.numWarps(); ++r)
            if (const Threading* t = doc.threading(r))
                for (int e = 0; e < t->GetCount(); ++e) ++shafts[t->GetShaft(e)];
        if (doc.isLiftplan()) return;
        for (int r = 0; r < doc.numWefts(); ++r)
            if (const Treadling* t = doc.treadling(r))
                for (const TreadleSet& set : t->values()) set.forEach([&](int x) { ++treadles[x]; });
    }
    // The lowest shaft (treadle) of 1..count nothing uses, or count + 1.
    static int firstFree(const std::vector<int>& used, int count, int skip = 0)
    {
        for (int x = 1; x <= count; ++x)
            if (used[x] == 0 && x != skip) return x;
        return count + 1;
    }
};

// The changes one click makes, worked out before anything changes.
struct Plan {
    int shafts = 0, treadles = 0;
    int thread = 0;                                // the end's new shaft (0: it keeps its own)
    std::vector<TUPTYPE> columns;                  // the whole tieup afterwards
    std::vector<std::pair<int, TreadleSet>> picks; // picks of weft row 0 to rewrite

    void apply(Edit e, CQuillabyDoc& doc, int end) const
    {
        if (shafts > doc.numShafts()) doc.SetNumShafts(e, shafts);
        if (treadles > doc.numTreadles()) doc.SetNumTreadles(e, treadles);
        if (!doc.isLiftplan())
            for (int t = 0; t < int(columns.size()); ++t)
                if (!(doc.tieup().column(t) == columns[t])) doc.SetTieupColumn(e, t, columns[t]);
        if (thread) doc.SetThreadingCell(e, end, thread, 0);
        if (picks.size() <= kPicksOneByOne) {
            for (const auto& [q, set] : picks) doc.SetPickSet(e, q, set, 0);
            return;
        }
        DraftStep step(e, doc, DraftSnapshot::Structure);
        for (const auto& [q, set] : picks) doc.raw().treadlingMutable(0)->SetSet(q, set);
        step.commit();
    }
};

TUPTYPE liftOf(TreadleSet set, const std::vector<TUPTYPE>& columns)
{
    TUPTYPE l;
    set.forEach([&](int t) {
        if (t <= int(columns.size())) l |= columns[t - 1];
    });
    return l;
}

bool ownedBy(TreadleSet set, const Usage& use)
{
    bool own = !set.empty();
    set.forEach([&](int t) { own = own && use.treadles[t] == 1; });
    return own;
}

// Ties (or unties) `shaft` on the pick's own treadles so that its lift holds it or not.
void tieOnOwnTreadles(std::vector<TUPTYPE>& columns, TreadleSet set, int shaft, bool in)
{
    if (in) {
        columns[set.lowest() - 1].set(shaft);
        return;
    }
    set.forEach([&](int t) { columns[t - 1].clear(shaft); });
}

} // namespace

CrossingOutcome DrawCrossing(Edit e, CQuillabyDoc& doc, int end, int pick, bool warpUp)
{
    if (end < 0 || pick < 0 || end >= doc.numEnds() || pick >= doc.numPicks()) return CrossingOutcome::Unchanged;
    if (doc.activeCorrelation() != 0) return CrossingOutcome::NotAvailable;
    const bool rising = doc.isRisingShed();
    const bool liftplan = doc.isLiftplan();
    const int picks = doc.numPicks(), shafts = doc.numShafts();
    const Treadling& treadling = *doc.treadling(0);
    std::vector<TUPTYPE> lift(picks);
    for (int q = 0; q < picks; ++q) lift[q] = LiftedShafts(doc, q, 0);
    const int s = doc.threading(0)->GetShaft(end);
    // An end on `shaft` shows on top of pick q; an unthreaded one never does.
    auto up = [&](int shaft, int q) { return shaft != 0 && lift[q].test(shaft) == rising; };
    if (up(s, pick) == warpUp) return CrossingOutcome::Unchanged;
    // Whether the end's shaft must be in the lift of pick q afterwards.
    auto wantIn = [&](int q) { return (q == pick ? warpUp : up(s, q)) == rising; };

    const Usage use(doc);
    const TreadleSet pressed = treadling.GetSet(pick);
    Plan plan;
    plan.shafts = shafts;
    plan.treadles = doc.numTreadles();
    if (!liftplan)
        for (int t = 0; t < plan.treadles; ++t) plan.columns.push_back(doc.tieup().column(t));

    // The end alone on its shaft and the pick alone on its treadles: one tie.
    const bool ownShaft = s != 0 && use.shafts[s] == 1;
    if (ownShaft && (liftplan || ownedBy(pressed, use))) {
        if (liftplan) {
            TreadleSet set = pressed;
            if (wantIn(pick)) set.set(s);
            else set.clear(s);
            plan.picks.emplace_back(pick, set);
        } else {
            tieOnOwnTreadles(plan.columns, pressed, s, wantIn(pick));
        }
        plan.apply(e, doc, end);
        return CrossingOutcome::Changed;
    }

    // A shaft that already rises as the end should: rethreading is enough.
    TUPTYPE fits = TUPTYPE::firstShafts(shafts);
    fits.clear(s);
    for (int q = 0; q < picks && !fits.empty(); ++q) fits &= wantIn(q) ? lift[q] : ~lift[q];
    if (!fits.empty()) {
        plan.thread = fits.lowest();
        plan.apply(e, doc, end);
        return CrossingOutcome::Changed;
    }

    // A shaft of the end's own, rising on every other pick as the old one did.
    const int own = ownShaft ? s : Usage::firstFree(use.shafts, shafts);
    if (own > kMaxShafts) return CrossingOutcome::NeedsShaft;
    plan.shafts = std::max(shafts, own);
    if (own != s) plan.thread = own;
    if (liftplan) {
        for (int q = 0; q < picks; ++q) {
            TreadleSet set = treadling.GetSet(q);
            if (set.test(own) == wantIn(q)) continue;
            if (wantIn(q)) set.set(own);
            else set.clear(own);
            plan.picks.emplace_back(q, set);
        }
        plan.apply(e, doc, end);
        return CrossingOutcome::Changed;
    }

    std::vector<TUPTYPE>& columns = plan.columns;
    if (own != s)
        for (TUPTYPE& c : columns) {
            // An unthreaded end showed the weft everywhere: in a sinking shed
            // its new shaft must rise with every pick.
            if (s != 0 ? c.test(s) : !rising) c.set(own);
            else c.clear(own);
        }
    // Picks with no treadle lift nothing; where the new shaft must rise with
    // them they share one treadle that lifts only that shaft.
    int lone = 0;
    auto addTreadle = [&](TUPTYPE column) {
        const int t = Usage::firstFree(use.treadles, plan.treadles, lone);
        if (t > kMaxTreadles) return 0;
        if (t > plan.treadles) {
            plan.treadles = t;
            columns.resize(t);
        }
        columns[t - 1] = column;
        return t;
    };
    for (int q = 0; q < picks; ++q) {
        if (q == pick || liftOf(treadling.GetSet(q), columns).test(own) == wantIn(q)) continue;
        if (!lone) {
            TUPTYPE only;
            only.set(own);
            if (!(lone = addTreadle(only))) return CrossingOutcome::NeedsTreadle;
        }
        TreadleSet set;
        set.set(lone);
        plan.picks.emplace_back(q, set);
    }

    // The clicked pick: its own treadles take the tie, or it gets a treadle
    // tied like its lift with the one shaft changed.
    TUPTYPE wanted = liftOf(pressed, columns);
    if (wanted.test(own) != wantIn(pick)) {
        if (ownedBy(pressed, use)) {
            tieOnOwnTreadles(columns, pressed, own, wantIn(pick));
        } else {
            if (wantIn(pick)) wanted.set(own);
            else wanted.clear(own);
            int t = 0;
            for (int x = 0; x < int(columns.size()) && !t && !wanted.empty(); ++x)
                if (columns[x] == wanted) t = x + 1;
            if (!t && !wanted.empty() && !(t = addTreadle(wanted))) return CrossingOutcome::NeedsTreadle;
            TreadleSet set;
            if (t) set.set(t);
            plan.picks.emplace_back(pick, set);
        }
    }
    plan.apply(e, doc, end);
    return CrossingOutcome::Changed;
}

const char* CrossingMessage(CrossingOutcome outcome)
{
    switch (outcome) {
    case CrossingOutcome::NeedsShaft: return "This crossing needs a shaft of its own, and the draft has all 64 shafts.";
    case CrossingOutcome::NeedsTreadle:
        return "This crossing needs a treadle of its own, and the draft has all 128 treadles.";
    case CrossingOutcome::NotAvailable:
        return "The drawdown cannot be drawn in while the color bars are correlated with the threading or treadling.";
    default: return "";
    }
}

} // namespace qb
