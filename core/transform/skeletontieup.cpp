#include "core/transform/skeletontieup.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"

namespace qb {

std::optional<Tieup> SkeletonTieup(const CQuillabyDoc& structure, IPrompter& prompter)
{
    const BlockSubstitutionParams& p = structure.blocks();
    const int ts = p.tiedownShafts, tt = p.tiedownTreadles, pt = p.patternTreadlesPerBlock;
    if (ts <= 0) {
        prompter.tell(blockmsg::format(blockmsg::kSkeletonHeading, std::string(blockmsg::kSkeletonNoTiedowns)));
        return std::nullopt;
    }
    if (pt % ts != 0) {
        prompter.tell(blockmsg::format(blockmsg::kSkeletonHeading, std::string(blockmsg::kSkeletonDivisible)));
        return std::nullopt;
    }
    const Tieup& src = structure.tieup();
    const int shafts = src.shaftCount();
    const int c = pt / ts;
    const int treadles = std::min(c * p.numBlocks + tt + ts, kMaxTreadles);
    const TUPTYPE tiedowns = TUPTYPE::firstShafts(ts);
    Tieup out(shafts, treadles);
    for (int t = 0; t < tt && t < treadles; ++t) out.setColumn(t, src.column(t));
    for (int i = 0; i < ts && tt + i < treadles; ++i) out.setColumn(tt + i, src.column(tt + i * c) & tiedowns);
    // Later blocks replace a column an earlier one wrote at the same place;
    // columns past the last treadle are dropped (setColumn refuses them).
    for (int j = 0; j < p.numBlocks; ++j)
        for (int i = 0; i < ts; ++i) out.setColumn(tt + ts + c * j + i, src.column(tt + pt * j + i) & ~tiedowns);
    return out;
}

} // namespace qb

namespace qb {

TreadleSet SkeletonPick(const Tieup& skeleton, TreadleSet pressed, TUPTYPE lift, int tiedownShafts, int tiedownTreadles)
{
    TreadleSet out;
    TUPTYPE need = lift;
    for (int t = 1; t <= tiedownTreadles && t <= skeleton.treadleCount(); ++t)
        if (pressed.test(t)) {
            out.set(t);
            need = need & ~skeleton.column(t - 1);
        }
    const TUPTYPE tiedowns = TUPTYPE::firstShafts(tiedownShafts);
    for (const TUPTYPE part : {need & tiedowns, need & ~tiedowns}) {
        if (part.empty()) continue;
        int exact = 0;
        for (int t = tiedownTreadles + 1; t <= skeleton.treadleCount() && !exact; ++t)
            if (skeleton.column(t - 1) == part) exact = t;
        if (exact) {
            out.set(exact);
            continue;
        }
        for (int t = tiedownTreadles + 1; t <= skeleton.treadleCount(); ++t) {
            const TUPTYPE c = skeleton.column(t - 1);
            if (!c.empty() && (c & ~part).empty()) out.set(t);
        }
    }
    return out;
}

bool ConvertToSkeletonTieup(CQuillabyDoc& structure, IPrompter& prompter)
{
    if (structure.isLiftplan()) return false;
    std::optional<Tieup> skeleton = SkeletonTieup(structure, prompter);
    if (!skeleton) return false;
    const Tieup old = structure.tieup();
    const BlockSubstitutionParams& p = structure.blocks();
    auto liftOf = [&old](TreadleSet set) {
        TUPTYPE lift;
        set.forEach([&](int t) {
            if (t <= old.treadleCount()) lift = lift | old.column(t - 1);
        });
        return lift;
    };
    const int treadles = skeleton->treadleCount();
    for (int r = 0; r < structure.numWefts(); ++r) {
        Treadling& tr = *structure.raw().treadlingMutable(r);
        tr.SetLimit(treadles);
        tr.setMultiple(true);
        for (int pick = 0; pick < tr.GetCount(); ++pick) {
            const TreadleSet set = tr.GetSet(pick);
            if (set.empty()) continue;
            tr.SetSet(pick, SkeletonPick(*skeleton, set, liftOf(set), p.tiedownShafts, p.tiedownTreadles));
        }
    }
    structure.raw().setLoomRaw(structure.numShafts(), treadles, false);
    structure.raw().replaceTieup(std::make_unique<Tieup>(*skeleton));
    structure.raw().notations.treadlingSymbols = false;
    return true;
}

} // namespace qb
