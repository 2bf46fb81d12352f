#include "core/transform/repeat.h"

#include "core/draft/draftstep.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <numeric>

namespace qb {

namespace {

bool blocksRepeat(const Tding& t, int p)
{
    const int n = t.GetCount();
    for (int i = p; i < n; ++i)
        if (!t.Equal(i, i - p)) return false;
    return true;
}

// Every candidate length is tried in turn; skipping ahead after a failed
// block would miss true periods (1,2,1,1,2 twice).
int jointRepeat(CQuillabyDoc& doc, Side side)
{
    const int n = ThreadCount(doc, side);
    if (n < 2) return n;
    for (int p = 1; p < n; ++p) {
        if (n % p) continue;
        bool all = true;
        ForEachRow(doc, side, [&](const Tding& t, int) { all = all && t.Equal(p, 0) && blocksRepeat(t, p); });
        if (all) return p;
    }
    return n;
}

void repeatRows(CQuillabyDoc& doc, Side side, int times)
{
    const int m = ThreadCount(doc, side);
    ForEachRow(doc, side, [&](auto& t, int) {
        const auto copy = t;
        t.Append(m * (times - 1));
        for (int i = m; i < m * times; ++i) CopyThread(copy, i % m, t, i);
    });
}

std::string tooLong(Side side, int n)
{
    return side == Side::Threading ? msg::endsRequired(n) : msg::picksRequired(n);
}

} // namespace

int FindRepeatLength(const Tding& t)
{
    const int n = t.GetCount();
    if (n < 2) return 1;
    for (int p = 1; p < n; ++p)
        if (n % p == 0 && t.Equal(p, 0) && blocksRepeat(t, p)) return p;
    return n;
}

CommandResult RepeatThreads(Edit e, CQuillabyDoc& doc, Side side, int times, IPrompter& prompter)
{
    const int m = ThreadCount(doc, side);
    if (times < 2 || m == 0) return CommandResult::noChange();
    if (static_cast<long long>(m) * times > kMaxThreads)
        return CommandResult::refused(prompter, tooLong(side, m * times));
    DraftStep step(e, doc);
    repeatRows(doc, side, times);
    step.commit();
    return CommandResult::doneResult();
}

CommandResult SingleRepeat(Edit e, CQuillabyDoc& doc, Side side)
{
    const int n = ThreadCount(doc, side);
    const int p = jointRepeat(doc, side);
    if (p >= n) return CommandResult::noChange();
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](Tding& t, int) { t.Delete(p, n - p); });
    step.commit();
    return CommandResult::doneResult();
}

CommandResult SingleRepeatDraft(Edit e, CQuillabyDoc& doc)
{
    const int pe = jointRepeat(doc, Side::Threading), pp = jointRepeat(doc, Side::Treadling);
    if (pe >= doc.numEnds() && pp >= doc.numPicks()) return CommandResult::noChange();
    DraftStep step(e, doc);
    const int n = doc.numEnds(), m = doc.numPicks();
    if (pe < n) ForEachRow(doc, Side::Threading, [&](Tding& t, int) { t.Delete(pe, n - pe); });
    if (pp < m) ForEachRow(doc, Side::Treadling, [&](Tding& t, int) { t.Delete(pp, m - pp); });
    step.commit();
    return CommandResult::doneResult();
}

CommandResult SuperSize(Edit e, CQuillabyDoc& doc, IPrompter& prompter)
{
    const int n = doc.numEnds(), m = doc.numPicks();
    if (3 * n > kMaxThreads) return CommandResult::refused(prompter, msg::endsRequired(3 * n));
    if (3 * m > kMaxThreads) return CommandResult::refused(prompter, msg::picksRequired(3 * m));
    if (n == 0 && m == 0) return CommandResult::noChange();
    DraftStep step(e, doc);
    if (n) repeatRows(doc, Side::Threading, 3);
    if (m) repeatRows(doc, Side::Treadling, 3);
    step.commit();
    return CommandResult::doneAndFit();
}

CommandResult ReflectThreads(Edit e, CQuillabyDoc& doc, Side side, IPrompter& prompter)
{
    const int n = ThreadCount(doc, side);
    if (n < 2) return CommandResult::noChange();
    if (2 * n - 1 > kMaxThreads) return CommandResult::refused(prompter, tooLong(side, 2 * n - 1));
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](auto& t, int) {
        const auto copy = t;
        t.Append(n - 1);
        for (int j = 1; j < n; ++j) CopyThread(copy, n - 1 - j, t, n - 1 + j);
    });
    step.commit();
    return CommandResult::doneAndFit();
}

CommandResult ReverseThreads(Edit e, CQuillabyDoc& doc, Side side)
{
    const int n = ThreadCount(doc, side);
    if (n < 2) return CommandResult::noChange();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.rbegin(), order.rend(), 0);
    DraftStep step(e, doc);
    ForEachRow(doc, side, [&](auto& t, int r) {
        auto out = Gather(t, order);
        // Labels stay over the threads they named.
        for (int lr = 0; lr < kLabelRows; ++lr)
            for (Label l : t.labelRow(lr)) {
                l.start = n - l.start - l.length;
                out->AddLabel(l);
            }
        ReplaceRow(doc, r, std::move(out));
    });
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
