#include "core/dobby/weavingposition.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

class Position : public ::testing::Test {
protected:
    WeavingPosition& make(int picks, std::vector<int> markers = {}, int current = 0)
    {
        n = picks;
        state.markers = std::move(markers);
        state.currentPick = current;
        pos.emplace(
            state, [this] { return n; },
            WeavingPosition::Callbacks{[this] { ++modified; }, [this] { ++redraws; }, [this] { ++beeps; }});
        return *pos;
    }
    int n = 0;
    WeavingRunState state;
    std::optional<WeavingPosition> pos;
    int modified = 0, redraws = 0, beeps = 0;
};

TEST_F(Position, ForwardsStopsAtTheLastPick)
{
    auto& p = make(10, {}, 9);
    EXPECT_EQ(p.AdvancePick(), 1);
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.AdvancePick(), 1);
    EXPECT_EQ(p.currentPick(), 9);
}

TEST_F(Position, StraightThroughMarkersWithLoopOff)
{
    auto& p = make(10, {3}, 2);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 4);
    EXPECT_EQ(p.sectionStart(), 4);
    EXPECT_EQ(p.sectionEnd(), 9);
    EXPECT_EQ(p.repeatCount(), 0);
}

TEST_F(Position, LoopWrapsInsideTheSectionAndCounts)
{
    auto& p = make(10, {3}, 3);
    p.ToggleLoop();
    EXPECT_EQ(p.sectionStart(), 0);
    EXPECT_EQ(p.sectionEnd(), 3);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 0);
    EXPECT_EQ(p.repeatCount(), 1);
    EXPECT_EQ(beeps, 1);

    p.SetCurrentPick(4);
    EXPECT_EQ(p.sectionStart(), 4);
    EXPECT_EQ(p.sectionEnd(), 9);
    for (int i = 0; i < 5; ++i) p.AdvancePick();
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 4);
    EXPECT_EQ(p.repeatCount(), 2);
}

TEST_F(Position, Directions)
{
    auto& p = make(10, {}, 5);
    p.ToggleReverse();
    p.AdvancePick();
    EXPECT_EQ(p.currentPick(), 4);
    // Reverse and unweave together go forwards.
    p.ToggleUnweave(); // also steps once
    EXPECT_EQ(p.currentPick(), 5);
    p.AdvancePick();
    EXPECT_EQ(p.currentPick(), 6);
    p.ToggleUnweave();
    EXPECT_EQ(p.currentPick(), 5);
    // Backwards from the first pick with loop off: out of the treadling.
    p.SetCurrentPick(0);
    EXPECT_EQ(p.AdvancePick(), 1);
    EXPECT_EQ(p.currentPick(), 0);
}

TEST_F(Position, StepBackLeavesUnweaveOff)
{
    auto& p = make(10, {}, 5);
    EXPECT_EQ(p.StepBack(), 0);
    EXPECT_EQ(p.currentPick(), 4);
    EXPECT_FALSE(p.unweave());
    p.ToggleReverse();
    p.StepBack();
    EXPECT_EQ(p.currentPick(), 5);
}

TEST_F(Position, UnweavingAcrossTheLoopCountsDownWithoutBeep)
{
    auto& p = make(10, {3}, 5);
    p.ToggleLoop();
    p.SetRepeatCount(2);
    p.SetCurrentPick(4);
    EXPECT_EQ(p.ToggleUnweave(), 0); // from the section start backwards
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.repeatCount(), 1);
    EXPECT_EQ(beeps, 0);
    for (int i = 0; i < 6; ++i) p.AdvancePick();
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.repeatCount(), 0);
    // The counter does not go below zero.
    for (int i = 0; i < 6; ++i) p.AdvancePick();
    EXPECT_EQ(p.repeatCount(), 0);
}

TEST_F(Position, RepeatCountStaysWithinTheDialogRange)
{
    auto& p = make(3, {}, 2);
    EXPECT_TRUE(p.SetRepeatCount(999));
    EXPECT_FALSE(p.SetRepeatCount(1000));
    EXPECT_FALSE(p.SetRepeatCount(-1));
    EXPECT_EQ(p.repeatCount(), 999);
    p.ToggleLoop();
    p.AdvancePick();
    EXPECT_EQ(p.currentPick(), 0);
    EXPECT_EQ(p.repeatCount(), 999);
}

