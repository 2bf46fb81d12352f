#include "core/draft/palettetools.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qb;

namespace {

constexpr COLORREF kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255), kBlack = rgb(0, 0, 0), kWhite = rgb(255, 255, 255);

std::unique_ptr<CQuillabyDoc> makeDoc(int ends, int picks, std::vector<COLORREF> palette)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = d.treadles = 4;
    doc->OnNewDocument(d);
    ColorPalette& pal = doc->raw().paletteMutable();
    pal.clear();
    for (COLORREF c : palette) pal.add(c, false);
    pal.setLeftColor(0);
    pal.setRightColor(1);
    doc->raw().threadingMutable(0)->setDefaultColor(0);
    doc->raw().treadlingMutable(0)->setDefaultColor(0);
    for (int e = 0; e < ends; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    for (int p = 0; p < picks; ++p) doc->SetTreadlingCell(kUnrecorded, p, 1 + p % 4);
    return doc;
}

// Every thread and both rows' default colors get palette index `c`.
void paintAll(CQuillabyDoc& doc, int c)
{
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, doc.numEnds() - 1, c);
    doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, doc.numPicks() - 1, c);
    doc.raw().threadingMutable(0)->setDefaultColor(c);
    doc.raw().threadingMutable(0)->setAlternateColor(c);
    doc.raw().treadlingMutable(0)->setDefaultColor(c);
    doc.raw().treadlingMutable(0)->setAlternateColor(c);
}

} // namespace

TEST(ClearPalette, RedOnlyDraftKeepsBlackWhiteAndRed)
{
    auto doc = makeDoc(6, 6, {kBlue, kWhite, kRed, rgb(1, 2, 3)});
    paintAll(*doc, 2);
    doc->raw().paletteMutable().setName(2, "cherry");
    doc->Transaction("Paint", [&](Edit s) {
        doc->SetThreadColors(s, Side::Threading, 0, 0, 2, 0);
        doc->SetThreadColors(s, Side::Threading, 1, 1, 3, 0);
    });
    doc->SetThreadColors(kUnrecorded, Side::Threading, 1, 1, 2);
    const std::string before = WifText(*doc, "d");
    doc->Transaction("Clear Palette", [&](Edit e) { ClearPalette(e, *doc); });
    const ColorPalette& p = doc->palette();
    ASSERT_EQ(p.colors(), (std::vector<COLORREF>{kBlack, kWhite, kRed}));
    EXPECT_EQ(p.name(2), "cherry");
    for (int e = 0; e < doc->numEnds(); ++e) EXPECT_EQ(doc->threading(0)->GetColor(e), 2);
    EXPECT_EQ(doc->treadling(0)->GetColor(3), 2);
    // New threads take the row's default color, which must follow too.
    EXPECT_EQ(doc->threading(0)->defaultColor(), 2);
    EXPECT_EQ(doc->treadling(0)->alternateColor(), 2);
    EXPECT_EQ(p.leftColor(), 0);
    EXPECT_EQ(p.rightColor(), 1);
    EXPECT_TRUE(doc->isModified());
    // One step back brings the old palette and indexes, the one before still
    // replays the old indexes correctly.
    doc->Undo();
    EXPECT_EQ(WifText(*doc, "d"), before);
    doc->Undo();
    EXPECT_EQ(doc->threading(0)->GetColor(0), 2);
}

TEST(ClearPalette, NeverPushesAUsedColorOut)
{
    // 90 colors, none black or white, each used by one end.
    std::vector<COLORREF> colors;
    for (int i = 0; i < kMaxColors; ++i) colors.push_back(rgb(10 + i, 20, 30));
    auto doc = makeDoc(kMaxColors, 2, colors);
    for (int e = 0; e < kMaxColors; ++e) doc->SetThreadColors(kUnrecorded, Side::Threading, e, e, e);
    doc->raw().threadingMutable(0)->setDefaultColor(5);
    doc->raw().threadingMutable(0)->setAlternateColor(6);
    doc->raw().treadlingMutable(0)->setDefaultColor(7);
    doc->raw().treadlingMutable(0)->setAlternateColor(7);
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 1, 7);
    ClearPalette(kUnrecorded, *doc);
    ASSERT_EQ(doc->palette().count(), kMaxColors);
    for (int e = 0; e < kMaxColors; ++e)
        EXPECT_EQ(doc->palette().color(doc->threading(0)->GetColor(e)), rgb(10 + e, 20, 30)) << e;
}

TEST(ClearPalette, DropsUnusedColorsAndKeepsOrderOfUse)
{
    auto doc = makeDoc(4, 2, {kBlue, kRed, rgb(0, 255, 0), rgb(9, 9, 9)});
    paintAll(*doc, 3);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 1, 1, 2);
    ClearPalette(kUnrecorded, *doc);
    EXPECT_EQ(doc->palette().colors(), (std::vector<COLORREF>{kBlack, kWhite, rgb(9, 9, 9), rgb(0, 255, 0)}));
    EXPECT_EQ(doc->threading(0)->GetColor(1), 3);
    EXPECT_EQ(doc->threading(0)->GetColor(0), 2);
}

