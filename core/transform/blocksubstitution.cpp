#include "core/transform/blocksubstitution.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockassembly.h"
#include "core/transform/blockcolors.h"
#include "core/transform/blockmessages.h"
#include "core/transform/blockorder.h"
#include "core/transform/blocktieup.h"
#include "core/transform/blockunits.h"
#include "core/transform/draftshell.h"
#include "core/transform/sequencetools.h"
#include "core/transform/structurefile.h"
#include "core/transform/weavestructure.h"

#include <algorithm>
#include <map>
#include <set>

namespace qb {

namespace {

NewDraftResult refuse(IPrompter& prompter, const std::string& detail)
{
    NewDraftResult out;
    out.result = CommandResult::refused(prompter, blockmsg::heading(detail));
    return out;
}

template <class V, class T> Unit<V> asUnit(const T& seq)
{
    Unit<V> unit(static_cast<std::size_t>(seq.GetCount()));
    for (int i = 0; i < seq.GetCount(); ++i) {
        auto& u = unit[static_cast<std::size_t>(i)];
        if constexpr (std::is_same_v<V, int>) u.value = seq.GetShaft(i);
        else u.value = seq.GetSet(i);
        u.color = static_cast<std::uint8_t>(seq.GetColor(i));
        u.thick = seq.GetThick(i) != 0;
        u.offset = i;
    }
    return unit;
}

// The units of every block a side needs, with a blank unit for block 0.
template <class V> struct UnitTable {
    std::map<int, Unit<V>> units;
    int highest = 0; // highest shaft or treadle any of them uses
    int missing = 0; // first needed block the structure lacks
};

UnitTable<int> threadingUnits(const CQuillabyDoc& s, const std::set<int>& needed, int alsoUpTo)
{
    UnitTable<int> t;
    const int len = s.blocks().endsPerBlock;
    Unit<int> blank(static_cast<std::size_t>(std::max(len, 0)));
    for (int j = 0; j < len; ++j) {
        blank[static_cast<std::size_t>(j)].offset = j;
        blank[static_cast<std::size_t>(j)].color = static_cast<std::uint8_t>(s.threading(0)->defaultColor());
    }
    t.units[0] = blank;
    std::set<int> all = needed;
    for (int k = 1; k <= alsoUpTo; ++k) all.insert(k);
    for (int k : all) {
        if (k == 0) continue;
        auto unit = ThreadingUnitForBlock(s, k);
        if (!unit) {
            if (needed.count(k) && !t.missing) t.missing = k;
            continue;
        }
        t.highest = std::max(t.highest, unit->HighestValue());
        t.units[k] = asUnit<int>(*unit);
    }
    return t;
}

UnitTable<TreadleSet> treadlingUnits(const CQuillabyDoc& s, const std::set<int>& needed, int alsoUpTo)
{
    UnitTable<TreadleSet> t;
    const int len = s.blocks().picksPerBlock;
    Unit<TreadleSet> blank(static_cast<std::size_t>(std::max(len, 0)));
    for (int j = 0; j < len; ++j) {
        blank[static_cast<std::size_t>(j)].offset = j;
        blank[static_cast<std::size_t>(j)].color = static_cast<std::uint8_t>(s.treadling(0)->defaultColor());
    }
    t.units[0] = blank;
    std::set<int> all = needed;
    for (int k = 1; k <= alsoUpTo; ++k) all.insert(k);
    for (int k : all) {
        if (k == 0) continue;
        auto unit = TreadlingUnitForBlock(s, k);
        if (!unit) {
            if (needed.count(k) && !t.missing) t.missing = k;
            continue;
        }
        t.highest = std::max(t.highest, unit->HighestValue());
        t.units[k] = asUnit<TreadleSet>(*unit);
    }
    return t;
}

template <class V> std::function<const Unit<V>*(int)> lookup(const UnitTable<V>& table)
{
    return [&table](int k) -> const Unit<V>* {
        const auto it = table.units.find(k);
        return it == table.units.end() ? nullptr : &it->second;
    };
}

} // namespace

bool ProfileAcceptsSubstitution(const CQuillabyDoc& profile, IPrompter& prompter)
{
    if (!profile.multipleTreadles()) return true;
    prompter.tell(blockmsg::heading(blockmsg::kMultipleTreadles));
    return false;
}

NewDraftResult SubstituteBlocks(const CQuillabyDoc& profile, const CQuillabyDoc& structure,
                                const std::string& structurePath, IPrompter& prompter)
{
    if (profile.multipleTreadles()) return refuse(prompter, blockmsg::kMultipleTreadles);
    if (!structure.blocks().definesStructure) {
        NewDraftResult out;
        out.result = CommandResult::refused(prompter, NotAStructureMessage(structurePath, StructureUse::Substitution));
        return out;
    }
    const BlockSubstitutionParams p = EffectiveBlockParams(structure.blocks());
    const int numBlocks = std::max(1, p.numBlocks);
    int n = FindUsedShafts(profile);
    if (!p.automaticallyGenerated && numBlocks < n)
        return refuse(prompter, blockmsg::format(blockmsg::kNotEnoughBlocks, n));
    if (p.fixedNumberOfBlocks) n = numBlocks;
    const int m = FindUsedTreadles(profile);

    // The block of every profile end (its first warp) and pick.
    const Threading& pth = *profile.threading(0);
    const Treadling& ptr = *profile.treadling(0);
    std::vector<int> endBlocks(static_cast<std::size_t>(pth.GetCount()));
    std::vector<int> pickBlocks(static_cast<std::size_t>(ptr.GetCount()));
    for (int i = 0; i < pth.GetCount(); ++i) endBlocks[static_cast<std::size_t>(i)] = pth.GetShaft(i);
    for (int i = 0; i < ptr.GetCount(); ++i) pickBlocks[static_cast<std::size_t>(i)] = ptr.FirstValue(i);
    const std::set<int> usedEnds(endBlocks.begin(), endBlocks.end());
    const std::set<int> usedPicks(pickBlocks.begin(), pickBlocks.end());

    // Every unit that will be written must exist in full.
    const UnitTable<int> thUnits = threadingUnits(structure, usedEnds, n);
    if (p.endsPerBlock < 1 || thUnits.missing)
        return refuse(prompter, blockmsg::format(blockmsg::kEnoughThreading, thUnits.missing ? thUnits.missing : 1));
    const UnitTable<TreadleSet> trUnits = treadlingUnits(structure, usedPicks, m);
    if (p.picksPerBlock < 1 || trUnits.missing)
        return refuse(prompter, blockmsg::format(blockmsg::kEnoughTreadling, trUnits.missing ? trUnits.missing : 1));

    // Loom size: every block's shafts and every unit's shafts and treadles.
    const int tiedownTreadles = TiedownTreadleCount(structure);
    int shafts = std::max({p.patternShaftsPerBlock * n + p.tiedownShafts, thUnits.highest, 1});
    if (shafts > kMaxShafts) {
        prompter.tell(blockmsg::heading(blockmsg::format(blockmsg::kTooManyShafts, shafts)));
        shafts = kMaxShafts;
    }
    int treadles = std::max({p.patternTreadlesPerBlock * m + tiedownTreadles, trUnits.highest, 1});
    if (treadles > kMaxTreadles) {
        prompter.tell(blockmsg::heading(blockmsg::format(blockmsg::kTooManyTreadles, treadles)));
        treadles = kMaxTreadles;
    }

    // The order of the profile's blocks.
    BlockOrder endOrder;
    if (p.sequentialBlockOrder || !p.repeatableUnits || p.threadingBalanceTurning > 0) {
        endOrder = AnalyseBlockOrder(endBlocks, n);
        if (p.sequentialBlockOrder && endOrder.firstJump >= 0) return refuse(prompter, blockmsg::kSequential);
        if (!p.repeatableUnits && endOrder.firstRepeat >= 0) return refuse(prompter, blockmsg::kRepeated);
    }
    BlockOrder pickOrder;
    if (p.treadlingBalanceTurning > 0) pickOrder = AnalyseBlockOrder(pickBlocks, m);

    AssemblyInput<int> thIn;
    thIn.blocks = endBlocks;
    thIn.turning = endOrder.turning;
    thIn.unit = lookup(thUnits);
    const int ts = p.tiedownShafts;
    thIn.tiedown = [ts](const int& s) {
        TreadleSet d;
        if (s >= 1 && s <= ts) d.set(s);
        return d;
    };
    thIn.overlapMessage = blockmsg::kOverlapThreading;
    thIn.enoughMessage = blockmsg::kEnoughThreading;
    AssemblyOptions thOpt;
    thOpt.unitLength = p.endsPerBlock;
    thOpt.transition = p.threadingBalanceTransition;
    thOpt.transitionOverlaps = p.threadingBalanceTransitionChoice;
    thOpt.turning = p.threadingBalanceTurning;
    thOpt.turningOverlaps = p.threadingBalanceTurningChoice;
    thOpt.flip = p.threadingFlipTransition;
    thOpt.flipToShared = p.threadingFlipChoice;
    AssemblyResult<int> ends = AssembleUnits(thIn, thOpt);
    if (!ends.error.empty()) return refuse(prompter, ends.error);

    TieupAssembly tieup =
        AssembleBlockTieup(structure, p, profile.tieup(), m, shafts, treadles, p.fixedNumberOfBlocks ? numBlocks : n);
    if (!tieup.error.empty()) return refuse(prompter, tieup.error);

    AssemblyInput<TreadleSet> trIn;
    trIn.blocks = pickBlocks;
    trIn.turning = pickOrder.turning;
    trIn.unit = lookup(trUnits);
    const TreadleSet tiedownSet = TreadleSet::firstTreadles(tiedownTreadles);
    trIn.tiedown = [tiedownSet](const TreadleSet& s) { return s & tiedownSet; };
    trIn.overlapMessage = blockmsg::kOverlapTreadling;
    trIn.enoughMessage = blockmsg::kEnoughTreadling;
    AssemblyOptions trOpt;
    trOpt.unitLength = p.picksPerBlock;
    trOpt.transition = p.treadlingBalanceTransition;
    trOpt.transitionOverlaps = p.treadlingBalanceTransitionChoice;
    trOpt.turning = p.treadlingBalanceTurning;
    trOpt.turningOverlaps = p.treadlingBalanceTurningChoice;
    trOpt.flip = p.treadlingFlipTransition;
    trOpt.flipToShared = p.treadlingFlipChoice;
    trOpt.shortenLast = true;
    AssemblyResult<TreadleSet> picks = AssembleUnits(trIn, trOpt);
    if (!picks.error.empty()) return refuse(prompter, picks.error);

    // A sequence holds at most 32768 threads: refuse rather than cut.
    const int endCount = static_cast<int>(std::min<std::size_t>(ends.threads.size(), kMaxThreads + 1));
    const int pickCount = static_cast<int>(std::min<std::size_t>(picks.threads.size(), kMaxThreads + 1));
    if (endCount > kMaxThreads)
        return refuse(prompter,
                      blockmsg::format(blockmsg::format(blockmsg::kThreadsRequired, std::string("ends")).c_str(),
                                       static_cast<long long>(ends.threads.size())));
    if (pickCount > kMaxThreads)
        return refuse(prompter,
                      blockmsg::format(blockmsg::format(blockmsg::kThreadsRequired, std::string("picks")).c_str(),
                                       static_cast<long long>(picks.threads.size())));

    // The structure's palette, with the profile's colors brought in when the
    // design's colors are used.
    ColorPalette palette = structure.palette();
    std::vector<int> profileColors;
    if (DecodeColorOptions(p.colorOptions).useDesignColors) {
        for (int c = 0; c < profile.palette().count(); ++c) {
            const int at = palette.add(profile.palette().color(c), true);
            if (at == kNoColor || at < 0)
                return refuse(prompter, blockmsg::format(blockmsg::kPaletteLimit, kMaxColors));
            profileColors.push_back(at);
        }
    }
    ColorSubstitutedThreads(profile, structure, p, profileColors, ends.threads, picks.threads, prompter);

    auto d = DraftShellLike(profile);
    d->raw().setRisingShed(structure.isRisingShed());
    d->raw().paletteMutable() = palette;
    auto th = std::make_unique<Threading>(*structure.threading(0));
    th->Delete(0, th->GetCount());
    th->ClearLabels();
    th->SetLimit(shafts);
    th->Append(endCount);
    for (int i = 0; i < endCount; ++i) {
        const PlacedThread<int>& t = ends.threads[static_cast<std::size_t>(i)];
        if (t.value <= shafts) th->SetValue(i, t.value);
        th->SetColor(i, t.color);
        if (t.thick) th->SetThick(i, true);
    }
    auto tr = std::make_unique<Treadling>(*structure.treadling(0));
    tr->Delete(0, tr->GetCount());
    tr->ClearLabels();
    tr->SetLimit(treadles);
    bool several = p.skeletonTieup;
    for (const auto& t : picks.threads) several = several || t.value.count() > 1;
    tr->setMultiple(several);
    tr->Append(pickCount);
    for (int i = 0; i < pickCount; ++i) {
        const PlacedThread<TreadleSet>& t = picks.threads[static_cast<std::size_t>(i)];
        tr->SetSet(i, t.value);
        tr->SetColor(i, t.color);
        if (t.thick) tr->SetThick(i, true);
    }
    d->raw().setLoomRaw(shafts, treadles, false);
    d->raw().replaceThreading(0, std::move(th));
    d->raw().replaceTreadling(0, std::move(tr));
    d->raw().replaceTieup(std::make_unique<Tieup>(std::move(tieup.tieup)));
    ColorPalette& pal = d->raw().paletteMutable();
    if (pal.leftColor() >= pal.count()) pal.setLeftColor(0);
    if (pal.rightColor() >= pal.count()) pal.setRightColor(pal.count() > 1 ? 1 : 0);
    d->EnsureComplete();
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
