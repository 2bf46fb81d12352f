#include "core/transform/weavestructure.h"

#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/tieupkeys.h"

#include <algorithm>

namespace qb {

char BlockLetter(int block)
{
    if (block >= 1 && block <= 26) return static_cast<char>('A' + block - 1);
    if (block >= 27 && block <= 52) return static_cast<char>('a' + block - 27);
    return '?';
}

std::string BlockSetLetters(BlockSet set)
{
    std::string out;
    for (int k = 1; k <= 64; ++k)
        if (set >> (k - 1) & 1) out += BlockLetter(k);
    return out;
}

BlockColorOptions DecodeColorOptions(int bits)
{
    BlockColorOptions o;
    o.useDesignColors = (bits & 1) == 0;
    o.barsInWeft = (bits & 2) != 0;
    o.alternate = (bits & 4) != 0;
    o.exceptWarpTiedowns = (bits & 8) != 0;
    o.exceptWeftTiedowns = (bits & 16) != 0;
    o.additionalBars = std::min((bits >> 5) & 7, kMaxAdditionalColorBars);
    return o;
}

int EncodeColorOptions(const BlockColorOptions& o)
{
    return (o.useDesignColors ? 0 : 1) | (o.barsInWeft ? 2 : 0) | (o.alternate ? 4 : 0) | (o.exceptWarpTiedowns ? 8 : 0)
        | (o.exceptWeftTiedowns ? 16 : 0) | (std::clamp(o.additionalBars, 0, kMaxAdditionalColorBars) << 5);
}

BlockSubstitutionParams EffectiveBlockParams(const BlockSubstitutionParams& p)
{
    BlockSubstitutionParams e = p;
    if (e.skeletonTieup || e.patternTreadlesPerBlock != 1 || e.tiedownTreadles < 2) e.enforceOddEvenTiedowns = false;
    if (!e.sequentialBlockOrder) e.threadingBalanceTurning = e.treadlingBalanceTurning = 0;
    if (e.endsPerBlock < 2) e.threadingFlipTransition = false;
    if (e.picksPerBlock < 2) e.treadlingFlipTransition = false;
    if (!e.allowTieupCombinations) e.automaticallyGenerated = false;
    e.threadingBalanceTurning = std::max(0, e.threadingBalanceTurning);
    e.threadingBalanceTransition = std::max(0, e.threadingBalanceTransition);
    e.treadlingBalanceTurning = std::max(0, e.treadlingBalanceTurning);
    e.treadlingBalanceTransition = std::max(0, e.treadlingBalanceTransition);
    return e;
}

WeaveStructureSheetRules SheetRules(const BlockSubstitutionParams& p, bool layoutChanged)
{
    const BlockSubstitutionParams e = EffectiveBlockParams(p);
    const BlockColorOptions c = DecodeColorOptions(p.colorOptions);
    WeaveStructureSheetRules r;
    r.oddEvenTiedowns = !p.skeletonTieup && p.patternTreadlesPerBlock == 1 && p.tiedownTreadles >= 2;
    r.threadingTurning = r.treadlingTurning = p.sequentialBlockOrder;
    r.threadingFlip = p.endsPerBlock >= 2;
    r.treadlingFlip = p.picksPerBlock >= 2;
    r.threadingFlipChoice = e.threadingFlipTransition;
    r.treadlingFlipChoice = e.treadlingFlipTransition;
    r.automaticKeys = p.allowTieupCombinations && !layoutChanged;
    r.keyList = !layoutChanged;
    r.validCombination = !layoutChanged && !e.automaticallyGenerated;
    r.makeAllValid = r.validCombination;
    r.colorDetails = c.useDesignColors;
    r.additionalBarsSide = c.useDesignColors && c.additionalBars > 0;
    r.threadingBalanceMost = std::max(0, p.endsPerBlock - 1);
    r.treadlingBalanceMost = std::max(0, p.picksPerBlock - 1);
    return r;
}

bool KeyLayoutChanged(const BlockSubstitutionParams& before, const BlockSubstitutionParams& after)
{
    return before.numBlocks != after.numBlocks || before.patternTreadlesPerBlock != after.patternTreadlesPerBlock
        || before.patternShaftsPerBlock != after.patternShaftsPerBlock || before.tiedownShafts != after.tiedownShafts;
}

BlockSubstitutionParams SheetParams(const BlockSubstitutionParams& p)
{
    BlockSubstitutionParams s = p;
    s.enforceOddEvenTiedowns = p.enforceOddEvenTiedowns && SheetRules(p, false).oddEvenTiedowns;
    s.automaticallyGenerated = p.automaticallyGenerated && p.allowTieupCombinations;
    return s;
}

CommandResult SetDefinesStructure(Edit e, CQuillabyDoc& doc, bool on)
{
    DraftStep step(e, doc, DraftSnapshot::Settings | DraftSnapshot::Structure);
    RawDraft raw = doc.raw();
    raw.blocks.definesStructure = on;
    if (on) {
        raw.notations.threadingSymbols = false;
        raw.notations.treadlingSymbols = false;
        FitTieupKeys(doc);
    }
    step.commit();
    // The notation symbols may have gone: the panes lay themselves out anew.
    return CommandResult::doneResult();
}

} // namespace qb
