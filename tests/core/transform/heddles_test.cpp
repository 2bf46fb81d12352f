// Heddle counts and the thick-and-thin pattern.
#include "tests/core/transform/drafts.h"

#include "core/transform/heddlecount.h"
#include "core/transform/thicknesspattern.h"

#include <gtest/gtest.h>

using namespace qbtest;

TEST(HeddleCount, StraightDrawOnTwoShafts)
{
    auto doc = NewDraft(2, 2);
    SetShafts(*doc, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2});
    EXPECT_EQ(HeddleCountText(*doc), "1:\t     5\n2:\t     5\n");
}

TEST(HeddleCount, EveryWarpRowCounts)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 0, 3, 0});
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    doc->raw().threadingMutable(1)->SetValue(1, 3);
    doc->raw().threadingMutable(1)->SetValue(3, 4);
    EXPECT_EQ(HeddleCounts(*doc), (std::vector<int>{1, 0, 2, 1}));
}

TEST(ThicknessPattern, ClicksEditThePattern)
{
    ThicknessPattern p;
    p.toggle(4); // cell 5 of an empty pattern: five thin entries
    EXPECT_EQ(p.thick(), std::vector<bool>(5, false));
    p.toggle(4);
    EXPECT_EQ(p.thick(), (std::vector<bool>{false, false, false, false, true}));
    p.remove(9); // past the end: no entry to remove
    p.toggle(ThicknessPattern::kCells);
    EXPECT_EQ(p.size(), 5);
    p.remove(0);
    EXPECT_EQ(p.thick(), (std::vector<bool>{false, false, false, true}));
}

TEST(ThicknessPattern, RepeatsOverTheThreads)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, std::vector<int>(7, 1));
    ASSERT_TRUE(ApplyThicknessPattern(kUnrecorded, *doc, Side::Threading, {true, false, false}).done());
    for (int e = 0; e < 7; ++e) EXPECT_EQ(doc->threading(0)->GetThick(e) != 0, e % 3 == 0) << e;
    EXPECT_EQ(ApplyThicknessPattern(kUnrecorded, *doc, Side::Treadling, {true}).status,
              CommandResult::Status::NoChange);
    EXPECT_EQ(ApplyThicknessPattern(kUnrecorded, *doc, Side::Threading, {}).status, CommandResult::Status::NoChange);
}
