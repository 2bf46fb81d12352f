#include "core/dobby/dobbymenu.h"
#include "core/dobby/dobbymessages.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

TEST(DobbyMenu, EnabledAndChecked)
{
    DobbyMenuContext idle;
    idle.headIndex = 2;
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Start, idle).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::Stop, idle).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::SetPick, idle).enabled);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Markers, idle).enabled);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Settings, idle).enabled);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::SelfTest, idle).enabled);
    for (int head : {0, 1, 3, 5}) {
        idle.headIndex = head;
        EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::SelfTest, idle).enabled) << head;
    }
    idle.headIndex = 4;
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::SelfTest, idle).enabled);

    DobbyMenuContext weaving{true, true, true, false, true, 4};
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::Start, weaving).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::SameShed, weaving).enabled);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Unweave, weaving).checked);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::Reverse, weaving).checked);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Loop, weaving).checked);
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::RepeatCount, weaving).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::Settings, weaving).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::SelfTest, weaving).enabled);
    weaving.loop = false;
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::RepeatCount, weaving).enabled);

    // Another draft is being woven: this one can start (taking the head over).
    DobbyMenuContext other{false, true, false, false, false, 2};
    EXPECT_TRUE(DobbyMenuState(DobbyMenuItem::Start, other).enabled);
    EXPECT_FALSE(DobbyMenuState(DobbyMenuItem::SelfTest, other).enabled);
}

TEST(DobbyMenu, StoredPortCheck)
{
    EXPECT_EQ(CheckedSerialPortNum(3, {1, 3}), 3);
    EXPECT_EQ(CheckedSerialPortNum(2, {1, 3}), 1);
    EXPECT_EQ(CheckedSerialPortNum(2, {}), -1);
    EXPECT_EQ(CheckedSerialPortNum(-1, {4}), 4);
    EXPECT_EQ(CheckedSerialPortNum(0, {4}), 0);
    EXPECT_EQ(CheckedSerialPortNum(0, {}), 0);
}

TEST(DobbyMessages, PortFailures)
{
    EXPECT_EQ(CouldNotOpenPortMessage("COM3"), "Couldn't open port on COM3");
    EXPECT_EQ(PortSetupFailedMessage(DobbyHeadType::AVL3, "COM3"), "Port setup failed");
    EXPECT_EQ(PortSetupFailedMessage(DobbyHeadType::Louet, "/dev/ttyUSB0"), "Port setup on /dev/ttyUSB0 failed");
    DobbyHeadType t{};
    EXPECT_TRUE(DobbyHeadFromName("LeClerc II", t));
    EXPECT_EQ(t, DobbyHeadType::Leclerc2);
    EXPECT_TRUE(DobbyHeadFromName("AVL3", t));
    EXPECT_EQ(t, DobbyHeadType::AVL3);
    EXPECT_FALSE(DobbyHeadFromName("leclerc", t));
}

} // namespace
