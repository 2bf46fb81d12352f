#include "core/transform/arrange.h"

#include "core/draft/draftstep.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

bool CanArrange(const CQuillabyDoc& doc, Side side)
{
    if (doc.isLiftplan()) return false;
    if (side == Side::Threading) return doc.numEnds() > 1 && doc.numWarps() == 1;
    return doc.numPicks() > 1 && doc.numWefts() == 1 && !doc.multipleTreadles();
}

namespace {

Renumbering parallel(int n)
{
    Renumbering map = IdentityRenumbering(n);
    for (int i = 1; i <= (n + 1) / 2; ++i) ComposeRotation(map, std::min(i, n - 1), n - 1);
    return map;
}

// First-use order. An end whose thread is already placed is passed over, so
// repeated shafts do not use up target positions.
Renumbering sequential(int n, int count, const auto& valueOf)
{
    Renumbering map = IdentityRenumbering(n);
    int cursor = 0;
    for (int i = 0; i < n; ++i) {
        while (cursor < count) {
            const int v = valueOf(cursor);
            if (v >= 1 && v <= n && map[v - 1] >= i) break;
            ++cursor;
        }
        if (cursor >= count) break;
        ComposeRotation(map, map[valueOf(cursor) - 1], i);
        ++cursor;
    }
    return map;
}

} // namespace

CommandResult Arrange(Edit e, CQuillabyDoc& doc, Side side, ArrangeKind kind, IPrompter& prompter)
{
    if (!CanArrange(doc, side)) return CommandResult::noChange();
    const bool warp = side == Side::Threading;
    const int n = warp ? doc.numShafts() : doc.numTreadles();
    Renumbering map;
    if (kind == ArrangeKind::Parallel) map = parallel(n);
    else if (warp) {
        const Threading& t = *doc.threading(0);
        map = sequential(n, t.GetCount(), [&](int e) { return t.GetShaft(e); });
    } else {
        const Treadling& t = *doc.treadling(0);
        map = sequential(n, t.GetCount(), [&](int p) { return t.FirstValue(p); });
    }
    if (map == IdentityRenumbering(n)) return CommandResult::noChange();
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, warp, prompter)) return CommandResult::declined();
    if (warp) RenumberShafts(doc, map);
    else RenumberTreadles(doc, map);
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
