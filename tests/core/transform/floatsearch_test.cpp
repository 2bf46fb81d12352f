// Float search: the bit-parallel scan against a cell-by-cell walk of the
// drawdown, and the edge cases a weaver runs into.
#include "tests/core/transform/drafts.h"

#include "core/transform/floatsearch.h"

#include <gtest/gtest.h>

using namespace qbtest;

namespace {

// The floats as a weaver would count them on the drawdown, one cell at a time.
std::vector<FloatRun> bruteForce(const CQuillabyDoc& doc, const FloatCriteria& c)
{
    std::vector<FloatRun> out;
    const int k = c.minLength();
    const auto emit = [&](FloatDirection d, int thread, bool face, int first, int last, int length) {
        if (length >= k && (face || !c.faceOnly)) out.push_back({d, thread, face, first, last, length});
    };
    for (int e = 0; e < doc.numEnds(); ++e) {
        int start = 0, length = 0;
        Cell state = Cell::Blank;
        for (int p = 0; p <= doc.numPicks(); ++p) {
            const Cell cell = p < doc.numPicks() ? DrawdownCell(doc, e, p) : Cell::Blank;
            if (cell == state && cell != Cell::Blank) {
                ++length;
                continue;
            }
            emit(FloatDirection::Warp, e, state == Cell::WarpUp, start, start + length - 1, length);
            start = p;
            length = cell == Cell::Blank ? 0 : 1;
            state = cell;
        }
    }
    for (int p = 0; p < doc.numPicks(); ++p) {
        int first = 0, last = 0, length = 0;
        Cell state = Cell::Blank;
        for (int e = 0; e <= doc.numEnds(); ++e) {
            const Cell cell = e < doc.numEnds() ? DrawdownCell(doc, e, p) : Cell::Blank;
            if (cell == Cell::Blank && e < doc.numEnds()) continue;
            if (cell == state) {
                ++length;
                last = e;
                continue;
            }
            emit(FloatDirection::Weft, p, state == Cell::WeftUp, first, last, length);
            first = last = e;
            length = 1;
            state = cell;
        }
    }
    return out;
}

std::string describe(const std::vector<FloatRun>& runs)
{
    std::string s;
    for (const FloatRun& r : runs)
        s += (r.direction == FloatDirection::Warp ? "warp " : "weft ") + std::to_string(r.thread)
            + (r.face ? " face " : " back ") + std::to_string(r.first) + "-" + std::to_string(r.last) + " len "
            + std::to_string(r.length) + "\n";
    return s;
}

// An end on shaft 1 and a liftplan giving shaft 1 the lifts `lifted`.
std::unique_ptr<CQuillabyDoc> oneEnd(const std::vector<bool>& lifted, bool rising = true)
{
    auto doc = NewDraft(2, 2);
    doc->raw().setLoomRaw(2, 2, true);
    doc->raw().setRisingShed(rising);
    doc->raw().treadlingMutable(0)->setMultiple(true);
    SetShafts(*doc, {1});
    for (std::size_t p = 0; p < lifted.size(); ++p) {
        doc->raw().treadlingMutable(0)->Append(1);
        // Shaft 2 is always lifted so that no pick is empty.
        TUPTYPE lift(2);
        if (lifted[p]) lift.set(1);
        doc->raw().treadlingMutable(0)->SetShafts(static_cast<int>(p), lift);
    }
    return doc;
}

} // namespace

