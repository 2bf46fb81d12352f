// The weave-structure sheet's rules, its working copy and what OK does, tieup
// keys, automatic keys and the skeleton tieup.
#include "tests/core/transform/structures.h"

#include "core/transform/skeletontieup.h"
#include "core/transform/tieupkeys.h"
#include "core/transform/weavestructureedit.h"

#include <gtest/gtest.h>

using namespace qbtest;

TEST(WeaveStructure, ForcedValuesAndEnableRules)
{
    BlockSubstitutionParams p;
    p.tiedownTreadles = 2;
    p.enforceOddEvenTiedowns = true;
    p.threadingBalanceTurning = 2;
    p.threadingFlipTransition = p.treadlingFlipTransition = true;
    p.endsPerBlock = 1;
    p.picksPerBlock = 4;
    BlockSubstitutionParams e = EffectiveBlockParams(p);
    EXPECT_TRUE(e.enforceOddEvenTiedowns);
    EXPECT_EQ(e.threadingBalanceTurning, 0); // not sequential
    EXPECT_FALSE(e.threadingFlipTransition); // one end per block
    EXPECT_TRUE(e.treadlingFlipTransition);
    for (auto change : {+[](BlockSubstitutionParams& q) { q.skeletonTieup = true; },
                        +[](BlockSubstitutionParams& q) { q.patternTreadlesPerBlock = 2; },
                        +[](BlockSubstitutionParams& q) { q.tiedownTreadles = 1; }}) {
        BlockSubstitutionParams q = p;
        change(q);
        EXPECT_FALSE(EffectiveBlockParams(q).enforceOddEvenTiedowns);
        EXPECT_FALSE(SheetRules(q, false).oddEvenTiedowns);
    }
    p.allowTieupCombinations = false;
    EXPECT_FALSE(EffectiveBlockParams(p).automaticallyGenerated);
    WeaveStructureSheetRules r = SheetRules(p, false);
    EXPECT_FALSE(r.automaticKeys);
    EXPECT_TRUE(r.validCombination);
    p.allowTieupCombinations = true;
    r = SheetRules(p, false);
    EXPECT_TRUE(r.automaticKeys);
    EXPECT_FALSE(r.validCombination); // automatic keys need no marks
    r = SheetRules(p, true);
    EXPECT_FALSE(r.keyList);
    EXPECT_FALSE(r.automaticKeys);

    BlockSubstitutionParams q = p;
    q.tiedownShafts = 3;
    EXPECT_TRUE(KeyLayoutChanged(p, q));
    q = p;
    q.picksPerBlock = 9;
    EXPECT_FALSE(KeyLayoutChanged(p, q));
}

TEST(WeaveStructure, ColorOptionsKeepTheirBits)
{
    for (int bits = 0; bits < 128; ++bits) EXPECT_EQ(EncodeColorOptions(DecodeColorOptions(bits)), bits) << bits;
    EXPECT_FALSE(DecodeColorOptions(1).useDesignColors);
    EXPECT_EQ(DecodeColorOptions(7 << 5).additionalBars, 3); // at most three bars
}

TEST(WeaveStructure, BlockLettersAndGroups)
{
    EXPECT_EQ(BlockSetLetters(0b101), "AC");
    EXPECT_EQ(BlockLetter(26), 'Z');
    EXPECT_EQ(BlockLetter(27), 'a');
    EXPECT_TRUE(SpansBothGroups(0b011));
    EXPECT_TRUE(SpansBothGroups(0b1001)); // A and D: both groups, not neighbours
    EXPECT_FALSE(HasNeighbouringBlocks(0b1001));
    EXPECT_FALSE(SpansBothGroups(0b101));
}

TEST(WeaveStructure, MarkingKeysValid)
{
    auto doc = TwoBlockWithKeys();
    EXPECT_EQ(doc->tieupKeys().size(), 4u);
    EXPECT_EQ(MakeAllValidCaption(*doc), "Invalidate all");
    MakeAllValid(*doc, false);
    for (const auto& k : doc->tieupKeys()) EXPECT_FALSE(KeyUsable(k.get()));
    EXPECT_EQ(MakeAllValidCaption(*doc), "Make all valid");
    doc->raw().blocks.adjacentKeysNotCombined = true;
    EXPECT_FALSE(SetKeyValid(*doc, 3, true)); // A with B mixes the groups
    MakeAllValid(*doc, true);
    EXPECT_TRUE(KeyUsable(doc->tieupKeys()[1].get()));
    EXPECT_FALSE(KeyUsable(doc->tieupKeys()[3].get()));
    EXPECT_EQ(MakeAllValidCaption(*doc), "Invalidate all");

    // More blocks and shafts: the keys follow, keeping their cells.
    doc->raw().blocks.numBlocks = 3;
    doc->SetNumShafts(kUnrecorded, 6);
    FitTieupKeys(*doc);
    ASSERT_EQ(doc->tieupKeys().size(), 8u);
    EXPECT_EQ(doc->tieupKeys()[1]->shaftCount(), 6);
    EXPECT_EQ(ColumnShafts(*doc->tieupKeys()[1], 0), (std::vector<int>{1, 3, 4}));
}

