#include "tests/core/draft/docsnapshot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace qb;

namespace {

NewDraftDefaults defaults(int shafts = 8, int treadles = 8, bool liftplan = false)
{
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.liftplan = liftplan;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    return d;
}

std::vector<int> shaftsOf(const Threading& t)
{
    return {t.values().begin(), t.values().end()};
}

class LoomCounter : public IDocumentObserver {
public:
    void documentUpdated(const CQuillabyDoc&, const UpdateHint& hint) override
    {
        layouts.push_back(hint.layout);
        if (hint.has(UpdateHint::Structure)) ++loomChanges;
    }
    std::vector<bool> layouts;
    int loomChanges = 0;
};

} // namespace

// --- shafts and treadles ---

TEST(DocLoom, LoweringShaftsUnthreadsEndsAndMasksTheTieup)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    for (int e = 0; e < 8; ++e) doc.SetThreadingCell(kUnrecorded, e, e + 1);
    doc.SetThreadingCell(kUnrecorded, 8, 6, 1);
    doc.SetThreadingCell(kUnrecorded, 9, 3, 1);
    for (int t = 0; t < 8; ++t) doc.SetTieupColumn(kUnrecorded, t, TUPTYPE(0xF0 | (1u << t)));
    LoomCounter obs;
    doc.subscribe(&obs);

    EXPECT_TRUE(doc.SetNumShafts(kUnrecorded, 4));
    EXPECT_EQ(shaftsOf(*doc.threading(0)), (std::vector<int>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(shaftsOf(*doc.threading(1)), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 3}));
    EXPECT_EQ(doc.threading(1)->limit(), 4);
    EXPECT_EQ(doc.tieup().shaftCount(), 4);
    for (int t = 0; t < 8; ++t) EXPECT_EQ(doc.tieup().column(t).bits(), t < 4 ? 1ull << t : 0ull) << t;
    EXPECT_EQ(doc.numTreadles(), 8) << "tieup form: treadles do not follow";
    EXPECT_EQ(obs.loomChanges, 1);
    EXPECT_EQ(obs.layouts, (std::vector<bool>{true}));
    EXPECT_FALSE(doc.SetThreadingCell(kUnrecorded, 0, 5));
    doc.unsubscribe(&obs);
}

TEST(DocLoom, LoweringTreadlesClearsTheRemovedTreadlesFromEveryPick)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetMultipleTreadles(kUnrecorded, true));
    doc.SetTreadlingCell(kUnrecorded, 0, 2);
    doc.SetTreadlingCell(kUnrecorded, 0, 7);
    doc.SetTreadlingCell(kUnrecorded, 1, 8);
    EXPECT_TRUE(doc.SetNumTreadles(kUnrecorded, 4));
    EXPECT_EQ(doc.treadling(0)->GetSet(0), TreadleSet(0b10, 0));
    EXPECT_TRUE(doc.treadling(0)->GetSet(1).empty());
    EXPECT_EQ(doc.numPicks(), 2);
    EXPECT_EQ(doc.tieup().treadleCount(), 4);
    EXPECT_EQ(doc.numShafts(), 8);
}

TEST(DocLoom, RaisingTreadlesTiesNewTreadlesStraightWithinTheShafts)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(4, 2));
    EXPECT_TRUE(doc.SetNumTreadles(kUnrecorded, 6));
    const std::vector<std::uint64_t> expect{1, 2, 4, 8, 0, 0};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(doc.tieup().column(t).bits(), expect[t]) << t;
}

TEST(DocLoom, LiftplanShaftsAndTreadlesMoveTogether)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(8, 8, true));
    doc.SetTreadlingCell(kUnrecorded, 0, 2);
    doc.SetTreadlingCell(kUnrecorded, 0, 7);
    doc.SetThreadingCell(kUnrecorded, 0, 8);

    EXPECT_TRUE(doc.SetNumShafts(kUnrecorded, 5));
    EXPECT_EQ(doc.numTreadles(), 5);
    EXPECT_EQ(doc.treadling(0)->limit(), 5);
    EXPECT_EQ(doc.tieup().shaftCount(), 5);
    EXPECT_EQ(doc.tieup().treadleCount(), 5);
    EXPECT_EQ(doc.treadling(0)->GetSet(0), TreadleSet(0b10, 0));
    EXPECT_EQ(doc.threading(0)->GetShaft(0), 0);

    // Treadles follow shafts, cut to 64.
    EXPECT_TRUE(doc.SetNumTreadles(kUnrecorded, 100));
    EXPECT_EQ(doc.numShafts(), 64);
    EXPECT_EQ(doc.numTreadles(), 64);
    EXPECT_EQ(doc.threading(0)->limit(), 64);
    EXPECT_EQ(doc.treadling(0)->limit(), 64);
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 1, 64));
    EXPECT_FALSE(doc.SetTreadlingCell(kUnrecorded, 1, 65));
    EXPECT_FALSE(doc.SetNumTreadles(kUnrecorded, 128)) << "cut to 64, which it already is";

    EXPECT_TRUE(doc.SetNumTreadles(kUnrecorded, 3));
    EXPECT_EQ(doc.numShafts(), 3);
    EXPECT_EQ(doc.threading(0)->limit(), 3);
}

