// Worked cases of the threading and treadling commands.

#include "tests/core/transform/drafts.h"

#include "core/transform/arrange.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/straighten.h"
#include "core/transform/wrap.h"

#include <gtest/gtest.h>

using namespace qbtest;

namespace {
int repeatOf(const std::vector<int>& shafts)
{
    auto doc = NewDraft(8, 8);
    SetShafts(*doc, shafts);
    return FindRepeatLength(*doc->threading(0));
}
} // namespace

TEST(FindRepeatLength, TestsEveryCandidateLength)
{
    EXPECT_EQ(repeatOf({1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}), 4);
    EXPECT_EQ(repeatOf({1, 2, 1, 2, 1}), 5);
    EXPECT_EQ(repeatOf({3}), 1);
    EXPECT_EQ(repeatOf({}), 1);
    EXPECT_EQ(repeatOf({1, 2, 1, 2, 1, 3, 1, 2, 1, 2, 1, 3}), 6);
    // A naive scan that skips ahead after a failed block misses these.
    EXPECT_EQ(repeatOf({1, 1}), 1);
    EXPECT_EQ(repeatOf({1, 2, 1, 1, 2, 1, 2, 1, 1, 2}), 5);
    EXPECT_EQ(repeatOf({0, 0, 0}), 1);
}

TEST(Repeat, CopiesEveryAttributeAndRefusesPastTheLimit)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3});
    Threading& t = *doc->raw().threadingMutable(0);
    t.SetColor(1, 3);
    t.SetThick(2, true);
    t.SetSymbol(0, 'x');
    FixedPrompter p;
    ASSERT_TRUE(RepeatThreads(kUnrecorded, *doc, Side::Threading, 3, p).done());
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3}));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(doc->threading(0)->GetColor(3 * k + 1), 3);
        EXPECT_NE(doc->threading(0)->GetThick(3 * k + 2), 0);
        EXPECT_EQ(doc->threading(0)->GetSymbol(3 * k), 'x');
    }

    // 9 ends x 4000 would be 36000: refused whole, nothing appended.
    const std::string before = State(*doc);
    auto r = RepeatThreads(kUnrecorded, *doc, Side::Threading, 4000, p);
    EXPECT_EQ(r.status, CommandResult::Status::Refused);
    EXPECT_NE(p.lastMessage.find("(36000)"), std::string::npos);
    EXPECT_EQ(State(*doc), before);
}

TEST(Repeat, ReflectAndReverse)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4});
    FixedPrompter p;
    ReflectThreads(kUnrecorded, *doc, Side::Threading, p);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 4, 3, 2, 1}));

    SetShafts(*doc, {2});
    EXPECT_FALSE(ReflectThreads(kUnrecorded, *doc, Side::Threading, p).done());

    SetShafts(*doc, {1, 2, 3, 4, 4});
    doc->raw().threadingMutable(0)->SetSymbol(0, 'q');
    doc->raw().threadingMutable(0)->AddLabel(Label{0, 2, "ab"});
    ReverseThreads(kUnrecorded, *doc, Side::Threading);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{4, 4, 3, 2, 1}));
    EXPECT_EQ(doc->threading(0)->GetSymbol(4), 'q');
    ASSERT_NE(doc->threading(0)->FindLabel(3, 2), nullptr);

    auto big = NewDraft(4, 4);
    big->raw().threadingMutable(0)->Append(20000);
    auto r = ReflectThreads(kUnrecorded, *big, Side::Threading, p);
    EXPECT_EQ(r.status, CommandResult::Status::Refused);
    EXPECT_EQ(big->numEnds(), 20000);
}

