#include "core/transform/overlay.h"

#include "core/draft/draftstep.h"
#include "core/draft/drawdown.h"
#include "core/draft/palettetools.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/combinetools.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

CommandResult OverlayPegplan(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& pegplans, IPrompter&)
{
    if (pegplans.empty() || doc.numWefts() > 1) return CommandResult::noChange();
    DraftStep step(e, doc, DraftSnapshot::Structure);
    Treadling& row = *doc.raw().treadlingMutable(0);
    row.setMultiple(true);
    for (const CQuillabyDoc* src : pegplans) {
        const auto peg = PicksInForm(doc, *src);
        const int cur = row.GetCount(), len = peg->GetCount();
        for (int i = 0; i < std::min(cur, len); ++i) row.SetSet(i, row.GetSet(i) | peg->GetSet(i));
        if (len > cur) row.Append(len - cur);
        for (int i = cur; i < len; ++i) row.SetSet(i, peg->GetSet(i));
    }
    step.commit();
    return CommandResult::doneResult();
}

CommandResult AppendTreadling(Edit e, CQuillabyDoc& doc, const CQuillabyDoc& other, IPrompter& prompter)
{
    if (doc.numWefts() > 1) return CommandResult::noChange();
    const auto picks = PicksInForm(doc, other);
    const int n = doc.numPicks(), add = picks->GetCount();
    if (add == 0) return CommandResult::noChange();
    if (n + add > kMaxThreads) return CommandResult::refused(prompter, msg::picksRequired(n + add));
    // The other draft's indexes name its own palette: carry the colors.
    std::vector<COLORREF> colors(static_cast<std::size_t>(add));
    for (int i = 0; i < add; ++i) colors[i] = WeftColor(other, i, 0);
    if (!ColorsFit(doc.palette(), colors)) return CommandResult::refused(prompter, msg::paletteLimit());

    DraftStep step(e, doc);
    RaisePickLimit(doc, picks->HighestValue());
    Treadling& row = *doc.raw().treadlingMutable(0);
    row.Append(add);
    for (int i = 0; i < add; ++i) {
        CopyThread(*picks, i, row, n + i);
        row.SetColor(n + i, doc.raw().paletteMutable().add(colors[i], true));
    }
    AllowSeveralTreadles(doc);
    step.commit();
    return CommandResult::doneAndFit();
}

} // namespace qb