TEST(DocLoom, MultipleTreadlesSwitchRules)
{
    CQuillabyDoc lift;
    lift.OnNewDocument(defaults(8, 8, true));
    EXPECT_FALSE(lift.SetMultipleTreadles(kUnrecorded, false)) << "a liftplan keeps several shafts per pick";

    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 2));
    EXPECT_FALSE(doc.SetMultipleTreadles(kUnrecorded, true)) << "only with a single weft";
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 1));
    EXPECT_TRUE(doc.SetMultipleTreadles(kUnrecorded, true));
    doc.SetTreadlingCell(kUnrecorded, 0, 1);
    doc.SetTreadlingCell(kUnrecorded, 0, 2);
    EXPECT_FALSE(doc.SetMultipleTreadles(kUnrecorded, false)) << "pick 0 still presses two treadles";
    EXPECT_TRUE(doc.treadling(0)->multiple());
    doc.ClearTreadlingCell(kUnrecorded, 0, 2);
    EXPECT_TRUE(doc.SetMultipleTreadles(kUnrecorded, false));
}

// --- numbers of warps and wefts ---

TEST(DocRows, NewRowsHaveTheEndsTheLimitAndNoValues)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(6, 8));
    for (int e = 0; e < 5; ++e) doc.SetThreadingCell(kUnrecorded, e, 1 + e % 6);
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 3));
    for (int r = 1; r < 3; ++r) {
        ASSERT_NE(doc.threading(r), nullptr);
        EXPECT_EQ(doc.threading(r)->GetCount(), 5);
        EXPECT_EQ(doc.threading(r)->limit(), 6);
        EXPECT_EQ(doc.threading(r)->HighestValue(), 0);
    }
    EXPECT_EQ(doc.threading(3), nullptr);
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 1));
    EXPECT_EQ(doc.threading(1), nullptr);
    EXPECT_EQ(doc.threading(2), nullptr);
    EXPECT_EQ(doc.numWarps(), 1);
}

TEST(DocRows, SingleWarpAndWeftTakeSlotsFromBothRowZerosAndThePaletteBar)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 2); // warp row 0 uniformly 2
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 3, 4); // weft row 0 uniformly 4
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 4, {5, 3}));
    EXPECT_EQ(doc.threading(1)->defaultColor(), 4); // slot 1: the other side's row 0
    EXPECT_EQ(doc.threading(2)->defaultColor(), 5); // slots 2, 3: the palette bar
    EXPECT_EQ(doc.threading(3)->defaultColor(), 3);
    EXPECT_EQ(doc.threading(3)->GetColor(0), 3); // the existing ends take it
}

TEST(DocRows, MixedColorsFallBackToTheRowsDefault)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 2);
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 1, 1, 3); // mixed
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 2, 2, 4); // still mixed; default 4
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    EXPECT_EQ(doc.threading(1)->defaultColor(), 4);
}

TEST(DocRows, WithSeveralWarpsEverySlotComesFromTheWarpRows)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 2, 0);
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 5, 1);
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 3, 4);
    // For either side: slot i is warp row i's color, row 0's beyond them.
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 4, {6, 6}));
    EXPECT_EQ(doc.treadling(1)->defaultColor(), 5);
    EXPECT_EQ(doc.treadling(2)->defaultColor(), 2);
    EXPECT_EQ(doc.treadling(3)->defaultColor(), 2);
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 3, {6, 6}));
    EXPECT_EQ(doc.threading(2)->defaultColor(), 2);
}

TEST(DocRows, WithOneWarpAndSeveralWeftsSlotsComeFromTheWeftRows)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 2));
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 3, 3, 0);
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 3, 5, 1);
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 4);
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 3, {6, 6}));
    EXPECT_EQ(doc.threading(1)->defaultColor(), 5);
    EXPECT_EQ(doc.threading(2)->defaultColor(), 3);
}

TEST(DocRows, NewWeftRowsFollowTheLimitAndMultipleFlag)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(8, 10));
    ASSERT_TRUE(doc.SetMultipleTreadles(kUnrecorded, true));
    doc.SetTreadlingCell(kUnrecorded, 2, 9);
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 2));
    EXPECT_EQ(doc.treadling(1)->limit(), 10);
    EXPECT_TRUE(doc.treadling(1)->multiple());
    EXPECT_EQ(doc.treadling(1)->GetCount(), 3);
    EXPECT_TRUE(doc.treadling(1)->GetSet(2).empty());
}

