// Echo, interleave, overlay, append and expand on the open draft.
#include "tests/core/transform/drafts.h"

#include "core/transform/expand.h"
#include "core/transform/interleave.h"
#include "core/transform/overlay.h"

#include <gtest/gtest.h>

using namespace qbtest;

namespace {

std::vector<COLORREF> endColors(const CQuillabyDoc& doc)
{
    std::vector<COLORREF> out;
    for (int e = 0; e < doc.numEnds(); ++e) out.push_back(WarpColor(doc, e));
    return out;
}

std::vector<COLORREF> pickColors(const CQuillabyDoc& doc)
{
    std::vector<COLORREF> out;
    for (int p = 0; p < doc.numPicks(); ++p) out.push_back(WeftColor(doc, p));
    return out;
}

std::vector<int> sets(const CQuillabyDoc& doc)
{
    std::vector<int> out;
    for (const TreadleSet& s : doc.treadling(0)->values()) out.push_back(static_cast<int>(s.lo()));
    return out;
}

void fillPalette(CQuillabyDoc& doc)
{
    while (doc.palette().count() < kMaxColors) doc.raw().paletteMutable().add(rgb(7, 7, doc.palette().count()), false);
}

constexpr COLORREF kBlack = 0, kLight = 0xC0C0C0, kGrey = 0x808080;

} // namespace

TEST(Echo, TwoEchoesOfFourOnEightShafts)
{
    auto doc = NewDraft(8, 8);
    SetShafts(*doc, {7, 0, 1});
    FixedPrompter p;
    const CommandResult r = EchoThreading(kUnrecorded, *doc, {2, 4}, p);
    ASSERT_TRUE(r.done());
    EXPECT_TRUE(r.fitToWindow);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{7, 3, 7, 0, 0, 0, 1, 5, 1}));
    EXPECT_EQ(endColors(*doc),
              (std::vector<COLORREF>{kBlack, kLight, kGrey, kBlack, kLight, kGrey, kBlack, kLight, kGrey}));
    const EchoSettings stored{9, 0};
    EXPECT_EQ(stored.clamped().numEchos, 3);
    EXPECT_EQ(stored.clamped().offset, 1);
}

TEST(Echo, TreadlingMovesEachFurtherWeftOneTreadle)
{
    auto doc = NewDraft(4, 4);
    SetTreadles(*doc, {1, 4, 2});
    doc->SetNumRows(kUnrecorded, Side::Treadling, 3);
    FixedPrompter p;
    ASSERT_TRUE(EchoTreadling(kUnrecorded, *doc, p).done());
    EXPECT_EQ(Treadles(*doc, 1), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(Treadles(*doc, 2), (std::vector<int>{3, 2, 4}));

    // Weft rows bound to the color bars: No to the guard changes nothing.
    doc->SetNumRows(kUnrecorded, Side::Treadling, 4);
    doc->raw().setCorrelation(2, true);
    FixedPrompter no(false);
    const std::string before = State(*doc);
    EXPECT_EQ(EchoTreadling(kUnrecorded, *doc, no).status, CommandResult::Status::Declined);
    EXPECT_EQ(State(*doc), before);
}

TEST(Interleave, LengthsFollowTheShorterSequence)
{
    struct Case {
        int own, other, expected;
    } cases[] = {{10, 6, 16}, {6, 10, 12}};
    for (const Case& c : cases) {
        auto doc = NewDraft(4, 4), other = NewDraft(4, 4);
        SetShafts(*doc, std::vector<int>(c.own, 1));
        SetShafts(*other, std::vector<int>(c.other, 2));
        FixedPrompter p;
        ASSERT_TRUE(InterleaveThreading(kUnrecorded, *doc, {other.get()}, p).done());
        const std::vector<int> shafts = Shafts(*doc);
        ASSERT_EQ(static_cast<int>(shafts.size()), c.expected) << c.own << " with " << c.other;
        const int paired = 2 * std::min(c.own, c.other);
        for (int i = 0; i < c.expected; ++i) EXPECT_EQ(shafts[i], i < paired && i % 2 ? 2 : 1) << i;
    }
}

TEST(Interleave, RaisesTheShaftsAnotherThreadingUses)
{
    auto doc = NewDraft(8, 8), other = NewDraft(12, 12);
    SetShafts(*doc, {1, 2});
    SetShafts(*other, {12, 9});
    FixedPrompter p;
    ASSERT_TRUE(InterleaveThreading(kUnrecorded, *doc, {other.get()}, p).done());
    EXPECT_EQ(doc->numShafts(), 12);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 12, 2, 9}));
}

TEST(Interleave, RefusesBeforeChangingAnything)
{
    auto doc = NewDraft(4, 4), other = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3});
    SetShafts(*other, {4, 4, 4});
    fillPalette(*doc); // no room for the grey of the other threading
    const std::string before = State(*doc);
    FixedPrompter p;
    CommandResult r = InterleaveThreading(kUnrecorded, *doc, {other.get()}, p);
    EXPECT_EQ(r.status, CommandResult::Status::Refused);
    EXPECT_EQ(p.lastMessage.rfind("Color palette is limited to 90 colors.", 0), 0u);
    EXPECT_EQ(State(*doc), before);

    doc = NewDraft(4, 4);
    SetShafts(*doc, std::vector<int>(20000, 1));
    SetShafts(*other, std::vector<int>(20000, 2));
    r = InterleaveThreading(kUnrecorded, *doc, {other.get()}, p);
    EXPECT_EQ(r.status, CommandResult::Status::Refused);
    EXPECT_NE(p.lastMessage.find("Number of ends required (40000)"), std::string::npos);
    EXPECT_EQ(doc->numEnds(), 20000);
}

