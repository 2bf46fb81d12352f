#include "core/draft/tieup.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace qb;

namespace {

TUPTYPE shafts(std::initializer_list<int> list)
{
    TUPTYPE t;
    for (int s : list) t.set(s);
    return t;
}

Tieup make(int nShafts, std::initializer_list<std::initializer_list<int>> columns)
{
    Tieup t(nShafts, static_cast<int>(columns.size()));
    int i = 0;
    for (auto c : columns) t.setColumn(i++, shafts(c));
    return t;
}

} // namespace

TEST(TupType, BitsAreOneBasedAndIgnoreShaftsOutsideOneTo64)
{
    TUPTYPE t;
    t.set(1);
    t.set(64);
    t.set(0);
    t.set(65);
    t.set(-3);
    EXPECT_EQ(t.bits(), 0x8000000000000001ull);
    EXPECT_EQ(t.low(), 1u);
    EXPECT_EQ(t.high(), 0x80000000u);
    EXPECT_TRUE(t.test(64));
    EXPECT_FALSE(t.test(0));
    EXPECT_FALSE(t.test(65));
    EXPECT_EQ(t.lowest(), 1);
    EXPECT_EQ(t.highest(), 64);
    t.clear(64);
    EXPECT_EQ(t.highest(), 1);
    EXPECT_EQ(TUPTYPE::firstShafts(0).bits(), 0u);
    EXPECT_EQ(TUPTYPE::firstShafts(4).bits(), 0xFu);
    EXPECT_EQ(TUPTYPE::firstShafts(64).bits(), ~0ull);
    EXPECT_EQ(TUPTYPE::firstShafts(200).bits(), ~0ull);
    EXPECT_TRUE(shafts({2, 5}).intersects(shafts({5})));
    EXPECT_FALSE(shafts({2, 5}).intersects(shafts({3})));
}

TEST(TreadleSet, SpansBothWordsUpToTreadle128)
{
    TreadleSet s;
    s.set(1);
    s.set(64);
    s.set(65);
    s.set(128);
    s.set(129);
    s.set(0);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(s.lowest(), 1);
    EXPECT_EQ(s.highest(), 128);
    EXPECT_TRUE(s.test(65));
    EXPECT_FALSE(s.test(129));
    std::vector<int> seen;
    s.forEach([&](int t) { seen.push_back(t); });
    EXPECT_EQ(seen, (std::vector<int>{1, 64, 65, 128}));
    for (int n : {0, 1, 63, 64, 65, 127, 128}) {
        const TreadleSet m = TreadleSet::firstTreadles(n);
        EXPECT_EQ(m.count(), n) << n;
        EXPECT_EQ(m.highest(), n) << n;
    }
}

TEST(Tieup, CellSettersStayWithinTheShaftCount)
{
    Tieup t(4, 3);
    EXPECT_TRUE(t.setCell(0, 4));
    EXPECT_FALSE(t.setCell(0, 5)); // above the shaft count
    EXPECT_TRUE(t.setCell(1, 0));  // shaft 0 is accepted and changes nothing
    EXPECT_TRUE(t.column(1).empty());
    EXPECT_FALSE(t.setCell(3, 1)); // treadle outside
    EXPECT_FALSE(t.setCell(-1, 1));
    EXPECT_FALSE(t.clearCell(0, 5));
    EXPECT_TRUE(t.clearCell(0, 4));
    EXPECT_TRUE(t.isEmpty());

    EXPECT_TRUE(t.setColumn(2, TUPTYPE(~0ull))); // masked to shafts 1..4
    EXPECT_EQ(t.column(2).bits(), 0xFu);
    EXPECT_FALSE(t.setColumn(3, shafts({1})));
    EXPECT_TRUE(t.column(3).empty()); // a treadle outside yields the empty set
    EXPECT_TRUE(t.column(-1).empty());
}

TEST(Tieup, DirectTieupLeavesTreadlesBeyondTheShaftsEmpty)
{
    Tieup t(3, 5);
    t.setColumn(4, shafts({1, 2}));
    t.makeDirect();
    EXPECT_EQ(t, make(3, {{1}, {2}, {3}, {}, {}}));
}

TEST(Tieup, SetShaftCountMasksEveryColumn)
{
    Tieup t = make(8, {{1, 5}, {8}, {2, 4}});
    EXPECT_TRUE(t.setShaftCount(4));
    EXPECT_EQ(t, make(4, {{1}, {}, {2, 4}}));
    EXPECT_FALSE(t.setShaftCount(65));
    EXPECT_FALSE(t.setShaftCount(-1));
    EXPECT_EQ(t.shaftCount(), 4);
    // Raising the count again does not bring the cut shafts back.
    EXPECT_TRUE(t.setShaftCount(8));
    EXPECT_FALSE(t.cell(0, 5));
}

