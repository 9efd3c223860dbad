#include <gtest/gtest.h>

#include <string>

#include "skills/AgentActions.h"
#include "utils/communication/Actions.h"
#include "world/QueryWorld.h"

namespace {

int countPasses(const std::string& batch)
{
    int n = 0;
    for (std::string::size_type at = batch.find("(pass)"); at != std::string::npos;
         at = batch.find("(pass)", at + 1))
        ++n;
    return n;
}

} // namespace

class ActionLibrary : public QueryWorld {
protected:
    AgentActions& actions = Singleton<AgentActions>::getInstance();
    Actions& effectors = Singleton<Actions>::getInstance();

    void SetUp() override
    {
        QueryWorld::SetUp();
        effectors.ss.str("");
    }
};

TEST_F(ActionLibrary, HoldsTheSharedPostureState)
{
    EXPECT_EQ(actions.aState, &Singleton<AgentState>::getInstance());
}

TEST_F(ActionLibrary, ServerPassStopsAtTheFirstOpponentOnTheBall)
{
    struct Row {
        const char* what;
        float opp2, opp4, opp6;
        int passes;
    } rows[] = {
        {"two near, none on the ball", 1.5f, 3, 1.9f, 2},
        {"one near before one on the ball", 1.5f, 0.5f, 1.9f, 1},
        {"on the ball first", 0.9f, 1.5f, 1.5f, 0},
        {"exactly 2 m is not near, exactly 1 m not on the ball", 2, 1, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        effectors.ss.str("");
        place(opp(2), Vector(r.opp2, 0));
        place(opp(4), Vector(0, r.opp4));
        place(opp(6), Vector(-r.opp6, 0));
        actions.serverPass();
        EXPECT_EQ(countPasses(effectors.ss.str()), r.passes);
    }
}

TEST_F(ActionLibrary, GetupFollowsThePosture)
{
    AgentState& posture = *actions.aState;

    // Standing: the agent is free.
    EXPECT_FALSE(actions.doGetup());
    EXPECT_EQ(posture.getAgentState(), AS_STANDING);

    // Fallen: first the stop behaviour.
    posture.mFallen = true;
    posture.setAgentState(AS_FALLEN_BACK);
    ws.cTime = 10;
    ws.lastGetupFinishedTime = 9.5f;
    EXPECT_TRUE(actions.doGetup());
    EXPECT_EQ(posture.getAgentState(), AS_STOP);

    // Less than 0.75 s after the last get-up nothing is due.
    posture.setAgentState(AS_FALLEN_BACK);
    EXPECT_FALSE(actions.doGetup());
    EXPECT_FALSE(posture.isRising());

    // Then the get-up starts.
    ws.cTime = 10.25f;
    EXPECT_TRUE(actions.doGetup());
    EXPECT_TRUE(posture.isRising());
    EXPECT_EQ(posture.getAgentState(), AS_RISING_BACK);

    // Up again: the get-up is over.
    posture.mFallen = false;
    EXPECT_FALSE(actions.doGetup());
    EXPECT_FALSE(posture.isRising());
    EXPECT_EQ(posture.getAgentState(), AS_WALKING);
}
