// Generate Draft: where the grid squares are looked at, and the draft whose
// drawdown must show exactly the dark ones.
#include "core/imagedraft/picturedraft.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/imagedraft/groupedanalysis.h"
#include "core/transform/sequencetools.h"

#include <gtest/gtest.h>

#include <random>

using namespace qb;

namespace {

// Warp-up cells of the draft: [pick][end].
std::vector<std::vector<bool>> drawdown(const CQuillabyDoc& doc)
{
    const DrawdownRows rows(doc, false);
    std::vector<std::vector<bool>> up(static_cast<std::size_t>(rows.picks()),
                                      std::vector<bool>(static_cast<std::size_t>(rows.ends())));
    for (int p = 0; p < rows.picks(); ++p) {
        const auto row = rows.row(p);
        for (int e = 0; e < rows.ends(); ++e) up[p][e] = (row.warpUp[e / 64] >> (e % 64)) & 1;
    }
    return up;
}

// What the probes see: [pick][end].
std::vector<std::vector<bool>> darkSquares(const RgbPicture& pic, GridSquares g)
{
    const ProbeGrid probes(pic.width, pic.height, g);
    std::vector<std::vector<bool>> dark(std::size_t(g.down), std::vector<bool>(std::size_t(g.across)));
    for (int p = 0; p < g.down; ++p)
        for (int e = 0; e < g.across; ++e) dark[p][e] = probes.dark(pic, e, p);
    return dark;
}

NewDraftDefaults defaults()
{
    NewDraftDefaults d;
    d.defaultColors = {0x000000};
    return d;
}

PictureDraft generate(const RgbPicture& pic, GridSquares g, const NewDraftDefaults& d = defaults())
{
    FixedPrompter p;
    return GenerateDraft(pic, g, d, p);
}

// A picture of w x h squares of `side` pixels, dark where `dark(column, row)`.
template <class F> RgbPicture squares(int w, int h, int side, F&& dark)
{
    RgbPicture p = RgbPicture::Blank(w * side, h * side);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (dark(x / side, y / side)) p.at(x, y) = 0xFF000000;
    return p;
}

} // namespace

TEST(ProbeGrid, HundredPixelsInTwoSquares)
{
    const ProbeGrid g(100, 100, {2, 2});
    EXPECT_EQ(g.squareWidth(), 50.0);
    EXPECT_EQ(g.squareHeight(), 50.0);
    EXPECT_EQ(g.probeHalfWidth(), 3);
    EXPECT_EQ(g.probeHalfHeight(), 3);
    EXPECT_EQ(g.centreColumn(0), 75); // end 1: the right half
    EXPECT_EQ(g.centreColumn(1), 25);
    EXPECT_EQ(g.centreRowFromBottom(0), 75); // pick 1: the top half
    EXPECT_EQ(g.centreRowFromBottom(1), 25);

    // The probe box is columns 72..77 and rows 72..77 from the bottom (22..27 from the top).
    for (const auto& [x, y, dark] : {std::tuple{72, 22, true},
                                     {77, 27, true},
                                     {71, 22, false},
                                     {78, 22, false},
                                     {72, 21, false},
                                     {72, 28, false}}) {
        RgbPicture p = RgbPicture::Blank(100, 100);
        p.at(x, y) = OpaqueRgb(127, 127, 127);
        EXPECT_EQ(g.dark(p, 0, 0), dark) << x << ',' << y;
        p.at(x, y) = OpaqueRgb(128, 128, 128); // grey 128 is not dark
        EXPECT_FALSE(g.dark(p, 0, 0));
    }
}

TEST(ProbeGrid, NarrowPictureReadsOnlyPixelsThatExist)
{
    // 10 pixels, 20 ends: squares of one pixel; ends past the picture see white.
    const ProbeGrid g(10, 4, {20, 2});
    EXPECT_EQ(g.squareWidth(), 1.0);
    EXPECT_EQ(g.probeHalfWidth(), 1);
    EXPECT_EQ(g.centreColumn(0), 10); // one past the last column
    RgbPicture p = RgbPicture::Blank(10, 4);
    for (int y = 0; y < 4; ++y) p.at(0, y) = 0xFF000000;
    std::vector<bool> seen;
    for (int e = 0; e < 20; ++e) seen.push_back(g.dark(p, e, 0));
    std::vector<bool> expected(20, false);
    expected[9] = expected[10] = true; // the boxes that reach column 0
    EXPECT_EQ(seen, expected);
    // The last column is read by end 1 although its centre lies outside.
    RgbPicture right = RgbPicture::Blank(10, 4);
    right.at(9, 0) = 0xFF000000;
    EXPECT_TRUE(g.dark(right, 0, 0));
}