TEST(Tieup, SetTreadleCountKeepsColumnsAndTiesNewOnesStraight)
{
    Tieup t = make(3, {{1, 2}, {3}});
    EXPECT_TRUE(t.setTreadleCount(5));
    // Treadle 3 (index 2) gets shaft 3; shafts 4 and 5 do not exist here.
    EXPECT_EQ(t, make(3, {{1, 2}, {3}, {3}, {}, {}}));
    EXPECT_TRUE(t.setShaftCount(5));
    EXPECT_TRUE(t.column(3).empty()) << "no hidden tie may reappear";
    EXPECT_TRUE(t.setTreadleCount(1));
    EXPECT_EQ(t, make(5, {{1, 2}}));
    EXPECT_FALSE(t.setTreadleCount(129));
    EXPECT_EQ(t.treadleCount(), 1);
}

TEST(Tieup, ClearColumnsIsCutAtTheTreadleCountAndRefusesNegativeArguments)
{
    Tieup full(2, 4);
    full.complement();
    Tieup t = full;
    EXPECT_TRUE(t.clearColumns(2, 10));
    EXPECT_EQ(t, make(2, {{1, 2}, {1, 2}, {}, {}}));
    t = full;
    EXPECT_FALSE(t.clearColumns(-2, 3));
    EXPECT_FALSE(t.clearColumns(1, -1));
    EXPECT_FALSE(t.clearColumns(5, 1));
    EXPECT_EQ(t, full);
}

TEST(Tieup, FlipReverseAndComplement)
{
    Tieup t = make(4, {{1}, {2, 4}, {}});
    t.flipShafts();
    EXPECT_EQ(t, make(4, {{4}, {3, 1}, {}}));
    t.reverseTreadles();
    EXPECT_EQ(t, make(4, {{}, {1, 3}, {4}}));
    t.complement();
    EXPECT_EQ(t, make(4, {{1, 2, 3, 4}, {2, 4}, {1, 2, 3}}));
}

TEST(Tieup, TranspositionsOfASquareTieup)
{
    const Tieup src = make(3, {{1}, {1, 2}, {3}});
    Tieup a = src;
    a.transpose1();
    EXPECT_EQ(a, make(3, {{2, 3}, {2}, {1}}));
    Tieup b = src;
    b.transpose2();
    EXPECT_EQ(b, make(3, {{3}, {2}, {1, 2}}));

    Tieup notSquare = make(3, {{1}, {2}});
    const Tieup before = notSquare;
    notSquare.transpose1();
    notSquare.transpose2();
    EXPECT_EQ(notSquare, before);
}

TEST(Tieup, WindowIsCutToTheSourceAndShiftedDown)
{
    const Tieup src = make(4, {{1, 4}, {2, 4}, {3, 4}, {4}});
    const Tieup w(src, 1, 1, 2, 2);
    EXPECT_EQ(w, make(2, {{1}, {2}}));
    const Tieup cut(src, 3, 2, 10, 10);
    EXPECT_EQ(cut, make(2, {{2}}));
    const Tieup outside(src, 9, 0, 2, 2);
    EXPECT_EQ(outside.treadleCount(), 0);
}

TEST(Tieup, MergeReplacesBitsOnlyWithinTheOthersShaftRange)
{
    Tieup t(4, 3);
    t.complement();
    const Tieup other = make(2, {{1}, {}});
    EXPECT_TRUE(t.merge(other, 1, 1));
    EXPECT_EQ(t, make(4, {{1, 2, 3, 4}, {1, 2, 4}, {1, 4}}));
    // Columns that would land beyond the treadles are dropped.
    Tieup u(4, 3);
    EXPECT_TRUE(u.merge(make(4, {{1}, {2}}), 2, 0));
    EXPECT_EQ(u, make(4, {{}, {}, {1}}));
    EXPECT_FALSE(u.merge(other, 0, 64));
    EXPECT_FALSE(u.merge(other, 0, -1));
}

TEST(TieupKey, IsStoredOnlyWithBothFlags)
{
    TieupKey k(4, 2);
    EXPECT_FALSE(k.isStored());
    k.flag1 = 1;
    EXPECT_FALSE(k.isStored());
    k.flag2 = 1;
    EXPECT_TRUE(k.isStored());
    EXPECT_TRUE(k.setCell(1, 4));
    EXPECT_FALSE(k.setCell(1, 5));
}
