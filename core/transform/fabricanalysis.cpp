#include "core/transform/fabricanalysis.h"

#include "core/draft/draftstep.h"
#include "core/transform/arrange.h"
#include "core/transform/messages.h"
#include "core/transform/optimize.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

CommandResult CanAnalyzeFabric(const CQuillabyDoc& doc, IPrompter& prompter)
{
    if (doc.isLiftplan() || doc.multipleTreadles())
        return CommandResult::refused(prompter, msg::needsTieupForm("Fabric Analysis"));
    if (doc.numWarps() != 1 || doc.numWefts() != 1)
        return CommandResult::refused(prompter, msg::needsOneWeft("Fabric Analysis"));
    return CommandResult::doneResult();
}

bool FabricAnalysisEnter(Edit e, CQuillabyDoc& doc)
{
    const bool rising = doc.isRisingShed();
    if (!rising) {
        DraftStep step(e, doc, DraftSnapshot::Structure);
        doc.raw().tieupMutable().complement();
        doc.raw().setRisingShed(true);
        step.commit();
    }
    return rising;
}

namespace {

// Cuts the loom to what is used (at least one of each).
void fitCounts(CQuillabyDoc& doc)
{
    const int s = std::max(1, FindUsedShafts(doc)), t = std::max(1, FindUsedTreadles(doc));
    if (s != doc.numShafts()) doc.SetNumShafts(kUnrecorded, s);
    if (t != doc.numTreadles()) doc.SetNumTreadles(kUnrecorded, t);
}

} // namespace

CellOutcome FabricAnalysisCell(Edit e, CQuillabyDoc& doc, int end, int pick, bool lifted)
{
    if (end < 0 || pick < 0 || end >= kMaxThreads || pick >= kMaxThreads) return CellOutcome::Unchanged;
    // Only the first treadle of a pick is read, and the tieup decides the cell.
    if (doc.isLiftplan() || doc.multipleTreadles() || doc.numWarps() != 1 || doc.numWefts() != 1)
        return CellOutcome::NotAvailable;
    const Threading& th = *doc.threading(0);
    const Treadling& tr = *doc.treadling(0);
    const int s = th.GetShaft(end), t = tr.FirstValue(pick);
    const bool now = s > 0 && t > 0 && doc.tieup().cell(t - 1, s);
    if (now == lifted) return CellOutcome::Unchanged;
    const int newShaft = FindUsedShafts(doc) + 1, newTreadle = FindUsedTreadles(doc) + 1;
    if (newShaft > kMaxShafts - 1 || newTreadle > kMaxTreadles - 1) return CellOutcome::NoRoom;

    DraftStep step(e, doc);
    if (newShaft > doc.numShafts()) doc.SetNumShafts(kUnrecorded, newShaft);
    if (newTreadle > doc.numTreadles()) doc.SetNumTreadles(kUnrecorded, newTreadle);
    Tieup& tu = doc.raw().tieupMutable();
    // The new shaft and treadle start empty, whatever the tieup held there.
    for (int x = 0; x < tu.treadleCount(); ++x) tu.clearCell(x, newShaft);
    TUPTYPE column = t > 0 ? tu.column(t - 1) : TUPTYPE();
    column.clear(newShaft);
    if (lifted) column.set(newShaft);
    tu.setColumn(newTreadle - 1, column);
    // The new shaft rises wherever the end's old shaft did.
    if (s > 0)
        for (int x = 0; x < tu.treadleCount(); ++x)
            if (x != newTreadle - 1 && tu.cell(x, s)) tu.setCell(x, newShaft);

    Threading& thm = *doc.raw().threadingMutable(0);
    if (end >= thm.GetCount()) thm.Append(end + 1 - thm.GetCount());
    thm.SetValue(end, newShaft);
    Treadling& trm = *doc.raw().treadlingMutable(0);
    TreadleSet set;
    set.set(newTreadle);
    trm.SetSet(pick, set);

    ClearUnusedTreadles(doc);
    MergeDuplicateShafts(doc);
    MoveUnusedShaftsUp(doc);
    MergeDuplicateTreadles(doc);
    ClearUnusedTreadles(doc);
    MoveUnusedTreadlesRight(doc);
    fitCounts(doc);
    step.commit();
    return CellOutcome::Changed;
}

void FabricAnalysisLeave(Edit e, CQuillabyDoc& doc, bool risingShed)
{
    DraftStep step(e, doc, DraftSnapshot::Structure);
    if (doc.isRisingShed() != risingShed) {
        doc.raw().tieupMutable().complement();
        doc.raw().setRisingShed(risingShed);
    }
    fitCounts(doc);
    Threading& th = *doc.raw().threadingMutable(0);
    const auto& ends = th.values();
    if (std::find(ends.begin(), ends.end(), 0) != ends.end()) {
        const int extra = FindUsedShafts(doc) + 1;
        if (extra <= kMaxShafts) {
            doc.SetNumShafts(kUnrecorded, std::max(extra, doc.numShafts()));
            for (int x = 0; x < doc.tieup().treadleCount(); ++x) doc.raw().tieupMutable().clearCell(x, extra);
            for (int e = 0; e < th.GetCount(); ++e)
                if (th.GetShaft(e) == 0) th.SetValue(e, extra);
        }
    }
    Treadling& tr = *doc.raw().treadlingMutable(0);
    bool anyEmpty = false;
    for (const TreadleSet& v : tr.values()) anyEmpty = anyEmpty || v.empty();
    if (anyEmpty) {
        const int extra = FindUsedTreadles(doc) + 1;
        if (extra <= kMaxTreadles) {
            doc.SetNumTreadles(kUnrecorded, std::max(extra, doc.numTreadles()));
            doc.raw().tieupMutable().setColumn(extra - 1, TUPTYPE());
            TreadleSet set;
            set.set(extra);
            for (int p = 0; p < tr.GetCount(); ++p)
                if (tr.GetSet(p).empty()) tr.SetSet(p, set);
        }
    }
    FixedPrompter yes(true);
    Arrange(kUnrecorded, doc, Side::Threading, ArrangeKind::Sequential, yes);
    Arrange(kUnrecorded, doc, Side::Treadling, ArrangeKind::Sequential, yes);
    step.commit();
}

} // namespace qb
