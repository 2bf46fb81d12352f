#include "core/draft/linetool.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

LineParams params(LineKind kind, int shafts, bool right = false, int length = 3, int offset = 1)
{
    LineParams p;
    p.kind = kind;
    p.shafts = shafts;
    p.rightButton = right;
    p.length = length;
    p.offset = offset;
    return p;
}

using Seq = std::vector<int>;

} // namespace

TEST(LineTool, ShapesOfTheThreeLines)
{
    struct Case {
        const char* what;
        LineParams p;
        int start, count, delta;
        Seq want;
    };
    const Case cases[] = {
        {"straight wraps at once", params(LineKind::Straight, 4), 4, 6, 1, {4, 1, 2, 3, 4, 1}},
        {"straight right button runs down", params(LineKind::Straight, 8, true), 1, 4, 1, {1, 8, 7, 6}},
        {"straight towards lower threads", params(LineKind::Straight, 4), 2, 4, -1, {2, 1, 4, 3}},
        {"point turns without repeating", params(LineKind::Point, 4), 1, 8, 1, {1, 2, 3, 4, 3, 2, 1, 2}},
        {"point right button", params(LineKind::Point, 4, true), 4, 8, 1, {4, 3, 2, 1, 2, 3, 4, 3}},
        {"point from the middle going down", params(LineKind::Point, 3, true), 2, 6, 1, {2, 1, 2, 3, 2, 1}},
        {"point on two shafts", params(LineKind::Point, 2), 1, 5, 1, {1, 2, 1, 2, 1}},
        {"point on one shaft stays", params(LineKind::Point, 1), 1, 5, 1, {1, 1, 1, 1, 1}},
        {"advancing 3/1", params(LineKind::Advancing, 8), 1, 9, 1, {1, 2, 3, 2, 3, 4, 3, 4, 5}},
        {"advancing 4/2 wraps", params(LineKind::Advancing, 4, false, 4, 2), 1, 9, 1, {1, 2, 3, 4, 3, 4, 1, 2, 1}},
        {"advancing right button", params(LineKind::Advancing, 8, true), 8, 7, 1, {8, 7, 6, 7, 6, 5, 6}},
        {"no shafts never moves", params(LineKind::Straight, 0), 1, 3, 1, {1, 1, 1}},
        {"straight on one shaft", params(LineKind::Straight, 1), 1, 3, 1, {1, 1, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(LineSequence(c.p, c.start, c.count, c.delta), c.want) << c.what;
}

TEST(LineTool, DraggingBackRetracesTheLine)
{
    for (LineKind kind : {LineKind::Straight, LineKind::Point, LineKind::Advancing}) {
        for (bool right : {false, true}) {
            LineStepper line(params(kind, 6, right, 4, 1), 2);
            Seq out{line.shaft()};
            for (int i = 0; i < 11; ++i) out.push_back(line.step(+1));
            Seq back{line.shaft()};
            for (int i = 0; i < 11; ++i) back.push_back(line.step(-1));
            EXPECT_EQ(line.position(), 0);
            EXPECT_EQ(Seq(out.rbegin(), out.rend()), back) << int(kind) << " right " << right;
        }
    }
}

TEST(LineTool, TypedKeys)
{
    EXPECT_EQ(ShaftForKey('1', false), 1);
    EXPECT_EQ(ShaftForKey('9', true), 9);
    EXPECT_EQ(ShaftForKey('0', false), 0);
    EXPECT_EQ(ShaftForKey(' ', false), 0);
    // Without alpha notation letters continue the digits.
    EXPECT_EQ(ShaftForKey('A', false), 10);
    EXPECT_EQ(ShaftForKey('z', false), 35);
    // With alpha notation the key is the letter the pane shows.
    EXPECT_EQ(ShaftForKey('A', true), 1);
    EXPECT_EQ(ShaftForKey('Z', true), 26);
    EXPECT_EQ(ShaftForKey('a', true), 27);
    EXPECT_EQ(ShaftForKey('z', true), 52);
}
