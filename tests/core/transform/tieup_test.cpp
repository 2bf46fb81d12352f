// Worked cases of the tieup, liftplan and reduction commands.

#include "tests/core/transform/drafts.h"

#include "core/transform/addtabby.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/optimize.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"

#include <gtest/gtest.h>

using namespace qbtest;

namespace {
TUPTYPE shafts(std::initializer_list<int> list)
{
    TUPTYPE t;
    for (int s : list) t.set(s);
    return t;
}
} // namespace

TEST(ConvertToTieup, OneTreadlePerDistinctLiftInFirstUseOrder)
{
    auto doc = NewDraft(8, 8);
    FixedPrompter p;
    ConvertToLiftplan(kUnrecorded, *doc, p);
    ASSERT_TRUE(doc->isLiftplan());
    Treadling& t = *doc->raw().treadlingMutable(0);
    const std::vector<TUPTYPE> lifts = {shafts({1, 3}), shafts({2}), shafts({1, 3}), shafts({5, 6, 7}), shafts({2})};
    for (int i = 0; i < 5; ++i) t.SetShafts(i, lifts[i]);
    ConvertToTieup(kUnrecorded, *doc, p);
    EXPECT_FALSE(doc->isLiftplan());
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{1, 2, 1, 3, 2}));
    EXPECT_EQ(doc->tieup().column(0), shafts({1, 3}));
    EXPECT_EQ(doc->tieup().column(2), shafts({5, 6, 7}));
    EXPECT_TRUE(doc->tieup().column(3).empty());
    EXPECT_EQ(doc->numTreadles(), 8);
}

TEST(ConvertToTieup, DecliningTheOverflowChangesNothingNotEvenTheHistory)
{
    auto doc = NewDraft(8, 8);
    FixedPrompter yes(true);
    ConvertToLiftplan(kUnrecorded, *doc, yes);
    // 200 distinct lifts over 8 shafts do not fit 128 treadles.
    for (int i = 0; i < 200; ++i) doc->raw().treadlingMutable(0)->SetShafts(i, TUPTYPE(std::uint64_t(i % 255 + 1)));
    doc->Transaction("Pencil", [&](Edit e) { doc->SetThreadingCell(e, 0, 1, 0); });
    const std::string before = State(*doc);
    FixedPrompter no(false);
    doc->Transaction("Convert",
                     [&](Edit e) { EXPECT_EQ(ConvertToTieup(e, *doc, no).status, CommandResult::Status::Declined); });
    EXPECT_EQ(doc->history().undoName(), "Pencil");
    EXPECT_EQ(no.lastQuestion, "Not enough treadles to convert to tieup, continue anyway?\n");
    EXPECT_EQ(State(*doc), before);
    EXPECT_TRUE(doc->history().canUndo());

    // Switching multiple treadles off asks first; No changes nothing either.
    EXPECT_EQ(SetMultipleTreadles(kUnrecorded, *doc, false, no).status, CommandResult::Status::Declined);
    EXPECT_EQ(State(*doc), before);
}

TEST(ConvertToLiftplan, DirectSquareTieupKeepsEveryPick)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4});
    SetTreadles(*doc, {4, 3, 2, 1});
    FixedPrompter p;
    ConvertToLiftplan(kUnrecorded, *doc, p);
    EXPECT_TRUE(doc->isLiftplan());
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{4, 3, 2, 1}));

    // User-defined treadling notation cannot stay: asked first, No cancels.
    auto sym = NewDraft(4, 6);
    sym->raw().notations.treadling = 5;
    FixedPrompter no(false);
    EXPECT_EQ(ConvertToLiftplan(kUnrecorded, *sym, no).status, CommandResult::Status::Declined);
    EXPECT_NE(no.lastQuestion.find("user-defined characters"), std::string::npos);
    EXPECT_FALSE(sym->isLiftplan());
    EXPECT_TRUE(ConvertToLiftplan(kUnrecorded, *sym, p).done());
    EXPECT_NE(sym->notations().treadling, 5);

    // Several wefts with a tieup that is not direct: nothing happens.
    auto two = NewDraft(4, 6);
    two->SetNumRows(kUnrecorded, Side::Treadling, 2);
    EXPECT_FALSE(ConvertToLiftplan(kUnrecorded, *two, p).done());
    EXPECT_FALSE(two->isLiftplan());
}