TEST(SingleRepeat, OneWarpAndSeveral)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4});
    SingleRepeat(kUnrecorded, *doc, Side::Threading);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 4}));

    // Row 0 repeats every 2 ends, row 1 every 4: one repeat is 4 ends.
    SetShafts(*doc, {1, 2, 1, 2, 1, 2, 1, 2});
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    Threading& r1 = *doc->raw().threadingMutable(1);
    for (int e = 0; e < 8; ++e) r1.SetValue(e, e % 4 == 0 ? 3 : 0);
    SingleRepeat(kUnrecorded, *doc, Side::Threading);
    EXPECT_EQ(Shafts(*doc, 0), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(Shafts(*doc, 1), (std::vector<int>{3, 0, 0, 0}));
}

TEST(Wrap, ShaftsTreadlesEndsAndPicks)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 0});
    const Tieup tieup = doc->tieup();
    FixedPrompter p;
    WrapShafts(kUnrecorded, *doc, true, p);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{2, 3, 4, 1, 0}));
    WrapShafts(kUnrecorded, *doc, false, p);
    WrapShafts(kUnrecorded, *doc, false, p);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{4, 1, 2, 3, 0}));
    EXPECT_EQ(doc->tieup(), tieup);

    WrapEnds(kUnrecorded, *doc, true);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 2, 3, 0, 4}));
    WrapEnds(kUnrecorded, *doc, false);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{4, 1, 2, 3, 0}));

    doc->raw().treadlingMutable(0)->setMultiple(true);
    Treadling& t = *doc->raw().treadlingMutable(0);
    t.Append(2);
    t.SetSet(0, TreadleSet(0b1001, 0)); // treadles 1 and 4
    t.SetSet(1, TreadleSet(0b0010, 0));
    WrapTreadles(kUnrecorded, *doc, true, p);
    EXPECT_EQ(doc->treadling(0)->GetSet(0), TreadleSet(0b0011, 0));
    EXPECT_EQ(doc->treadling(0)->GetSet(1), TreadleSet(0b0100, 0));
    WrapPicks(kUnrecorded, *doc, true);
    EXPECT_EQ(doc->treadling(0)->GetSet(0), TreadleSet(0b0100, 0));
}

TEST(Wrap, ColorBarGuardDeclinedChangesNothing)
{
    auto doc = NewDraft(2, 2);
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    SetShafts(*doc, {1, 2});
    doc->raw().setCorrelation(1, true);
    const std::string before = State(*doc);
    FixedPrompter no(false);
    EXPECT_EQ(WrapShafts(kUnrecorded, *doc, true, no).status, CommandResult::Status::Declined);
    EXPECT_EQ(no.lastQuestion, "Okay to eliminate direct correlation with color bars?");
    EXPECT_EQ(State(*doc), before);
    FixedPrompter yes(true);
    EXPECT_TRUE(WrapShafts(kUnrecorded, *doc, true, yes).done());
    EXPECT_FALSE(doc->correlationOn());
}

TEST(Arrange, ParallelAndSequentialResults)
{
    auto doc = NewDraft(8, 8);
    SetShafts(*doc, {1, 2, 3, 4, 5, 6, 7, 8});
    FixedPrompter p;
    Arrange(kUnrecorded, *doc, Side::Threading, ArrangeKind::Parallel, p);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 5, 2, 6, 3, 7, 4, 8}));

    auto five = NewDraft(5, 5);
    SetShafts(*five, {1, 2, 3, 4, 5});
    Arrange(kUnrecorded, *five, Side::Threading, ArrangeKind::Parallel, p);
    // Old shafts in the order 1, 3, 5, 4, 2.
    EXPECT_EQ(Shafts(*five), (std::vector<int>{1, 5, 2, 4, 3}));

    auto four = NewDraft(4, 4);
    SetShafts(*four, {4, 4, 3, 3, 2, 2, 1, 1});
    Arrange(kUnrecorded, *four, Side::Threading, ArrangeKind::Sequential, p);
    EXPECT_EQ(Shafts(*four), (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4}));
    SetShafts(*four, {1, 1, 2});
    Arrange(kUnrecorded, *four, Side::Threading, ArrangeKind::Sequential, p);
    EXPECT_EQ(Shafts(*four), (std::vector<int>{1, 1, 2}));
    SetShafts(*four, {0, 3, 0, 3, 1});
    Arrange(kUnrecorded, *four, Side::Threading, ArrangeKind::Sequential, p);
    EXPECT_EQ(Shafts(*four), (std::vector<int>{0, 1, 0, 1, 2}));

    // Liftplan form: nothing happens.
    four->raw().setLoomRaw(4, 4, true);
    SetShafts(*four, {3, 2, 1});
    EXPECT_FALSE(Arrange(kUnrecorded, *four, Side::Threading, ArrangeKind::Sequential, p).done());
}

