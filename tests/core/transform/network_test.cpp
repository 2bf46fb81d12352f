// Network drafting: scaling a pattern line, plotting it onto a network, and
// the ribbon template.
#include "tests/core/transform/structures.h"

#include "core/transform/networkplot.h"
#include "core/transform/networkscale.h"
#include "core/transform/ribbontemplate.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace qbtest;

namespace {

std::vector<int> oneTo(int n)
{
    std::vector<int> v(static_cast<std::size_t>(n));
    std::iota(v.begin(), v.end(), 1);
    return v;
}

std::unique_ptr<CQuillabyDoc> line(const std::vector<int>& shafts, const std::vector<int>& treadles = {})
{
    auto doc = NewDraft(std::max(1, *std::max_element(shafts.begin(), shafts.end())), 16);
    SetShafts(*doc, shafts);
    SetTreadles(*doc, treadles);
    return doc;
}

std::vector<int> lifted(const CQuillabyDoc& d, int pick)
{
    std::vector<int> out;
    d.treadling(0)->GetSet(pick).forEach([&](int s) { out.push_back(s); });
    return out;
}

} // namespace

TEST(NetworkScale, VerticalScaling)
{
    const std::vector<int> digitized = ScaleShaftsVertically(oneTo(8), 16, 16, false);
    EXPECT_EQ(digitized[0], 1);
    EXPECT_EQ(digitized[3], 7); // trunc(3 x 15 / 7) + 1
    EXPECT_EQ(digitized[7], 16);
    const std::vector<int> telescoped = ScaleShaftsVertically(oneTo(20), 16, 16, true);
    EXPECT_EQ(telescoped[16], 1);
    EXPECT_EQ(telescoped[19], 4);
    // A line that fits is digitized even when telescoping is chosen.
    EXPECT_EQ(ScaleShaftsVertically(oneTo(8), 16, 16, true), digitized);
    // Double precision: 11 x 30/22 falls just below 15.
    EXPECT_EQ(ScaleShaftsVertically(oneTo(23), 31, 31, false)[11], 15);
    // A single end above the new height still fits.
    EXPECT_EQ(ScaleShaftsVertically({20}, 8, 8, false), std::vector<int>{8});
    EXPECT_EQ(ScaleShaftsVertically({0, 4, 0, 8}, 16, 16, false), (std::vector<int>{0, 7, 0, 16}));
}

TEST(NetworkScale, HorizontalScaling)
{
    const HorizontalScale stretched = ScaleShaftsHorizontally({1, 2, 3, 4}, 10);
    EXPECT_EQ(stretched.shafts, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4}));
    EXPECT_EQ(stretched.source, (std::vector<int>{0, -1, -1, 1, -1, -1, 2, -1, -1, 3}));
    EXPECT_EQ(ScaleShaftsHorizontally(oneTo(10), 4).shafts, (std::vector<int>{1, 3, 6, 10}));
    EXPECT_EQ(ScaleShaftsHorizontally({5, 1}, 5).shafts, (std::vector<int>{5, 4, 3, 2, 1})); // downhill too
    EXPECT_EQ(ScaleShaftsHorizontally(oneTo(23), 31).source[14], 11);
    EXPECT_EQ(ScaleShaftsHorizontally({3}, 10).shafts, std::vector<int>{3}); // one end: nothing to stretch
}

TEST(NetworkScale, NewDraftMirrorsTheScaledLine)
{
    NetworkSettings s;
    s.height = 16;
    s.length = 8;
    s.initialHeight = 4;
    s.shaftRule = true; // digitizing onto 16 - 4 + 1 shafts
    const auto src = line(oneTo(8));
    FixedPrompter p;
    const NewDraftResult r = ScalePatternLine(*src, s, p);
    ASSERT_TRUE(r.draft);
    const CQuillabyDoc& d = *r.draft;
    EXPECT_EQ(d.numShafts(), 13);
    EXPECT_EQ(d.numTreadles(), 13);
    EXPECT_EQ(Shafts(d).back(), 13);
    EXPECT_TRUE(d.multipleTreadles());
    for (int i = 0; i < d.numEnds(); ++i)
        EXPECT_EQ(Treadles(d)[static_cast<std::size_t>(i)], 14 - Shafts(d)[static_cast<std::size_t>(i)]);

    s.initialBase = 16; // nothing left above the base
    EXPECT_FALSE(ScalePatternLine(*src, s, p).draft);
    EXPECT_EQ(p.lastMessage,
              "Unable to scale the pattern line.\n\nThe network height must be greater than\nthe base of the initial.");
    s.initialBase = 0;
    s.initialHeight = 16;
    s.height = 8;
    EXPECT_FALSE(ScalePatternLine(*src, s, p).draft);
}