TEST(WeaveStructure, AutomaticKeysReachTheLastShaft)
{
    auto doc = MakeStructure(UnitWeaveShape(2));
    std::string why;
    const auto first = FirstKeyFromTieup(*doc, &why);
    ASSERT_TRUE(first) << why;
    // Three blocks on six shafts: block 3's rows end on shaft 6 itself.
    const TieupKey key = AutomaticKey(*first, 0b100, 6, doc->blocks());
    EXPECT_EQ(ColumnShafts(key, 0), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ColumnShafts(key, 1), (std::vector<int>{6}));
    ASSERT_TRUE(KeyForCombination(*doc, 0b100));

    doc->raw().blocks.patternShaftsPerBlock = 3; // two blocks of three need six shafts
    EXPECT_FALSE(FirstKeyFromTieup(*doc, &why));
    EXPECT_EQ(why, "Tieup must contain at least two blocks.\n");
    doc->raw().blocks.patternShaftsPerBlock = 2;
    doc->raw().blocks.tiedownTreadles = 3;
    EXPECT_FALSE(FirstKeyFromTieup(*doc, &why));
    EXPECT_EQ(why, "Corrupted block substitution doc:\nBlock A and Block B could not be determined.\n");
}

TEST(WeaveStructure, SkeletonTieup)
{
    auto doc = MakeStructure(TiedownShape());
    FixedPrompter p;
    const auto skeleton = SkeletonTieup(*doc, p);
    ASSERT_TRUE(skeleton);
    EXPECT_EQ(TieupColumns(*skeleton), (std::vector<std::vector<int>>{{1}, {2}, {1}, {2}, {4}, {3}}));

    doc->raw().blocks.tiedownShafts = 0;
    EXPECT_FALSE(SkeletonTieup(*doc, p));
    EXPECT_EQ(p.lastMessage,
              "Cannot automatically convert to a skeleton tieup.\nThe number of tiedown shafts must be "
              "greater than zero.\n");
    doc->raw().blocks.tiedownShafts = 2;
    doc->raw().blocks.patternTreadlesPerBlock = 3;
    EXPECT_FALSE(SkeletonTieup(*doc, p));
    EXPECT_EQ(p.lastMessage,
              "Cannot automatically convert to a skeleton tieup.\nPattern treadles per block must be "
              "divisible by the\nnumber of tiedown shafts.\n");
}

TEST(WeaveStructure, SheetForcesWhatTheRulesForbidAndBoundsTheBalances)
{
    BlockSubstitutionParams p;
    p.tiedownTreadles = 2;
    p.enforceOddEvenTiedowns = p.automaticallyGenerated = true;
    p.endsPerBlock = 5;
    p.picksPerBlock = 1;
    EXPECT_EQ(SheetParams(p), p);
    const WeaveStructureSheetRules r = SheetRules(p, false);
    EXPECT_EQ(r.threadingBalanceMost, 4); // one thread short of a unit
    EXPECT_EQ(r.treadlingBalanceMost, 0);
    p.skeletonTieup = true;
    p.allowTieupCombinations = false;
    const BlockSubstitutionParams s = SheetParams(p);
    EXPECT_FALSE(s.enforceOddEvenTiedowns);
    EXPECT_FALSE(s.automaticallyGenerated);
    EXPECT_TRUE(s.skeletonTieup); // the rest as chosen
}

