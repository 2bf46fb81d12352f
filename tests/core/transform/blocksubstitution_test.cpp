// Block substitution: golden structures built in code, the failure messages,
// the order rules, balance and flips, keys, colors and the unit-weave property.
#include "tests/core/transform/structures.h"

#include "core/transform/blocksubstitution.h"
#include "core/transform/tieupkeys.h"

#include <gtest/gtest.h>

#include <random>

using namespace qbtest;

namespace {

const char* const kHead = "Unable to substitute this weave structure.\n\n";

NewDraftResult substitute(const CQuillabyDoc& profile, const CQuillabyDoc& structure, FixedPrompter& p)
{
    return SubstituteBlocks(profile, structure, "/structures/s.qlb", p);
}

// Runs a substitution that must fail and returns what it told.
std::string failure(const CQuillabyDoc& profile, const CQuillabyDoc& structure)
{
    FixedPrompter p;
    NewDraftResult r = substitute(profile, structure, p);
    EXPECT_EQ(r.draft, nullptr);
    EXPECT_EQ(r.result.status, CommandResult::Status::Refused);
    return p.lastMessage;
}

std::unique_ptr<CQuillabyDoc> made(const CQuillabyDoc& profile, const CQuillabyDoc& structure)
{
    FixedPrompter p;
    NewDraftResult r = substitute(profile, structure, p);
    EXPECT_TRUE(r.result.done()) << p.lastMessage;
    return std::move(r.draft);
}

std::vector<int> colors(const Tding& t)
{
    std::vector<int> out;
    for (int i = 0; i < t.GetCount(); ++i) out.push_back(t.GetColor(i));
    return out;
}

} // namespace

TEST(BlockSubstitution, StoredKeysGiveTheGoldenDraft)
{
    const auto structure = TwoBlockWithKeys();
    // Treadle 3 ties both blocks: the combination key; it also reuses
    // treadling block 1 with its treadles raised past both blocks.
    const auto profile = MakeProfile({1, 2, 2, 1}, {1, 2, 3}, {{1}, {2}, {1, 2}});
    const auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 2, 1, 2, 3, 4, 3, 4, 3, 4, 3, 4, 1, 2, 1, 2}));
    EXPECT_EQ(Treadles(*d), (std::vector<int>{1, 2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6}));
    EXPECT_EQ(TieupColumns(d->tieup()),
              (std::vector<std::vector<int>>{{1, 3, 4}, {2}, {1, 2, 3}, {4}, {1, 3}, {2, 4}}));
    EXPECT_FALSE(d->isLiftplan());
    EXPECT_FALSE(d->multipleTreadles());
    EXPECT_FALSE(d->blocks().definesStructure);
    EXPECT_EQ(Shafts(*profile), (std::vector<int>{1, 2, 2, 1})); // the profile is untouched
}

TEST(BlockSubstitution, AutomaticKeysCoverBlocksBeyondTheStructure)
{
    const auto structure = MakeStructure(TiedownShape());
    const auto profile = MakeProfile({1, 2, 3, 4, 3, 2, 1}, {1, 2, 3, 4});
    const auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->numShafts(), 6);
    EXPECT_EQ(d->numTreadles(), 10);
    EXPECT_EQ(Shafts(*d),
              (std::vector<int>{1, 3, 2, 3, 1, 4, 2, 4, 1, 5, 2, 5, 1, 6, 2, 6, 1, 5, 2, 5, 1, 4, 2, 4, 1, 3, 2, 3}));
    EXPECT_EQ(Treadles(*d), (std::vector<int>{3, 4, 3, 4, 5, 6, 5, 6, 7, 8, 7, 8, 9, 10, 9, 10}));
    // Block k's rows weave the pattern (nothing lifted) under key k, every
    // other block's rows the background; tiedowns 1 and 2 as the first key.
    EXPECT_EQ(TieupColumns(d->tieup()),
              (std::vector<std::vector<int>>{{1},
                                             {2},
                                             {1, 4, 5, 6},
                                             {2, 4, 5, 6},
                                             {1, 3, 5, 6},
                                             {2, 3, 5, 6},
                                             {1, 3, 4, 6},
                                             {2, 3, 4, 6},
                                             {1, 3, 4, 5},
                                             {2, 3, 4, 5}}));
}

