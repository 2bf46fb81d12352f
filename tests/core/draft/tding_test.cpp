#include "core/draft/threading.h"
#include "core/draft/treadling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qb;

namespace {

std::vector<int> shaftsOf(const Threading& t)
{
    return {t.values().begin(), t.values().end()};
}

std::vector<int> colorsOf(const Tding& t, int n)
{
    std::vector<int> out;
    for (int i = 0; i < n; ++i) out.push_back(t.GetColor(i));
    return out;
}

Threading threadingOf(int limit, std::vector<int> shafts)
{
    Threading t(limit);
    for (int i = 0; i < static_cast<int>(shafts.size()); ++i) t.SetValue(i, shafts[i]);
    return t;
}

std::vector<std::pair<int, int>> labelsIn(const Tding& t, int row)
{
    std::vector<std::pair<int, int>> out;
    for (const Label& l : t.labelRow(row)) out.emplace_back(l.start, l.length);
    return out;
}

} // namespace

// --- lengths, limits and cut-offs ---

TEST(TdingLength, AppendIsCutAt32768)
{
    Threading t(8);
    EXPECT_EQ(t.Append(32765), 32765);
    EXPECT_EQ(t.Append(10), 3);
    EXPECT_EQ(t.GetCount(), 32768);
    EXPECT_EQ(t.Append(1), 0);
    EXPECT_EQ(t.Append(-5), 0);
}

TEST(TdingLength, InsertAtOrAbove32768IsIgnored)
{
    Threading t(8);
    t.Append(10);
    EXPECT_FALSE(t.Insert(32768, 1, 1));
    EXPECT_FALSE(t.Insert(40000, 1, 1));
    EXPECT_FALSE(t.Insert(-1, 1, 1));
    EXPECT_FALSE(t.Insert(0, 1, 0));
    EXPECT_EQ(t.GetCount(), 10);

    Threading full(8);
    full.Append(32768);
    EXPECT_FALSE(full.Insert(0, 1, 1));
    EXPECT_EQ(full.GetCount(), 32768);
}

TEST(TdingLength, InsertGivesTheLastInsertedThreadTheValue)
{
    Threading t = threadingOf(8, {1, 2, 3});
    t.setDefaultColor(4);
    EXPECT_TRUE(t.Insert(1, 7, 3));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 0, 0, 7, 2, 3}));
    EXPECT_EQ(t.GetColor(1), 4); // new threads take the default color
    // A position at or beyond the end appends.
    EXPECT_TRUE(t.Insert(100, 5, 2));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 0, 0, 7, 2, 3, 0, 5}));
}

TEST(TdingLength, InsertWithAValueAboveTheLimitChangesNothing)
{
    Threading t = threadingOf(4, {1, 2});
    EXPECT_FALSE(t.Insert(0, 5, 3));
    EXPECT_FALSE(t.Insert(9, 5, 3));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 2}));

    Treadling tr(4);
    EXPECT_FALSE(tr.Insert(0, 5, 2));
    EXPECT_EQ(tr.GetCount(), 0);
}

TEST(TdingLength, InsertNearTheLimitIsCut)
{
    Threading t(8);
    t.Append(32766);
    EXPECT_TRUE(t.Insert(5, 3, 10));
    EXPECT_EQ(t.GetCount(), 32768);
    EXPECT_EQ(t.GetShaft(6), 3); // the last of the two that fit
}

TEST(TdingLength, DeleteIsClampedToTheSequence)
{
    Threading t = threadingOf(8, {1, 2, 3, 4, 5});
    EXPECT_TRUE(t.Delete(3, 10));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(t.Delete(3, 1));
    EXPECT_FALSE(t.Delete(-1, 1));
    EXPECT_FALSE(t.Delete(0, 0));
    EXPECT_EQ(t.GetCount(), 3);
}

TEST(TdingLength, ClearRangeEmptiesValuesOnly)
{
    Threading t = threadingOf(8, {1, 2, 3, 4});
    t.SetColor(1, 9);
    EXPECT_TRUE(t.ClearRange(1, 100));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(t.GetColor(1), 9);
    EXPECT_FALSE(t.ClearRange(-1, 2));
    EXPECT_FALSE(t.ClearRange(0, -2));
}

TEST(ThreadingLimit, LoweringTheLimitUnthreadsEndsAboveIt)
{
    Threading t = threadingOf(8, {1, 5, 4, 8, 0});
    EXPECT_TRUE(t.SetLimit(4));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{1, 0, 4, 0, 0}));
    EXPECT_FALSE(t.SetLimit(65));
    EXPECT_FALSE(t.SetLimit(-1));
    EXPECT_EQ(t.limit(), 4);
}

