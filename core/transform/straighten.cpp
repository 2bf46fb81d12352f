#include "core/transform/straighten.h"

#include "core/draft/drawdown.h"
#include "core/transform/messages.h"
#include "core/transform/repeat.h"
#include "core/transform/sequencetools.h"

namespace qb {

NewDraftResult StraightenThreading(const CQuillabyDoc& doc, IPrompter& prompter)
{
    NewDraftResult out;
    const Threading& src = *doc.threading(0);
    const int n = src.GetCount();
    const int p = FindRepeatLength(src);
    if (p > kMaxShafts) {
        out.result = CommandResult::refused(prompter, msg::shaftsRequired(p));
        return out;
    }
    auto d = doc.Clone();
    // Only the first warp is straightened; the others would no longer match.
    for (int r = 1; r < kMaxRows; ++r) d->raw().replaceThreading(r, nullptr);
    d->raw().setRowCountsRaw(1, doc.numWefts());
    if (d->correlationSide() == 1) d->raw().setCorrelation(0, false);

    auto th = std::make_unique<Threading>(src);
    th->SetLimit(p);
    for (int k = 0; k < n; ++k) th->SetValue(k, k % p + 1);
    d->raw().replaceThreading(0, std::move(th));

    if (doc.isLiftplan()) {
        // New shaft k+1 is lifted wherever source end k's shaft was.
        d->raw().setLoomRaw(p, p, true);
        for (int r = 0; r < doc.numWefts(); ++r) {
            Treadling* t = d->raw().treadlingMutable(r);
            t->SetLimit(p);
            const Treadling& old = *doc.treadling(r);
            for (int i = 0; i < old.GetCount(); ++i) {
                const TUPTYPE lifted = old.GetSet(i).shafts();
                TreadleSet set;
                for (int k = 0; k < p; ++k)
                    if (lifted.test(src.GetShaft(k))) set.set(k + 1);
                t->SetSet(i, set);
            }
        }
        auto tu = std::make_unique<Tieup>(p, p);
        tu->makeDirect();
        d->raw().replaceTieup(std::move(tu));
    } else {
        const int tr = doc.numTreadles();
        d->raw().setLoomRaw(p, tr, false);
        auto tu = std::make_unique<Tieup>(p, tr);
        for (int k = 0; k < p; ++k)
            for (int t = 0; t < tr; ++t)
                if (doc.tieup().cell(t, src.GetShaft(k))) tu->setCell(t, k + 1);
        d->raw().replaceTieup(std::move(tu));
    }
    return NewDraftResult::made(std::move(d));
}

NewDraftResult StraightenTreadling(const CQuillabyDoc& doc, IPrompter& prompter)
{
    NewDraftResult out;
    const Treadling& src = *doc.treadling(0);
    const int n = src.GetCount();
    const int p = FindRepeatLength(src);
    if (p > kMaxTreadles) {
        out.result = CommandResult::refused(prompter, msg::treadlesRequired(p));
        return out;
    }
    auto d = doc.Clone();
    for (int r = 1; r < kMaxRows; ++r) d->raw().replaceTreadling(r, nullptr);
    d->raw().setRowCountsRaw(doc.numWarps(), 1);
    if (d->correlationSide() == 2) d->raw().setCorrelation(0, false);

    auto tr = std::make_unique<Treadling>(src);
    tr->setMultiple(false);
    tr->SetLimit(p);
    for (int k = 0; k < n; ++k) {
        TreadleSet set;
        set.set(k % p + 1);
        tr->SetSet(k, set);
    }
    d->raw().replaceTreadling(0, std::move(tr));
    const int shafts = doc.numShafts();
    d->raw().setLoomRaw(shafts, p, false);
    auto tu = std::make_unique<Tieup>(shafts, p);
    for (int k = 0; k < p; ++k) tu->setColumn(k, LiftedShafts(doc, k, 0));
    d->raw().replaceTieup(std::move(tu));
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
