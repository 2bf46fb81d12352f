#include "core/draft/draftinvariants.h"
#include "tests/core/draft/docsnapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace qb;

namespace {

struct Update {
    std::uint32_t parts = 0;
    bool layout = false;
    int first = 0;
    int last = 0;
};

class Recorder : public IDocumentObserver {
public:
    void documentUpdated(const CQuillabyDoc&, const UpdateHint& hint) override
    {
        updates.push_back({hint.parts, hint.layout, hint.first, hint.last});
        if (hint.has(UpdateHint::Structure)) ++loomChanges;
    }
    std::vector<Update> updates;
    int loomChanges = 0;
};

NewDraftDefaults defaults(int shafts = 8, int treadles = 8, bool liftplan = false)
{
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.liftplan = liftplan;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00};
    return d;
}

std::vector<int> shaftsOf(const Threading& t)
{
    return {t.values().begin(), t.values().end()};
}

class DocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument(defaults());
        doc.subscribe(&rec);
    }
    void TearDown() override { doc.unsubscribe(&rec); }

    // The last update, which must be a change that keeps the layout.
    Update lastHint() const
    {
        EXPECT_FALSE(rec.updates.empty());
        if (rec.updates.empty()) return {};
        EXPECT_FALSE(rec.updates.back().layout);
        return rec.updates.back();
    }

    CQuillabyDoc doc;
    Recorder rec;
};

} // namespace

// --- the new draft ---

TEST(NewDraft, IsSetUpFromTheDefaults)
{
    CQuillabyDoc doc;
    NewDraftDefaults d = defaults(6, 10);
    d.units = 1;
    d.risingShed = false;
    doc.OnNewDocument(d);
    EXPECT_EQ(doc.numShafts(), 6);
    EXPECT_EQ(doc.numTreadles(), 10);
    EXPECT_FALSE(doc.isLiftplan());
    EXPECT_FALSE(doc.isRisingShed());
    EXPECT_EQ(doc.units(), 1);
    EXPECT_EQ(doc.source(), "Quillaby, version 8.0.4");
    EXPECT_TRUE(doc.title().empty());
    EXPECT_TRUE(doc.author().empty());
    EXPECT_TRUE(doc.notes().empty());

    // White first, then the default colors.
    const ColorPalette& p = doc.palette();
    ASSERT_EQ(p.count(), 4);
    EXPECT_EQ(p.color(0), 0xFFFFFFu);
    EXPECT_EQ(p.color(1), 0x000000u);
    EXPECT_EQ(p.leftColor(), 0);
    EXPECT_EQ(p.rightColor(), 1);

    ASSERT_NE(doc.threading(0), nullptr);
    ASSERT_NE(doc.treadling(0), nullptr);
    EXPECT_EQ(doc.threading(1), nullptr);
    EXPECT_EQ(doc.threading(0)->limit(), 6);
    EXPECT_EQ(doc.threading(0)->defaultColor(), 1);
    EXPECT_EQ(doc.threading(0)->GetCount(), 0);
    EXPECT_EQ(doc.treadling(0)->limit(), 10);
    EXPECT_EQ(doc.treadling(0)->defaultColor(), 0);
    EXPECT_FALSE(doc.treadling(0)->multiple());

    // Direct tieup; treadles beyond the shafts stay empty.
    const Tieup& t = doc.tieup();
    EXPECT_EQ(t.shaftCount(), 6);
    EXPECT_EQ(t.treadleCount(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.column(i).bits(), i < 6 ? 1ull << i : 0ull) << i;

    EXPECT_EQ(doc.numWarps(), 1);
    EXPECT_EQ(doc.numWefts(), 1);
    EXPECT_EQ(doc.correlationSide(), 0);
    EXPECT_FALSE(doc.correlationOn());
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.warpSett(), 10.0);
}