TEST(GenerateDraft, DrawdownShowsExactlyTheDarkSquares)
{
    // Random pictures with few distinct columns, so the draft never fills:
    // every cell of the drawdown must be the probe's verdict.
    std::mt19937 rng(17);
    for (int round = 0; round < 30; ++round) {
        const int across = 2 + int(rng() % 30), down = 2 + int(rng() % 30);
        const int side = 2 + int(rng() % 8); // one-pixel squares: each probe straddles two
        std::vector<std::uint32_t> columnKinds(6);
        for (auto& k : columnKinds) k = rng();
        std::vector<int> kindOf(static_cast<std::size_t>(across));
        for (int& k : kindOf) k = int(rng() % 6);
        const RgbPicture pic =
            squares(across, down, side, [&](int c, int r) { return ((columnKinds[kindOf[c]] >> (r % 32)) & 1) != 0; });
        const GridSquares g{across, down};
        const PictureDraft made = generate(pic, g);
        ASSERT_TRUE(made.made.draft);
        EXPECT_FALSE(made.full);
        const CQuillabyDoc& doc = *made.made.draft;
        EXPECT_EQ(doc.numEnds(), across);
        EXPECT_EQ(doc.numPicks(), down);
        EXPECT_LE(doc.numShafts(), 6);
        EXPECT_FALSE(doc.isLiftplan());
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(doc.history().canUndo(), false);
        // End 1 is the rightmost column of squares.
        auto dark = darkSquares(pic, g);
        for (int p = 0; p < down; ++p) {
            std::vector<bool> mirrored(static_cast<std::size_t>(across));
            for (int e = 0; e < across; ++e) mirrored[e] = columnKinds[kindOf[across - 1 - e]] >> (p % 32) & 1;
            ASSERT_EQ(dark[p], mirrored) << "round " << round << " pick " << p;
        }
        ASSERT_EQ(drawdown(doc), dark) << "round " << round;
    }
}

TEST(GenerateDraft, WhiteBlackAndFull)
{
    const PictureDraft white = generate(RgbPicture::Blank(60, 40), {12, 8});
    ASSERT_TRUE(white.made.draft);
    EXPECT_EQ(white.made.draft->numEnds(), 12);
    EXPECT_EQ(white.made.draft->numPicks(), 8);
    for (const auto& row : drawdown(*white.made.draft))
        for (bool up : row) EXPECT_FALSE(up);

    // However large the grid, black needs one shaft and one treadle.
    const PictureDraft black = generate(RgbPicture::Blank(500, 300, 0xFF000000), {127, 90});
    ASSERT_TRUE(black.made.draft);
    EXPECT_EQ(black.made.draft->numShafts(), 1);
    EXPECT_EQ(black.made.draft->numTreadles(), 1);
    for (const auto& row : drawdown(*black.made.draft))
        for (bool up : row) EXPECT_TRUE(up);

    // A diagonal needs a shaft and a treadle per square: it stops after 63.
    const PictureDraft diagonal = generate(squares(127, 127, 2, [](int c, int r) { return c == r; }), {127, 127});
    ASSERT_TRUE(diagonal.made.draft);
    EXPECT_TRUE(diagonal.full);
    const CQuillabyDoc& d = *diagonal.made.draft;
    EXPECT_EQ(d.numShafts(), 63);
    EXPECT_EQ(d.numTreadles(), 63);
    EXPECT_EQ(d.numEnds(), 127);
    const auto cells = drawdown(d);
    int lifted = 0;
    for (int p = 0; p < 127; ++p)
        for (int e = 0; e < 127; ++e)
            if (cells[p][e]) {
                ++lifted;
                EXPECT_EQ(e, 126 - p); // end 1 is the rightmost square
                EXPECT_LT(e, 63);
            }
    EXPECT_EQ(lifted, 63);
}

TEST(GenerateDraft, DefaultsFormAndShedKeepTheCloth)
{
    const RgbPicture pic = squares(9, 7, 3, [](int c, int r) { return (c * 3 + r * r) % 5 < 2; });
    const auto plain = drawdown(*generate(pic, {9, 7}).made.draft);
    for (const bool liftplan : {false, true})
        for (const bool rising : {false, true}) {
            NewDraftDefaults d = defaults();
            d.liftplan = liftplan;
            d.risingShed = rising;
            d.shafts = 4;
            const auto made = generate(pic, {9, 7}, d);
            ASSERT_TRUE(made.made.draft);
            EXPECT_EQ(made.made.draft->isLiftplan(), liftplan);
            EXPECT_EQ(made.made.draft->isRisingShed(), rising);
            EXPECT_EQ(drawdown(*made.made.draft), plain) << liftplan << rising;
        }
}