TEST_F(Position, Markers)
{
    auto& p = make(10, {}, 0);
    EXPECT_TRUE(p.AddMarker(5));
    EXPECT_FALSE(p.AddMarker(5));
    EXPECT_EQ(p.markers(), std::vector<int>({4}));
    EXPECT_TRUE(p.AddMarker(2));
    EXPECT_TRUE(p.AddMarker(8));
    EXPECT_EQ(p.markers(), std::vector<int>({1, 4, 7}));
    EXPECT_EQ(p.sectionEnd(), 1);
    EXPECT_GT(redraws, 0);
    EXPECT_FALSE(p.AddMarker(0));
    EXPECT_FALSE(p.RemoveMarker(6));
    EXPECT_FALSE(p.RemoveMarker(0));
    EXPECT_TRUE(p.RemoveMarker(2));
    EXPECT_EQ(p.sectionEnd(), 4);
    EXPECT_EQ(p.NextMarkerAfter(0), 4);
    EXPECT_EQ(p.NextMarkerAfter(4), 7);
    EXPECT_EQ(p.NextMarkerAfter(7), 0);
    EXPECT_TRUE(p.RemoveMarker(-1));
    EXPECT_TRUE(p.markers().empty());
    EXPECT_FALSE(p.RemoveMarker(-1));
    EXPECT_EQ(p.sectionEnd(), 9);
}

TEST_F(Position, SetCurrentPickOutsideThePicksGivesTheFirst)
{
    auto& p = make(10, {}, 5);
    p.SetCurrentPick(10);
    EXPECT_EQ(p.currentPick(), 0);
    p.SetCurrentPick(7);
    p.SetCurrentPick(-3);
    EXPECT_EQ(p.currentPick(), 0);
}

TEST_F(Position, DeletedPicksTakeEveryStaleMarkerAlong)
{
    // 100 picks with three markers; picks 10..99 are deleted while looping.
    auto& p = make(100, {20, 30, 40}, 5);
    p.ToggleLoop();
    n = 10;
    p.PicksChanged();
    EXPECT_TRUE(p.markers().empty());
    EXPECT_EQ(p.sectionEnd(), 9);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 0);
}

TEST_F(Position, DeletedPicksKeepTheLastPick)
{
    auto& p = make(20, {}, 15);
    n = 12;
    p.PicksChanged();
    EXPECT_EQ(p.currentPick(), 11);
}

TEST_F(Position, NoPicksStaysAtZero)
{
    auto& p = make(5, {}, 3);
    n = 0;
    p.PicksChanged();
    EXPECT_EQ(p.AdvancePick(), 1);
    EXPECT_EQ(p.currentPick(), 0);
    p.ToggleReverse();
    EXPECT_EQ(p.AdvancePick(), 1);
    EXPECT_EQ(p.currentPick(), 0);
}

TEST_F(Position, MarkerOnTheLastPickDoesNotTrapTheRun)
{
    auto& p = make(10, {9}, 8);
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.AdvancePick(), 1); // left the treadling
    EXPECT_EQ(p.currentPick(), 9);
    p.ToggleLoop();
    EXPECT_EQ(p.AdvancePick(), 0);
    EXPECT_EQ(p.currentPick(), 0);
}

TEST_F(Position, ModifiedOnlyForDraftsReadFromAFile)
{
    auto& p = make(10);
    p.AdvancePick();
    p.ToggleLoop();
    p.AddMarker(3);
    EXPECT_EQ(modified, 0);
    state.savedState = true;
    p.AdvancePick();
    p.ToggleLoop();
    p.ToggleReverse();
    p.AddMarker(4);
    p.RemoveMarker(4);
    EXPECT_EQ(modified, 5);
    p.SetCurrentPick(p.currentPick()); // no change
    EXPECT_EQ(modified, 5);
}

TEST_F(Position, ConstructionRepairsLoadedState)
{
    state.repeatCount = -4;
    auto& p = make(10, {7, 2, 7, 12}, 40);
    EXPECT_EQ(p.markers(), std::vector<int>({2, 7}));
    EXPECT_EQ(p.currentPick(), 9);
    EXPECT_EQ(p.repeatCount(), 0);
    EXPECT_EQ(p.sectionStart(), 8);
}

} // namespace