TEST(Optimize, IdenticalShaftRowsMerge)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 4});
    SetTreadles(*doc, {1, 2, 3});
    Tieup& tu = doc->raw().tieupMutable();
    for (int t = 0; t < 4; ++t) tu.setColumn(t, TUPTYPE());
    tu.setColumn(0, shafts({1, 2, 4}));
    tu.setColumn(1, shafts({3}));
    tu.setColumn(2, shafts({2, 4}));
    FixedPrompter p;
    Optimize(kUnrecorded, *doc, Side::Threading, p);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 2, 2}));
    EXPECT_EQ(doc->numShafts(), 4);
    for (int t = 0; t < 4; ++t) EXPECT_FALSE(doc->tieup().cell(t, 4));

    // Liftplan form is refused with a message, the draft untouched.
    auto lp = NewDraft(4, 4);
    ConvertToLiftplan(kUnrecorded, *lp, p);
    const std::string before = State(*lp);
    EXPECT_EQ(Optimize(kUnrecorded, *lp, Side::Threading, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(State(*lp), before);
}

TEST(TurnDraft, SizesAndRefusals)
{
    auto doc = NewDraft(4, 6);
    SetShafts(*doc, {1, 2, 3, 4});
    SetTreadles(*doc, {1, 2, 3, 4, 5, 6});
    FixedPrompter p;
    ASSERT_TRUE(TurnDraft(kUnrecorded, *doc, p).done());
    EXPECT_EQ(doc->numShafts(), 6);
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    auto wide = NewDraft(8, 128);
    SetTreadles(*wide, {65});
    const std::string before = State(*wide);
    EXPECT_EQ(TurnDraft(kUnrecorded, *wide, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(p.lastMessage, "Cannot turn draft.\n\nNumber of shafts needed (65)\nexceeds maximum available.");
    EXPECT_EQ(State(*wide), before);

    auto multi = NewDraft(4, 4);
    multi->SetMultipleTreadles(kUnrecorded, true);
    EXPECT_EQ(TurnDraft(kUnrecorded, *multi, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(p.lastMessage, "Cannot turn draft with multiple treadles enabled.");
}

TEST(TurnDraft, SeveralWarpsTurnAsOneUndoStep)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2});
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    doc->Transaction("Pencil", [&](Edit e) { doc->SetThreadingCell(e, 2, 3, 0); });
    const std::string before = State(*doc);
    FixedPrompter no(false);
    doc->Transaction("Turn Draft", [&](Edit e) { ASSERT_TRUE(TurnDraft(e, *doc, no).done()); });
    EXPECT_EQ(no.questions, 0) << "nothing to warn about: the turn can be undone";
    EXPECT_EQ(doc->numWefts(), 2);
    EXPECT_EQ(doc->numWarps(), 1);
    doc->Undo();
    EXPECT_EQ(State(*doc), before);
    doc->Undo();
    EXPECT_EQ(doc->numEnds(), 2);
}

TEST(AddTabby, AlternatesTabbyAndGroundPicks)
{
    auto doc = NewDraft(4, 6);
    SetTreadles(*doc, {3, 4, 5});
    FixedPrompter p;
    AddTabbyOptions o;
    o.groundTreadles = 2;
    o.tabbyColor = 0x123456;
    ASSERT_TRUE(AddTabby(kUnrecorded, *doc, o, p).done());
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{1, 3, 2, 4, 1, 5}));
    const int color = doc->palette().find(0x123456);
    ASSERT_GE(color, 0);
    EXPECT_EQ(doc->treadling(0)->GetColor(0), color);
    EXPECT_EQ(doc->treadling(0)->GetColor(2), color);
    EXPECT_NE(doc->treadling(0)->GetColor(1), color);
}

TEST(AddTabby, FullPaletteReusesAnUnusedEntry)
{
    auto doc = NewDraft(4, 4);
    SetTreadles(*doc, {1, 2});
    ColorPalette& pal = doc->raw().paletteMutable();
    while (pal.count() < kMaxColors) pal.add(0x100000 + pal.count(), false);
    // Threads use colors 0..4; entry 5 is the first unused from index 2 on.
    for (int i = 0; i < 2; ++i) doc->raw().treadlingMutable(0)->SetColor(i, 0);
    doc->raw().treadlingMutable(0)->setDefaultColor(0);
    for (int i = 0; i < 5; ++i) {
        doc->raw().threadingMutable(0)->Append(1);
        doc->raw().threadingMutable(0)->SetColor(i, i);
    }
    FixedPrompter p;
    AddTabbyOptions o;
    o.tabbyColor = 0xABCDEF;
    Listener views(*doc);
    AddTabby(kUnrecorded, *doc, o, p);
    EXPECT_EQ(views.paletteNotices, 1);
    EXPECT_EQ(doc->palette().count(), kMaxColors);
    EXPECT_EQ(doc->palette().find(0xABCDEF), 5);
    EXPECT_EQ(doc->palette().name(5), "color6");
    EXPECT_EQ(doc->treadling(0)->GetColor(0), 5);
}

TEST(AddTabby, AddedTreadlesShiftTheOldOnesWithTheirTieup)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4});
    SetTreadles(*doc, {1, 2, 3, 4});
    const auto before = Drawdown(*doc);
    FixedPrompter p;
    AddTabbyOptions o;
    o.groundTreadles = 2;
    o.addTreadles = true;
    ASSERT_TRUE(AddTabby(kUnrecorded, *doc, o, p).done());
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{1, 3, 2, 4, 1, 5, 2, 6}));
    EXPECT_TRUE(doc->tieup().column(0).empty());
    EXPECT_TRUE(doc->tieup().column(1).empty());
    for (int k = 0; k < 4; ++k)
        for (int e = 0; e < 4; ++e) EXPECT_EQ(DrawdownCell(*doc, e, 2 * k + 1), before[k * 4 + e]);
}

