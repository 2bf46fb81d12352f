#include "core/transform/wrap.h"

#include "core/draft/draftstep.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/sequencetools.h"

#include <algorithm>
#include <numeric>

namespace qb {

CommandResult WrapShafts(Edit e, CQuillabyDoc& doc, bool up, IPrompter& prompter)
{
    const int s = doc.numShafts();
    if (s < 2 || doc.numEnds() == 0) return CommandResult::noChange();
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, true, prompter)) return CommandResult::declined();
    Renumbering map = IdentityRenumbering(s);
    if (up) ComposeRotation(map, s - 1, 0);
    else ComposeRotation(map, 0, s - 1);
    for (int r = 0; r < doc.numWarps(); ++r) {
        Threading* t = doc.raw().threadingMutable(r);
        for (int e = 0; e < t->GetCount(); ++e)
            if (const int v = t->GetShaft(e)) t->SetValue(e, map[v - 1] + 1);
    }
    step.commit();
    return CommandResult::doneResult();
}

CommandResult WrapTreadles(Edit e, CQuillabyDoc& doc, bool right, IPrompter& prompter)
{
    const int n = doc.treadling(0)->limit();
    if (n < 2 || doc.numPicks() == 0) return CommandResult::noChange();
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    Renumbering map = IdentityRenumbering(n);
    if (right) ComposeRotation(map, n - 1, 0);
    else ComposeRotation(map, 0, n - 1);
    for (int r = 0; r < doc.numWefts(); ++r) {
        Treadling* t = doc.raw().treadlingMutable(r);
        for (int p = 0; p < t->GetCount(); ++p) t->SetSet(p, RenumberSet(t->GetSet(p), map));
    }
    step.commit();
    return CommandResult::doneResult();
}

namespace {
CommandResult rotateThreads(Edit e, CQuillabyDoc& doc, Side side, bool firstToLast)
{
    const int n = ThreadCount(doc, side);
    if (n < 2) return CommandResult::noChange();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (firstToLast) std::rotate(order.begin(), order.begin() + 1, order.end());
    else std::rotate(order.begin(), order.end() - 1, order.end());
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](auto& t, int r) {
        auto out = Gather(t, order);
        CopyLabelsThatFit(t, *out);
        ReplaceRow(doc, r, std::move(out));
    });
    step.commit();
    return CommandResult::doneResult();
}
} // namespace

CommandResult WrapEnds(Edit e, CQuillabyDoc& doc, bool toEnd)
{
    return rotateThreads(e, doc, Side::Threading, toEnd);
}

CommandResult WrapPicks(Edit e, CQuillabyDoc& doc, bool up)
{
    return rotateThreads(e, doc, Side::Treadling, !up);
}

CommandResult MoveShaft(Edit e, CQuillabyDoc& doc, int a, int b)
{
    const int s = doc.numShafts();
    if (s < 1) return CommandResult::noChange();
    a = std::clamp(a, 0, s - 1);
    b = std::clamp(b, 0, s - 1);
    if (a == b) return CommandResult::noChange();
    DraftStep step(e, doc);
    Renumbering map = IdentityRenumbering(s);
    ComposeRotation(map, a, b);
    RenumberShafts(doc, map);
    step.commit();
    return CommandResult::doneResult();
}

CommandResult MoveTreadle(Edit e, CQuillabyDoc& doc, int a, int b)
{
    if (doc.isLiftplan()) return MoveShaft(e, doc, a, b);
    const int n = doc.numTreadles();
    if (n < 1) return CommandResult::noChange();
    a = std::clamp(a, 0, n - 1);
    b = std::clamp(b, 0, n - 1);
    if (a == b) return CommandResult::noChange();
    DraftStep step(e, doc);
    Renumbering map = IdentityRenumbering(n);
    ComposeRotation(map, a, b);
    RenumberTreadles(doc, map);
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