TEST(Remove, KeepsThePatternAndShrinksLabels)
{
    auto doc = NewDraft(8, 8);
    SetShafts(*doc, {1, 2, 3, 4, 5, 6, 7});
    doc->raw().threadingMutable(0)->SetColor(2, 4);
    doc->raw().threadingMutable(0)->AddLabel(Label{1, 4, "mid"}); // ends 2..5
    RemoveByPattern(kUnrecorded, *doc, Side::Threading, {true, false});
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(doc->threading(0)->GetColor(1), 4);
    ASSERT_NE(doc->threading(0)->FindLabel(1, 2), nullptr); // ends 3 and 5 remain
    EXPECT_FALSE(RemoveByPattern(kUnrecorded, *doc, Side::Threading, {false}).done());
}

TEST(Remove, PatternStripEditing)
{
    RemovePattern p;
    p.click(2); // extends with delete entries up to cell 3
    EXPECT_EQ(p.keep(), (std::vector<bool>{false, false, false}));
    p.click(0);
    EXPECT_EQ(p.keep(), (std::vector<bool>{true, false, false}));
    p.click(40); // beyond 16 cells: ignored
    EXPECT_EQ(p.keep().size(), 3u);
    p.click(15);
    EXPECT_EQ(p.keep().size(), 16u);
    p.truncate(1);
    EXPECT_EQ(p.keep(), (std::vector<bool>{true}));
}

TEST(TrompAsWrit, FollowsTheThreadingOnEveryWeftRow)
{
    auto doc = NewDraft(6, 4);
    SetShafts(*doc, {1, 2, 3, 6, 0, 4});
    SetTreadles(*doc, {1, 1});
    doc->raw().treadlingMutable(0)->SetColor(1, 3);
    doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    FixedPrompter p;
    TrompAsWrit(kUnrecorded, *doc, false, p);
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{1, 2, 3, 0, 0, 4}));
    EXPECT_EQ(doc->treadling(0)->GetColor(1), 3);
    EXPECT_EQ(doc->treadling(1)->GetCount(), 6);
    TrompAsWrit(kUnrecorded, *doc, true, p);
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{4, 3, 2, 0, 0, 1}));
    SetShafts(*doc, {2});
    TrompAsWrit(kUnrecorded, *doc, false, p);
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{2}));
    EXPECT_EQ(doc->treadling(1)->GetCount(), 1);
}

TEST(Straighten, RepeatPastTheShaftLimitIsRefused)
{
    auto doc = NewDraft(8, 8);
    std::vector<int> shafts;
    for (int i = 0; i < 65; ++i) shafts.push_back(i % 7 + 1);
    SetShafts(*doc, shafts);
    FixedPrompter p;
    auto r = StraightenThreading(*doc, p);
    EXPECT_EQ(r.result.status, CommandResult::Status::Refused);
    EXPECT_EQ(r.draft, nullptr);
    EXPECT_EQ(p.lastMessage,
              "Unable to translate this draft.\n\nNumber of shafts required (65)\n exceeds program capabilities.\n\n");

    SetShafts(*doc, {2, 4, 2, 4});
    auto ok = StraightenThreading(*doc, p);
    ASSERT_TRUE(ok.result.done());
    EXPECT_EQ(Shafts(*ok.draft), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(ok.draft->numShafts(), 2);
}