// --- cloning ---

TEST(DocClone, IsAnEqualAndIndependentCopy)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(6, 10));
    doc.SetNumRows(kUnrecorded, Side::Threading, 2);
    doc.SetNumRows(kUnrecorded, Side::Treadling, 2);
    for (int e = 0; e < 12; ++e) doc.SetThreadingCell(kUnrecorded, e, 1 + e % 6, e % 2);
    for (int p = 0; p < 9; ++p) doc.SetTreadlingCell(kUnrecorded, p, 1 + p % 10, p % 2);
    doc.SetThreadColors(kUnrecorded, Side::Threading, 3, 5, 2);
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 1, 4, 1);
    doc.SetSymbol(kUnrecorded, Side::Threading, 2, 'x');
    doc.SetThick(kUnrecorded, Side::Treadling, 1, true);
    doc.SetRatio(kUnrecorded, Side::Treadling, 4);
    doc.AddLabel(kUnrecorded, Side::Threading, {0, 3, "hem"});
    doc.AddLabel(kUnrecorded, Side::Threading, {1, 2, "mid"});
    doc.SetTieupCell(kUnrecorded, 3, 6);
    doc.raw().setWarpSpacing(0.4);
    doc.raw().setUnits(1);
    doc.raw().setCorrelation(1, true);
    doc.raw().title = "Title";
    doc.raw().author = "Me";
    doc.raw().notes = "a\r\nb";
    doc.raw().plan.itemWidth = 12.5;
    doc.raw().notations.threading = 3;
    doc.raw().blocks.numBlocks = 4;
    doc.raw().weaving.currentPick = 7;
    doc.raw().weaving.markers = {1, 5};
    doc.raw().tieupKeys.push_back(std::make_unique<TieupKey>(6, 2));
    doc.tieupKeys().back()->setCell(1, 3);
    doc.tieupKeys().back()->flag1 = doc.tieupKeys().back()->flag2 = 1;
    doc.raw().hasTieupKeys = true;

    const auto copy = doc.Clone();
    ASSERT_TRUE(copy);
    EXPECT_EQ(qbtest::snapshot(*copy), qbtest::snapshot(doc));
    EXPECT_EQ(copy->plan(), doc.plan());
    EXPECT_EQ(copy->notations(), doc.notations());
    EXPECT_EQ(copy->blocks(), doc.blocks());
    EXPECT_EQ(copy->weaving(), doc.weaving());

    // Editing the copy leaves the original alone.
    const std::string original = qbtest::snapshot(doc);
    copy->SetThreadingCell(kUnrecorded, 0, 6);
    copy->SetTieupCell(kUnrecorded, 0, 5);
    copy->SetNumShafts(kUnrecorded, 3);
    copy->raw().tieupKeys[0]->setCell(0, 1);
    copy->SetLabelText(kUnrecorded, Side::Threading, 0, 3, "cuff");
    EXPECT_EQ(qbtest::snapshot(doc), original);
}

// --- sett and spacing ---

struct SpacingCase {
    const char* name;
    double spacing;
    int whole;
    int frac;
};

inline void PrintTo(const SpacingCase& c, std::ostream* os)
{
    *os << c.name;
}

class DocSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(DocSpacing, IsStoredAsNearestWholeSettAndTenThousandths)
{
    const SpacingCase& c = GetParam();
    CQuillabyDoc doc;
    doc.raw().setWarpSpacing(c.spacing);
    doc.raw().setWeftSpacing(c.spacing);
    EXPECT_EQ(doc.warpSettWhole(), c.whole);
    EXPECT_NEAR(doc.warpSettFrac(), c.frac, 1); // the remainder is truncated
    EXPECT_EQ(doc.weftSettWhole(), c.whole);
}

