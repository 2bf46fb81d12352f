#include "core/transform/turndraft.h"

#include "core/draft/draftstep.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

namespace {

// Copies colors, symbols, thick flags, labels and row settings of one side's
// row onto a row of the other side with the same number of threads.
void carryAttributes(const Tding& from, Tding& to, bool thick)
{
    for (int i = 0; i < from.GetCount(); ++i) {
        to.SetColor(i, from.GetColor(i));
        to.SetSymbol(i, from.GetSymbol(i));
        if (thick) to.SetThick(i, from.GetThick(i) != 0);
    }
    to.setDefaultColor(from.defaultColor());
    to.setAlternateColor(from.alternateColor());
    to.setAlternation(from.alternation());
    if (thick) to.SetRatio(from.ratio());
    CopyLabelsThatFit(from, to);
}

} // namespace

CommandResult TurnDraft(Edit e, CQuillabyDoc& doc, IPrompter& prompter)
{
    if (doc.multipleTreadles()) return CommandResult::refused(prompter, msg::kTurnMultiple);
    const int usedShafts = FindUsedShafts(doc), usedTreadles = FindUsedTreadles(doc);
    const int n = std::max({usedShafts, usedTreadles, 1});
    if (n > kMaxShafts) return CommandResult::refused(prompter, msg::turnShafts(n));
    DraftStep step(e, doc);

    const int ends = doc.numEnds(), picks = doc.numPicks();
    const int warps = doc.numWarps(), wefts = doc.numWefts();
    std::array<std::unique_ptr<Threading>, kMaxRows> newThreading;
    std::array<std::unique_ptr<Treadling>, kMaxRows> newTreadling;
    for (int j = 0; j < wefts; ++j) {
        const Treadling& old = *doc.treadling(j);
        auto t = std::make_unique<Threading>(n);
        t->Append(picks);
        for (int i = 0; i < picks; ++i) t->SetValue(i, old.FirstValue(i));
        carryAttributes(old, *t, j == 0);
        newThreading[j] = std::move(t);
    }
    for (int h = 0; h < warps; ++h) {
        const Threading& old = *doc.threading(h);
        auto t = std::make_unique<Treadling>(n);
        t->Append(ends);
        for (int i = 0; i < ends; ++i) t->SetValue(i, old.GetShaft(i));
        carryAttributes(old, *t, h == 0);
        newTreadling[h] = std::move(t);
    }

    // Transposed and inverted within the n x n square.
    const Tieup& old = doc.tieup();
    auto tu = std::make_unique<Tieup>(n, n);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k)
            if (!old.cell(k, i + 1)) tu->setCell(i, k + 1);
    if (usedShafts < n) tu->clearColumns(usedShafts, n - usedShafts);
    else if (usedTreadles < n)
        for (int i = 0; i < n; ++i) tu->setColumn(i, tu->column(i) & TUPTYPE::firstShafts(usedTreadles));

    for (int r = 0; r < kMaxRows; ++r) {
        doc.raw().replaceThreading(r, std::move(newThreading[r]));
        doc.raw().replaceTreadling(r, std::move(newTreadling[r]));
    }
    doc.raw().replaceTieup(std::move(tu));
    doc.raw().setLoomRaw(n, n, false);
    doc.raw().setRowCountsRaw(wefts, warps);
    const int side = doc.correlationSide();
    doc.raw().setCorrelation(side == 1 ? 2 : side == 2 ? 1 : 0, doc.correlationOn());
    step.commit();
    return CommandResult::doneAndFit();
}

} // namespace qb