TEST(NewDraft, WhiteAmongTheDefaultColorsIsHeldOnce)
{
    CQuillabyDoc doc;
    NewDraftDefaults d = defaults();
    d.defaultColors = {0x000000, 0xFFFFFF, 0x0000FF, 0x000000};
    doc.OnNewDocument(d);
    const ColorPalette& p = doc.palette();
    ASSERT_EQ(p.count(), 3);
    EXPECT_EQ(p.color(0), 0xFFFFFFu);
    EXPECT_EQ(p.color(1), 0x000000u);
    EXPECT_EQ(p.color(2), 0x0000FFu);
}

TEST(NewDraft, OnlyWhiteLeavesTheRightButtonOnIndexZero)
{
    CQuillabyDoc doc;
    NewDraftDefaults d = defaults();
    d.defaultColors.clear();
    doc.OnNewDocument(d);
    EXPECT_EQ(doc.palette().count(), 1);
    EXPECT_EQ(doc.palette().rightColor(), 0);
    // Every thread's color stays inside the palette.
    EXPECT_EQ(doc.threading(0)->defaultColor(), 0);
    EXPECT_EQ(BrokenInvariant(doc), "");
}

TEST(NewDraft, LiftplanFormMakesTreadlesEqualShaftsAndTurnsMultipleOn)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(12, 4, true));
    EXPECT_TRUE(doc.isLiftplan());
    EXPECT_EQ(doc.numTreadles(), 12);
    EXPECT_EQ(doc.treadling(0)->limit(), 12);
    EXPECT_TRUE(doc.treadling(0)->multiple());
    EXPECT_EQ(doc.tieup().treadleCount(), 12);
}

TEST(NewDraft, OutOfRangeLoomDefaultsAreClamped)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults(0, 500));
    EXPECT_EQ(doc.numShafts(), 1);
    EXPECT_EQ(doc.numTreadles(), 128);
}

TEST(NewDraft, DeleteContentsEmptiesTheDraft)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    doc.SetThreadingCell(kUnrecorded, 3, 2);
    doc.raw().title = "x";
    doc.DeleteContents();
    EXPECT_EQ(doc.threading(0), nullptr);
    EXPECT_EQ(doc.numWarps(), 0);
    EXPECT_EQ(doc.palette().count(), 0);
    EXPECT_TRUE(doc.title().empty());
    EXPECT_FALSE(doc.isModified());
}

// --- threading cells ---

TEST_F(DocTest, ThreadingCellBeyondTheEndAppendsToAllWarpRows)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 4, 3, 1));
    EXPECT_EQ(doc.numEnds(), 5);
    EXPECT_EQ(shaftsOf(*doc.threading(1)), (std::vector<int>{0, 0, 0, 0, 3}));
    EXPECT_EQ(shaftsOf(*doc.threading(0)), (std::vector<int>{0, 0, 0, 0, 0}));
    const Update u = lastHint();
    EXPECT_EQ(u.parts, UpdateHint::Threading);
    EXPECT_EQ(u.first, 4);
    EXPECT_EQ(u.last, 4);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocTest, ThreadingCellTakesTheShaftAwayFromOtherWarpRows)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 3));
    doc.SetThreadingCell(kUnrecorded, 0, 5, 0);
    doc.SetThreadingCell(kUnrecorded, 0, 2, 2);
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 0, 5, 1));
    EXPECT_EQ(doc.threading(0)->GetShaft(0), 0);
    EXPECT_EQ(doc.threading(1)->GetShaft(0), 5);
    EXPECT_EQ(doc.threading(2)->GetShaft(0), 2); // another shaft stays
}

TEST_F(DocTest, SettingAnEqualThreadingValueReturnsFalseAndNotifiesNobody)
{
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 2, 3));
    doc.SetModified(false);
    rec.updates.clear();
    EXPECT_FALSE(doc.SetThreadingCell(kUnrecorded, 2, 3));
    EXPECT_TRUE(rec.updates.empty());
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 2, 4));
    EXPECT_TRUE(doc.ClearThreadingCell(kUnrecorded, 2));
    EXPECT_FALSE(doc.ClearThreadingCell(kUnrecorded, 2)); // already unthreaded
    EXPECT_FALSE(doc.ClearThreadingCell(kUnrecorded, 3)); // beyond the end
}