TEST(FloatSearch, AgreesWithTheDrawdownCellByCell)
{
    std::mt19937 rng(1407);
    for (int i = 0; i < 300; ++i) {
        DraftShape shape = RandomShape(rng);
        shape.unthreadedPercent = i % 3 == 0 ? 0 : 25;
        if (i % 5 == 0) { // warp rows as color bars
            shape.shafts = std::uniform_int_distribution<int>(2, 4)(rng);
            shape.warps = shape.shafts;
            shape.weftBars = false;
        }
        auto doc = RandomDraft(shape, rng);
        if (i % 5 == 0) doc->raw().setCorrelation(1, true);
        for (const bool rising : {true, false}) {
            doc->raw().setRisingShed(rising);
            const FloatCriteria c{std::uniform_int_distribution<int>(1, 6)(rng), i % 2 == 0};
            const std::vector<FloatRun> expected = bruteForce(*doc, c);
            ASSERT_EQ(describe(ListFloats(*doc, c)), describe(expected)) << "draft " << i << " rising " << rising;

            const FloatThreads t = FindFloatThreads(*doc, c);
            std::vector<bool> ends(doc->numEnds()), picks(doc->numPicks());
            for (const FloatRun& r : expected) (r.direction == FloatDirection::Warp ? ends : picks)[r.thread] = true;
            EXPECT_EQ(t.ends, ends) << "draft " << i;
            EXPECT_EQ(t.picks, picks) << "draft " << i;
            EXPECT_EQ(t.endCount, std::count(ends.begin(), ends.end(), true));

            // Thread by thread, as the dialog outlines them.
            std::vector<FloatRun> one;
            for (int e = -1; e <= doc->numEnds(); ++e)
                for (const FloatRun& r : ThreadFloats(*doc, FloatDirection::Warp, e, c)) one.push_back(r);
            for (int p = -1; p <= doc->numPicks(); ++p)
                for (const FloatRun& r : ThreadFloats(*doc, FloatDirection::Weft, p, c)) one.push_back(r);
            EXPECT_EQ(describe(one), describe(expected)) << "draft " << i;
        }
    }
}

TEST(FloatSearch, LongRunsAcrossWordsAndLongThresholds)
{
    // 200 ends: floats that cross 64-end words, thresholds past 64.
    auto doc = NewDraft(2, 2);
    std::vector<int> shafts(200, 1);
    for (int e = 150; e < 200; e += 2) shafts[e] = 2;
    SetShafts(*doc, shafts);
    SetTreadles(*doc, std::vector<int>(130, 1)); // treadle 1 lifts shaft 1
    for (const int k : {2, 63, 64, 65, 130, 131, 150}) {
        const FloatCriteria c{k, false};
        EXPECT_EQ(describe(ListFloats(*doc, c)), describe(bruteForce(*doc, c))) << k;
    }
    const FloatThreads t = FindFloatThreads(*doc, {130, true});
    EXPECT_EQ(t.endCount, 150 + 25); // ends on shaft 1 are up on all 130 picks
    EXPECT_EQ(t.pickCount, 0);       // the weft is under ends 0..149
    EXPECT_EQ(FindFloatThreads(*doc, {150, false}).pickCount, 130);
}

TEST(FloatSearch, ThresholdOneFindsWhatTwoFinds)
{
    std::mt19937 rng(7);
    auto doc = RandomDraft(DraftShape{}, rng);
    for (const bool face : {false, true}) {
        const FloatThreads one = FindFloatThreads(*doc, {1, face}), two = FindFloatThreads(*doc, {2, face});
        EXPECT_EQ(one.ends, two.ends);
        EXPECT_EQ(one.picks, two.picks);
        EXPECT_GT(one.endCount, 0);
    }
}

TEST(FloatSearch, FaceOnlyAndTheShedDirection)
{
    // Lowered on all 5 picks: a back float unless "Face only".
    for (const bool rising : {true, false}) {
        auto doc = oneEnd(std::vector<bool>(5, !rising), rising);
        EXPECT_EQ(FindFloatThreads(*doc, {5, true}).endCount, 0) << rising;
        EXPECT_EQ(FindFloatThreads(*doc, {5, false}).endCount, 1) << rising;
        EXPECT_EQ(FindFloatThreads(*doc, {6, false}).endCount, 0) << rising;
        // Lifted throughout: on the face in a rising shed only.
        doc = oneEnd(std::vector<bool>(5, true), rising);
        EXPECT_EQ(FindFloatThreads(*doc, {5, true}).endCount, rising ? 1 : 0);
    }
}

TEST(FloatSearch, RunsDoNotWrapAround)
{
    auto doc = oneEnd({true, true, false, false, true, true});
    EXPECT_TRUE(ListFloats(*doc, {3, true}).empty());
    const std::vector<FloatRun> expected = {
        {FloatDirection::Warp, 0, true, 0, 1, 2},
        {FloatDirection::Warp, 0, false, 2, 3, 2},
        {FloatDirection::Warp, 0, true, 4, 5, 2},
    };
    EXPECT_EQ(ListFloats(*doc, {2, false}), expected);
}

