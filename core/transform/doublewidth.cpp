#include "core/transform/doublewidth.h"

#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

CommandResult CanFoldDoubleWidth(const CQuillabyDoc& doc, IPrompter& prompter)
{
    if (doc.multipleTreadles() || doc.isLiftplan()) return CommandResult::refused(prompter, msg::kFoldMultiple);
    return CommandResult::doneResult();
}

NewDraftResult DoubleWidth(const CQuillabyDoc& doc, const DoubleWidthOptions& o, IPrompter& prompter)
{
    NewDraftResult out;
    out.result = CanFoldDoubleWidth(doc, prompter);
    if (!out.result.done()) return out;
    const int s = FindUsedShafts(doc), t = FindUsedTreadles(doc);
    const int n = doc.numEnds(), picks = doc.numPicks();
    if (2 * s > kMaxShafts) {
        out.result = CommandResult::refused(prompter, msg::shaftsRequired(2 * s));
        return out;
    }
    if (2 * t > kMaxTreadles) {
        out.result = CommandResult::refused(prompter, msg::treadlesRequired(2 * t));
        return out;
    }
    if (2 * picks > kMaxThreads) {
        out.result = CommandResult::refused(prompter, msg::picksRequired(2 * picks));
        return out;
    }
    if (s == 0 || t == 0 || n == 0) {
        out.result = CommandResult::noChange();
        return out;
    }

    // End order: front and back alternate, the back read from the far edge.
    std::vector<int> order;
    std::vector<bool> back;
    const int e = (n - 1) / 2;
    for (int f = 0; f < e; ++f) {
        order.push_back(o.foldRight ? n - 1 - f : f);
        back.push_back(false);
        order.push_back(o.foldRight ? f : n - 1 - f);
        back.push_back(true);
    }
    order.push_back(o.foldRight ? n - 1 - e : e);
    back.push_back(false);
    if (n % 2 == 0) {
        order.push_back(o.foldRight ? e : e + 1);
        back.push_back(true);
    }
    if (o.foldRight) {
        std::reverse(order.begin(), order.end());
        std::reverse(back.begin(), back.end());
    }

    auto d = doc.Clone();
    for (int r = 1; r < kMaxRows; ++r) {
        d->raw().replaceThreading(r, nullptr);
        d->raw().replaceTreadling(r, nullptr);
    }
    d->raw().setRowCountsRaw(1, 1);
    d->raw().setCorrelation(0, false);

    const Threading& srcTh = *doc.threading(0);
    auto th = std::make_unique<Threading>(srcTh);
    th->SetLimit(2 * s);
    auto gathered = Gather(*th, order);
    for (int i = 0; i < n; ++i) {
        const int v = srcTh.GetShaft(order[i]);
        gathered->SetValue(i, v && back[i] ? v + s : v);
    }
    d->raw().replaceThreading(0, std::move(gathered));

    const Treadling& srcTr = *doc.treadling(0);
    std::vector<int> pickOrder;
    std::vector<bool> pickBack;
    const int shuttles = std::clamp(o.shuttles, 1, 6);
    const int unit = std::max(1, o.picksPerUnit);
    std::vector<bool> frontFirst(static_cast<std::size_t>(shuttles), true);
    int k = 0, inUnit = 0;
    for (int g = 0; g < picks; ++g) {
        const bool ff = frontFirst[k];
        pickOrder.push_back(g);
        pickBack.push_back(!ff);
        pickOrder.push_back(g);
        pickBack.push_back(ff);
        if (!o.tubular) frontFirst[k] = !ff;
        if (++inUnit >= unit) {
            inUnit = 0;
            k = 0;
        } else k = (k + 1) % shuttles;
    }
    auto tr = std::make_unique<Treadling>(srcTr);
    tr->SetLimit(2 * t);
    auto newTr = Gather(*tr, pickOrder);
    for (int i = 0; i < static_cast<int>(pickOrder.size()); ++i) {
        const TreadleSet set = srcTr.GetSet(pickOrder[i]);
        TreadleSet moved;
        set.forEach([&](int x) { moved.set(pickBack[i] ? x + t : x); });
        newTr->SetSet(i, moved);
    }
    d->raw().replaceTreadling(0, std::move(newTr));

    // Front layer on 1..S/1..T; back layer inverted (seen from below) on
    // S+1..2S/T+1..2T; back treadles lift the whole front layer.
    auto tu = std::make_unique<Tieup>(2 * s, 2 * t);
    const Tieup& src = doc.tieup();
    for (int x = 0; x < t; ++x) {
        const TUPTYPE c = src.column(x) & TUPTYPE::firstShafts(s);
        tu->setColumn(x, c);
        const TUPTYPE inverted = ~c & TUPTYPE::firstShafts(s);
        tu->setColumn(t + x, TUPTYPE(inverted.bits() << s) | TUPTYPE::firstShafts(s));
    }
    d->raw().replaceTieup(std::move(tu));
    d->raw().setLoomRaw(2 * s, 2 * t, false);
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