TEST(BlockSubstitution, BlockFiveOfAFourBlockStructure)
{
    auto structure = MakeStructure(UnitWeaveShape(4));
    const auto profile = MakeProfile({1, 2, 3, 4, 5}, {1});
    structure->raw().blocks.automaticallyGenerated = false;
    EXPECT_EQ(failure(*profile, *structure),
              std::string(kHead) + "Weave structure definition does not\ncontain enough blocks.\n[5]");
    structure->raw().blocks.automaticallyGenerated = true;
    const auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->numShafts(), 10);
    const std::vector<int> s = Shafts(*d);
    EXPECT_EQ(std::vector<int>(s.end() - 4, s.end()), (std::vector<int>{9, 10, 9, 10})); // block 1 raised by 4 x PS
}

TEST(BlockSubstitution, TwoTiedownsAndTwoPatternShaftsOnFourBlocksGiveTenShafts)
{
    StructureShape shape;
    shape.blocks = 4;
    shape.tiedownShafts = 2;
    for (int k = 1; k <= 4; ++k)
        for (int v : {1, 2 * k + 1, 2, 2 * k + 2}) shape.threading.push_back(v);
    for (int k = 1; k <= 4; ++k)
        for (int v : {2 * k - 1, 2 * k, 2 * k - 1, 2 * k}) shape.treadling.push_back(v);
    shape.columns.assign(8, {1, 3});
    const auto d = made(*MakeProfile({1, 2, 3, 4}, {1, 2, 3, 4}), *MakeStructure(shape));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->numShafts(), 10);
}

TEST(BlockSubstitution, ProfileOrderRules)
{
    auto structure = MakeStructure(UnitWeaveShape(4));
    structure->raw().blocks.sequentialBlockOrder = true;
    const std::string sequential =
        std::string(kHead) + "Profile draft must contain only\nsequential threading blocks for this structure.";
    struct Case {
        std::vector<int> blocks;
        bool repeatable;
        std::string message; // empty: passes
    };
    const Case cases[] = {
        {{1, 2, 3, 2, 1}, true, ""},
        {{4, 3, 2, 1, 4, 3}, true, ""}, // below block 1 lies block 4
        {{1, 3}, true, ""},             // three blocks: 3 lies below 1
        {{1, 3, 4}, true, sequential},
        {{1, 1, 2}, true, ""},
        {{1, 1, 2},
         false,
         std::string(kHead) + "Profile draft cannot contain repeated\nthreading blocks for this structure."},
    };
    for (const Case& c : cases) {
        structure->raw().blocks.repeatableUnits = c.repeatable;
        const auto profile = MakeProfile(c.blocks, {1});
        FixedPrompter p;
        const NewDraftResult r = substitute(*profile, *structure, p);
        EXPECT_EQ(r.draft == nullptr, !c.message.empty()) << c.blocks.size();
        if (!c.message.empty()) {
            EXPECT_EQ(p.lastMessage, c.message);
        }
    }
}

