// The agent built once for the test program, over a world prepared as the
// tactical queries' world.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KVDAgentH.h"
#include "skills/AgentActions.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"
#include "world/QueryWorld.h"

// A listening socket that never answers: enough for the agent to be built.
inline int decisionListener(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    port = ntohs(a.sin_port);
    return fd;
}

// Team-mate 5 of the left team, its world prepared as the tactical queries'
// world; the agent is built once for the program.
class DecisionTest : public QueryWorld {
protected:
    inline static KVDAgentH* agent = nullptr;
    inline static int listenFd = -1;

    static void SetUpTestSuite()
    {
        if (agent != nullptr)
            return;
        int port = 0;
        listenFd = decisionListener(port);
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
