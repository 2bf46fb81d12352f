// The weave-structure sheet's rules, tieup keys, automatic keys and the
// skeleton tieup.
#include "tests/core/transform/structures.h"

#include "core/transform/skeletontieup.h"
#include "core/transform/tieupkeys.h"

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
    EXPECT_EQ(doc->tieupKeys.size(), 4u);
    EXPECT_EQ(MakeAllValidCaption(*doc), "Invalidate all");
    MakeAllValid(*doc, false);
    for (const auto& k : doc->tieupKeys) EXPECT_FALSE(KeyUsable(k.get()));
    EXPECT_EQ(MakeAllValidCaption(*doc), "Make all valid");
    doc->blocks.adjacentKeysNotCombined = true;
    EXPECT_FALSE(SetKeyValid(*doc, 3, true)); // A with B mixes the groups
    MakeAllValid(*doc, true);
    EXPECT_TRUE(KeyUsable(doc->tieupKeys[1].get()));
    EXPECT_FALSE(KeyUsable(doc->tieupKeys[3].get()));
    EXPECT_EQ(MakeAllValidCaption(*doc), "Invalidate all");

    // More blocks and shafts: the keys follow, keeping their cells.
    doc->blocks.numBlocks = 3;
    doc->SetNumShafts(kReplay, 6);
    FitTieupKeys(*doc);
    ASSERT_EQ(doc->tieupKeys.size(), 8u);
    EXPECT_EQ(doc->tieupKeys[1]->shaftCount(), 6);
    EXPECT_EQ(ColumnShafts(*doc->tieupKeys[1], 0), (std::vector<int>{1, 3, 4}));
}

TEST(WeaveStructure, AutomaticKeysReachTheLastShaft)
{
    auto doc = MakeStructure(UnitWeaveShape(2));
    std::string why;
    const auto first = FirstKeyFromTieup(*doc, &why);
    ASSERT_TRUE(first) << why;
    // Three blocks on six shafts: block 3's rows end on shaft 6 itself.
    const TieupKey key = AutomaticKey(*first, 0b100, 6, doc->blocks);
    EXPECT_EQ(ColumnShafts(key, 0), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ColumnShafts(key, 1), (std::vector<int>{6}));
    ASSERT_TRUE(KeyForCombination(*doc, 0b100));

    doc->blocks.patternShaftsPerBlock = 3; // two blocks of three need six shafts
    EXPECT_FALSE(FirstKeyFromTieup(*doc, &why));
    EXPECT_EQ(why, "Tieup must contain at least two blocks.\n");
    doc->blocks.patternShaftsPerBlock = 2;
    doc->blocks.tiedownTreadles = 3;
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

    doc->blocks.tiedownShafts = 0;
    EXPECT_FALSE(SkeletonTieup(*doc, p));
    EXPECT_EQ(p.lastMessage,
              "Cannot automatically convert to a skeleton tieup.\nThe number of tiedown shafts must be "
              "greater than zero.\n");
    doc->blocks.tiedownShafts = 2;
    doc->blocks.patternTreadlesPerBlock = 3;
    EXPECT_FALSE(SkeletonTieup(*doc, p));
    EXPECT_EQ(p.lastMessage,
              "Cannot automatically convert to a skeleton tieup.\nPattern treadles per block must be "
              "divisible by the\nnumber of tiedown shafts.\n");
}
