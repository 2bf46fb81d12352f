#include "tests/core/dobby/fakehost.h"

#include "core/dobby/avldobbyhead.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

const Bytes kReady = B({0x7F, 0x03});
const Bytes kPick = B({0x62, 0x03, 0x61, 0x03});

struct LiftCase {
    const char* name;
    DobbyHeadType head;
    int shafts;
    TUPTYPE lift;
    Bytes expected; // data bytes and end byte
};

class AVLLiftBytes : public ::testing::TestWithParam<LiftCase> {};

TEST_P(AVLLiftBytes, FirstLiftIsByteExact)
{
    const LiftCase& c = GetParam();
    FakeHost host(c.shafts, {c.lift, c.lift});
    auto head = MakeDobbyHead(c.head, host, c.shafts);
    ASSERT_TRUE(head->start());
    const std::uint8_t end = c.head == DobbyHeadType::AVL2 ? 0x7F : 0x07;
    EXPECT_EQ(head->takeOutput(), B({0x0F, end}));
    EXPECT_EQ(Feed(*head, kReady), c.expected);
    // The next pick of the same width gives the same bytes.
    EXPECT_EQ(Feed(*head, kPick), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AVLLiftBytes,
    ::testing::Values(
        LiftCase{"II_8_shafts_1_3_6", DobbyHeadType::AVL2, 8, Shafts({1, 3, 6}), B({0x15, 0x22, 0x7F})},
        LiftCase{"III_8_shafts_1_3_6", DobbyHeadType::AVL3, 8, Shafts({1, 3, 6}), B({0x1A, 0x2D, 0x07})},
        LiftCase{"II_12_nothing", DobbyHeadType::AVL2, 12, TUPTYPE(), B({0x10, 0x20, 0x30, 0x7F})},
        LiftCase{"III_12_nothing", DobbyHeadType::AVL3, 12, TUPTYPE(), B({0x1F, 0x2F, 0x3F, 0x07})},
        LiftCase{"III_4_all", DobbyHeadType::AVL3, 4, Shafts({1, 2, 3, 4}), B({0x10, 0x07})},
        LiftCase{"II_10_shafts_odd_width", DobbyHeadType::AVL2, 10, Shafts({9, 10}), B({0x10, 0x20, 0x33, 0x7F})},
        // Shafts 11 and 12 do not exist but share the last byte: the III shows them down.
        LiftCase{"III_10_shafts_odd_width", DobbyHeadType::AVL3, 10, Shafts({9, 10}), B({0x1F, 0x2F, 0x3C, 0x07})},
        LiftCase{"II_40_shafts", DobbyHeadType::AVL2, 40, Shafts({1, 40}),
                 B({0x11, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA8, 0x7F})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AVLDobbyHead, FirstLiftHasTheConfiguredWidthAndLaterOnesTheDraftWidth)
{
    FakeHost host(8, {Shafts({1}), Shafts({8})});
    AVL2DobbyHead head(&host, 16);
    ASSERT_TRUE(head.start());
    head.takeOutput();
    EXPECT_EQ(Feed(head, kReady), B({0x11, 0x20, 0x30, 0x40, 0x7F}));
    EXPECT_EQ(Feed(head, kPick), B({0x10, 0x28, 0x7F}));
    EXPECT_EQ(head.liftByteCount(), 2);
}

TEST(AVLDobbyHead, ReplyFraming)
{
    FakeHost host(8, std::vector<TUPTYPE>(10, Shafts({2})));
    AVL2DobbyHead head(&host, 8);
    head.start();
    head.takeOutput();

    // Nothing before the head is ready: 'b' 'a' are ignored in state 0.
    EXPECT_TRUE(Feed(head, kPick).empty());
    EXPECT_EQ(head.state(), AVLDobbyHead::WaitingForHead);
    EXPECT_FALSE(Feed(head, kReady).empty());
    EXPECT_EQ(head.state(), AVLDobbyHead::Weaving);

    // 'a' without 'b', a lone 0x03, and a second ready do nothing.
    EXPECT_TRUE(Feed(head, B({0x61, 0x03})).empty());
    EXPECT_TRUE(Feed(head, B({0x03})).empty());
    EXPECT_TRUE(Feed(head, kReady).empty());
    EXPECT_EQ(host.currentPick(), 0);

    // 'b' then 'a' is exactly one pick, also when the bytes trickle in.
    for (std::uint8_t b : kPick) head.onBytes(&b, 1);
    EXPECT_EQ(host.currentPick(), 1);
    EXPECT_EQ(host.advances, 1);
    EXPECT_EQ(head.takeOutput(), B({0x12, 0x20, 0x7F}));

    // Two requests in one burst: two picks, two lifts.
    EXPECT_EQ(Feed(head, Cat({kPick, kPick})).size(), 6u);
    EXPECT_EQ(host.currentPick(), 3);

    // Only the last code before 0x03 counts.
    EXPECT_TRUE(Feed(head, B({0x62, 0x61, 0x03})).empty());
    EXPECT_EQ(head.state(), AVLDobbyHead::Weaving);
}

TEST(AVLDobbyHead, EndOfTreadlingSendsNothingButReturnsToWeaving)
{
    FakeHost host(8, {Shafts({1}), Shafts({2}), Shafts({3})});
    AVL3DobbyHead head(&host, 8);
    head.start();
    Feed(head, kReady);
    Feed(head, kPick);
    Feed(head, kPick);
    ASSERT_EQ(host.currentPick(), 2);
    head.takeEvents();
    EXPECT_TRUE(Feed(head, kPick).empty());
    EXPECT_EQ(host.currentPick(), 2);
    EXPECT_EQ(head.state(), AVLDobbyHead::Weaving);
    auto events = head.takeEvents();
    EXPECT_EQ(CountEvents(events, DobbyEvent::Kind::EndOfTreadling), 1);
    EXPECT_EQ(CountEvents(events, DobbyEvent::Kind::LiftSent), 0);
    // Reversing lets the weaver go on.
    host.position().ToggleReverse();
    EXPECT_EQ(Feed(head, kPick), B({0x1D, 0x2F, 0x07}));
    EXPECT_EQ(host.currentPick(), 1);
}

TEST(AVLDobbyHead, PositionChangeSendsTheLiftOnlyWhileWeaving)
{
    FakeHost host(8, {Shafts({1}), Shafts({2}), Shafts({3})});
    AVL2DobbyHead head(&host, 8);
    head.start();
    head.takeOutput();
    host.position().SetCurrentPick(2);
    head.positionChanged();
    EXPECT_TRUE(head.takeOutput().empty()); // still waiting for the head
    Feed(head, kReady);
    host.position().StepBack();
    head.positionChanged();
    EXPECT_EQ(head.takeOutput(), B({0x12, 0x20, 0x7F}));
    // Between 'b' and 'a' the head is not waiting for a lift.
    Feed(head, B({0x62, 0x03}));
    head.positionChanged();
    EXPECT_TRUE(head.takeOutput().empty());
}

TEST(AVLDobbyHead, StopSendsNothing)
{
    FakeHost host(8, {Shafts({1})});
    AVL2DobbyHead head(&host, 8);
    head.start();
    Feed(head, kReady);
    head.stop();
    EXPECT_TRUE(head.takeOutput().empty());
    EXPECT_TRUE(Feed(head, kPick).empty());
    EXPECT_EQ(head.previousPick(), 0);
}

TEST(AVLDobbyHead, RefusesShaftsAboveTheConfiguredCount)
{
    // A 12-shaft draft on a head set up for 8 shafts: pick 2 lifts shaft 10.
    FakeHost host(12, {Shafts({1}), Shafts({8}), Shafts({2, 10})});
    AVL2DobbyHead head(&host, 8);
    EXPECT_FALSE(head.start());
    EXPECT_TRUE(head.hasFailed());
    EXPECT_TRUE(head.takeOutput().empty());
    auto events = head.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, DobbyEvent::Kind::Error);
    EXPECT_NE(events[0].message.find("Pick 3 lifts shaft 10"), std::string::npos) << events[0].message;
    EXPECT_NE(events[0].message.find("1 to 8"), std::string::npos);
}

TEST(AVLDobbyHead, RefusesADraftWithNoPicks)
{
    FakeHost host(8, {});
    AVL2DobbyHead head(&host, 8);
    EXPECT_FALSE(head.start());
    EXPECT_TRUE(head.takeOutput().empty());
    auto events = head.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].message, "Cannot start dobby. There are no picks in the treadling.");
}

