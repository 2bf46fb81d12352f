#include "core/transform/blockunits.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"

namespace qb {

namespace {

// Emptied copy of a row: keeps its colors, ratio and alternation settings.
template <class T> std::unique_ptr<T> emptyLike(const T& src, int limit)
{
    auto out = std::make_unique<T>(src);
    if (out->GetCount() > 0) out->Delete(0, out->GetCount());
    out->ClearLabels();
    out->SetLimit(limit);
    return out;
}

} // namespace

UnitSource UnitSourceFor(int k, int numBlocks)
{
    if (numBlocks < 1 || k <= numBlocks) return {k, 0};
    const int e = (k - 1) % numBlocks;
    return {e + 1, (k - 1 - e) / numBlocks};
}

int TiedownTreadleCount(const CQuillabyDoc& structure)
{
    const BlockSubstitutionParams& p = structure.blocks();
    return p.tiedownTreadles + (p.skeletonTieup ? p.tiedownShafts : 0);
}

std::unique_ptr<Threading> ThreadingUnitForBlock(const CQuillabyDoc& structure, int k, bool withColors)
{
    const BlockSubstitutionParams& p = structure.blocks();
    const int e = p.endsPerBlock;
    const Threading& src = *structure.threading(0);
    const UnitSource u = UnitSourceFor(k, p.numBlocks);
    if (k < 1 || e < 1 || static_cast<long long>(u.block) * e > src.GetCount()) return nullptr;
    const int raise = p.patternShaftsPerBlock * p.numBlocks * u.rounds;
    auto unit = emptyLike(src, kMaxShafts);
    unit->Append(e);
    const int first = (u.block - 1) * e;
    for (int i = 0; i < e; ++i) {
        int v = src.GetShaft(first + i);
        if (v > p.tiedownShafts) v += raise;
        if (v <= kMaxShafts) unit->SetValue(i, v);
        unit->SetColor(i, withColors ? src.GetColor(first + i) : src.defaultColor());
        unit->SetThick(i, src.GetThick(first + i) != 0);
    }
    unit->setDefaultColor(src.defaultColor());
    return unit;
}

std::unique_ptr<Treadling> TreadlingUnitForBlock(const CQuillabyDoc& structure, int k, bool withColors)
{
    const BlockSubstitutionParams& p = structure.blocks();
    const int n = p.picksPerBlock;
    const Treadling& src = *structure.treadling(0);
    const UnitSource u = UnitSourceFor(k, p.numBlocks);
    if (k < 1 || n < 1 || static_cast<long long>(u.block) * n > src.GetCount()) return nullptr;
    const int tiedowns = TiedownTreadleCount(structure);
    const int raise = p.patternTreadlesPerBlock * p.numBlocks * u.rounds;
    auto unit = emptyLike(src, kMaxTreadles);
    unit->setMultiple(true);
    unit->Append(n);
    const int first = (u.block - 1) * n;
    for (int i = 0; i < n; ++i) {
        TreadleSet set;
        src.GetSet(first + i).forEach([&](int t) { set.set(t > tiedowns ? t + raise : t); });
        unit->SetSet(i, set);
        unit->SetColor(i, withColors ? src.GetColor(first + i) : src.defaultColor());
        unit->SetThick(i, src.GetThick(first + i) != 0);
    }
    unit->setDefaultColor(src.defaultColor());
    return unit;
}

} // namespace qb