TEST(BlockSubstitution, RefusalsGiveNoDraft)
{
    const auto structure = TwoBlockWithKeys();
    auto profile = MakeProfile({1, 2}, {1, 2});
    profile->raw().treadlingMutable(0)->setMultiple(true);
    EXPECT_EQ(failure(*profile, *structure),
              std::string(kHead)
                  + "Profile draft has multiple treadles enabled.\nTry either Edit->Convert to Tieup "
                    "or\nunchecking Treadling->Multiple Treadles before proceeding.");
    FixedPrompter p;
    EXPECT_FALSE(ProfileAcceptsSubstitution(*profile, p));

    profile = MakeProfile({1, 2}, {1, 2});
    const auto plain = NewDraft();
    EXPECT_EQ(failure(*profile, *plain),
              std::string(kHead) + "File /structures/s.qlb\ndoes not define substitution blocks.");

    // A structure whose threading stops inside block 2, or has no ends per block.
    auto shortOne = MakeStructure(UnitWeaveShape(2));
    shortOne->raw().threadingMutable(0)->Delete(6, 2);
    EXPECT_EQ(failure(*profile, *shortOne),
              std::string(kHead) + "Weave structure definition does not contain\nenough threading blocks.\n[2]");
    shortOne = MakeStructure(UnitWeaveShape(2));
    shortOne->raw().blocks.endsPerBlock = 0;
    EXPECT_EQ(failure(*profile, *shortOne),
              std::string(kHead) + "Weave structure definition does not contain\nenough threading blocks.\n[1]");
    shortOne = MakeStructure(UnitWeaveShape(2));
    shortOne->raw().treadlingMutable(0)->Delete(5, 3);
    EXPECT_EQ(failure(*profile, *shortOne),
              std::string(kHead) + "Weave structure definition does not contain\nenough treadling blocks.\n[2]");

    // 8193 ends of four: more than a draft can hold.
    const auto longProfile = MakeProfile(std::vector<int>(8193, 1), {1});
    EXPECT_EQ(failure(*longProfile, *structure),
              std::string(kHead) + "Number of ends required (32772)\n exceeds program capabilities.\n");
}

TEST(BlockSubstitution, CombinationRules)
{
    auto structure = MakeStructure(UnitWeaveShape(3));
    const auto both12 = MakeProfile({1, 2, 3}, {1}, {{1, 2}});
    const auto both13 = MakeProfile({1, 2, 3}, {1}, {{1, 3}});
    structure->raw().blocks.allowTieupCombinations = false;
    EXPECT_EQ(failure(*both12, *structure),
              std::string(kHead) + "Weave structure definition does not contain\nvalid tieup combinations.\n[3]");
    structure->raw().blocks.allowTieupCombinations = true;
    structure->raw().blocks.adjacentKeysNotCombined = true;
    EXPECT_EQ(failure(*both12, *structure),
              std::string(kHead) + "Weave structure definition does not contain\nvalid tieup combinations.\n[3]");
    EXPECT_TRUE(made(*both13, *structure));
    // Stored keys: a combination without a valid key fails with its bits in hex.
    auto keyed = TwoBlockWithKeys();
    SetKeyValid(*keyed, 3, false);
    EXPECT_EQ(failure(*MakeProfile({1, 2}, {1}, {{1, 2}}), *keyed),
              std::string(kHead) + "Weave structure definition does not contain\nvalid tieup combinations.\n[3]");
}

TEST(BlockSubstitution, TransitionBalanceFollowsTheChoice)
{
    auto structure = MakeStructure(UnitWeaveShape(2));
    const auto profile = MakeProfile({1, 2}, {1, 2});
    profile->raw().threadingMutable(0)->SetColor(0, 2);
    profile->raw().threadingMutable(0)->SetColor(1, 3);
    BlockSubstitutionParams& b = structure->raw().blocks;
    b.threadingBalanceTransition = b.treadlingBalanceTransition = 1;
    b.threadingBalanceTransitionChoice = b.treadlingBalanceTransitionChoice = false; // write once more
    auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 2, 1, 2, 1, 3, 4, 3, 4}));
    EXPECT_EQ(colors(*d->threading(0)), (std::vector<int>{2, 2, 2, 2, 2, 3, 3, 3, 3}));
    EXPECT_EQ(Treadles(*d), (std::vector<int>{1, 2, 1, 2, 1, 3, 4, 3, 4}));
    b.threadingBalanceTransitionChoice = b.treadlingBalanceTransitionChoice = true; // overlap
    d = made(*profile, *structure);
    ASSERT_TRUE(d);
    // The first unit starts at the first end; the second overwrites one end.
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 2, 1, 3, 4, 3, 4}));
    EXPECT_EQ(colors(*d->threading(0)), (std::vector<int>{2, 2, 2, 3, 3, 3, 3}));
    // The treadling's last unit also gives up the overlap.
    EXPECT_EQ(Treadles(*d), (std::vector<int>{1, 2, 1, 3, 4, 3}));
}