// --- treadling cells ---

TEST_F(DocTest, TreadlingCellReplacesTheTreadleUnlessMultiple)
{
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 0, 3));
    EXPECT_FALSE(doc.SetTreadlingCell(kUnrecorded, 0, 3));
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 0, 4));
    EXPECT_EQ(doc.treadling(0)->GetSet(0), TreadleSet(0b1000, 0));
    const Update u = lastHint();
    EXPECT_EQ(u.parts, UpdateHint::Treadling);

    ASSERT_TRUE(doc.SetMultipleTreadles(kUnrecorded, true));
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 0, 1));
    EXPECT_FALSE(doc.SetTreadlingCell(kUnrecorded, 0, 4));
    EXPECT_EQ(doc.treadling(0)->GetSet(0), TreadleSet(0b1001, 0));
    EXPECT_TRUE(doc.ClearTreadlingCell(kUnrecorded, 0, 4));
    EXPECT_FALSE(doc.ClearTreadlingCell(kUnrecorded, 0, 4));
}

TEST_F(DocTest, TreadleZeroSucceedsAndChangesNothing)
{
    const std::string before = qbtest::snapshot(doc);
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 7, 0));
    EXPECT_EQ(qbtest::snapshot(doc), before);
    EXPECT_TRUE(rec.updates.empty());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(DocTest, TreadlingCellBeyondTheEndGrowsAllWeftRows)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 2));
    EXPECT_TRUE(doc.SetTreadlingCell(kUnrecorded, 3, 2, 1));
    EXPECT_EQ(doc.treadling(0)->GetCount(), 4);
    EXPECT_EQ(doc.treadling(1)->GetCount(), 4);
    EXPECT_EQ(doc.treadling(1)->FirstValue(3), 2);
}

// --- tieup ---

TEST_F(DocTest, TieupCellsAndColumns)
{
    EXPECT_FALSE(doc.SetTieupCell(kUnrecorded, 0, 1)); // the direct tieup already has it
    EXPECT_TRUE(doc.SetTieupCell(kUnrecorded, 0, 8));
    EXPECT_TRUE(doc.tieup().cell(0, 8));
    EXPECT_TRUE(doc.ClearTieupCell(kUnrecorded, 0, 8));
    EXPECT_FALSE(doc.ClearTieupCell(kUnrecorded, 0, 8));
    EXPECT_TRUE(doc.SetTieupColumn(kUnrecorded, 2, TUPTYPE(~0ull)));
    EXPECT_EQ(doc.tieup().column(2).bits(), 0xFFull);
    EXPECT_FALSE(doc.SetTieupColumn(kUnrecorded, 2, TUPTYPE(0xFFFF))); // equal after masking
    EXPECT_TRUE(doc.isModified());
}

// --- out-of-range arguments change nothing ---

struct RefusedCase {
    const char* name;
    std::function<bool(CQuillabyDoc&)> op;
};