TEST(ThreadingValues, SetValueChecksTheLimitAndGrows)
{
    Threading t(4);
    EXPECT_FALSE(t.SetValue(0, 5));
    EXPECT_FALSE(t.SetValue(-1, 1));
    EXPECT_FALSE(t.SetValue(32768, 1));
    EXPECT_EQ(t.GetCount(), 0);
    EXPECT_TRUE(t.SetValue(3, 2));
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{0, 0, 0, 2}));
    EXPECT_FALSE(t.ClearValue(3, 5));
    EXPECT_FALSE(t.ClearValue(4, 1));
    EXPECT_TRUE(t.ClearValue(3, 2));
    EXPECT_EQ(t.GetShaft(3), 0);
    EXPECT_EQ(t.GetShaft(99), 0);
}

TEST(ThreadingValues, FlipAndReverse)
{
    Threading t = threadingOf(4, {1, 0, 3});
    t.SetColor(0, 7);
    t.SetSymbol(0, 'x');
    t.SetThick(0, true);
    t.FlipVertical();
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{4, 0, 2}));
    t.FlipHorizontal();
    EXPECT_EQ(shaftsOf(t), (std::vector<int>{2, 0, 4}));
    EXPECT_EQ(t.GetColor(2), 7);
    EXPECT_EQ(t.GetThick(2), 1);
    EXPECT_EQ(t.GetSymbol(0), 'x'); // symbols do not move with the ends
}

TEST(ThreadingValues, SmallestRepeatAndRangeEqual)
{
    EXPECT_EQ(threadingOf(8, {1, 2, 3, 1, 2, 3}).SmallestRepeat(), 3);
    EXPECT_EQ(threadingOf(8, {1, 2, 1}).SmallestRepeat(), 3);
    EXPECT_EQ(threadingOf(8, {4, 4, 4, 4}).SmallestRepeat(), 1);
    EXPECT_EQ(Threading(8).SmallestRepeat(), 0);
    const Threading t = threadingOf(8, {1, 2, 3, 1, 2, 4});
    EXPECT_TRUE(t.RangeEqual(0, 3, 2));
    EXPECT_FALSE(t.RangeEqual(0, 3, 3));
    EXPECT_FALSE(t.RangeEqual(4, 0, 3)); // runs past the end
}

