#include "core/draft/quillabydoc.h"
#include "core/yarn/densitycalc.h"
#include "core/yarn/piecespicture.h"
#include "core/yarn/plantext.h"
#include "core/yarn/projectplan.h"
#include "core/yarn/yarn.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qb;

namespace {

constexpr auto kEnglish = MeasureSystem::English;
constexpr auto kMetric = MeasureSystem::Metric;

// The weaver's worked example: one piece 20 in by 60 in at 20 epi and 20 ppi
// of a 2100 yd/lb yarn.
PlanInputs workedExample()
{
    PlanInputs in;
    in.itemWidth = 20;
    in.itemLength = 60;
    in.drawIn = 1;
    in.shrinkageWidth = 10;
    in.takeUp = 5;
    in.shrinkageLength = 10;
    in.loomWaste = 30;
    in.sample = 0;
    in.lengthUnit = 0;
    in.sett = 20;
    in.beat = 20;
    in.warpDensity = in.weftDensity = 2100;
    return in;
}

std::unique_ptr<CQuillabyDoc> draft(MeasureSystem units, SettParts sett, SettParts beat = {10, 0})
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.units = static_cast<int>(units);
    doc->OnNewDocument(d);
    doc->raw().setWarpSett(sett.whole, sett.frac);
    doc->raw().setWeftSett(beat.whole, beat.frac);
    return doc;
}

std::unique_ptr<CQuillabyDoc> workedExampleDraft()
{
    auto doc = draft(kEnglish, {20, 0}, {20, 0});
    ProjectPlanValues& p = doc->raw().plan;
    p.itemWidth = 20;
    p.itemLength = 60;
    p.drawIn = 1;
    p.loomWaste = 30;
    p.lengthUnit = 0;
    p.warpDensity = p.weftDensity = 2100;
    p.warpYarn = "8/2 cotton";
    return doc;
}

} // namespace