inline void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class DocRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(DocRefused, ReturnsFalseAndChangesNothing)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    // A small draft: 4 ends, 3 picks, a label, a colored end.
    for (int e = 0; e < 4; ++e) doc.SetThreadingCell(kUnrecorded, e, e + 1);
    for (int p = 0; p < 3; ++p) doc.SetTreadlingCell(kUnrecorded, p, p + 1);
    doc.AddLabel(kUnrecorded, Side::Threading, {0, 2, "a"});
    doc.SetModified(false);
    Recorder rec;
    doc.subscribe(&rec);
    const std::string before = qbtest::snapshot(doc);

    EXPECT_FALSE(GetParam().op(doc));
    EXPECT_EQ(qbtest::snapshot(doc), before);
    EXPECT_TRUE(rec.updates.empty());
    EXPECT_EQ(rec.loomChanges, 0);
    EXPECT_FALSE(doc.isModified());
    doc.unsubscribe(&rec);
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, DocRefused,
    ::testing::Values(
        RefusedCase{"ThreadNegativeEnd", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, -1, 1); }},
        RefusedCase{"ThreadEnd32768", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 32768, 1); }},
        RefusedCase{"ThreadShaftZero", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 0, 0); }},
        RefusedCase{"ThreadShaftAboveCount", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 9, 9); }},
        RefusedCase{"ThreadRowNotInUse", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 0, 2, 1); }},
        RefusedCase{"ThreadRowNegative", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 0, 2, -1); }},
        RefusedCase{"ThreadEqual", [](CQuillabyDoc& d) { return d.SetThreadingCell(kUnrecorded, 1, 2); }},
        RefusedCase{"ClearThreadBeyond", [](CQuillabyDoc& d) { return d.ClearThreadingCell(kUnrecorded, 4); }},
        RefusedCase{"TreadleNegativePick", [](CQuillabyDoc& d) { return d.SetTreadlingCell(kUnrecorded, -1, 1); }},
        RefusedCase{"TreadlePick32768", [](CQuillabyDoc& d) { return d.SetTreadlingCell(kUnrecorded, 32768, 1); }},
        RefusedCase{"TreadleAboveCount", [](CQuillabyDoc& d) { return d.SetTreadlingCell(kUnrecorded, 0, 9); }},
        RefusedCase{"TreadleNegative", [](CQuillabyDoc& d) { return d.SetTreadlingCell(kUnrecorded, 0, -1); }},
        RefusedCase{"TreadleRow4", [](CQuillabyDoc& d) { return d.SetTreadlingCell(kUnrecorded, 0, 1, 4); }},
        RefusedCase{"ClearTreadleNotSet", [](CQuillabyDoc& d) { return d.ClearTreadlingCell(kUnrecorded, 0, 2); }},
        RefusedCase{"ClearTreadleBeyond", [](CQuillabyDoc& d) { return d.ClearTreadlingCell(kUnrecorded, 3, 1); }},
        RefusedCase{"TieupTreadleOutside", [](CQuillabyDoc& d) { return d.SetTieupCell(kUnrecorded, 8, 1); }},
        RefusedCase{"TieupTreadleNegative", [](CQuillabyDoc& d) { return d.SetTieupCell(kUnrecorded, -1, 1); }},
        RefusedCase{"TieupShaftAbove", [](CQuillabyDoc& d) { return d.SetTieupCell(kUnrecorded, 0, 9); }},
        RefusedCase{"TieupAlreadySet", [](CQuillabyDoc& d) { return d.SetTieupCell(kUnrecorded, 1, 2); }},
        RefusedCase{"TieupClearNotSet", [](CQuillabyDoc& d) { return d.ClearTieupCell(kUnrecorded, 1, 3); }},
        RefusedCase{"TieupColumnOutside", [](CQuillabyDoc& d) { return d.SetTieupColumn(kUnrecorded, 8, TUPTYPE(1)); }},
        RefusedCase{"TieupColumnEqual", [](CQuillabyDoc& d) { return d.SetTieupColumn(kUnrecorded, 0, TUPTYPE(1)); }},
        RefusedCase{"InsertAt32768",
                    [](CQuillabyDoc& d) { return d.InsertThreads(kUnrecorded, Side::Threading, 32768, 1); }},
        RefusedCase{
            "InsertPastTheLimit",
            [](CQuillabyDoc& d) { return d.InsertThreads(kUnrecorded, Side::Threading, 2, 32768 - d.numEnds() + 1); }},
        RefusedCase{"InsertZero", [](CQuillabyDoc& d) { return d.InsertThreads(kUnrecorded, Side::Threading, 0, 0); }},
        RefusedCase{"InsertNegative",
                    [](CQuillabyDoc& d) { return d.InsertThreads(kUnrecorded, Side::Threading, -1, 2); }},
        RefusedCase{
            "InsertPicksPastTheLimit",
            [](CQuillabyDoc& d) { return d.InsertThreads(kUnrecorded, Side::Treadling, 0, 32768 - d.numPicks() + 1); }},
        RefusedCase{"DeleteBeyond",
                    [](CQuillabyDoc& d) { return d.DeleteThreads(kUnrecorded, Side::Threading, 4, 1); }},
        RefusedCase{"DeleteNegative",
                    [](CQuillabyDoc& d) { return d.DeleteThreads(kUnrecorded, Side::Treadling, -1, 1); }},
        RefusedCase{"DeleteZero", [](CQuillabyDoc& d) { return d.DeleteThreads(kUnrecorded, Side::Threading, 0, 0); }},
        RefusedCase{"ClearEndsBeyond",
                    [](CQuillabyDoc& d) { return d.ClearThreads(kUnrecorded, Side::Threading, 4, 1); }},
        RefusedCase{"ClearPicksNegative",
                    [](CQuillabyDoc& d) { return d.ClearThreads(kUnrecorded, Side::Treadling, -2, 3); }},
        RefusedCase{"ColorNotInPalette",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Threading, 0, 1, 4); }},
        RefusedCase{"ColorNegative",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Treadling, 0, 1, -1); }},
        RefusedCase{"ColorLastBeforeFirst",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Threading, 2, 1, 2); }},
        RefusedCase{"ColorBeyond32767",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Threading, 0, 32768, 2); }},
        RefusedCase{"ColorEqual",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 1); }},
        RefusedCase{"ColorRowNotInUse",
                    [](CQuillabyDoc& d) { return d.SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 2, 2); }},
        RefusedCase{"SymbolBeyond", [](CQuillabyDoc& d) { return d.SetSymbol(kUnrecorded, Side::Threading, 4, 'x'); }},
        RefusedCase{"SymbolTooBig", [](CQuillabyDoc& d) { return d.SetSymbol(kUnrecorded, Side::Treadling, 0, 256); }},
        RefusedCase{"SymbolEqual", [](CQuillabyDoc& d) { return d.SetSymbol(kUnrecorded, Side::Threading, 0, 0); }},
        RefusedCase{"ThickBeyond", [](CQuillabyDoc& d) { return d.SetThick(kUnrecorded, Side::Treadling, 3, true); }},
        RefusedCase{"ThickEqual", [](CQuillabyDoc& d) { return d.SetThick(kUnrecorded, Side::Threading, 0, false); }},
        RefusedCase{"RatioZero", [](CQuillabyDoc& d) { return d.SetRatio(kUnrecorded, Side::Threading, 0); }},
        RefusedCase{"RatioSix", [](CQuillabyDoc& d) { return d.SetRatio(kUnrecorded, Side::Treadling, 6); }},
        RefusedCase{"RatioEqual", [](CQuillabyDoc& d) { return d.SetRatio(kUnrecorded, Side::Treadling, 1); }},
        RefusedCase{"LabelNegative",
                    [](CQuillabyDoc& d) { return d.AddLabel(kUnrecorded, Side::Threading, {-1, 2, "x"}); }},
        RefusedCase{"LabelEmpty",
                    [](CQuillabyDoc& d) { return d.AddLabel(kUnrecorded, Side::Treadling, {0, 0, "x"}); }},
        RefusedCase{"LabelRowNotInUse",
                    [](CQuillabyDoc& d) { return d.AddLabel(kUnrecorded, Side::Threading, {0, 1, "x"}, 3); }},
        RefusedCase{"LabelTextEqual",
                    [](CQuillabyDoc& d) { return d.SetLabelText(kUnrecorded, Side::Threading, 0, 2, "a"); }},
        RefusedCase{"LabelTextMissing",
                    [](CQuillabyDoc& d) { return d.SetLabelText(kUnrecorded, Side::Threading, 0, 3, "b"); }},
        RefusedCase{"LabelRemoveMissing",
                    [](CQuillabyDoc& d) { return d.RemoveLabel(kUnrecorded, Side::Threading, 0, 3); }},
        RefusedCase{"ShaftsZero", [](CQuillabyDoc& d) { return d.SetNumShafts(kUnrecorded, 0); }},
        RefusedCase{"Shafts65", [](CQuillabyDoc& d) { return d.SetNumShafts(kUnrecorded, 65); }},
        RefusedCase{"ShaftsEqual", [](CQuillabyDoc& d) { return d.SetNumShafts(kUnrecorded, 8); }},
        RefusedCase{"TreadlesZero", [](CQuillabyDoc& d) { return d.SetNumTreadles(kUnrecorded, 0); }},
        RefusedCase{"Treadles129", [](CQuillabyDoc& d) { return d.SetNumTreadles(kUnrecorded, 129); }},
        RefusedCase{"TreadlesEqual", [](CQuillabyDoc& d) { return d.SetNumTreadles(kUnrecorded, 8); }},
        RefusedCase{"WarpsZero", [](CQuillabyDoc& d) { return d.SetNumRows(kUnrecorded, Side::Threading, 0); }},
        RefusedCase{"WarpsFive", [](CQuillabyDoc& d) { return d.SetNumRows(kUnrecorded, Side::Threading, 5); }},
        RefusedCase{"WeftsEqual", [](CQuillabyDoc& d) { return d.SetNumRows(kUnrecorded, Side::Treadling, 1); }},
        RefusedCase{"MultipleEqual", [](CQuillabyDoc& d) { return d.SetMultipleTreadles(kUnrecorded, false); }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- inserting, deleting, clearing ---

TEST_F(DocTest, InsertGoesIntoEveryRow)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    doc.SetThreadingCell(kUnrecorded, 0, 1);
    doc.SetThreadingCell(kUnrecorded, 1, 2);
    rec.updates.clear();
    EXPECT_TRUE(doc.InsertThreads(kUnrecorded, Side::Threading, 1, 3));
    EXPECT_EQ(shaftsOf(*doc.threading(0)), (std::vector<int>{1, 0, 0, 0, 2}));
    EXPECT_EQ(shaftsOf(*doc.threading(1)), (std::vector<int>{0, 0, 0, 0, 0}));
    ASSERT_EQ(rec.updates.size(), 1u);
    EXPECT_TRUE(rec.updates[0].layout); // a size change lays the panes out anew
}