TEST(FloatSearch, BlankCellsEndWarpFloatsAndAreSkippedAlongAPick)
{
    // Ends on shafts 1, -, 1, 1 (end 2 unthreaded); treadle 1 lifts nothing.
    auto doc = NewDraft(2, 2);
    SetShafts(*doc, {1, 0, 1, 1});
    doc->raw().tieupMutable().setColumn(0, TUPTYPE());
    SetTreadles(*doc, {1, 1, 1});
    const std::vector<FloatRun> weft = {
        {FloatDirection::Weft, 0, true, 0, 3, 3},
        {FloatDirection::Weft, 1, true, 0, 3, 3},
        {FloatDirection::Weft, 2, true, 0, 3, 3},
    };
    std::vector<FloatRun> runs = ListFloats(*doc, {3, false});
    EXPECT_EQ(std::count_if(runs.begin(), runs.end(),
                            [](const FloatRun& r) { return r.thread == 1 && r.direction == FloatDirection::Warp; }),
              0)
        << "an unthreaded end has no warp floats";
    runs.erase(runs.begin(), runs.begin() + 3); // the warp floats of ends 0, 2, 3
    EXPECT_EQ(runs, weft);
}

TEST(FloatSearch, StepsThroughTheFoundThreads)
{
    auto doc = NewDraft(2, 2);
    SetShafts(*doc, {2, 2, 1, 2, 1, 1});
    SetTreadles(*doc, {1, 1, 1}); // shaft 1 up: the weft shows over ends 1, 2 and 4
    const FloatSearch s(*doc, FloatDirection::Weft, {2, true});
    EXPECT_EQ(s.found(), 3);
    EXPECT_EQ(s.next(-1), 0);
    EXPECT_EQ(s.next(0), 1);
    EXPECT_EQ(s.next(2), -1); // "That's all folks!"
    EXPECT_EQ(s.prev(-1), -1);
    EXPECT_EQ(s.prev(99), 2); // past the end: from the last thread
    EXPECT_EQ(s.prev(1), 0);
    const FloatSearch w(*doc, FloatDirection::Warp, {3, true});
    EXPECT_EQ(w.found(), 3);
    EXPECT_TRUE(w.has(2));
    EXPECT_FALSE(w.has(3));
    EXPECT_EQ(w.next(2), 4);
}

TEST(FloatSearch, ThresholdLengthNeverDividesByZero)
{
    auto doc = NewDraft();
    doc->raw().setUnits(1);
    doc->raw().setWarpSett(0, 0);
    doc->raw().setWeftSett(8, 0);
    const FloatLength warp = FloatThresholdLength(*doc, FloatDirection::Warp, 5);
    EXPECT_DOUBLE_EQ(warp.length, 0.5);
    EXPECT_EQ(warp.lengthUnit, "cm.");
    EXPECT_EQ(warp.settUnit, "ends/cm");
    EXPECT_DOUBLE_EQ(FloatThresholdLength(*doc, FloatDirection::Weft, 4).length, 0.5);
}

TEST(FloatSearch, MarkFloatWithAFullPaletteIsRefused)
{
    auto doc = NewDraft();
    SetShafts(*doc, {1, 2});
    FixedPrompter prompter;
    const COLORREF orange = rgb(255, 128, 0);
    Listener views(*doc);
    CommandResult r = MarkFloat(kUnrecorded, *doc, FloatDirection::Warp, 1, orange, prompter);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(views.paletteNotices, 1);
    const int mark = doc->palette().find(orange);
    EXPECT_EQ(doc->threading(0)->GetColor(1), mark);
    EXPECT_EQ(doc->threading(0)->defaultColor(), mark);
    EXPECT_TRUE(MarkFloat(kUnrecorded, *doc, FloatDirection::Warp, 0, orange, prompter).done());
    EXPECT_EQ(views.paletteNotices, 1); // the color is in the palette already
    SetShafts(*doc, {1, 2});            // thread colors back to the row's (the mark color)

    while (doc->palette().count() < kMaxColors)
        doc->raw().paletteMutable().add(rgb(1, 2, doc->palette().count()), false);
    r = MarkFloat(kUnrecorded, *doc, FloatDirection::Warp, 0, rgb(9, 9, 9), prompter);
    EXPECT_EQ(r.status, CommandResult::Status::Refused);
    EXPECT_EQ(prompter.lastMessage.rfind("Color palette is limited to 90 colors.", 0), 0u);
    EXPECT_EQ(doc->threading(0)->GetColor(0), mark);
}
