#include <gtest/gtest.h>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/AgentState.h"

namespace {

// One reading, or the same reading held for the whole history.
void feel(float ax, float ay, float az, int times = 5)
{
    for (int i = 0; i < times; ++i)
        Singleton<AgentModel>::getInstance().setAccelerometer(Vector3f(ax, ay, az));
}

} // namespace

TEST(AgentState, StartsStanding)
{
    AgentState state;
    EXPECT_EQ(state.getAgentState(), AS_STANDING);
    EXPECT_FALSE(state.isFallen());
    EXPECT_FALSE(state.isRising());
    EXPECT_EQ(state.mod, &Singleton<AgentModel>::getInstance());
}

TEST(AgentState, FallTest)
{
    struct Case {
        float ax, ay, az;
        bool fallen;
        states result;
    };
    // Each reading starts from walking, so "no change" shows as walking.
    const Case cases[] = {
        {0, -7, 2, true, AS_FALLEN_FRONT},
        {0, 8, 2, true, AS_FALLEN_BACK},
        {7, 0, 4, true, AS_FALLEN_SIDE},
        {-7, 0, 2, true, AS_FALLEN_SIDE},
        {0, -7, 5, false, AS_WALKING},   // az not below 5
        {0, -7, 4, false, AS_WALKING},   // tilted, but az not below 3 and |ax| small
        {0, 7, 2, false, AS_WALKING},    // ay not above 7.5
        {3, 3, 2, false, AS_WALKING},    // tilted, no rule matches
        {0, 0, 9.8f, false, AS_WALKING}, // upright
        {0, -6.5f, 2, false, AS_WALKING},
    };
    for (const Case& c : cases) {
        AgentState state;
        state.setAgentState(AS_WALKING);
        feel(c.ax, c.ay, c.az);
        state.calculateFall();
        EXPECT_EQ(state.isFallen(), c.fallen) << c.ax << ", " << c.ay << ", " << c.az;
        EXPECT_EQ(state.getAgentState(), c.result) << c.ax << ", " << c.ay << ", " << c.az;
    }
}

TEST(AgentState, UprightAgainClearsFallenButKeepsThePosture)
{
    AgentState state;
    feel(0, -7, 2);
    state.checkFallen();
    ASSERT_TRUE(state.isFallen());
    feel(0, 0, 9.8f);
    state.checkFallen();
    EXPECT_FALSE(state.isFallen());
    EXPECT_EQ(state.getAgentState(), AS_FALLEN_FRONT);
}

// A robot bouncing on the ground after it lands: one reading near free fall
// or one sideways jolt neither clears the fall nor turns it onto the side,
// nor does one upright reading; a reading on the front or back counts at once.
TEST(AgentState, OneOddReadingDoesNotDecide)
{
    struct Case {
        const char* what;
        Vector3f before, last;
        bool fallen;
        states result;
    };
    const Case cases[] = {
        {"lying, then near free fall", {0, -9, -1}, {-0.5f, -0.1f, -1.6f}, true, AS_FALLEN_FRONT},
        {"lying, then a sideways jolt", {0, -9, -1}, {9, -2, 1}, true, AS_FALLEN_FRONT},
        {"standing, then on the back", {0, 0, 9.8f}, {0, 8, 2}, true, AS_FALLEN_BACK},
        {"standing, then a sideways jolt", {0, 0, 9.8f}, {9, -2, 1}, true, AS_FALLEN_SIDE},
        {"on the side, then near free fall", {9, 0, 1}, {-0.5f, -0.1f, -1.6f}, true, AS_FALLEN_SIDE},
        {"lying, then one upright reading", {0, -9, -1}, {0, 0, 9.8f}, true, AS_FALLEN_FRONT},
    };
    for (const Case& c : cases) {
        AgentState state;
        state.setAgentState(AS_WALKING);
        feel(c.before.x, c.before.y, c.before.z);
        feel(c.last.x, c.last.y, c.last.z, 1);
        state.calculateFall();
        EXPECT_EQ(state.isFallen(), c.fallen) << c.what;
        EXPECT_EQ(state.getAgentState(), c.result) << c.what;
    }
}

TEST(AgentState, CopiesAreFresh)
{
    AgentState state;
    state.setAgentState(AS_KICKING);
    state.mRising = true;
    AgentState copy(state);
    EXPECT_EQ(copy.getAgentState(), AS_STANDING);
    EXPECT_FALSE(copy.isRising());
    AgentState other;
    other = state;
    EXPECT_EQ(other.getAgentState(), AS_STANDING);
}