TEST_F(DocTest, InsertIsRefusedWhenPositionPlusCountReaches32768)
{
    EXPECT_TRUE(doc.InsertThreads(kUnrecorded, Side::Treadling, 0, 32767));
    EXPECT_EQ(doc.numPicks(), 32767);
    EXPECT_FALSE(doc.InsertThreads(kUnrecorded, Side::Treadling, 32766, 2));
    EXPECT_TRUE(doc.InsertThreads(kUnrecorded, Side::Treadling, 32766, 1));
    EXPECT_EQ(doc.numPicks(), 32768);
    EXPECT_FALSE(doc.InsertThreads(kUnrecorded, Side::Treadling, 0, 1)); // full
}

TEST_F(DocTest, InsertPicksBeyondTheEndAppends)
{
    EXPECT_TRUE(doc.InsertThreads(kUnrecorded, Side::Treadling, 10, 2));
    EXPECT_EQ(doc.numPicks(), 2);
    EXPECT_EQ(doc.treadling(0)->FirstValue(1), 0);
}

TEST_F(DocTest, DeleteAndClearActOnEveryRow)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Treadling, 2));
    for (int p = 0; p < 5; ++p) {
        doc.SetTreadlingCell(kUnrecorded, p, p + 1, 0);
        doc.SetTreadlingCell(kUnrecorded, p, 8 - p, 1);
    }
    EXPECT_TRUE(doc.DeleteThreads(kUnrecorded, Side::Treadling, 3, 100));
    EXPECT_EQ(doc.numPicks(), 3);
    EXPECT_EQ(doc.treadling(1)->GetCount(), 3);
    rec.updates.clear();
    EXPECT_TRUE(doc.ClearThreads(kUnrecorded, Side::Treadling, 1, 100));
    EXPECT_EQ(doc.treadling(0)->FirstValue(0), 1);
    EXPECT_EQ(doc.treadling(0)->FirstValue(1), 0);
    EXPECT_EQ(doc.treadling(1)->FirstValue(2), 0);
    const Update u = lastHint();
    EXPECT_EQ(u.parts, UpdateHint::Treadling);
    EXPECT_EQ(u.first, 1);
    EXPECT_EQ(u.last, 2);
}