TEST(AVLDobbyHead, ALiftMadeUnliftableDuringTheRunStopsIt)
{
    FakeHost host(12, {Shafts({1}), Shafts({2})});
    AVL2DobbyHead head(&host, 8);
    ASSERT_TRUE(head.start());
    Feed(head, kReady);
    host.lifts()[1] = Shafts({11});
    head.takeEvents();
    EXPECT_TRUE(Feed(head, kPick).empty());
    EXPECT_TRUE(head.hasFailed());
    auto events = head.takeEvents();
    EXPECT_EQ(CountEvents(events, DobbyEvent::Kind::Error), 1);
    EXPECT_EQ(CountEvents(events, DobbyEvent::Kind::LiftSent), 0);
}

TEST(AVLDobbyHead, LinkFailureStopsTheRunAndKeepsThePick)
{
    FakeHost host(8, std::vector<TUPTYPE>(5, Shafts({1})));
    AVL2DobbyHead head(&host, 8);
    head.start();
    Feed(head, kReady);
    Feed(head, kPick);
    ASSERT_EQ(host.currentPick(), 1);
    head.takeEvents();
    // The lift of pick 2 (shown) did not reach the loom.
    head.linkFailed("Input/output error");
    auto events = head.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, DobbyEvent::Kind::Error);
    EXPECT_EQ(events[0].pick, 1);
    EXPECT_NE(events[0].message.find("Input/output error"), std::string::npos);
    EXPECT_NE(events[0].message.find("stopped at pick 2"), std::string::npos) << events[0].message;
    EXPECT_TRUE(Feed(head, kPick).empty());
    head.positionChanged();
    head.stop();
    EXPECT_TRUE(head.takeOutput().empty());
    EXPECT_EQ(host.currentPick(), 1);

    // A new run resumes with that pick.
    AVL2DobbyHead again(&host, 8);
    again.start();
    again.takeEvents();
    Feed(again, kReady);
    auto resumed = again.takeEvents();
    ASSERT_EQ(CountEvents(resumed, DobbyEvent::Kind::LiftSent), 1);
    EXPECT_EQ(resumed[0].pick, 1);
}

TEST(AVLDobbyHead, DraftChangedRecomputesTheWidth)
{
    FakeHost host(8, {Shafts({1}), Shafts({12})});
    AVL2DobbyHead head(&host, 16);
    head.start();
    Feed(head, kReady);
    host.setShafts(12);
    head.draftChanged();
    EXPECT_EQ(head.liftByteCount(), 3);
    EXPECT_EQ(Feed(head, kPick), B({0x10, 0x20, 0x38, 0x7F}));
}

} // namespace