TEST(NetworkPlot, WarningsBeforePlotting)
{
    const auto structure = MakeStructure(UnitWeaveShape(2)); // TS 0, PS 2, four ends
    EXPECT_TRUE(IsTurtleShaped(*line({1, 3, 2})));
    EXPECT_FALSE(IsTurtleShaped(*line({1, 3})));
    EXPECT_EQ(
        PlotThreadingWarning(*line(oneTo(8)), *structure, 6),
        std::string("WARNING:  Height of the pattern line\nis greater than the network height.\n\nContinue anyway?"));
    EXPECT_EQ(PlotThreadingWarning(*line({1, 2, 3, 4, 3, 2, 1, 2}), *structure, 7), nullptr);
    EXPECT_NE(std::string(PlotThreadingWarning(*line({1, 2, 3, 4, 4, 3, 2, 4}), *structure, 7)).find("not a multiple"),
              std::string::npos);
    EXPECT_NE(std::string(PlotThreadingWarning(*line({1, 2, 3, 4, 5, 4, 3, 2}), *structure, 5)).find("Turtle"),
              std::string::npos);

    NetworkSettings s;
    s.height = 6;
    FixedPrompter no(false);
    NewDraftResult r = PlotOntoNetwork(*line(oneTo(8), {1}), *structure, "s.qlb", s, no);
    EXPECT_EQ(r.result.status, CommandResult::Status::Declined);
    EXPECT_FALSE(r.draft);
    s.height = 8;
    r = PlotOntoNetwork(*line(oneTo(6), {1}), *structure, "s.qlb", s, no);
    EXPECT_EQ(
        no.lastQuestion,
        "WARNING:  Length of the pattern line is not\na multiple of the width of the initial.\n\nContinue anyway?");
    EXPECT_FALSE(r.draft);

    // Counts that would divide by zero give nothing, silently.
    auto broken = MakeStructure(UnitWeaveShape(2));
    broken->raw().blocks.patternShaftsPerBlock = 0;
    FixedPrompter yes(true);
    r = PlotOntoNetwork(*line(oneTo(8), {1}), *broken, "s.qlb", s, yes);
    EXPECT_FALSE(r.draft);
    EXPECT_EQ(yes.questions, 0);
    EXPECT_TRUE(yes.lastMessage.empty());
    s.height = 0; // clamped to 1: not above the tiedowns of a structure with two
    auto tiedowns = MakeStructure(TiedownShape());
    EXPECT_FALSE(PlotOntoNetwork(*line(oneTo(8), {1}), *tiedowns, "s.qlb", s, yes).draft);
    EXPECT_FALSE(PlotOntoNetwork(*line({1}), *NewDraft(), "plain.wif", s, yes).draft);
    EXPECT_EQ(yes.lastMessage,
              "Unable to plot on network draft.\n\nFile plain.wif\ndoes not define substitution blocks.");
}

TEST(NetworkPlot, ThreadingBandsAndRibbonLifts)
{
    const auto structure = MakeStructure(UnitWeaveShape(2));
    NetworkSettings s;
    s.height = 8;
    s.ribbonWidth = 4;
    FixedPrompter p;
    auto src = line({2, 2, 3, 4, 5, 6, 7, 8}, {1, 3, 5, 7});
    NewDraftResult r = PlotOntoNetwork(*src, *structure, "s.qlb", s, p);
    ASSERT_TRUE(r.draft) << p.lastMessage;
    const CQuillabyDoc& d = *r.draft;
    EXPECT_TRUE(d.isLiftplan());
    EXPECT_EQ(d.numShafts(), 8);
    // End 0: the initial's shaft 1 lies below the line's shaft 2, so band 2.
    EXPECT_EQ(Shafts(d), (std::vector<int>{3, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(lifted(d, 0), (std::vector<int>{1, 3}));
    EXPECT_EQ(lifted(d, 1), (std::vector<int>{4, 6}));
    s.fillBackground = true;
    r = PlotOntoNetwork(*src, *structure, "s.qlb", s, p);
    ASSERT_TRUE(r.draft);
    EXPECT_EQ(lifted(*r.draft, 0), (std::vector<int>{1, 3, 5, 6, 7, 8}));
    s.fillBackground = false;
    s.fillRibbon = false;
    s.useRibbonTemplate = true;
    r = PlotOntoNetwork(*src, *structure, "s.qlb", s, p);
    ASSERT_TRUE(r.draft);
    EXPECT_TRUE(lifted(*r.draft, 0).empty());
}

TEST(RibbonTemplate, WidensPicksAndWraps)
{
    auto doc = NewDraft(8, 16);
    SetTreadles(*doc, {15, 1, 0});
    doc->raw().treadlingMutable(0)->SetSet(2, TreadleSet());
    FixedPrompter p;
    const CommandResult r = RibbonTemplate(kUnrecorded, *doc, 4, p);
    ASSERT_TRUE(r.done());
    EXPECT_TRUE(doc->multipleTreadles());
    EXPECT_EQ(lifted(*doc, 0), (std::vector<int>{1, 2, 15, 16}));
    EXPECT_EQ(lifted(*doc, 1), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(lifted(*doc, 2).empty());
    EXPECT_FALSE(RibbonTemplate(kUnrecorded, *doc, 1, p).done());

    doc->raw().notations.treadling = 5;
    doc->raw().treadlingMutable(0)->setMultiple(false);
    FixedPrompter no(false);
    EXPECT_EQ(RibbonTemplate(kUnrecorded, *doc, 2, no).status, CommandResult::Status::Declined);
}