// --- colors ---

TEST_F(DocTest, PaintingBeyondTheEndGrowsTheSideAndSetsTheDefaultFirst)
{
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    doc.SetThreadingCell(kUnrecorded, 1, 1);
    EXPECT_TRUE(doc.SetThreadColors(kUnrecorded, Side::Threading, 4, 5, 2));
    EXPECT_EQ(doc.numEnds(), 6);
    EXPECT_EQ(doc.threading(1)->GetCount(), 6);
    const Threading& t = *doc.threading(0);
    EXPECT_EQ(t.defaultColor(), 2);
    // Ends 0 and 1 existed with color 1; ends 2..3 were added to reach end 4
    // and take the color painted last.
    std::vector<int> colors;
    for (int i = 0; i < 6; ++i) colors.push_back(t.GetColor(i));
    EXPECT_EQ(colors, (std::vector<int>{1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(doc.threading(1)->defaultColor(), 0) << "other rows keep their default";
    const Update u = lastHint();
    EXPECT_EQ(u.parts, UpdateHint::Threading);
    // Later appends take it as well.
    doc.SetThreadingCell(kUnrecorded, 7, 1);
    EXPECT_EQ(t.GetColor(7), 2);
}

TEST_F(DocTest, PickColorsHintCarriesTheRange)
{
    doc.InsertThreads(kUnrecorded, Side::Treadling, 0, 5);
    EXPECT_TRUE(doc.SetThreadColors(kUnrecorded, Side::Treadling, 1, 3, 3));
    const Update u = lastHint();
    EXPECT_EQ(u.parts, UpdateHint::Treadling);
    EXPECT_EQ(u.first, 1);
    EXPECT_EQ(u.last, 3);
    EXPECT_EQ(doc.treadling(0)->GetColor(2), 3);
    EXPECT_EQ(doc.treadling(0)->GetColor(4), 0);
}

// --- symbols, thickness, labels ---

TEST_F(DocTest, SymbolAndLabelPrimitivesHintTheirSide)
{
    doc.InsertThreads(kUnrecorded, Side::Threading, 0, 10);
    doc.InsertThreads(kUnrecorded, Side::Treadling, 0, 10);
    EXPECT_TRUE(doc.SetSymbol(kUnrecorded, Side::Treadling, 6, '*'));
    EXPECT_EQ(lastHint().parts, UpdateHint::Treadling);
    EXPECT_TRUE(doc.AddLabel(kUnrecorded, Side::Threading, {2, 5, "border"}));
    EXPECT_EQ(lastHint().parts, UpdateHint::Threading);
    EXPECT_EQ(lastHint().first, 2);
    EXPECT_EQ(lastHint().last, 6);
    EXPECT_TRUE(doc.SetLabelText(kUnrecorded, Side::Threading, 2, 5, "edge"));
    EXPECT_EQ(doc.threading(0)->FindLabel(2, 5)->text, "edge");
    EXPECT_TRUE(doc.RemoveLabel(kUnrecorded, Side::Threading, 2, 5));
    EXPECT_EQ(doc.threading(0)->FindLabel(2, 5), nullptr);
}

TEST_F(DocTest, ThickFlagAndRatio)
{
    doc.InsertThreads(kUnrecorded, Side::Threading, 0, 3);
    EXPECT_TRUE(doc.SetThick(kUnrecorded, Side::Threading, 1, true));
    EXPECT_TRUE(doc.SetRatio(kUnrecorded, Side::Threading, 3));
    EXPECT_EQ(doc.threading(0)->GetThick(1), 3);
    EXPECT_TRUE(doc.threading(0)->AnyThick());
    EXPECT_FALSE(doc.treadling(0)->AnyThick());
}

// --- observers and the modified flag ---

TEST_F(DocTest, UnsubscribedObserversHearNothing)
{
    doc.unsubscribe(&rec);
    doc.SetThreadingCell(kUnrecorded, 0, 1);
    EXPECT_TRUE(rec.updates.empty());
    doc.subscribe(&rec);
    doc.subscribe(&rec); // once only
    doc.SetThreadingCell(kUnrecorded, 0, 2);
    EXPECT_EQ(rec.updates.size(), 1u);
}

TEST_F(DocTest, EveryChangeMarksTheDocumentModified)
{
    const std::vector<std::function<bool()>> edits = {
        [&] { return doc.SetThreadingCell(kUnrecorded, 0, 1); },
        [&] { return doc.ClearThreadingCell(kUnrecorded, 0); },
        [&] { return doc.SetTreadlingCell(kUnrecorded, 0, 1); },
        [&] { return doc.ClearTreadlingCell(kUnrecorded, 0, 1); },
        [&] { return doc.SetTieupCell(kUnrecorded, 0, 2); },
        [&] { return doc.SetTieupColumn(kUnrecorded, 0, TUPTYPE(4)); },
        [&] { return doc.InsertThreads(kUnrecorded, Side::Threading, 0, 2); },
        [&] { return doc.DeleteThreads(kUnrecorded, Side::Threading, 0, 1); },
        [&] { return doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 0, 3); },
        [&] { return doc.SetSymbol(kUnrecorded, Side::Threading, 0, 'a'); },
        [&] { return doc.SetThick(kUnrecorded, Side::Treadling, 0, true); },
        [&] {
            return doc.AddLabel(kUnrecorded, Side::Treadling, {0, 1, "l"});
        },
        [&] { return doc.SetNumShafts(kUnrecorded, 6); },
        [&] { return doc.SetNumTreadles(kUnrecorded, 10); },
        [&] { return doc.SetNumRows(kUnrecorded, Side::Threading, 2); },
        [&] { return doc.SetMultipleTreadles(kUnrecorded, true); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        doc.SetModified(false);
        const std::size_t heard = rec.updates.size();
        EXPECT_TRUE(edits[i]()) << i;
        EXPECT_TRUE(doc.isModified()) << i;
        EXPECT_EQ(rec.updates.size(), heard + 1) << i;
    }
}

TEST(DocBroken, AMissingRowOfASideRefusesEditsInsteadOfCrashing)
{
    CQuillabyDoc doc;
    doc.OnNewDocument(defaults());
    ASSERT_TRUE(doc.SetNumRows(kUnrecorded, Side::Threading, 2));
    doc.SetThreadingCell(kUnrecorded, 2, 1);
    doc.raw().replaceThreading(1, nullptr); // a loader that stopped half-way
    EXPECT_FALSE(doc.SetThreadingCell(kUnrecorded, 5, 1));
    EXPECT_FALSE(doc.InsertThreads(kUnrecorded, Side::Threading, 0, 1));
    EXPECT_FALSE(doc.DeleteThreads(kUnrecorded, Side::Threading, 0, 1));
    EXPECT_FALSE(doc.ClearThreads(kUnrecorded, Side::Threading, 0, 1));
    EXPECT_FALSE(doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 4, 2));
    EXPECT_EQ(doc.numEnds(), 3);
    doc.EnsureComplete();
    ASSERT_NE(doc.threading(1), nullptr);
    EXPECT_EQ(doc.threading(1)->GetCount(), 3);
    EXPECT_TRUE(doc.SetThreadingCell(kUnrecorded, 5, 1, 1));
}
