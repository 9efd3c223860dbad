// The agent built once for the test program, over a world prepared as the
// tactical queries' world.
#pragma once

#include <gtest/gtest.h>

#include "KVDAgentH.h"
#include "Support.h"
#include "skills/AgentActions.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"
#include "world/QueryWorld.h"

// Team-mate 5 of the left team, its world prepared as the tactical queries'
// world; the agent is built once for the program.
class DecisionTest : public QueryWorld {
protected:
    inline static KVDAgentH* agent = nullptr;
    // Never answers: enough for the agent to be built.
    inline static agenttest::Listener* listener = nullptr;

    static void SetUpTestSuite()
    {
        if (agent != nullptr)
            return;
        listener = new agenttest::Listener;
        const int port = listener->port();
        unsigned int unum = MY_UNUM;
        agent = new KVDAgentH("nao.xml", "Left", unum, "127.0.0.1", port, nullptr, false, "", "", false, false,
                              "none", 4100);
        // The agent connects in run(); what it sends goes to the listener.
        Singleton<ServerComm>::getInstance().initialize("127.0.0.1", port);
    }

    Strategy& strategy() { return *agent->strategy; }
    AgentActions& actions() { return *agent->agentActions; }

    void SetUp() override
    {
        ASSERT_NE(agent, nullptr);
        QueryWorld::SetUp();
        ws.setIsSetplayActive(false);
        ws.fastestCarrier = ws.fastestCarrier2 = ws.fastestBlocker = ws.fastestBlocker2 = 0;
        ws.lastClockTimeInGoalPM = -100;
        ws.game->clockTime = 0;
        agent->unum = MY_UNUM;
        agent->penaltyKicker = false;
        for (int n = 1; n <= 11; n++)
            strategy().updateAgentsRole(Role(n, n == 1 ? GOA : NO_ROLE));
    }
};