TEST(BlockSubstitution, TurningBalanceAtTheTurn)
{
    auto structure = MakeStructure(UnitWeaveShape(3));
    structure->raw().blocks.sequentialBlockOrder = true;
    structure->raw().blocks.threadingBalanceTurning = 1;
    structure->raw().blocks.threadingBalanceTurningChoice = false;
    const auto profile = MakeProfile({1, 2, 3, 2, 1}, {1});
    auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6, 5, 3, 4, 3, 4, 1, 2, 1, 2}));
    structure->raw().blocks.sequentialBlockOrder = false; // turning options read as 0
    d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->numEnds(), 20);
}

TEST(BlockSubstitution, FlipToTheSharedShaft)
{
    StructureShape shape;
    shape.patternShafts = 1;
    shape.threading = {1, 2, 1, 2, 3, 2, 3, 2};
    shape.treadling = {1, 2, 1, 2, 3, 4, 3, 4};
    shape.columns = {{1}, {2}, {2}, {3}};
    auto structure = MakeStructure(shape);
    structure->raw().blocks.threadingFlipTransition = true;
    structure->raw().blocks.threadingFlipChoice = true;
    const auto profile = MakeProfile({1, 2}, {1});
    auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 2, 1, 2, 2, 3, 2, 3}));
    // Neither way round does block 2 start on a shaft block 1 can end on.
    shape.threading = {1, 2, 1, 2, 3, 4, 3, 4};
    structure = MakeStructure(shape);
    structure->raw().blocks.threadingFlipTransition = true;
    structure->raw().blocks.threadingFlipChoice = true;
    EXPECT_EQ(failure(*profile, *structure),
              std::string(kHead) + "Weave structure definition does not contain\noverlapping threading blocks.\n[2]");
}