TEST(AddTabby, Refusals)
{
    FixedPrompter p;
    AddTabbyOptions o;
    o.groundTreadles = 3;
    o.addTreadles = true;
    auto full = NewDraft(8, 126);
    SetTreadles(*full, {1});
    EXPECT_EQ(AddTabby(kUnrecorded, *full, o, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(p.lastMessage, "Number of treadles required (129),\nto add tabby exceeds program capabilities.");

    // Without added treadles the tabby treadles must exist.
    auto small = NewDraft(2, 2);
    SetTreadles(*small, {1});
    o.addTreadles = false;
    EXPECT_EQ(AddTabby(kUnrecorded, *small, o, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(small->numPicks(), 1);

    auto longer = NewDraft(4, 4);
    longer->raw().treadlingMutable(0)->Append(20000);
    o.groundTreadles = 2;
    EXPECT_EQ(AddTabby(kUnrecorded, *longer, o, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(longer->numPicks(), 20000);
}

TEST(LiftplanPicture, GrayThresholdWidthAndThreading)
{
    EXPECT_EQ(PixelGray(0xFFFAFAFA), 250);
    EXPECT_FALSE(PixelPresses(0xFFFAFAFA));
    EXPECT_TRUE(PixelPresses(0xFFF9F9F9));
    EXPECT_TRUE(PixelPresses(0xFF000000));
    EXPECT_FALSE(PixelPresses(0x00000000)); // transparent
    const std::uint8_t grays[3] = {250, 249, 0};
    const PixelGrid g = PixelGrid::FromGray(3, 1, grays);
    EXPECT_FALSE(PixelPresses(g.at(0, 0)));
    EXPECT_TRUE(PixelPresses(g.at(1, 0)));
    EXPECT_TRUE(PixelPresses(g.at(2, 0)));
    // Pure colors: red 76, green 150, blue 28.
    EXPECT_EQ(PixelGray(0xFFFF0000), 76);
    EXPECT_EQ(PixelGray(0xFF00FF00), 150);
    EXPECT_EQ(PixelGray(0xFF0000FF), 28);

    auto doc = NewDraft(8, 8);
    PixelGrid pic{8, 3, std::vector<std::uint32_t>(24, 0xFFFFFFFF)};
    pic.argb[0] = 0xFF000000;      // row 0, column 0
    pic.argb[8 + 7] = 0xFF000000;  // row 1, column 7
    pic.argb[16 + 2] = 0xFFF9F9F9; // row 2, column 2
    pic.argb[16 + 3] = 0xFFF9F9F9; // row 2, column 3
    doc->raw().weaving.markers = {1, 2};
    FixedPrompter p;
    ASSERT_TRUE(LiftplanFromPicture(kUnrecorded, *doc, pic, false, p).done());
    EXPECT_EQ(doc->numPicks(), 3);
    EXPECT_EQ(doc->treadling(0)->GetSet(0), TreadleSet(0b1, 0));
    EXPECT_EQ(doc->treadling(0)->GetSet(1), TreadleSet(0b10000000, 0));
    EXPECT_EQ(doc->treadling(0)->GetSet(2), TreadleSet(0b1100, 0));
    EXPECT_TRUE(doc->multipleTreadles());
    EXPECT_TRUE(doc->weaving().markers.empty());
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1}));

    auto flipped = NewDraft(8, 8);
    LiftplanFromPicture(kUnrecorded, *flipped, pic, true, p);
    EXPECT_EQ(flipped->treadling(0)->GetSet(0), TreadleSet(0b10000000, 0));
    EXPECT_EQ(Shafts(*flipped), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    // In liftplan form the draft stays a liftplan: treadles are the shafts.
    auto lp = NewDraft(8, 8);
    ConvertToLiftplan(kUnrecorded, *lp, p);
    PixelGrid one{5, 2, std::vector<std::uint32_t>(10, 0xFF000000)};
    ASSERT_TRUE(LiftplanFromPicture(kUnrecorded, *lp, one, false, p).done());
    EXPECT_TRUE(lp->isLiftplan());
    EXPECT_TRUE(lp->multipleTreadles());
    EXPECT_EQ(lp->numTreadles(), lp->numShafts());
    EXPECT_EQ(LiftedShafts(*lp, 1), TUPTYPE(0b11111));

    // Wider than a direct tieup can reach: cut to 64 columns and told.
    auto wide = NewDraft(8, 8);
    PixelGrid big{200, 1, std::vector<std::uint32_t>(200, 0xFF000000)};
    auto r = LiftplanFromPicture(kUnrecorded, *wide, big, false, p);
    EXPECT_TRUE(r.done());
    EXPECT_EQ(wide->numTreadles(), 64);
    EXPECT_EQ(wide->numShafts(), 64);
    EXPECT_EQ(wide->treadling(0)->GetSet(0).count(), 64);
    EXPECT_FALSE(p.lastMessage.empty());
}
