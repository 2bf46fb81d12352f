#include "tests/core/dobby/fakehost.h"

#include "core/dobby/merlindobbyhead.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

Bytes Esc(std::initializer_list<int> body)
{
    Bytes out{0x1B};
    for (int b : body) out.push_back(static_cast<std::uint8_t>(b));
    out.push_back(0x0D);
    return out;
}

// Louet: pattern 'S', push 'E', release 'D', query '?', test 'T'.
class LouetTest : public ::testing::Test {
protected:
    LouetTest() : host(32, {Shafts({1, 3, 4}), Shafts({9, 25}), Shafts({32}), Shafts({})}), head(&host, 32) {}
    void handshake()
    {
        head.start();
        head.takeOutput();
        Feed(head, Esc({'I', 0x00}));
        head.takeEvents();
    }
    FakeHost host;
    LouetDobbyHead head;
};

TEST_F(LouetTest, HandshakeSendsTheCurrentLift)
{
    ASSERT_TRUE(head.start());
    EXPECT_EQ(head.takeOutput(), Esc({'?'}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::WaitingForHead);
    // Status with bit 0 set is not good enough to begin.
    EXPECT_TRUE(Feed(head, Esc({'I', 0x01})).empty());
    // Shafts 1,3,4 make the first data byte 0x0D, the same value as CR.
    EXPECT_EQ(Feed(head, Esc({'I', 0x00})), Cat({Esc({'S', 0x0D, 0, 0, 0}), Esc({'E'})}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::HeadReady), 1);
}

TEST_F(LouetTest, AcknowledgeAlsoBegins)
{
    head.start();
    head.takeOutput();
    EXPECT_TRUE(Feed(head, Esc({'O', 'X'})).empty());
    EXPECT_FALSE(Feed(head, Esc({'O', 'K'})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
}

TEST_F(LouetTest, PickRequestSendsReleasePatternPush)
{
    handshake();
    EXPECT_EQ(Feed(head, Esc({'C', 'C'})), Cat({Esc({'D'}), Esc({'S', 0x00, 0x01, 0x00, 0x01}), Esc({'E'})}));
    EXPECT_EQ(host.currentPick(), 1);
    EXPECT_EQ(Feed(head, Esc({'C', 'C'})), Cat({Esc({'D'}), Esc({'S', 0, 0, 0, 0x80}), Esc({'E'})}));
    // "C" alone or "CX" is not a pick request on this head.
    EXPECT_TRUE(Feed(head, Esc({'C'})).empty());
    EXPECT_TRUE(Feed(head, Esc({'C', 'X'})).empty());
    // The second data byte is the frame's last byte.
    EXPECT_FALSE(Feed(head, Esc({'C', 'X', 'C'})).empty());
    EXPECT_EQ(host.currentPick(), 3);
    // A CR outside a frame does nothing.
    EXPECT_TRUE(Feed(head, B({0x0D, 0x0D})).empty());
    EXPECT_EQ(host.advances, 3);
}

TEST_F(LouetTest, RepeatLiftSendsPatternReleasePush)
{
    handshake();
    host.position().SetCurrentPick(2);
    head.positionChanged();
    EXPECT_EQ(head.takeOutput(), Cat({Esc({'S', 0, 0, 0, 0x80}), Esc({'D'}), Esc({'E'})}));
}

TEST_F(LouetTest, TimeoutClearsItselfWhenTheHeadReportsItCleared)
{
    handshake();
    EXPECT_TRUE(Feed(head, Esc({'T', 'O'})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    EXPECT_TRUE(head.timeoutWindowOpen());
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::TimedOut), 1);
    // Ticks only count the seconds.
    head.tick();
    head.tick();
    EXPECT_EQ(head.secondsTimedOut(), 2);
    EXPECT_FALSE(head.hasOutput());
    // Pick requests are not followed while timed out.
    EXPECT_TRUE(Feed(head, Esc({'C', 'C'})).empty());
    // A status without the time-out flag keeps waiting; with it, clearing begins.
    Feed(head, Esc({'I', 0x01}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    Feed(head, Esc({'I', 0x08}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimeoutClearing);
    EXPECT_TRUE(Feed(head, Esc({'I', 0x01})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimeoutClearing);
    EXPECT_EQ(Feed(head, Esc({'I', 0x00})), Esc({'E'}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
    EXPECT_FALSE(head.timeoutWindowOpen());
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::TimeoutCleared), 1);
    EXPECT_EQ(host.currentPick(), 0);
}

TEST_F(LouetTest, WeaverContinuesAfterATimeout)
{
    handshake();
    head.pressContinue(); // no window: nothing
    EXPECT_FALSE(head.hasOutput());
    Feed(head, Esc({'T', 'O'}));
    head.pressContinue();
    EXPECT_EQ(head.takeOutput(), Esc({'E'}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
    EXPECT_FALSE(Feed(head, Esc({'C', 'C'})).empty());
}

TEST_F(LouetTest, StopSendsRelease)
{
    handshake();
    head.stop();
    EXPECT_EQ(head.takeOutput(), Esc({'D'}));
    head.stop();
    EXPECT_FALSE(head.hasOutput());
}

TEST(LouetDobbyHead, RefusesShaftsAboveThirtyTwo)
{
    FakeHost host(40, {Shafts({1}), Shafts({33})});
    LouetDobbyHead head(&host, 40);
    EXPECT_EQ(head.liftableShafts(), 32);
    EXPECT_FALSE(head.start());
    EXPECT_FALSE(head.hasOutput());
    auto events = head.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_NE(events[0].message.find("Pick 2 lifts shaft 33"), std::string::npos);
}

TEST(Leclerc2DobbyHead, ConversationIsByteExact)
{
    FakeHost host(16, {Shafts({2}), Shafts({16}), Shafts({1, 9})});
    Leclerc2DobbyHead head(&host, 16);
    ASSERT_TRUE(head.start());
    EXPECT_EQ(head.takeOutput(), Esc({'Q'}));
    EXPECT_EQ(Feed(head, Esc({'S'})), Cat({Esc({'I', 0x02, 0, 0, 0}), Esc({'E'})}));
    // B1 = 'C' is enough here.
    EXPECT_EQ(Feed(head, Esc({'C'})), Cat({Esc({'R'}), Esc({'I', 0, 0x80, 0, 0}), Esc({'E'})}));
    host.position().SetCurrentPick(2);
    head.positionChanged();
    EXPECT_EQ(head.takeOutput(), Cat({Esc({'I', 0x01, 0x01, 0, 0}), Esc({'R'}), Esc({'E'})}));
    head.stop();
    EXPECT_EQ(head.takeOutput(), Esc({'R'}));
}

TEST(Leclerc2DobbyHead, QuestionMarkAcknowledges)
{
    FakeHost host(8, {Shafts({1})});
    Leclerc2DobbyHead head(&host, 8);
    head.start();
    head.takeOutput();
    EXPECT_FALSE(Feed(head, Esc({'?'})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
}

TEST(Leclerc2DobbyHead, RepeatedTimeoutChangesNothing)
{
    FakeHost host(8, {Shafts({1}), Shafts({2})});
    Leclerc2DobbyHead head(&host, 8);
    head.start();
    Feed(head, Esc({'S'}));
    head.takeEvents();
    EXPECT_TRUE(Feed(head, Esc({'T'})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    EXPECT_TRUE(Feed(head, Esc({'T'})).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::TimedOut), 1);
    Feed(head, Esc({'S', 0x08}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimeoutClearing);
    // A status frame with no second byte has B2 = 0: cleared.
    EXPECT_EQ(Feed(head, Esc({'S'})), Esc({'E'}));
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
}

TEST(DobbySelfTest, AnsweringHeadRunsTheTest)
{
    for (DobbyHeadType t : {DobbyHeadType::Louet, DobbyHeadType::Leclerc2}) {
        auto head = MakeSelfTestHead(t, 8);
        ASSERT_TRUE(head);
        const bool louet = t == DobbyHeadType::Louet;
        ASSERT_TRUE(head->start());
        EXPECT_EQ(head->takeOutput(), Esc({louet ? '?' : 'Q'}));
        EXPECT_EQ(head->state(), MerlinDobbyHead::SelfTestWaiting);
        EXPECT_EQ(Feed(*head, louet ? Esc({'I', 0}) : Esc({'S', 0})), Esc({'T'}));
        EXPECT_EQ(head->state(), MerlinDobbyHead::SelfTestRunning);
        // Later frames are ignored.
        EXPECT_TRUE(Feed(*head, louet ? Esc({'C', 'C'}) : Esc({'C'})).empty());
        head->stop();
        EXPECT_EQ(head->takeOutput(), Esc({louet ? 'D' : 'R'}));
        auto events = head->takeEvents();
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].kind, DobbyEvent::Kind::SelfTestStarted);
        EXPECT_EQ(events[1].kind, DobbyEvent::Kind::SelfTestResult);
        EXPECT_TRUE(events[1].ok);
    }
}

TEST(DobbySelfTest, SilentHeadIsReported)
{
    auto head = MakeSelfTestHead(DobbyHeadType::Louet, 8);
    head->start();
    head->takeOutput();
    Feed(*head, Esc({'I', 0x01})); // not a strict status
    head->stop();
    EXPECT_EQ(head->takeOutput(), Esc({'D'}));
    auto events = head->takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_FALSE(events[0].ok);
    EXPECT_EQ(events[0].message, "No response from dobby head");
}

TEST(DobbySelfTest, OnlyLouetAndLeclercIIHaveOne)
{
    EXPECT_FALSE(MakeSelfTestHead(DobbyHeadType::AVL2, 8));
    EXPECT_FALSE(MakeSelfTestHead(DobbyHeadType::AVL3, 8));
    EXPECT_FALSE(MakeSelfTestHead(DobbyHeadType::Leclerc1, 8));
}

class Leclerc1Test : public ::testing::Test {
protected:
    Leclerc1Test() : host(16, {Shafts({1, 10}), Shafts({16}), Shafts({}), Shafts({1}), Shafts({2})}), head(&host, 16) {}
    FakeHost host;
    Leclerc1DobbyHead head;
};

TEST_F(Leclerc1Test, StartSendsTheLiftAtOnce)
{
    ASSERT_TRUE(head.start());
    const Bytes out = head.takeOutput();
    EXPECT_EQ(out, Text("SET PATTERN  0x0201\r\nPUSH PATTERN\r\n"));
    EXPECT_EQ(Leclerc1DobbyHead::PatternText(Shafts({1, 10})).size(), 21u);
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::HeadReady), 1);
}

TEST_F(Leclerc1Test, BracketedReplyFollowedByCrLfIsOnePick)
{
    head.start();
    head.takeOutput();
    EXPECT_EQ(Feed(head, Text("[CC]\r\n")), Text("RELEASE\r\nSET PATTERN  0x8000\r\nPUSH PATTERN\r\n"));
    EXPECT_EQ(host.currentPick(), 1);
    EXPECT_EQ(host.advances, 1);
    // A stray CR repeats nothing.
    EXPECT_TRUE(Feed(head, Text("\r\r\n")).empty());
    // Brackets alone, a frame closed by CR, and a bare line each count once.
    EXPECT_FALSE(Feed(head, Text("[CC]")).empty());
    EXPECT_FALSE(Feed(head, Text("[CC\r\n")).empty());
    EXPECT_FALSE(Feed(head, Text("CC\r\n")).empty());
    EXPECT_EQ(host.advances, 4);
    EXPECT_EQ(host.currentPick(), 4);
}

TEST_F(Leclerc1Test, RepeatLiftAndStop)
{
    head.start();
    head.takeOutput();
    host.position().SetCurrentPick(3);
    head.positionChanged();
    EXPECT_EQ(head.takeOutput(), Text("SET PATTERN  0x0001\r\nRELEASE\r\nPUSH PATTERN\r\n"));
    head.stop();
    EXPECT_EQ(head.takeOutput(), Text("RELEASE\r\n"));
}

TEST_F(Leclerc1Test, TimeoutWaitsForTheWeaver)
{
    head.start();
    head.takeOutput();
    EXPECT_TRUE(Feed(head, Text("[TO]\r\n")).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    // This head never reports the flag: no way out but Continue.
    EXPECT_TRUE(Feed(head, Text("[S\x08]\r\n[OK]\r\n")).empty());
    EXPECT_EQ(head.state(), MerlinDobbyHead::TimedOut);
    head.pressContinue();
    EXPECT_EQ(head.takeOutput(), Text("PUSH PATTERN\r\n"));
    EXPECT_EQ(head.state(), MerlinDobbyHead::Weaving);
}

TEST(Leclerc1DobbyHead, RefusesShaftsAboveSixteen)
{
    FakeHost host(24, {Shafts({1}), Shafts({20})});
    Leclerc1DobbyHead head(&host, 24);
    EXPECT_FALSE(head.start());
    EXPECT_FALSE(head.hasOutput());
    EXPECT_EQ(CountEvents(head.takeEvents(), DobbyEvent::Kind::Error), 1);
}

TEST(MerlinDobbyHead, PatternCarriesShaftsOneToThirtyTwo)
{
    FakeHost host(32, {Shafts({8, 16, 24, 32})});
    LouetDobbyHead head(&host, 32);
    EXPECT_EQ(head.EncodeLift(Shafts({1, 8, 9, 17, 32})), B({0x81, 0x01, 0x01, 0x80}));
    EXPECT_EQ(head.EncodeLift(TUPTYPE()), B({0, 0, 0, 0}));
}

} // namespace
