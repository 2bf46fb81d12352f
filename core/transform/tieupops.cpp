#include "core/transform/tieupops.h"

#include "core/draft/draftstep.h"
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/messages.h"

#include <unordered_map>

namespace qb {

namespace {
template <class F> CommandResult setColumns(Edit e, CQuillabyDoc& doc, F&& columnFor)
{
    bool any = false;
    for (int t = 0; t < doc.tieup().treadleCount(); ++t) any = doc.SetTieupColumn(e, t, columnFor(t)) || any;
    return any ? CommandResult::doneResult() : CommandResult::noChange();
}

// The treadling notation cannot stay user-defined with multiple treadles.
bool notationCheck(CQuillabyDoc& doc, IPrompter& prompter)
{
    if (doc.notations().treadling != kUserDefined) return true;
    if (!prompter.ask(msg::kMultipleNotation)) return false;
    doc.raw().notations.treadling = kPlain;
    doc.raw().notations.treadlingSymbols = false;
    return true;
}

void setMultiple(CQuillabyDoc& doc, bool on)
{
    for (int r = 0; r < kMaxRows; ++r)
        if (Treadling* t = doc.raw().treadlingMutable(r)) t->setMultiple(on);
}

// The conversions change the form, the loom size and maybe the notation.
constexpr unsigned kConversionParts = DraftSnapshot::Structure | DraftSnapshot::Settings;
} // namespace

CommandResult DirectTieup(Edit e, CQuillabyDoc& doc)
{
    const int s = doc.tieup().shaftCount();
    return setColumns(e, doc, [&](int t) {
        TUPTYPE c;
        if (t < s) c.set(t + 1);
        return c;
    });
}

CommandResult InvertTieup(Edit e, CQuillabyDoc& doc)
{
    const TUPTYPE all = TUPTYPE::firstShafts(doc.tieup().shaftCount());
    return setColumns(e, doc, [&](int t) { return ~doc.tieup().column(t) & all; });
}

CommandResult ClearTieup(Edit e, CQuillabyDoc& doc)
{
    return setColumns(e, doc, [](int) { return TUPTYPE(); });
}

bool IsDirectSquare(const CQuillabyDoc& doc)
{
    const Tieup& tu = doc.tieup();
    if (doc.numTreadles() != doc.numShafts() || tu.treadleCount() != doc.numTreadles()) return false;
    for (int t = 0; t < tu.treadleCount(); ++t) {
        TUPTYPE c;
        c.set(t + 1);
        if (tu.column(t) != c) return false;
    }
    return true;
}

CommandResult ConvertToLiftplan(Edit e, CQuillabyDoc& doc, IPrompter& prompter)
{
    if (doc.isLiftplan()) return CommandResult::noChange();
    if (!IsDirectSquare(doc) && doc.numWefts() > 1) return CommandResult::noChange();
    DraftStep step(e, doc, kConversionParts);
    if (!notationCheck(doc, prompter)) return CommandResult::declined();
    const int s = doc.numShafts();
    if (IsDirectSquare(doc)) {
        doc.raw().setLoomRaw(s, s, true);
        setMultiple(doc, true);
        step.commit();
        return CommandResult::doneAndFit();
    }
    auto tr = std::make_unique<Treadling>(*doc.treadling(0));
    tr->SetLimit(s);
    tr->setMultiple(true);
    for (int p = 0; p < tr->GetCount(); ++p) tr->SetShafts(p, LiftedShafts(doc, p, 0));
    auto tu = std::make_unique<Tieup>(s, s);
    tu->makeDirect();
    doc.raw().replaceTreadling(0, std::move(tr));
    doc.raw().replaceTieup(std::move(tu));
    doc.raw().setLoomRaw(s, s, true);
    setMultiple(doc, true);
    step.commit();
    return CommandResult::doneAndFit();
}

CommandResult ConvertToTieup(Edit e, CQuillabyDoc& doc, IPrompter& prompter)
{
    const int s = doc.numShafts();
    if (!doc.multipleTreadles()) {
        if (!doc.isLiftplan()) return CommandResult::noChange();
        DraftStep step(e, doc, kConversionParts);
        // Single shafts per pick: a direct square tieup weaves the same.
        auto tu = std::make_unique<Tieup>(s, s);
        tu->makeDirect();
        doc.raw().replaceTieup(std::move(tu));
        doc.raw().setLoomRaw(s, s, false);
        step.commit();
        return CommandResult::doneAndFit();
    }

    // Built aside, so that a No leaves the draft untouched.
    std::vector<TUPTYPE> columns;
    std::unordered_map<std::uint64_t, int> treadleOf;
    bool overflow = false;
    std::array<std::unique_ptr<Treadling>, kMaxRows> rows;
    for (int r = 0; r < doc.numWefts(); ++r) {
        const Treadling& old = *doc.treadling(r);
        auto t = std::make_unique<Treadling>(old);
        t->setMultiple(false);
        t->SetLimit(kMaxTreadles);
        for (int p = 0; p < old.GetCount(); ++p) {
            TreadleSet set;
            if (!old.GetSet(p).empty()) {
                const TUPTYPE lift = LiftedShafts(doc, p, r);
                auto it = treadleOf.find(lift.bits());
                if (it != treadleOf.end()) set.set(it->second + 1);
                else if (columns.size() < static_cast<std::size_t>(kMaxTreadles)) {
                    treadleOf.emplace(lift.bits(), static_cast<int>(columns.size()));
                    columns.push_back(lift);
                    set.set(static_cast<int>(columns.size()));
                } else overflow = true;
            }
            t->SetSet(p, set);
        }
        rows[r] = std::move(t);
    }
    if (overflow && !prompter.ask(msg::kNotEnoughTreadles)) return CommandResult::declined();
    DraftStep step(e, doc, kConversionParts);

    const int treadles = std::max(doc.isLiftplan() ? s : doc.numTreadles(), static_cast<int>(columns.size()));
    auto tu = std::make_unique<Tieup>(s, treadles);
    for (int t = 0; t < static_cast<int>(columns.size()); ++t) tu->setColumn(t, columns[t]);
    for (int r = 0; r < doc.numWefts(); ++r) {
        rows[r]->SetLimit(treadles);
        doc.raw().replaceTreadling(r, std::move(rows[r]));
    }
    doc.raw().replaceTieup(std::move(tu));
    doc.raw().setLoomRaw(s, treadles, false);
    setMultiple(doc, false);
    step.commit();
    return CommandResult::doneAndFit();
}

CommandResult SetMultipleTreadles(Edit e, CQuillabyDoc& doc, bool on, IPrompter& prompter)
{
    if (on) {
        if (doc.multipleTreadles() || doc.numWefts() != 1) return CommandResult::noChange();
        DraftStep step(e, doc, kConversionParts);
        if (!notationCheck(doc, prompter)) return CommandResult::declined();
        setMultiple(doc, true);
        step.commit();
        return CommandResult::doneResult();
    }
    if (!doc.multipleTreadles()) return CommandResult::noChange();
    if (!prompter.ask(msg::kConvertToTieup)) return CommandResult::declined();
    return ConvertToTieup(e, doc, prompter);
}

} // namespace qb
