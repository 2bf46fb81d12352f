#include "core/transform/componentimport.h"

#include "core/draft/draftstep.h"
#include "core/draft/drawdown.h"
#include "core/draft/palettetools.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/combinetools.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"
#include "core/wif/draftimport.h"
#include "core/wif/sourcedraft.h"

#include <algorithm>

namespace qb {

namespace {

LiftplanChoice formOf(const CQuillabyDoc& doc)
{
    return doc.isLiftplan() ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
}

// Every row of the side to n threads: the surplus deleted, new threads empty
// in the row's default color.
void resizeRows(CQuillabyDoc& doc, Side side, int n)
{
    ForEachRow(doc, side, [&](Tding& t, int) {
        if (t.GetCount() > n) t.Delete(n, t.GetCount() - n);
        else t.Append(n - t.GetCount());
    });
}

CommandResult finish(DraftStep& step)
{
    step.commit();
    return CommandResult::doneResult();
}

} // namespace

CommandResult ImportThreading(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter)
{
    const SourceDraft src = ReadSourceDraft(path, LiftplanChoice::Treadling);
    if (!src.doc) return CommandResult::refused(prompter, src.failure);
    const CQuillabyDoc& other = *src.doc;
    if (!src.lists(WifSection::Threading) || other.numEnds() == 0) return CommandResult::noChange();
    DraftStep step(e, doc, DraftSnapshot::Structure);
    if (!ColorBarGuard(doc, true, prompter)) return CommandResult::declined();
    if (other.numShafts() > doc.numShafts()) doc.SetNumShafts(kUnrecorded, other.numShafts());
    resizeRows(doc, Side::Threading, other.numEnds());
    for (int j = std::min(doc.numWarps(), other.numWarps()) - 1; j >= 0; --j) {
        Threading& row = *doc.raw().threadingMutable(j);
        const Threading& from = *other.threading(j);
        for (int end = 0; end < other.numEnds(); ++end) row.SetValue(end, from.GetShaft(end));
    }
    return finish(step);
}

CommandResult ImportTreadling(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter)
{
    const SourceDraft src = ReadSourceDraft(path, formOf(doc));
    if (!src.doc) return CommandResult::refused(prompter, src.failure);
    const CQuillabyDoc& other = *src.doc;
    if (other.numPicks() == 0) return CommandResult::noChange();
    DraftStep step(e, doc, DraftSnapshot::Structure);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    const int rows = std::min(doc.numWefts(), other.numWefts());
    std::vector<std::unique_ptr<Treadling>> from;
    // The file's treadle count, or the shafts its picks lift once they are a liftplan.
    int needed = other.treadling(0)->limit();
    if (doc.isLiftplan() && !other.isLiftplan()) needed = 0;
    for (int j = 0; j < rows; ++j) {
        from.push_back(PicksInForm(doc, other, j));
        if (doc.isLiftplan() && !other.isLiftplan()) needed = std::max(needed, from.back()->HighestValue());
    }
    RaisePickLimit(doc, needed);
    if (other.isLiftplan() && !doc.isLiftplan()) {
        for (int r = 0; r < doc.numWefts(); ++r) doc.raw().treadlingMutable(r)->setMultiple(true);
        if (doc.numShafts() < doc.numTreadles()) doc.SetNumShafts(kUnrecorded, std::min(doc.numTreadles(), kMaxShafts));
    }
    resizeRows(doc, Side::Treadling, other.numPicks());
    for (int j = rows - 1; j >= 0; --j) {
        Treadling& row = *doc.raw().treadlingMutable(j);
        for (int p = 0; p < other.numPicks(); ++p) row.SetSet(p, from[j]->GetSet(p));
    }
    AllowSeveralTreadles(doc);
    return finish(step);
}

CommandResult ImportTieup(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter)
{
    const SourceDraft src = ReadSourceDraft(path, LiftplanChoice::Treadling);
    if (!src.doc) return CommandResult::refused(prompter, src.failure);
    const CQuillabyDoc& other = *src.doc;
    if (!src.lists(WifSection::Tieup)) return CommandResult::noChange();

    DraftStep step(e, doc, DraftSnapshot::Structure);
    if (other.numShafts() > doc.numShafts()) doc.SetNumShafts(kUnrecorded, other.numShafts());
    if (other.numTreadles() > doc.numTreadles()) doc.SetNumTreadles(kUnrecorded, other.numTreadles());
    auto tieup = std::make_unique<Tieup>(doc.numShafts(), doc.numTreadles());
    for (int t = 0; t < std::min(tieup->treadleCount(), other.tieup().treadleCount()); ++t)
        tieup->setColumn(t, other.tieup().column(t));
    doc.raw().replaceTieup(std::move(tieup));
    return finish(step);
}

CommandResult ImportColorway(Edit e, CQuillabyDoc& doc, Side side, const std::string& path, IPrompter& prompter)
{
    const SourceDraft src = ReadSourceDraft(path, formOf(doc));
    if (!src.doc) return CommandResult::refused(prompter, src.failure);
    const CQuillabyDoc& other = *src.doc;
    if (!src.lists(WifSection::Weaving)) return CommandResult::noChange();

    const bool warp = side == Side::Threading;
    const int n = warp ? std::min(doc.numEnds(), other.numEnds()) : std::min(doc.numPicks(), other.numPicks());
    const int rows = warp ? std::min(doc.numWarps(), other.numWarps()) : std::min(doc.numWefts(), other.numWefts());
    // Carried as color values: a file without a color table has only the
    // reader's black and white, which this palette may lack.
    std::vector<std::vector<COLORREF>> colors(static_cast<std::size_t>(rows));
    std::vector<COLORREF> all;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < n; ++i) {
            colors[j].push_back(warp ? WarpColor(other, i, j) : WeftColor(other, i, j));
            all.push_back(colors[j].back());
        }
    const bool adopt = src.lists(WifSection::ColorTable);
    if (!adopt && !ColorsFit(doc.palette(), all)) return CommandResult::refused(prompter, msg::paletteLimit());

    DraftStep step(e, doc, DraftSnapshot::Structure | DraftSnapshot::Palette);
    if (adopt) AdoptPalette(doc, other.palette());
    ColorPalette& pal = doc.raw().paletteMutable();
    for (int j = 0; j < rows; ++j) {
        Tding& row = warp ? static_cast<Tding&>(*doc.raw().threadingMutable(j)) : *doc.raw().treadlingMutable(j);
        for (int i = 0; i < n; ++i) row.SetColor(i, pal.add(colors[j][i], true));
    }
    step.commit();
    CommandResult r = CommandResult::doneResult();
    return r;
}

} // namespace qb
