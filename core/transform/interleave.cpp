#include "core/transform/interleave.h"

#include "core/draft/draftstep.h"
#include "core/draft/palettetools.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/combinetools.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

namespace {

// The draft's sequence with the others interleaved, colored by source.
template <class T>
std::unique_ptr<T> interleaved(const T& own, const std::vector<const T*>& others, const std::vector<int>& colors)
{
    const int n = own.GetCount();
    int m = n;
    for (const T* o : others) m = std::min(m, o->GetCount());
    const int q = static_cast<int>(others.size());
    auto out = std::make_unique<T>(own);
    if (out->GetCount()) out->Delete(0, out->GetCount());
    out->ClearLabels();
    out->Append(m * (q + 1) + (n - m));
    int pos = 0;
    const auto put = [&](const T& src, int i, int color) {
        CopyThread(src, i, *out, pos);
        out->SetColor(pos++, color);
    };
    for (int i = 0; i < m; ++i) {
        put(own, i, colors[0]);
        for (int k = 0; k < q; ++k) put(*others[k], i, colors[k + 1]);
    }
    for (int i = m; i < n; ++i) put(own, i, colors[0]);
    // Labels stay over the draft's own threads.
    const auto where = [&](int i) { return i < m ? i * (q + 1) : m * (q + 1) + (i - m); };
    for (int lr = 0; lr < kLabelRows; ++lr)
        for (Label l : own.labelRow(lr)) {
            const int last = where(l.start + l.length - 1);
            l.start = where(l.start);
            l.length = last - l.start + 1;
            out->AddLabel(l);
        }
    return out;
}

int resultLength(int n, const auto& others)
{
    int m = n;
    for (const auto* o : others) m = std::min(m, o->GetCount());
    return m * (static_cast<int>(others.size()) + 1) + (n - m);
}

std::vector<COLORREF> sourceColors(int sources)
{
    return {kInterleaveColors.begin(), kInterleaveColors.begin() + sources};
}

// Palette indexes of the interleave colors, added when missing (the caller
// checked that they fit).
std::vector<int> interleaveColors(CQuillabyDoc& doc, int sources)
{
    std::vector<int> out;
    for (COLORREF c : sourceColors(sources)) out.push_back(doc.raw().paletteMutable().add(c, true));
    return out;
}

CommandResult finish(DraftStep& step)
{
    step.commit();
    return CommandResult::doneAndFit();
}

CommandResult interleaveThreadings(Edit e, CQuillabyDoc& doc, const std::vector<const Threading*>& others,
                                   IPrompter& prompter)
{
    const int n = doc.numEnds();
    if (others.empty() || others.size() > 3 || doc.numWarps() > 1 || n == 0) return CommandResult::noChange();
    const int total = resultLength(n, others);
    if (total > kMaxThreads) return CommandResult::refused(prompter, msg::endsRequired(total));
    int needed = 0;
    for (const Threading* o : others) needed = std::max(needed, o->HighestValue());
    if (!ColorsFit(doc.palette(), sourceColors(static_cast<int>(others.size()) + 1)))
        return CommandResult::refused(prompter, msg::paletteLimit());
    DraftStep step(e, doc);
    const std::vector<int> colors = interleaveColors(doc, static_cast<int>(others.size()) + 1);
    if (needed > doc.numShafts()) doc.SetNumShafts(kUnrecorded, needed);
    doc.raw().replaceThreading(0, interleaved(*doc.threading(0), others, colors));
    return finish(step);
}

} // namespace

EchoSettings EchoSettings::clamped() const
{
    return {std::clamp(numEchos, kMinEchos, kMaxEchos), std::clamp(offset, kMinOffset, kMaxOffset)};
}

CommandResult EchoThreading(Edit edit, CQuillabyDoc& doc, const EchoSettings& echo, IPrompter& prompter)
{
    const EchoSettings e = echo.clamped();
    const int shafts = doc.numShafts();
    if (shafts < 1) return CommandResult::noChange();
    const Threading& own = *doc.threading(0);
    std::vector<Threading> echoes(static_cast<std::size_t>(e.numEchos), own);
    for (int j = 1; j <= e.numEchos; ++j)
        for (int i = 0; i < own.GetCount(); ++i)
            if (const int s = own.GetShaft(i)) echoes[j - 1].SetValue(i, (j * e.offset + s - 1) % shafts + 1);
    std::vector<const Threading*> others;
    for (const Threading& t : echoes) others.push_back(&t);
    return interleaveThreadings(edit, doc, others, prompter);
}

CommandResult EchoTreadling(Edit e, CQuillabyDoc& doc, IPrompter& prompter)
{
    const int wefts = doc.numWefts();
    const int limit = doc.treadling(0)->limit();
    if (wefts < 2 || limit < 1) return CommandResult::noChange();
    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    const Treadling& first = *doc.treadling(0);
    for (int k = 1; k < wefts; ++k) {
        Treadling& row = *doc.raw().treadlingMutable(k);
        for (int p = 0; p < first.GetCount(); ++p) {
            TreadleSet moved;
            first.GetSet(p).forEach([&](int t) { moved.set((t - 1 + k) % limit + 1); });
            row.SetSet(p, moved);
        }
    }
    return finish(step);
}

CommandResult InterleaveThreading(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& others,
                                  IPrompter& prompter)
{
    std::vector<const Threading*> seqs;
    for (const CQuillabyDoc* o : others) seqs.push_back(o->threading(0));
    return interleaveThreadings(e, doc, seqs, prompter);
}

CommandResult InterleaveTreadling(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& others,
                                  IPrompter& prompter)
{
    const int n = doc.numPicks();
    if (others.empty() || others.size() > 3 || doc.numWefts() > 1 || n == 0) return CommandResult::noChange();
    std::vector<std::unique_ptr<Treadling>> picks;
    std::vector<const Treadling*> seqs;
    int needed = 0;
    for (const CQuillabyDoc* o : others) {
        picks.push_back(PicksInForm(doc, *o));
        seqs.push_back(picks.back().get());
        needed = std::max(needed, picks.back()->HighestValue());
    }
    const int total = resultLength(n, seqs);
    if (total > kMaxThreads) return CommandResult::refused(prompter, msg::picksRequired(total));
    if (!ColorsFit(doc.palette(), sourceColors(static_cast<int>(seqs.size()) + 1)))
        return CommandResult::refused(prompter, msg::paletteLimit());
    DraftStep step(e, doc);
    const std::vector<int> colors = interleaveColors(doc, static_cast<int>(seqs.size()) + 1);
    RaisePickLimit(doc, needed);
    doc.raw().replaceTreadling(0, interleaved(*doc.treadling(0), seqs, colors));
    AllowSeveralTreadles(doc);
    return finish(step);
}

} // namespace qb