TEST(WeaveStructure, SheetDrawsKeysOnItsCopyWhileTheLayoutStays)
{
    auto doc = TwoBlockWithKeys();
    doc->SetModified(false);
    WeaveStructureEdit sheet(*doc);
    // A+B: drawn, valid, and may be marked.
    WeaveStructureEdit::KeyView v = sheet.keyView(3);
    ASSERT_TRUE(v.shown && v.key);
    EXPECT_TRUE(v.editable && v.validEnabled && v.valid);
    EXPECT_EQ(v.shafts, 4);
    EXPECT_EQ(v.treadles, 2);
    EXPECT_TRUE(sheet.toggleCell(3, 0, 2));
    EXPECT_TRUE(sheet.keyView(3).key->cell(0, 2));
    EXPECT_FALSE(doc->tieupKeys()[3]->cell(0, 2)); // the draft waits for OK
    EXPECT_FALSE(doc->isModified());

    EXPECT_EQ(sheet.allValidCaption(), "Invalidate all");
    sheet.toggleAllValid();
    EXPECT_FALSE(sheet.keyView(1).valid);
    EXPECT_EQ(sheet.allValidCaption(), "Make all valid");
    sheet.toggleAllValid();
    EXPECT_TRUE(sheet.keyView(1).valid);

    // Adjacent keys kept apart: A+B cannot be marked.
    BlockSubstitutionParams p = sheet.params();
    p.adjacentKeysNotCombined = true;
    sheet.setParams(p);
    EXPECT_FALSE(sheet.keyView(3).validEnabled);
    EXPECT_FALSE(sheet.setValid(3, true));
    // Automatic keys: shown as generated, not drawn.
    p.adjacentKeysNotCombined = false;
    p.automaticallyGenerated = true;
    sheet.setParams(p);
    EXPECT_FALSE(sheet.keyView(3).editable);
    EXPECT_FALSE(sheet.toggleCell(3, 0, 1));
    // Another layout of blocks: no key to show or draw until it is back.
    p.automaticallyGenerated = false;
    p.numBlocks = 3;
    sheet.setParams(p);
    EXPECT_TRUE(sheet.layoutChanged());
    EXPECT_FALSE(sheet.rules().keyList);
    EXPECT_FALSE(sheet.keyView(1).shown);
    EXPECT_FALSE(sheet.toggleCell(1, 0, 1));
    EXPECT_EQ(sheet.draft().blocks().numBlocks, 2);
    p.numBlocks = 2;
    sheet.setParams(p);
    EXPECT_TRUE(sheet.keyView(3).key->cell(0, 2));
}

TEST(WeaveStructure, OkOnTheSheetIsOneStepOrNone)
{
    auto doc = TwoBlockWithKeys();
    FixedPrompter p;
    auto ok = [&](WeaveStructureEdit& sheet, const BlockSubstitutionParams& params) {
        return doc->Transaction("Weave Structure", [&](Edit e) { ApplyWeaveStructure(e, *doc, params, sheet, p); });
    };
    {
        WeaveStructureEdit sheet(*doc);
        EXPECT_FALSE(ok(sheet, sheet.params())); // nothing changed: nothing to undo
        sheet.toggleCell(2, 1, 1);
        BlockSubstitutionParams changed = sheet.params();
        changed.repeatableUnits = false;
        EXPECT_TRUE(ok(sheet, changed));
    }
    EXPECT_FALSE(doc->blocks().repeatableUnits);
    EXPECT_TRUE(doc->tieupKeys()[2]->cell(1, 1));
    EXPECT_EQ(doc->history().undoCount(), 1);
    ASSERT_TRUE(doc->Undo());
    EXPECT_TRUE(doc->blocks().repeatableUnits);
    EXPECT_FALSE(doc->tieupKeys()[2]->cell(1, 1));

    // A new layout drops what the sheet drew; the draft's keys are fitted.
    WeaveStructureEdit sheet(*doc);
    sheet.toggleCell(2, 1, 1);
    BlockSubstitutionParams three = sheet.params();
    three.numBlocks = 3;
    EXPECT_TRUE(ok(sheet, three));
    ASSERT_EQ(doc->tieupKeys().size(), 8u);
    EXPECT_FALSE(doc->tieupKeys()[2]->cell(1, 1));
    EXPECT_TRUE(KeyUsable(doc->tieupKeys()[1].get()));

    // Skeleton Tieup without tiedown shafts is refused with its reason.
    WeaveStructureEdit again(*doc);
    BlockSubstitutionParams skeleton = again.params();
    skeleton.skeletonTieup = true;
    EXPECT_TRUE(ok(again, skeleton));
    EXPECT_FALSE(doc->blocks().skeletonTieup);
    EXPECT_NE(p.lastMessage.find("tiedown shafts must be greater than zero"), std::string::npos);
}

TEST(WeaveStructure, DefinesStructureIsOneStep)
{
    auto doc = MakeProfile({1, 2, 1, 2}, {1, 2});
    doc->raw().notations.threadingSymbols = true;
    EXPECT_TRUE(doc->Transaction("Defines Structure", [&](Edit e) { SetDefinesStructure(e, *doc, true); }));
    EXPECT_TRUE(doc->blocks().definesStructure);
    EXPECT_FALSE(doc->notations().threadingSymbols);
    EXPECT_EQ(doc->tieupKeys().size(), std::size_t(TieupKeySlots(doc->blocks())));
    ASSERT_TRUE(doc->Undo());
    EXPECT_FALSE(doc->blocks().definesStructure);
    EXPECT_TRUE(doc->notations().threadingSymbols);
}
