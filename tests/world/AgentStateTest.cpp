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

// A robot resting tilted far over where no side rule matches (on its knees
// and hands, face down at about 70 degrees) has fallen once it stays so for
// ten checks in a row; a tilt that passes does not count.
TEST(AgentState, RestingTiltedFarOverIsAFall)
{
    struct Case {
        const char* what;
        Vector3f reading;
        int checks;
        bool upright_between;
        bool fallen;
        states result;
    };
    const Case cases[] = {
        {"face down at 71 degrees", {0, -9.27f, 3.19f}, 10, false, true, AS_FALLEN_FRONT},
        {"face up at 71 degrees", {0, 9.27f, 3.19f}, 10, false, true, AS_FALLEN_BACK},
        {"on the side at 60 degrees", {6, 2, 4}, 10, false, true, AS_FALLEN_SIDE},
        {"face down, nine checks", {0, -9.27f, 3.19f}, 9, false, false, AS_WALKING},
        {"face down, upright for one check midway", {0, -9.27f, 3.19f}, 10, true, false, AS_WALKING},
        {"leaning 55 degrees", {0, -8, 5.6f}, 30, false, false, AS_WALKING},
    };
    for (const Case& c : cases) {
        AgentState state;
        state.setAgentState(AS_WALKING);
        for (int i = 0; i < c.checks; ++i) {
            if (c.upright_between && i == c.checks / 2) {
                feel(0, 0, 9.8f);
                state.calculateFall();
            }
            feel(c.reading.x, c.reading.y, c.reading.z);
            state.calculateFall();
        }
        EXPECT_EQ(state.isFallen(), c.fallen) << c.what;
        EXPECT_EQ(state.getAgentState(), c.result) << c.what;
    }
}

// A fall lasts while the mean reading stays tilted past 45 degrees: a robot
// on its knees face down that tries to walk bounces, and its mean reading
// leans back to about 50 degrees now and then. The fall then keeps its side,
// which the get-up needs.
TEST(AgentState, AFallLastsWhileTiltedPast45Degrees)
{
    struct Case {
        const char* what;
        bool fallen_before;
        Vector3f reading;
        bool fallen;
        states result;
    };
    const Case cases[] = {
        {"fallen, then 51 degrees", true, {-0.66f, -8.78f, 7.14f}, true, AS_FALLEN_FRONT},
        {"fallen, then 40 degrees", true, {0, -6.3f, 7.5f}, false, AS_STOP},
        {"walking, then 51 degrees", false, {-0.66f, -8.78f, 7.14f}, false, AS_WALKING},
    };
    for (const Case& c : cases) {
        AgentState state;
        state.setAgentState(AS_WALKING);
        if (c.fallen_before) {
            feel(0, -9, -1);
            state.calculateFall();
            ASSERT_TRUE(state.isFallen()) << c.what;
            state.setAgentState(AS_STOP);  // as the agent does on noticing it
        }
        feel(c.reading.x, c.reading.y, c.reading.z);
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