TEST(GenerateDraft, RefusedWithoutAGridAndCancelledOnRequest)
{
    const RgbPicture pic = RgbPicture::Blank(20, 20, 0xFF000000);
    for (GridSquares g : {GridSquares{1, 5}, GridSquares{5, 1}, GridSquares{1, 1}}) {
        FixedPrompter p;
        const PictureDraft made = GenerateDraft(pic, g, defaults(), p);
        EXPECT_FALSE(made.made.draft);
        EXPECT_EQ(made.made.result.status, CommandResult::Status::Refused);
        EXPECT_EQ(p.lastMessage, kNeedGridSquares);
    }
    FixedPrompter p;
    EXPECT_FALSE(GenerateDraft(pic, {kMaxThreads + 1, 4}, defaults(), p).made.draft);
    EXPECT_NE(p.lastMessage.find("ends required"), std::string::npos) << p.lastMessage;

    std::vector<int> reported;
    const PictureDraft cancelled = GenerateDraft(pic, {10, 10}, defaults(), p, [&](int done, int total) {
        EXPECT_EQ(total, 10);
        reported.push_back(done);
        return done < 4;
    });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.made.draft);
    EXPECT_EQ(reported, (std::vector<int>{0, 1, 2, 3, 4}));

    reported.clear();
    const PictureDraft whole = GenerateDraft(pic, {3, 3}, defaults(), p, [&](int done, int) {
        reported.push_back(done);
        return true;
    });
    EXPECT_TRUE(whole.made.draft);
    EXPECT_EQ(reported, (std::vector<int>{0, 1, 2, 3}));
}

// Generation sets its cells on a stand-in draft: after every cell it must use
// the shafts and treadles the whole draft would, and in the end give the
// whole draft's threads and tieup.
TEST(GroupedAnalysis, ChangesExactlyAsTheWholeDraftWould)
{
    std::mt19937 rng(23);
    int fullRounds = 0;
    for (int round = 0; round < 40; ++round) {
        // Designs of a few kinds of column and row, or noise on grids large
        // enough to fill the loom.
        const bool noise = round % 4 == 3;
        const int across = (noise ? 60 : 2) + int(rng() % 70), down = (noise ? 60 : 2) + int(rng() % 70);
        const int kinds = 1 + int(rng() % 12), density = int(rng() % 100);
        std::vector<std::uint32_t> design(16);
        for (auto& d : design) d = rng();
        std::vector<int> columnKind(static_cast<std::size_t>(across)), rowKind(static_cast<std::size_t>(down));
        for (int& k : columnKind) k = int(rng() % kinds);
        for (int& k : rowKind) k = int(rng() % 32);
        const RgbPicture pic = squares(across, down, 2, [&](int c, int r) {
            if (noise) return int((std::uint32_t(c * 7919 + r * 104729 + round) * 2654435761u) >> 25) < density;
            return ((design[std::size_t(columnKind[c])] >> rowKind[r]) & 1) != 0 || density > 95;
        });
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << across << " x " << down);

        auto whole = std::make_unique<CQuillabyDoc>();
        whole->OnNewDocument(defaults());
        whole->raw().threadingMutable(0)->Append(across);
        whole->raw().treadlingMutable(0)->Append(down);
        GroupedAnalysis standIn(across, down, defaults());
        const ProbeGrid probes(pic.width, pic.height, {across, down});
        bool full = false;
        for (int e = 0; e < across && !full; ++e)
            for (int p = 0; p < down && !full; ++p) {
                if (!probes.dark(pic, e, p)) continue;
                ASSERT_EQ(standIn.shaftsInUse(), FindUsedShafts(*whole)) << e << ',' << p;
                ASSERT_EQ(standIn.treadlesInUse(), FindUsedTreadles(*whole)) << e << ',' << p;
                full = FindUsedShafts(*whole) >= 63 || FindUsedTreadles(*whole) >= 127;
                if (!full) ASSERT_EQ(standIn.lift(e, p), FabricAnalysisCell(kUnrecorded, *whole, e, p, true));
            }
        fullRounds += full;
        const auto made = standIn.finish();
        EXPECT_EQ(made->numShafts(), whole->numShafts());
        EXPECT_EQ(made->numTreadles(), whole->numTreadles());
        EXPECT_EQ(made->threading(0)->values(), whole->threading(0)->values());
        EXPECT_EQ(made->treadling(0)->values(), whole->treadling(0)->values());
        EXPECT_TRUE(made->tieup() == whole->tieup());
    }
    EXPECT_GE(fullRounds, 5);
}