TEST(Interleave, TreadlingInLiftplanFormTakesTheLifts)
{
    auto doc = NewDraft(4, 4), other = NewDraft(4, 4);
    doc->raw().setLoomRaw(4, 4, true);
    doc->raw().treadlingMutable(0)->setMultiple(true);
    doc->raw().treadlingMutable(0)->SetShafts(0, TUPTYPE(0b0001));
    doc->raw().tieupMutable().makeDirect();
    other->raw().tieupMutable().setColumn(1, TUPTYPE(0b1010)); // treadle 2 lifts shafts 2 and 4
    SetTreadles(*other, {2});
    FixedPrompter p;
    ASSERT_TRUE(InterleaveTreadling(kUnrecorded, *doc, {other.get()}, p).done());
    EXPECT_EQ(sets(*doc), (std::vector<int>{0b0001, 0b1010}));
    EXPECT_EQ(pickColors(*doc), (std::vector<COLORREF>{kBlack, kLight}));
}

TEST(Overlay, CombinesEveryPegplanOverTheCommonPicks)
{
    auto doc = NewDraft(4, 4), shorter = NewDraft(4, 4), longer = NewDraft(4, 4);
    SetTreadles(*doc, {1, 1, 1, 1});
    SetTreadles(*shorter, {2, 2});
    SetTreadles(*longer, {3, 3, 3, 3, 3, 4});
    FixedPrompter p;
    ASSERT_TRUE(OverlayPegplan(kUnrecorded, *doc, {shorter.get(), longer.get()}, p).done());
    EXPECT_TRUE(doc->multipleTreadles());
    // The draft's own picks 3 and 4 survive the shorter pegplan; the longer
    // one's extra picks come in unchanged.
    EXPECT_EQ(sets(*doc), (std::vector<int>{0b0111, 0b0111, 0b0101, 0b0101, 0b0100, 0b1000}));
}

TEST(Overlay, ChecksBeforeSwitchingMultipleTreadles)
{
    auto doc = NewDraft(4, 4), peg = NewDraft(4, 4);
    SetTreadles(*doc, {1});
    FixedPrompter p;
    EXPECT_EQ(OverlayPegplan(kUnrecorded, *doc, {}, p).status, CommandResult::Status::NoChange);
    EXPECT_FALSE(doc->multipleTreadles());
    doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    EXPECT_EQ(OverlayPegplan(kUnrecorded, *doc, {peg.get()}, p).status, CommandResult::Status::NoChange);
    EXPECT_FALSE(doc->multipleTreadles());
}

TEST(Append, CarriesColorsThroughThePalette)
{
    auto doc = NewDraft(4, 4), other = NewDraft(4, 6);
    SetTreadles(*doc, {1});
    SetTreadles(*other, {6, 2});
    const COLORREF orange = rgb(255, 128, 0);
    const int orangeThere = other->raw().paletteMutable().add(orange, false);
    other->raw().treadlingMutable(0)->SetColor(0, orangeThere);
    other->raw().treadlingMutable(0)->SetColor(1, 2); // the same index names other colors in each palette
    other->raw().paletteMutable().setColor(2, rgb(1, 2, 3));
    const int before = doc->palette().count();
    FixedPrompter p;
    Listener views(*doc);
    const CommandResult r = AppendTreadling(kUnrecorded, *doc, *other, p);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(views.paletteNotices, 1);
    EXPECT_EQ(doc->palette().count(), before + 2);
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{1, 6, 2}));
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(pickColors(*doc)[1], orange);
    EXPECT_EQ(pickColors(*doc)[2], rgb(1, 2, 3));

    fillPalette(*doc);
    other->raw().paletteMutable().setColor(2, rgb(3, 2, 1));
    const std::string state = State(*doc);
    EXPECT_EQ(AppendTreadling(kUnrecorded, *doc, *other, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(State(*doc), state);
}

TEST(Expand, RepeatsEveryThreadInPlace)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4});
    Threading& t = *doc->raw().threadingMutable(0);
    t.SetThick(1, true);
    t.SetSymbol(2, 'x');
    t.SetColor(3, 2);
    t.AddLabel({1, 2, "b"});
    FixedPrompter p;
    ASSERT_TRUE(ExpandThreads(kUnrecorded, *doc, Side::Threading, 3, p).done());
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}));
    const Threading& e = *doc->threading(0);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(e.GetThick(i) != 0, i / 3 == 1) << i;
        EXPECT_EQ(e.GetSymbol(i), i / 3 == 2 ? 'x' : 0) << i;
        EXPECT_EQ(e.GetColor(i) == 2, i / 3 == 3) << i;
    }
    ASSERT_NE(e.FindLabel(3, 6), nullptr);

    SetTreadles(*doc, std::vector<int>(2000, 1));
    EXPECT_EQ(ExpandThreads(kUnrecorded, *doc, Side::Treadling, 20, p).status, CommandResult::Status::Refused);
    EXPECT_EQ(doc->numPicks(), 2000);
}