TEST(Planner, WorkedExampleInWizardAndWindow)
{
    for (WarpRounding rounding : {WarpRounding::BeforeWeight, WarpRounding::AfterWeight}) {
        const PlanResults r = ComputePlan(workedExample(), rounding);
        EXPECT_EQ(r.woven.widthInReed, 23);
        EXPECT_EQ(r.woven.warpLength, 99);
        EXPECT_EQ(r.woven.warpLengthLarge, 3);
        EXPECT_EQ(r.ends, 460);
        EXPECT_EQ(ShownQuantity(r.warp, 0), 1265);
        EXPECT_EQ(ShownWeight(r.warp, 0), 1.0);
        EXPECT_EQ(r.picks, 1380);
        EXPECT_EQ(ShownQuantity(r.weft, 0), 882);
        EXPECT_NEAR(r.weft.yards, 881.67, 0.01); // the weft is not rounded before weighing
    }
    const std::string text = DraftPlanText(*workedExampleDraft(), kEnglish);
    for (const char* line :
         {"Width in reed:\t23.0 in\n", "Warp length:\t99.0 in\n", "Number of ends:\t460\n", "Quantity:\t1265 yd\n",
          "Weight:\t1.0 lb\n", "Number of picks:\t1380\n", "Quantity:\t882 yd\n", "Sett:\t20 epi\n", "Beat:\t20 ppi\n",
          "Loom Waste:\t30 in\n", "Warp yarn:\t8/2 cotton\n", "Density:\t2100 yd/lb\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(Planner, FinishedAndWovenSizes)
{
    struct Case {
        const char* name;
        double itemWidth;
        int across;
        double gap;
        int shrinkage;
        double drawIn;
        double totalWidth;
        double widthInReed;
    };
    const Case cases[] = {
        {"three pieces 10 in, 2 in apart", 10, 3, 2, 0, 0, 34, 34},
        {"one piece ignores the gap", 10, 1, 2, 0, 0, 10, 10},
        {"1.1 x 50 is 55, not 56", 50, 1, 0, 10, 0, 50, 55},
        {"1.12 x 25 is 28, not 29", 25, 1, 0, 12, 0, 25, 28},
        {"a fraction rounds up", 20, 1, 0, 10, 0.5, 20, 23},
    };
    for (const Case& c : cases) {
        PlanInputs in;
        in.itemWidth = c.itemWidth;
        in.itemsOnWeft = c.across;
        in.betweenItemsWeft = c.gap;
        in.shrinkageWidth = c.shrinkage;
        in.drawIn = c.drawIn;
        const PlanResults r = ComputePlan(in, WarpRounding::AfterWeight);
        EXPECT_DOUBLE_EQ(r.finished.totalWidth, c.totalWidth) << c.name;
        EXPECT_EQ(r.woven.widthInReed, c.widthInReed) << c.name;
    }

    PlanInputs along = workedExample();
    along.itemsOnWarp = 3;
    along.betweenItemsWarp = 4;
    along.lengthUnit = 1;
    const PlanResults r = ComputePlan(along, WarpRounding::AfterWeight);
    EXPECT_DOUBLE_EQ(r.finished.totalLength, 188);
    EXPECT_EQ(r.totalLengthIn(1), 6); // 188 in is 5.2 yd
    EXPECT_EQ(r.warpLengthIn(1), 7);  // 1.15 x 188 + 30 = 246.2 in
    EXPECT_EQ(r.warpLengthIn(0), 247);

    PlanInputs metric = along;
    metric.system = kMetric;
    EXPECT_EQ(ComputePlan(metric, WarpRounding::AfterWeight).warpLengthIn(1), 3); // 247 cm is 2.5 m
}

TEST(Planner, ZeroSettBeatOrDensityGiveNothing)
{
    PlanInputs in = workedExample();
    in.sett = 0;
    in.beat = -3;
    PlanResults r = ComputePlan(in, WarpRounding::BeforeWeight);
    EXPECT_EQ(r.ends, 0);
    EXPECT_EQ(r.picks, 0);
    EXPECT_EQ(ShownQuantity(r.warp, 0), 0);
    EXPECT_EQ(ShownWeight(r.warp, 0), 0.0);

    in = workedExample();
    in.warpDensity = 0;
    r = ComputePlan(in, WarpRounding::BeforeWeight);
    EXPECT_EQ(r.ends, 460);
    EXPECT_EQ(ShownWeight(r.warp, 2), 0.0);
    EXPECT_GT(ShownWeight(r.weft, 2), 0.0);
}

TEST(Planner, WeightsInEveryUnit)
{
    const Weights lb = WeightsFromPounds(2);
    EXPECT_DOUBLE_EQ(lb.ounces, 32);
    EXPECT_DOUBLE_EQ(lb.grams, 908.8);
    EXPECT_DOUBLE_EQ(lb.in(2), 0.9088);
    const Weights kg = WeightsFromKilograms(0.4544);
    EXPECT_NEAR(kg.pounds, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(kg.in(3), 454.4);
    EXPECT_DOUBLE_EQ(kg.in(99), kg.pounds); // a unit off the list reads as pounds

    // A metric plan weighs metres per kilogram.
    PlanInputs in = workedExample();
    in.system = kMetric;
    in.warpDensity = 4000;
    const PlanResults r = ComputePlan(in, WarpRounding::BeforeWeight);
    EXPECT_EQ(r.warp.metres, 456); // 460 ends x 99 cm, rounded up
    EXPECT_DOUBLE_EQ(r.warp.weight.kilograms, 456.0 / 4000);
    EXPECT_EQ(ShownWeight(r.warp, 3), 114);
}

TEST(Planner, ConversionsBetweenSystems)
{
    struct SplitCase {
        double value;
        SettParts parts;
    };
    for (const SplitCase& c : {SplitCase{20.32, {20, 3200}}, SplitCase{20.5, {20, 5000}}, SplitCase{20.6, {21, -4000}},
                               SplitCase{8, {8, 0}}, SplitCase{0, {0, 0}}})
        EXPECT_EQ(SplitSett(c.value), c.parts) << c.value;
    EXPECT_EQ(ConvertSett({8, 0}, kMetric, kEnglish), (SettParts{20, 3200}));
    EXPECT_EQ(ConvertSett({20, 0}, kEnglish, kMetric), (SettParts{8, -1259}));
    EXPECT_EQ(ConvertSett({8, 0}, kMetric, kMetric), (SettParts{8, 0}));
    EXPECT_EQ(ConvertDensity(2100, kEnglish, kMetric), 4205u);
    EXPECT_EQ(ConvertDensity(4205, kMetric, kEnglish), 2099u);
    EXPECT_EQ(ConvertDensity(0xFFFFFFFFu, kEnglish, kMetric), 0xFFFFFFFFu);
    EXPECT_DOUBLE_EQ(ConvertLength(10, kEnglish, kMetric), 25.4);

    // A draft kept in ends per centimetre shows its sett in ends per inch.
    auto doc = draft(kMetric, {8, 0});
    EXPECT_EQ(ShownSett(PlanInputsOf(*doc, kEnglish).sett), 20u);
    EXPECT_NE(DraftPlanText(*doc, kEnglish).find("Sett:\t20 epi\n"), std::string::npos);
    EXPECT_NE(DraftPlanText(*doc, kMetric).find("Sett:\t8 epcm\n"), std::string::npos);

    // Lengths follow the sett across: 50 cm at 8 epcm are about 400 ends in
    // either system, not 20 epi x 50 "inches".
    doc->raw().plan.itemWidth = 50;
    doc->raw().plan.drawIn = 0;
    doc->raw().plan.shrinkageWidth = 0;
    const long long metricEnds = ComputePlan(PlanInputsOf(*doc, kMetric), WarpRounding::AfterWeight).ends;
    const long long englishEnds = ComputePlan(PlanInputsOf(*doc, kEnglish), WarpRounding::AfterWeight).ends;
    EXPECT_EQ(metricEnds, 400);
    EXPECT_NEAR(englishEnds, 400, 8);
}

TEST(Planner, FinishStoresOnlyWhatChanged)
{
    // [GIVEN] a metric draft planned in the English system
    auto doc = draft(kMetric, {8, 0}, {8, 0});
    doc->raw().plan.itemWidth = 50;
    doc->raw().plan.loomWaste = 76;
    doc->raw().plan.warpDensity = 4205;
    doc->SetModified(false);
    const ProjectPlanValues before = doc->plan();

    // [WHEN] nothing is edited [THEN] nothing drifts through the conversions
    PlannerSession untouched(*doc, kEnglish);
    EXPECT_EQ(FinishProjectPlanner(kUnrecorded, *doc, untouched).status, CommandResult::Status::NoChange);
    EXPECT_EQ(doc->plan(), before);
    EXPECT_EQ(doc->warpSettFrac(), 0);
    EXPECT_FALSE(doc->isModified());

    // [WHEN] the sett goes from 20 to 21 epi, whose whole part in epcm is
    // still 8 [THEN] the new sett is kept all the same
    PlannerSession s(*doc, kEnglish);
    EXPECT_EQ(ShownSett(s.pages().sett), 20u);
    s.pages().sett = 21;
    s.pages().warpDensity = 2100;
    s.pages().loomWaste = 40;
    s.pages().itemsOnWeft = 40;
    s.pages().shrinkageLength = 70000;
    doc->Transaction("Project Plan", [&](Edit e) { EXPECT_TRUE(FinishProjectPlanner(e, *doc, s).done()); });
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->warpSettWhole(), 8);
    EXPECT_EQ(doc->warpSettFrac(), 2677);     // 21 / 2.54 = 8.2677
    EXPECT_EQ(doc->weftSettFrac(), 0);        // the beat was not touched
    EXPECT_EQ(doc->plan().warpDensity, 4205); // 2100 yd/lb
    EXPECT_EQ(doc->plan().loomWaste, 102);    // 40 in
    EXPECT_EQ(doc->plan().itemsOnWeft, kMaxItemsOnWeft);
    EXPECT_EQ(doc->plan().shrinkageLength, 32766);
    EXPECT_DOUBLE_EQ(doc->plan().itemWidth, 50);
    // One undo step takes the planner's values back.
    doc->Undo();
    EXPECT_EQ(doc->warpSettWhole(), 8);
    EXPECT_EQ(doc->warpSettFrac(), 0);
    EXPECT_NE(doc->plan().loomWaste, 102);
}

TEST(Planner, WizardDrawInIsWholeInTheDraftsUnit)
{
    auto doc = draft(kEnglish, {20, 0});
    doc->raw().plan.drawIn = 1.5;
    PlannerSession s(*doc, kEnglish);
    EXPECT_EQ(s.pages().drawIn, 2);
    FinishProjectPlanner(kUnrecorded, *doc, s);
    EXPECT_EQ(doc->plan().drawIn, 2);

    auto metric = draft(kMetric, {8, 0});
    metric->raw().plan.drawIn = 1;
    PlannerSession m(*metric, kEnglish);
    EXPECT_NEAR(m.pages().drawIn, 1 / 2.54, 1e-12);
    EXPECT_EQ(FinishProjectPlanner(kUnrecorded, *metric, m).status, CommandResult::Status::NoChange);
}

TEST(Planner, YarnsAndEndsDriveThePages)
{
    auto doc = workedExampleDraft();
    doc->raw().plan.itemsOnWeft = 3;
    doc->raw().plan.betweenItemsWeft = 2;
    PlannerSession s(*doc, kEnglish);
    s.setEnds(460); // 23 in the reed, 20 in finished, three pieces 2 apart
    EXPECT_NEAR(s.pages().itemWidth, 16.0 / 3, 1e-9);
    s.setEnds(10); // less than the draw-in takes: no negative width
    EXPECT_EQ(s.pages().itemWidth, 0);
    s.pages().sett = 0;
    s.setEnds(460);
    EXPECT_EQ(s.pages().itemWidth, 0);

    s.pages().sett = 20;
    s.applyWarpYarn(CYarn("10/2", "linen", 3000, 5, 0));
    EXPECT_EQ(s.pages().warpYarn, "10/2 linen");
    EXPECT_EQ(s.pages().warpDensity, 3000u);
    EXPECT_EQ(s.pages().sett, 20); // a yarn without a sett keeps the page's
    s.applyWeftYarn(CYarn("-", "wool", 1600, 5, 12));
    EXPECT_EQ(s.pages().weftYarn, "wool");
    EXPECT_EQ(s.pages().beat, 12);
}

TEST(Planner, PlanTextBlocks)
{
    auto doc = workedExampleDraft();
    doc->raw().title = "Towels\r\nfor the kitchen";
    doc->raw().notes = "Wash hot.\r\n";
    doc->raw().plan.lengthUnit = 1;
    const std::vector<PlanLine> layout = PlanLayout(ShowDraftPlan(*doc, kEnglish), doc->title(), doc->notes());
    const std::string text = PlanText(layout);
    EXPECT_EQ(text.rfind("Description:\nTowels\nfor the kitchen\n---", 0), 0u) << text;
    EXPECT_NE(text.find("Total length:\t2.0 yd\n"), std::string::npos);
    EXPECT_NE(text.find("Warp length:\t3.0 yd\n"), std::string::npos);
    EXPECT_NE(text.find("Width in reed:\t23.0 in\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "Notes:\nWash hot.\n");
    int pictures = 0;
    for (const PlanLine& l : layout) pictures += l.kind == PlanLine::Kind::Picture;
    EXPECT_EQ(pictures, 1);

    doc->raw().title.clear();
    doc->raw().notes = "\r\n";
    const std::string bare = DraftPlanText(*doc, kEnglish);
    EXPECT_EQ(bare.rfind("Item Width:\t20.0 in\n", 0), 0u);
    EXPECT_EQ(bare.find("Notes:"), std::string::npos);
}

TEST(DensityCalculator, Table)
{
    struct Case {
        const char* name;
        DensityInput in;
        std::uint32_t ydPerLb, mPerKg;
        double quantity, weight;
    };
    const Case cases[] = {
        {"840 yd of 1 lb", {840, 0, 1, 0}, 840, 1682, 840, 1},
        {"1000 m of 1 kg", {1000, 1, 1, 2}, 499, 1000, 1000, 1},
        {"ounces", {105, 0, 2, 1}, 840, 1682, 105, 2},
        {"grams", {500, 1, 250, 3}, 998, 2000, 500, 250},
        {"negative quantity", {-5, 0, 1, 0}, 0, 0, 0, 1},
        {"tiny weight", {10, 0, 0.01, 0}, 200, 400, 10, 0.05},
        {"NaN weight", {10, 0, std::nan(""), 0}, 200, 400, 10, 0.05},
    };
    for (const Case& c : cases) {
        const DensityResult r = ComputeDensity(c.in);
        EXPECT_EQ(r.yardsPerPound, c.ydPerLb) << c.name;
        EXPECT_EQ(r.metresPerKilogram, c.mPerKg) << c.name;
        EXPECT_DOUBLE_EQ(r.quantity, c.quantity) << c.name;
        EXPECT_DOUBLE_EQ(r.weight, c.weight) << c.name;
    }
    EXPECT_EQ(ComputeDensity({840, 0, 1, 0}).forSystem(kMetric), 1682u);
    const DensityInput metric = DensityInput::Start(kMetric);
    EXPECT_EQ(metric.quantityUnit, 1);
    EXPECT_EQ(metric.weightUnit, 2);
    EXPECT_EQ(metric.weight, 1);
    EXPECT_EQ(ComputeDensity({1e300, 0, 0.05, 0}).yardsPerPound, 0xFFFFFFFFu);
}

TEST(PiecesPicture, GridScaledAndCentred)
{
    PlanInputs in;
    in.itemWidth = 10;
    in.itemLength = 20;
    in.itemsOnWeft = 3;
    in.betweenItemsWeft = 5;
    in.itemsOnWarp = 2;
    in.betweenItemsWarp = 0;
    // 40 wide, 40 long in a 200 x 100 picture: scale 2.5, centred across.
    const std::vector<PieceRect> r = PiecesPicture(in, 200, 100);
    ASSERT_EQ(r.size(), 6u);
    EXPECT_DOUBLE_EQ(r[0].x, 50);
    EXPECT_DOUBLE_EQ(r[0].y, 0);
    EXPECT_DOUBLE_EQ(r[0].width, 25);
    EXPECT_DOUBLE_EQ(r[1].x, 87.5);
    EXPECT_DOUBLE_EQ(r[5].y, 50);
    EXPECT_TRUE(r[0].hatched);
    EXPECT_FALSE(PiecesPicture(in, 20, 10)[0].hatched);

    // The new-draft values have no size: nothing to draw, nothing divided by 0.
    EXPECT_TRUE(PiecesPicture(PlanInputs{}, 200, 100).empty());
    EXPECT_TRUE(PiecesPicture(in, 0, 100).empty());
    in.betweenItemsWeft = -100; // a negative gap draws as none
    for (const PieceRect& p : PiecesPicture(in, 200, 100)) EXPECT_TRUE(std::isfinite(p.x) && p.x >= 0);
}

TEST(Planner, EmptyPlanShowsNoNegativeZero)
{
    // A new draft's pieces have no size: the large-unit total length comes
    // out of rounding as -0.
    for (MeasureSystem system : {kEnglish, kMetric}) {
        auto doc = draft(system, {10, 0});
        doc->raw().plan.lengthUnit = 1;
        const std::string text = DraftPlanText(*doc, system);
        EXPECT_EQ(text.find("-0"), std::string::npos) << text;
        EXPECT_NE(text.find(system == kEnglish ? "Total length:\t0.0 yd\n" : "Total length:\t0.0 m\n"),
                  std::string::npos)
            << text;
    }
}