TEST(BlockSubstitution, FlipToAlternateTiedowns)
{
    StructureShape shape = TiedownShape();
    shape.threading = {1, 3, 2, 3, 2, 4, 1, 4}; // block 2 would repeat tiedown 2
    auto structure = MakeStructure(shape);
    structure->raw().blocks.threadingFlipTransition = true;
    const auto d = made(*MakeProfile({1, 2}, {1}), *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(Shafts(*d), (std::vector<int>{1, 3, 2, 3, 4, 1, 4, 2}));
}

TEST(BlockSubstitution, OddEvenTiedownsAlternate)
{
    StructureShape shape = TiedownShape();
    shape.patternTreadles = 1;
    shape.picks = 2;
    shape.treadling = {3, 3, 4, 4};
    shape.columns = {{1}, {2}, {1, 4}, {1, 3}};
    auto structure = MakeStructure(shape);
    structure->raw().blocks.enforceOddEvenTiedowns = true;
    const auto profile = MakeProfile({1, 2}, {1, 2, 1}, {{1}, {2}});
    auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(TieupColumns(d->tieup()), (std::vector<std::vector<int>>{{1}, {2}, {1, 4}, {2, 3}}));
    structure->raw().blocks.adjacentKeysNotCombined = true;
    EXPECT_EQ(failure(*profile, *structure),
              std::string(kHead) + "Profile draft does not support\nodd-even order of ground shafts in tieup.\n[2]");
    // The first key repeating the last tiedown treadle turns the tiedowns over.
    structure->raw().blocks.adjacentKeysNotCombined = false;
    structure->raw().tieupMutable().clearCell(2, 1);
    structure->raw().tieupMutable().setCell(2, 2);
    d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(TieupColumns(d->tieup()), (std::vector<std::vector<int>>{{2}, {1}, {2, 4}, {1, 3}}));
}

TEST(BlockSubstitution, ColorsFromTheDesign)
{
    auto structure = MakeStructure(TiedownShape());
    for (int e : {0, 2, 4, 6}) structure->raw().threadingMutable(0)->SetColor(e, 5); // tiedown ends
    auto profile = MakeProfile({1, 2}, {1, 2});
    profile->raw().threadingMutable(0)->SetColor(0, 2);
    profile->raw().threadingMutable(0)->SetColor(1, 3);
    BlockColorOptions o;
    o.exceptWarpTiedowns = true;
    structure->raw().blocks.colorOptions = EncodeColorOptions(o);
    auto d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(colors(*d->threading(0)), (std::vector<int>{5, 2, 5, 2, 5, 3, 5, 3}));

    // One additional color bar in the warp: the profile's two warps alternate.
    profile->SetNumRows(kUnrecorded, Side::Threading, 2);
    profile->raw().threadingMutable(1)->SetColor(0, 4);
    profile->raw().threadingMutable(1)->SetColor(1, 1);
    o = BlockColorOptions();
    o.additionalBars = 1;
    structure->raw().blocks.colorOptions = EncodeColorOptions(o);
    d = made(*profile, *structure);
    ASSERT_TRUE(d);
    EXPECT_EQ(colors(*d->threading(0)), (std::vector<int>{2, 4, 2, 4, 3, 1, 3, 1}));

    // Three ends per block cannot hold two colors evenly: told, colors stay.
    StructureShape three = TiedownShape();
    three.ends = 3;
    three.threading = {1, 3, 2, 1, 4, 2};
    auto odd = MakeStructure(three);
    odd->raw().blocks.colorOptions = EncodeColorOptions(o);
    FixedPrompter p;
    const NewDraftResult r = substitute(*profile, *odd, p);
    ASSERT_TRUE(r.result.done());
    EXPECT_EQ(p.lastMessage, "Ends per block must be divisible  \nby the number of colorbars\nin the profile draft\n");
    EXPECT_EQ(colors(*r.draft->threading(0)), colors(*odd->threading(0)));
}

TEST(BlockSubstitution, UnitWeavePropertyHoldsInEveryRectangle)
{
    const auto structure = MakeStructure(UnitWeaveShape(2));
    const std::vector<Cell> cloth = Drawdown(*structure); // 8 x 8
    const auto structureCell = [&](int end, int pick) { return cloth[static_cast<std::size_t>(pick * 8 + end)]; };
    std::mt19937 rng(1313);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 40; ++round) {
        std::vector<int> blocks(static_cast<std::size_t>(pick(1, 12))), treadles(static_cast<std::size_t>(pick(1, 12)));
        for (int& b : blocks) b = pick(1, 5);
        for (int& t : treadles) t = pick(1, 5);
        const int n = *std::max_element(blocks.begin(), blocks.end());
        std::vector<std::vector<int>> tieup(5);
        for (auto& col : tieup)
            for (int b = 1; b <= n; ++b)
                if (pick(0, 1)) col.push_back(b);
        const auto profile = MakeProfile(blocks, treadles, tieup);
        const auto d = made(*profile, *structure);
        ASSERT_TRUE(d);
        ASSERT_EQ(d->numEnds(), 4 * static_cast<int>(blocks.size()));
        ASSERT_EQ(d->numPicks(), 4 * static_cast<int>(treadles.size()));
        for (int j = 0; j < d->numEnds(); ++j)
            for (int i = 0; i < d->numPicks(); ++i) {
                const int block = blocks[static_cast<std::size_t>(j / 4)];
                const int treadle = treadles[static_cast<std::size_t>(i / 4)];
                const bool pattern = profile->tieup().cell(treadle - 1, block);
                // Block 1's ends under block 1's picks weave the pattern,
                // block 2's ends under them the background.
                const Cell want = structureCell((pattern ? 0 : 4) + j % 4, i % 4);
                ASSERT_EQ(DrawdownCell(*d, j, i), want) << "round " << round << " end " << j << " pick " << i;
            }
    }
}