TEST(ThreadingValues, CopyFromDropsShaftsAboveItsOwnLimit)
{
    Threading src = threadingOf(8, {1, 6, 3});
    src.SetColor(1, 5);
    Threading dst(4);
    dst.CopyFrom(src, false);
    EXPECT_EQ(shaftsOf(dst), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(dst.GetColor(1), 0);
    dst.CopyFrom(src, true);
    EXPECT_EQ(dst.GetColor(1), 5);
}

// --- treadling ---

TEST(TreadlingValues, TreadleZeroSucceedsAndChangesNothing)
{
    Treadling t(8);
    EXPECT_TRUE(t.SetValue(5, 0));
    EXPECT_EQ(t.GetCount(), 0);
    t.SetValue(0, 3);
    EXPECT_TRUE(t.SetValue(0, 0));
    EXPECT_EQ(t.FirstValue(0), 3);
}

TEST(TreadlingValues, SingleTreadleReplacesMultipleAccumulates)
{
    Treadling t(8);
    t.SetValue(0, 3);
    t.SetValue(0, 5);
    EXPECT_EQ(t.GetSet(0).count(), 1);
    EXPECT_EQ(t.FirstValue(0), 5);
    t.setMultiple(true);
    t.SetValue(0, 2);
    EXPECT_EQ(t.GetSet(0).count(), 2);
    EXPECT_EQ(t.FirstValue(0), 2);
    EXPECT_EQ(t.HighestValue(), 5);
    EXPECT_FALSE(t.SetValue(0, 9));
    EXPECT_FALSE(t.ClearValue(0, 9));
    EXPECT_TRUE(t.ClearValue(0, 5));
    EXPECT_EQ(t.GetSet(0).count(), 1);
}

TEST(TreadlingValues, LoweringTheLimitClearsRemovedTreadlesFromEveryPick)
{
    Treadling t(128);
    t.setMultiple(true);
    for (int tr : {1, 4, 5, 64, 65, 128}) t.SetValue(0, tr);
    t.SetValue(1, 100);
    EXPECT_TRUE(t.SetLimit(4));
    EXPECT_EQ(t.GetSet(0), TreadleSet(0b1001, 0));
    EXPECT_TRUE(t.GetSet(1).empty());
    EXPECT_FALSE(t.SetLimit(129));
    EXPECT_EQ(t.limit(), 4);
}

TEST(TreadlingValues, SetSetGrowsAndMasksToTheLimit)
{
    Treadling t(4);
    EXPECT_TRUE(t.SetShafts(2, TUPTYPE(0xFF)));
    EXPECT_EQ(t.GetCount(), 3);
    EXPECT_EQ(t.GetSet(2), TreadleSet(0xF, 0));
    EXPECT_FALSE(t.SetSet(32768, TreadleSet(1, 0)));
    EXPECT_FALSE(t.SetSet(-1, TreadleSet(1, 0)));
}

TEST(TreadlingValues, MirrorReverseComplementAndRotations)
{
    Treadling t(3);
    t.setMultiple(true);
    t.SetValue(0, 1);
    t.SetValue(1, 1);
    t.SetValue(1, 2);
    t.SetValue(2, 3);
    Treadling m = t;
    m.FlipHorizontal();
    EXPECT_EQ(m.GetSet(0), TreadleSet(0b100, 0));
    EXPECT_EQ(m.GetSet(1), TreadleSet(0b110, 0));
    Treadling r = t;
    r.FlipVertical();
    EXPECT_EQ(r.GetSet(0), TreadleSet(0b100, 0));
    EXPECT_EQ(r.GetSet(2), TreadleSet(0b001, 0));
    Treadling c = t;
    c.Complement();
    EXPECT_EQ(c.GetSet(1), TreadleSet(0b100, 0));
    // The rotations follow the tieup transpositions.
    Treadling r1 = t;
    r1.Rotate1();
    EXPECT_EQ(r1.GetSet(0), TreadleSet(0b110, 0));
    EXPECT_EQ(r1.GetSet(1), TreadleSet(0b010, 0));
    EXPECT_EQ(r1.GetSet(2), TreadleSet(0b001, 0));
    Treadling r2 = t;
    r2.Rotate2();
    EXPECT_EQ(r2.GetSet(0), TreadleSet(0b100, 0));
    EXPECT_EQ(r2.GetSet(2), TreadleSet(0b011, 0));
    Treadling single = t;
    single.setMultiple(false);
    single.Rotate1(); // needs multiple treadles
    EXPECT_EQ(single.GetSet(1), t.GetSet(1));
}

// --- colors ---

struct AlternationCase {
    const char* name;
    Tding::Alternation mode;
    std::vector<int> colors;
};

inline void PrintTo(const AlternationCase& c, std::ostream* os)
{
    *os << c.name;
}

class TdingAlternation : public ::testing::TestWithParam<AlternationCase> {};

TEST_P(TdingAlternation, ThreadsBeyondTheColorVectorFollowTheMode)
{
    const AlternationCase& c = GetParam();
    for (bool warp : {true, false}) {
        Threading th(8);
        Treadling tr(8);
        Tding& t = warp ? static_cast<Tding&>(th) : tr;
        t.setDefaultColor(3);
        t.setAlternateColor(5);
        t.setAlternation(c.mode);
        EXPECT_EQ(colorsOf(t, 8), c.colors) << (warp ? "warp" : "weft");
        // FillColors stores the same pattern in the threads themselves.
        t.Append(8);
        EXPECT_TRUE(t.FillColors(3, 5, c.mode, 8));
        t.setAlternation(Tding::Alternation::None);
        EXPECT_EQ(colorsOf(t, 8), c.colors);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TdingAlternation,
    ::testing::Values(AlternationCase{"none", Tding::Alternation::None, {3, 3, 3, 3, 3, 3, 3, 3}},
                      AlternationCase{"single", Tding::Alternation::Single, {5, 3, 5, 3, 5, 3, 5, 3}},
                      AlternationCase{"pairs", Tding::Alternation::Pairs, {3, 3, 5, 5, 3, 3, 5, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TdingColors, StoredColorsWinOverTheAlternation)
{
    Threading t(8);
    t.setDefaultColor(3);
    t.setAlternateColor(5);
    t.setAlternation(Tding::Alternation::Single);
    t.Append(2); // appended threads take the colors the alternation gives
    t.SetColor(0, 3);
    EXPECT_EQ(colorsOf(t, 4), (std::vector<int>{3, 3, 5, 3}));
}

TEST(TdingColors, SetColorBeyondTheEndGrowsAndChangesTheDefault)
{
    Threading t(8);
    t.Append(2);
    EXPECT_TRUE(t.SetColor(5, 7));
    EXPECT_EQ(t.GetCount(), 6);
    EXPECT_EQ(t.defaultColor(), 7);
    EXPECT_EQ(colorsOf(t, 6), (std::vector<int>{0, 0, 0, 0, 0, 7}));
    // Inside the sequence the default stays.
    EXPECT_TRUE(t.SetColor(0, 2));
    EXPECT_EQ(t.defaultColor(), 7);
    EXPECT_FALSE(t.SetColor(32768, 1));
    EXPECT_FALSE(t.SetColor(0, 256));
    EXPECT_FALSE(t.SetColor(-1, 1));
    EXPECT_EQ(t.GetCount(), 6);
}

TEST(TdingColors, RecolorUniformAndFillRefusals)
{
    Threading t(8);
    t.Append(3);
    EXPECT_EQ(t.UniformColor(), 0);
    t.SetColor(1, 4);
    EXPECT_FALSE(t.UniformColor().has_value());
    EXPECT_EQ(t.UniformOrDefaultColor(), 0);
    EXPECT_TRUE(t.Recolor(0, 4)); // threads and the default color
    EXPECT_EQ(t.UniformColor(), 4);
    EXPECT_EQ(t.defaultColor(), 4);
    EXPECT_FALSE(t.Recolor(9, 1));
    EXPECT_FALSE(t.Recolor(4, 4));
    EXPECT_FALSE(t.Recolor(4, 300));
    EXPECT_FALSE(t.FillColors(256, 1, Tding::Alternation::Single, 3));
    EXPECT_FALSE(t.FillColors(1, 1, static_cast<Tding::Alternation>(7), 3));
    EXPECT_EQ(t.UniformColor(), 4);
    EXPECT_FALSE(t.setDefaultColor(-1));
    EXPECT_FALSE(t.setAlternateColor(256));
    EXPECT_EQ(t.defaultColor(), 4);
}

// --- symbols and thickness ---

TEST(TdingThick, GetterReturnsTheRatioAndTheCacheFollowsChanges)
{
    Treadling t(4);
    t.Append(3);
    EXPECT_FALSE(t.AnyThick());
    EXPECT_TRUE(t.SetThick(1, true));
    EXPECT_TRUE(t.AnyThick());
    EXPECT_EQ(t.GetThick(1), 1);
    EXPECT_EQ(t.GetThick(0), 0);
    t.SetRatio(9);
    EXPECT_EQ(t.GetThick(1), 5);
    t.SetRatio(0);
    EXPECT_EQ(t.GetThick(1), 1);
    EXPECT_TRUE(t.SetThick(1, false));
    EXPECT_FALSE(t.AnyThick());
    EXPECT_TRUE(t.SetThick(2, true));
    EXPECT_TRUE(t.Delete(2, 1));
    EXPECT_FALSE(t.AnyThick()) << "deleting the only thick pick resets the cache";
    EXPECT_FALSE(t.SetThick(3, true));
}

TEST(TdingSymbols, SetAndTest)
{
    Threading t(4);
    t.Append(2);
    EXPECT_FALSE(t.HasSymbols());
    EXPECT_TRUE(t.SetSymbol(1, '#'));
    EXPECT_TRUE(t.HasSymbols());
    EXPECT_EQ(t.GetSymbol(1), '#');
    EXPECT_FALSE(t.SetSymbol(2, 'a'));
    EXPECT_FALSE(t.SetSymbol(0, 256));
    EXPECT_EQ(t.GetSymbol(-1), 0);
}

// --- labels ---

TEST(TdingLabels, SameStartDifferentLengthAreDifferentLabels)
{
    Threading t(8);
    EXPECT_TRUE(t.AddLabel({0, 4, "four"}));
    EXPECT_TRUE(t.AddLabel({0, 6, "six"}));
    ASSERT_NE(t.FindLabel(0, 4), nullptr);
    ASSERT_NE(t.FindLabel(0, 6), nullptr);
    EXPECT_EQ(t.FindLabel(0, 4)->text, "four");
    EXPECT_EQ(t.FindLabel(0, 6)->text, "six");
    EXPECT_EQ(t.FindLabel(0, 5), nullptr);
    EXPECT_EQ(labelsIn(t, 1), (std::vector<std::pair<int, int>>{{0, 6}}));
    // The same start and length again would be a second, unreachable label.
    EXPECT_FALSE(t.AddLabel({0, 4, "again"}));
    EXPECT_EQ(t.FindLabel(0, 4)->text, "four");
    EXPECT_TRUE(labelsIn(t, 2).empty());
}

TEST(TdingLabels, LabelsFitIntoTheFirstRowWithRoomAndAreKeptSorted)
{
    Threading t(8);
    EXPECT_TRUE(t.AddLabel({10, 2, "b"}));
    EXPECT_TRUE(t.AddLabel({0, 10, "a"})); // ends at 9, just before 10
    EXPECT_TRUE(t.AddLabel({12, 1, "c"})); // starts just after 11
    EXPECT_EQ(labelsIn(t, 0), (std::vector<std::pair<int, int>>{{0, 10}, {10, 2}, {12, 1}}));
    EXPECT_EQ(t.LabelRowCount(), 1);
    EXPECT_TRUE(t.AddLabel({9, 2, "d"})); // touches both a and b
    EXPECT_EQ(labelsIn(t, 1), (std::vector<std::pair<int, int>>{{9, 2}}));
}

TEST(TdingLabels, ALabelOverlappingAllThreeRowsIsRefused)
{
    Threading t(8);
    EXPECT_TRUE(t.AddLabel({0, 4, "a"}));
    EXPECT_TRUE(t.AddLabel({0, 6, "b"}));
    EXPECT_TRUE(t.AddLabel({2, 2, "c"}));
    EXPECT_EQ(t.LabelRowCount(), 3);
    EXPECT_FALSE(t.AddLabel({3, 1, "d"}));
    EXPECT_EQ(t.FindLabel(3, 1), nullptr);
    EXPECT_TRUE(t.AddLabel({6, 1, "e"}));
}

TEST(TdingLabels, BadLabelsAreRefusedAndLongTextIsCut)
{
    Threading t(8);
    EXPECT_FALSE(t.AddLabel({-1, 2, "x"}));
    EXPECT_FALSE(t.AddLabel({0, 0, "x"}));
    EXPECT_FALSE(t.AddLabel({32767, 2, "x"}));
    EXPECT_TRUE(t.AddLabel({32767, 1, std::string(40, 'z')}));
    EXPECT_EQ(t.FindLabel(32767, 1)->text.size(), 31u);
    EXPECT_TRUE(t.SetLabelText(32767, 1, "new"));
    EXPECT_EQ(t.FindLabel(32767, 1)->text, "new");
    EXPECT_FALSE(t.SetLabelText(32767, 2, "new"));
}

TEST(TdingLabels, RemoveReinsertsTheRestRowByRow)
{
    Threading t(8);
    t.AddLabel({0, 4, "a"});
    t.AddLabel({4, 2, "b"});
    t.AddLabel({0, 6, "c"});
    t.AddLabel({2, 2, "d"});
    EXPECT_EQ(t.LabelRowCount(), 3);
    EXPECT_FALSE(t.RemoveLabel(0, 5));
    EXPECT_TRUE(t.RemoveLabel(0, 4));
    // d moves up into row 0 beside b; c stays in row 1.
    EXPECT_EQ(labelsIn(t, 0), (std::vector<std::pair<int, int>>{{2, 2}, {4, 2}}));
    EXPECT_EQ(labelsIn(t, 1), (std::vector<std::pair<int, int>>{{0, 6}}));
    EXPECT_TRUE(labelsIn(t, 2).empty());
    EXPECT_EQ(t.LabelRowCount(), 2);
}

TEST(TdingLabels, InsertAndDeleteMoveLabelsWithTheirThreads)
{
    Threading t(8);
    t.Append(20);
    t.AddLabel({2, 3, "a"});  // 2..4
    t.AddLabel({10, 4, "b"}); // 10..13
    t.Insert(5, 0, 2);
    EXPECT_EQ(labelsIn(t, 0), (std::vector<std::pair<int, int>>{{2, 3}, {12, 4}}));
    t.Delete(3, 10); // removes 3..12
    EXPECT_EQ(labelsIn(t, 0), (std::vector<std::pair<int, int>>{{2, 1}, {3, 3}}));
    t.Delete(2, 1);
    EXPECT_EQ(labelsIn(t, 0), (std::vector<std::pair<int, int>>{{2, 3}}));
}
