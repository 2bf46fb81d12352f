#include "core/transform/sequenceops.h"

#include "core/draft/draftstep.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

CommandResult ClearThreads(Edit e, CQuillabyDoc& doc, Side side)
{
    const int n = ThreadCount(doc, side);
    const Tding& first = side == Side::Threading ? static_cast<const Tding&>(*doc.threading(0)) : *doc.treadling(0);
    if (n == 0 && first.LabelRowCount() == 0) return CommandResult::noChange();
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](Tding& t, int r) {
        if (r == 0) t.ClearLabels();
        if (t.GetCount()) t.Delete(0, t.GetCount());
    });
    step.commit();
    return CommandResult::doneResult();
}

CommandResult ClearLabels(Edit e, CQuillabyDoc& doc, Side side)
{
    const bool warp = side == Side::Threading;
    const Tding& first = warp ? static_cast<const Tding&>(*doc.threading(0)) : *doc.treadling(0);
    if (first.LabelRowCount() == 0) return CommandResult::noChange();
    doc.RemoveAllLabels(e, side, 0);
    return CommandResult::doneResult();
}

namespace {
// Labels keep the threads they covered that survive.
void remapLabels(const Tding& src, Tding& dst, const std::vector<int>& keptBefore)
{
    for (int lr = 0; lr < kLabelRows; ++lr)
        for (Label l : src.labelRow(lr)) {
            const int a = keptBefore[std::min<std::size_t>(l.start, keptBefore.size() - 1)];
            const int b = keptBefore[std::min<std::size_t>(l.start + l.length, keptBefore.size() - 1)];
            if (b <= a) continue;
            l.start = a;
            l.length = b - a;
            dst.AddLabel(l);
        }
}
} // namespace

void RemovePattern::click(int cell)
{
    if (cell < 0 || cell >= kMaxRemovePattern) return;
    if (cell >= static_cast<int>(m_keep.size())) m_keep.resize(static_cast<std::size_t>(cell) + 1, false);
    else m_keep[cell] = !m_keep[cell];
}

void RemovePattern::truncate(int cell)
{
    if (cell >= 0 && cell < static_cast<int>(m_keep.size())) m_keep.resize(static_cast<std::size_t>(cell));
}

CommandResult RemoveByPattern(Edit e, CQuillabyDoc& doc, Side side, const std::vector<bool>& keep)
{
    const int n = ThreadCount(doc, side);
    const int len = std::min({static_cast<int>(keep.size()), kMaxRemovePattern, n});
    if (len < 2) return CommandResult::noChange();
    std::vector<int> kept;
    std::vector<int> keptBefore(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i) {
        keptBefore[i] = static_cast<int>(kept.size());
        if (keep[i % len]) kept.push_back(i);
    }
    keptBefore[n] = static_cast<int>(kept.size());
    if (static_cast<int>(kept.size()) == n) return CommandResult::noChange();
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](auto& t, int r) {
        auto out = Gather(t, kept);
        remapLabels(t, *out, keptBefore);
        ReplaceRow(doc, r, std::move(out));
    });
    step.commit();
    return CommandResult::doneResult();
}

CommandResult TrompAsWrit(Edit e, CQuillabyDoc& doc, bool mirror, IPrompter& prompter)
{
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    const Threading& th = *doc.threading(0);
    const int n = th.GetCount();
    const int limit = doc.treadling(0)->limit();
    for (int r = 0; r < doc.numWefts(); ++r) {
        Treadling& t = *doc.raw().treadlingMutable(r);
        if (t.GetCount() > n) t.Delete(n, t.GetCount() - n);
        else t.Append(n - t.GetCount());
        if (r != 0) continue;
        for (int i = 0; i < n; ++i) {
            const int s = th.GetShaft(i);
            TreadleSet set;
            if (s >= 1 && s <= limit) set.set(mirror ? limit + 1 - s : s);
            t.SetSet(i, set);
        }
    }
    step.commit();
    return CommandResult::doneResult();
}

CommandResult UseOtherColors(Edit e, CQuillabyDoc& doc, bool toWarp)
{
    const int n = std::min(doc.numEnds(), doc.numPicks());
    Threading& th = *doc.raw().threadingMutable(0);
    Treadling& tr = *doc.raw().treadlingMutable(0);
    bool differs = false;
    for (int i = 0; i < n && !differs; ++i) differs = th.GetColor(i) != tr.GetColor(i);
    if (!differs) return CommandResult::noChange();
    DraftStep step(e, doc);
    Tding& to = toWarp ? static_cast<Tding&>(th) : tr;
    const Tding& from = toWarp ? static_cast<const Tding&>(tr) : th;
    const int keepDefault = to.defaultColor();
    for (int i = 0; i < n; ++i) to.SetColor(i, from.GetColor(i));
    to.setDefaultColor(keepDefault);
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