INSTANTIATE_TEST_SUITE_P(Table, DocSpacing,
                         ::testing::Values(SpacingCase{"quarter", 0.25, 4, 0},
                                           SpacingCase{"tieGoesDown", 0.4, 2, 5000},      // sett 2.5
                                           SpacingCase{"halfGoesDown", 2.0, 0, 5000},     // sett 0.5
                                           SpacingCase{"roundsUp", 1.0 / 2.75, 3, -2500}, // remainder may be negative
                                           SpacingCase{"roundsDown", 1.0 / 3.2, 3, 2000},
                                           SpacingCase{"zeroMeansTen", 0.0, 10, 0},
                                           SpacingCase{"negativeMeansTen", -1.0, 10, 0},
                                           SpacingCase{"notANumberMeansTen", std::nan(""), 10, 0},
                                           SpacingCase{"denormalStaysFinite", 5e-324, 1000000000, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DocSett, SpacingIsOneOverTheSettOrATenth)
{
    CQuillabyDoc doc;
    EXPECT_DOUBLE_EQ(doc.warpSett(), 10.0);
    EXPECT_DOUBLE_EQ(doc.warpSpacing(), 0.1);
    doc.raw().setWarpSett(12, 5000);
    EXPECT_DOUBLE_EQ(doc.warpSett(), 12.5);
    EXPECT_DOUBLE_EQ(doc.warpSpacing(), 0.08);
    doc.raw().setWeftSett(3, -2500);
    EXPECT_DOUBLE_EQ(doc.weftSett(), 2.75);
    doc.raw().setWeftSett(0, 0);
    EXPECT_DOUBLE_EQ(doc.weftSpacing(), 0.1);
    doc.raw().setWeftSett(0, -5000);
    EXPECT_DOUBLE_EQ(doc.weftSpacing(), 0.1);
    // Round trip through the spacing.
    doc.raw().setWarpSett(24, 0);
    doc.raw().setWeftSpacing(doc.warpSpacing());
    EXPECT_EQ(doc.weftSettWhole(), 24);
    EXPECT_NEAR(doc.weftSettFrac(), 0, 1);
}

// --- completing a loaded draft ---

TEST(DocComplete, AnEmptyDocumentBecomesAUsableDraft)
{
    CQuillabyDoc doc;
    doc.EnsureComplete();
    ASSERT_NE(doc.threading(0), nullptr);
    ASSERT_NE(doc.treadling(0), nullptr);
    EXPECT_EQ(doc.numWarps(), 1);
    EXPECT_GE(doc.numShafts(), 1);
    EXPECT_GE(doc.numTreadles(), 1);
    EXPECT_EQ(doc.tieup().shaftCount(), doc.numShafts());
    EXPECT_EQ(doc.tieup().treadleCount(), doc.numTreadles());
    EXPECT_GE(doc.palette().count(), 2);
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 0, 1));
}

TEST(DocComplete, LoadedRowsAreAlignedWithTheLoom)
{
    CQuillabyDoc doc;
    auto t0 = std::make_unique<Threading>(64);
    t0->SetValue(9, 12);
    auto t1 = std::make_unique<Threading>(64);
    t1->SetValue(2, 3);
    doc.raw().replaceThreading(0, std::move(t0));
    doc.raw().replaceThreading(1, std::move(t1));
    auto w0 = std::make_unique<Treadling>(128);
    w0->SetValue(4, 6);
    doc.raw().replaceTreadling(0, std::move(w0));
    doc.raw().replaceTieup(std::make_unique<Tieup>(2, 2));
    doc.EnsureComplete(); // no loom size and no row counts were read

    EXPECT_EQ(doc.numWarps(), 2);
    EXPECT_EQ(doc.numWefts(), 1);
    EXPECT_EQ(doc.numShafts(), 12);
    EXPECT_EQ(doc.numTreadles(), 6);
    EXPECT_EQ(doc.threading(0)->limit(), 12);
    EXPECT_EQ(doc.threading(1)->GetCount(), 10);
    EXPECT_EQ(doc.threading(0)->GetShaft(9), 12);
    EXPECT_EQ(doc.treadling(0)->limit(), 6);
    EXPECT_EQ(doc.tieup().shaftCount(), 12);
    EXPECT_EQ(doc.tieup().treadleCount(), 6);
    EXPECT_TRUE(doc.tieup().isEmpty()) << "completing adds no ties";
}

TEST(DocComplete, RowsBeyondTheStoredCountsAreDropped)
{
    CQuillabyDoc doc;
    doc.raw().setLoomRaw(4, 4, false);
    doc.raw().replaceThreading(0, std::make_unique<Threading>(4));
    doc.raw().replaceThreading(2, std::make_unique<Threading>(4));
    doc.raw().setRowCountsRaw(1, 1);
    doc.EnsureComplete();
    EXPECT_EQ(doc.threading(2), nullptr);
}

TEST(DocComplete, LiftplanFormHasEqualCountsAndMultiplePicks)
{
    CQuillabyDoc doc;
    doc.raw().setLoomRaw(6, 20, true);
    auto w = std::make_unique<Treadling>(6);
    w->SetShafts(0, TUPTYPE(0b101));
    doc.raw().replaceTreadling(0, std::move(w));
    doc.raw().setRowCountsRaw(1, 1);
    doc.EnsureComplete();
    EXPECT_EQ(doc.numTreadles(), 6);
    EXPECT_TRUE(doc.treadling(0)->multiple());
    EXPECT_EQ(doc.tieup().treadleCount(), 6);
    EXPECT_EQ(doc.treadling(0)->GetSet(0), TreadleSet(0b101, 0));
}
