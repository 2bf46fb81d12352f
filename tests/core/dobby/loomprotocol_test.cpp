// The emulator's reading of what the program sends: it must not be fooled by
// data bytes that look like frame bytes.

#include "tests/core/dobby/fakehost.h"

#include "tools/loom-emulator/loomprotocol.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;
using loom::Heard;
using loom::LoomProtocol;

namespace {

std::vector<Heard> FeedAll(LoomProtocol& p, const Bytes& bytes, bool quietAfter = true)
{
    auto heard = p.feed(bytes);
    if (quietAfter)
        for (Heard& h : p.flush()) heard.push_back(std::move(h));
    return heard;
}

TEST(LoomProtocol, AVLLiftsEndingInTheEndByteValue)
{
    LoomProtocol p(DobbyHeadType::AVL2);
    // Greeting, then a 7-byte lift with shafts 25-28 up: its last data byte is 0x7F.
    auto h = FeedAll(p, B({0x0F, 0x7F, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x7F, 0x7F}));
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0].kind, Heard::Kind::Greeting);
    EXPECT_EQ(h[1].kind, Heard::Kind::Lift);
    EXPECT_EQ(h[1].dataBytes, 7);
    EXPECT_EQ(h[1].shafts, Shafts({25, 26, 27, 28}));
    // A 6-byte lift followed by the next lift: the 0x7F was the end.
    h = FeedAll(p, B({0x11, 0x20, 0x30, 0x40, 0x50, 0x68, 0x7F, 0x12, 0x7F}));
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0].dataBytes, 6);
    EXPECT_EQ(h[0].shafts, Shafts({1, 24}));
    EXPECT_EQ(h[1].shafts, Shafts({2}));
    // A 6-byte lift alone is settled when the line goes quiet.
    EXPECT_TRUE(p.feed(B({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x7F})).empty());
    EXPECT_TRUE(p.hasPending());
    EXPECT_EQ(p.flush().size(), 1u);
    // 8 bytes: the 0x7F in the middle was data.
    h = FeedAll(p, B({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x7F, 0x81, 0x7F}));
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].shafts, Shafts({25, 26, 27, 28, 29}));
}

TEST(LoomProtocol, AVLIIIInvertsAndFlagsGarbage)
{
    LoomProtocol p(DobbyHeadType::AVL3);
    auto h = FeedAll(p, B({0x1A, 0x2D, 0x07}));
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].shafts, Shafts({1, 3, 6}));
    // Bytes out of sequence are not a lift.
    h = FeedAll(p, B({0x10, 0x30, 0x07}));
    ASSERT_FALSE(h.empty());
    EXPECT_EQ(h[0].kind, Heard::Kind::Garbage);
}

TEST(LoomProtocol, EscapePatternBytesMayLookLikeFrameBytes)
{
    LoomProtocol p(DobbyHeadType::Louet);
    // Shafts 1,3,4 give 0x0D; shafts 1,2,4,5 give 0x1B.
    auto h = FeedAll(p, B({0x1B, 'S', 0x0D, 0x1B, 0x00, 0x00, 0x0D, 0x1B, 'E', 0x0D, 0x1B, 'D', 0x0D}));
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].kind, Heard::Kind::Pattern);
    EXPECT_EQ(h[0].shafts, Shafts({1, 3, 4, 9, 10, 12, 13}));
    EXPECT_EQ(h[1].kind, Heard::Kind::Push);
    EXPECT_EQ(h[1].shafts, h[0].shafts);
    EXPECT_EQ(h[2].kind, Heard::Kind::Release);
    EXPECT_TRUE(p.shed().empty());
}

TEST(LoomProtocol, LeclercIText)
{
    LoomProtocol p(DobbyHeadType::Leclerc1);
    auto h = FeedAll(p, Text("SET PATTERN  0x0201\r\nPUSH PATTERN\r\nRELEASE\r\nset pattern  0x0201\r\n"));
    ASSERT_EQ(h.size(), 4u);
    EXPECT_EQ(h[0].shafts, Shafts({1, 10}));
    EXPECT_EQ(h[1].kind, Heard::Kind::Push);
    EXPECT_EQ(h[2].kind, Heard::Kind::Release);
    EXPECT_EQ(h[3].kind, Heard::Kind::Garbage);
    EXPECT_EQ(p.reply(loom::Reply::PickRequest), Text("[CC]\r\n"));
}

TEST(LoomProtocol, RepliesPerHead)
{
    EXPECT_EQ(LoomProtocol(DobbyHeadType::AVL2).reply(loom::Reply::PickRequest), B({0x62, 0x03, 0x61, 0x03}));
    EXPECT_TRUE(LoomProtocol(DobbyHeadType::AVL3).reply(loom::Reply::Timeout).empty());
    EXPECT_FALSE(LoomProtocol(DobbyHeadType::AVL3).hasReply(loom::Reply::Timeout));
    EXPECT_EQ(LoomProtocol(DobbyHeadType::Louet).reply(loom::Reply::StatusFlag), B({0x1B, 'I', 0x08, 0x0D}));
    EXPECT_EQ(LoomProtocol(DobbyHeadType::Leclerc2).reply(loom::Reply::PickRequest), B({0x1B, 'C', 0x0D}));
}

} // namespace
