// The weave structures that come with the program: each reads as a structure
// and turns a two-block profile into a draft whose blocks weave differently
// where the profile says pattern and background. Also the skeleton tieup's
// rewriting of a structure's treadling.
#include "tests/core/transform/structures.h"

#include "core/draft/drawdown.h"
#include "core/transform/blocksubstitution.h"
#include "core/transform/skeletontieup.h"
#include "core/transform/structurefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace qbtest;

namespace {

const std::filesystem::path kLibrary = std::filesystem::path(QUILLABY_TEST_DATA) / ".." / ".." / "structures";

// The shafts a pick lifts through the tieup.
TUPTYPE LiftOf(const CQuillabyDoc& d, int pick)
{
    TUPTYPE lift;
    d.treadling(0)->GetSet(pick).forEach([&](int t) {
        if (t <= d.tieup().treadleCount()) lift = lift | d.tieup().column(t - 1);
    });
    return lift;
}

// The interlacement of ends [e0, e1) on picks [p0, p1) as text, one row per pick.
std::string Patch(const CQuillabyDoc& d, int e0, int e1, int p0, int p1)
{
    std::string out;
    for (int p = p0; p < p1; ++p) {
        const TUPTYPE lift = LiftOf(d, p);
        for (int e = e0; e < e1; ++e) out += lift.test(d.threading(0)->GetShaft(e)) ? 'X' : '.';
        out += '\n';
    }
    return out;
}

} // namespace

TEST(StructureLibrary, EveryStructureExpandsATwoBlockProfile)
{
    const std::set<std::string> expected = {"summer-and-winter.qlb", "overshot.qlb",     "huck-lace.qlb",
                                            "bronson-lace.qlb",      "turned-twill.qlb", "twill-blocks.qlb"};
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(kLibrary))
        if (entry.path().extension() == ".qlb") found.insert(entry.path().filename().string());
    for (const std::string& name : expected) EXPECT_TRUE(found.count(name)) << name;
    ASSERT_GE(found.size(), 6u);

    // Blocks A A B B across, treadles 1 1 2 2 down; treadle 1 ties A, treadle 2 ties B.
    const auto profile = MakeProfile({1, 1, 2, 2}, {1, 1, 2, 2}, {{1}, {2}});
    for (const std::string& name : found) {
        SCOPED_TRACE(name);
        FixedPrompter p;
        const auto structure = OpenWeaveStructure((kLibrary / name).string(), StructureUse::Substitution, p);
        ASSERT_TRUE(structure) << p.lastMessage;
        EXPECT_TRUE(structure->blocks().definesStructure);
        EXPECT_FALSE(structure->title().empty());
        const BlockSubstitutionParams& b = structure->blocks();
        NewDraftResult r = SubstituteBlocks(*profile, *structure, name, p);
        ASSERT_TRUE(r.result.done()) << p.lastMessage;
        const CQuillabyDoc& d = *r.draft;
        EXPECT_TRUE(p.lastMessage.empty()) << p.lastMessage;
        // Two units per block, less what overlapping neighbours share.
        EXPECT_EQ(d.numEnds(), 4 * b.endsPerBlock - b.threadingBalanceTransition);
        EXPECT_EQ(d.numPicks(), 4 * b.picksPerBlock);
        for (int e = 0; e < d.numEnds(); ++e) EXPECT_GE(d.threading(0)->GetShaft(e), 1) << "end " << e;
        // Block A on treadle 1 is pattern, B background; on treadle 2 the other
        // way round: the same ends weave differently under the two treadles.
        const int E = b.endsPerBlock, P = b.picksPerBlock;
        EXPECT_NE(Patch(d, 0, E, 0, P), Patch(d, 0, E, 2 * P, 3 * P));
        EXPECT_NE(Patch(d, 0, E, 0, P), Patch(d, d.numEnds() - E, d.numEnds(), 0, P));
        // Each pick interlaces: no pick lifts every end or none (except
        // tabby-free floats of a whole structure, which none of these has).
        for (int pick = 0; pick < d.numPicks(); ++pick) {
            const std::string row = Patch(d, 0, d.numEnds(), pick, pick + 1);
            EXPECT_NE(row.find('X'), std::string::npos) << "pick " << pick;
            EXPECT_NE(row.find('.'), std::string::npos) << "pick " << pick;
        }
    }
}

TEST(SkeletonTieup, ConversionKeepsEveryPicksLift)
{
    // Tiedown shafts 1 and 2, two pattern treadles per block: each pattern
    // treadle lifts one tiedown and the other block's shaft.
    StructureShape s = TiedownShape();
    s.columns = {{1}, {2}, {1, 4}, {2, 4}, {1, 3}, {2, 3}};
    auto doc = MakeStructure(s);
    doc->raw().blocks.skeletonTieup = true;
    std::vector<TUPTYPE> before;
    for (int pick = 0; pick < doc->numPicks(); ++pick) before.push_back(LiftOf(*doc, pick));
    FixedPrompter p;
    ASSERT_TRUE(ConvertToSkeletonTieup(*doc, p)) << p.lastMessage;
    // c = PT / TS = 1: two tiedown treadles, two skeleton tiedowns, one
    // pattern treadle per block.
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(TieupColumns(doc->tieup()), (std::vector<std::vector<int>>{{1}, {2}, {1}, {2}, {4}, {3}}));
    EXPECT_TRUE(doc->multipleTreadles());
    for (int pick = 0; pick < doc->numPicks(); ++pick) {
        EXPECT_EQ(LiftOf(*doc, pick), before[static_cast<std::size_t>(pick)]) << "pick " << pick;
        EXPECT_EQ(doc->treadling(0)->GetSet(pick).count(), 2) << "a tiedown and a pattern treadle, pick " << pick;
    }
}

TEST(SkeletonTieup, RefusedConversionChangesNothing)
{
    struct Case {
        int tiedownShafts, patternTreadles;
        const char* message;
    };
    const Case cases[] = {
        {0, 2,
         "Cannot automatically convert to a skeleton tieup.\nThe number of tiedown shafts must be greater than zero.\n"},
        {2, 3,
         "Cannot automatically convert to a skeleton tieup.\nPattern treadles per block must be divisible by the\n"
         "number of tiedown shafts.\n"},
    };
    for (const Case& c : cases) {
        auto doc = MakeStructure(TiedownShape());
        doc->raw().blocks.tiedownShafts = c.tiedownShafts;
        doc->raw().blocks.patternTreadlesPerBlock = c.patternTreadles;
        const auto columns = TieupColumns(doc->tieup());
        const auto treadles = Treadles(*doc);
        FixedPrompter p;
        EXPECT_FALSE(ConvertToSkeletonTieup(*doc, p));
        EXPECT_EQ(p.lastMessage, c.message);
        EXPECT_EQ(TieupColumns(doc->tieup()), columns);
        EXPECT_EQ(Treadles(*doc), treadles);
    }
}

TEST(SkeletonTieup, PickWithoutExactTreadleTakesTheTreadlesInsideIt)
{
    // Skeleton: tiedown treadle lifting 1, skeleton tiedown 2, pattern 3 and 4 apart.
    Tieup skeleton(4, 4);
    skeleton.setCell(0, 1);
    skeleton.setCell(1, 2);
    skeleton.setCell(2, 3);
    skeleton.setCell(3, 4);
    TreadleSet pressed;
    pressed.set(1);
    const TreadleSet got = SkeletonPick(skeleton, pressed, TUPTYPE::firstShafts(4), 2, 1);
    EXPECT_EQ(got.count(), 4);
    EXPECT_TRUE(got.test(1));
}