TEST(PlaceNewColor, ReusesAddsOrOverwritesOnlyUnusedEntries)
{
    {
        auto doc = makeDoc(2, 2, {kBlue, kRed, kWhite, kBlack, rgb(1, 1, 1), rgb(5, 5, 5)});
        EXPECT_EQ(PlaceNewColor(kUnrecorded, *doc, rgb(5, 5, 5)), 5) << "an equal color is selected, not added";
        EXPECT_EQ(doc->palette().count(), 6);
        EXPECT_EQ(PlaceNewColor(kUnrecorded, *doc, rgb(7, 7, 7)), 6);
        EXPECT_EQ(doc->palette().count(), 7);
    }
    std::vector<COLORREF> full;
    for (int i = 0; i < kMaxColors; ++i) full.push_back(rgb(i, 100, 100));
    {
        auto doc = makeDoc(3, 3, full);
        paintAll(*doc, 4);
        doc->SetThreadColors(kUnrecorded, Side::Threading, 0, 0, 2);
        doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 3);
        // 0 and 1 are unused but never overwritten; 2 and 3 are used.
        const int at = PlaceNewColor(kUnrecorded, *doc, rgb(200, 0, 0));
        EXPECT_EQ(at, 5);
        EXPECT_EQ(doc->palette().color(5), rgb(200, 0, 0));
        EXPECT_EQ(doc->palette().color(0), rgb(0, 100, 100));
        // Indexes to keep (the other button's color) are skipped too.
        EXPECT_EQ(PlaceNewColor(kUnrecorded, *doc, rgb(201, 0, 0), {5, 6}), 7);
    }
    {
        auto doc = makeDoc(kMaxColors, 1, full);
        for (int e = 0; e < kMaxColors; ++e) doc->SetThreadColors(kUnrecorded, Side::Threading, e, e, e);
        EXPECT_EQ(PlaceNewColor(kUnrecorded, *doc, rgb(200, 0, 0)), -1);
        EXPECT_EQ(doc->palette().colors(), full);
    }
}

TEST(ColorOrder, RunsAndTotals)
{
    auto doc = makeDoc(8, 1, {kBlue, kRed, kWhite});
    const int colors[] = {0, 0, 1, 1, 1, 2, 0, 0};
    for (int e = 0; e < 8; ++e) doc->SetThreadColors(kUnrecorded, Side::Threading, e, e, colors[e]);
    EXPECT_EQ(ColorRuns(*doc->threading(0), 8), (std::vector<ColorRun>{{0, 2}, {1, 3}, {2, 1}, {0, 2}}));
    EXPECT_EQ(ColorTotals(*doc->threading(0), 8), (std::vector<ColorRun>{{0, 4}, {1, 3}, {2, 1}}));
    EXPECT_TRUE(ColorRuns(*doc->threading(0), 0).empty());
}

TEST(Fill, PatternsStartWithTheFirstColorAndContinueOnNewThreads)
{
    auto doc = makeDoc(6, 1, {kBlue, kRed, kWhite, kBlack, rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(7, 7, 7)});
    auto colors = [&] {
        std::vector<int> c;
        for (int e = 0; e < 8; ++e) c.push_back(doc->threading(0)->GetColor(e));
        return c;
    };
    // Fill Warp passes the right button's color (7) first, the left (3) second.
    doc->Transaction("Fill Warp", [&](Edit e) { FillThreadColors(e, *doc, Side::Threading, 0, 2, 7, 3); });
    doc->SetThreadingCell(kUnrecorded, 7, 1); // two ends added later
    EXPECT_EQ(colors(), (std::vector<int>{7, 7, 3, 3, 7, 7, 3, 3}));
    doc->Transaction("Fill Warp", [&](Edit e) { FillThreadColors(e, *doc, Side::Threading, 0, 1, 7, 3); });
    EXPECT_EQ(colors(), (std::vector<int>{3, 7, 3, 7, 3, 7, 3, 7}));
    doc->Transaction("Fill Warp", [&](Edit e) { FillThreadColors(e, *doc, Side::Threading, 0, 0, 5, 3); });
    EXPECT_EQ(colors(), (std::vector<int>(8, 5)));
    EXPECT_FALSE(FillThreadColors(kUnrecorded, *doc, Side::Threading, 0, 0, 5, 3)) << "nothing to change";
    doc->Undo();
    EXPECT_EQ(colors(), (std::vector<int>{3, 7, 3, 7, 3, 7, 3, 7}));
}

TEST(ReplaceColor, RecolorsThreadsAndTheRowsColorsForLaterThreads)
{
    auto doc = makeDoc(4, 4, {kBlue, kRed, kWhite, kBlack});
    paintAll(*doc, 2);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 1, 1, 0);
    doc->raw().threadingMutable(0)->setDefaultColor(2);
    doc->raw().threadingMutable(0)->setAlternateColor(2);
    const std::string before = WifText(*doc, "d");
    EXPECT_TRUE(doc->Transaction("Replace Color", [&](Edit e) { ReplaceThreadColor(e, *doc, 2, 3, true, false); }));
    EXPECT_EQ(doc->threading(0)->GetColor(0), 3);
    EXPECT_EQ(doc->threading(0)->GetColor(1), 0);
    EXPECT_EQ(doc->threading(0)->alternateColor(), 3);
    EXPECT_EQ(doc->treadling(0)->GetColor(0), 2) << "the weft was not chosen";
    EXPECT_FALSE(ReplaceThreadColor(kUnrecorded, *doc, 1, 3, true, true)) << "nothing uses color 1";
    doc->Undo();
    EXPECT_EQ(WifText(*doc, "d"), before);
    doc->Redo();
    doc->SetThreadingCell(kUnrecorded, 9, 1);
    EXPECT_EQ(doc->threading(0)->GetColor(9), 3) << "an end added later takes the new color";
}
