#ifndef TESTS_WORLD_QUERYWORLD_H
#define TESTS_WORLD_QUERYWORLD_H

#include <gtest/gtest.h>

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "utils/Singleton.h"
#include "world/AgentState.h"
#include "world/WorldState.h"

// A world state for the tactical queries: we play on the left as number 5,
// every player stands parked along a side line facing our goal, the ball rests at the
// centre spot in play-on.
class QueryWorld : public ::testing::Test {
protected:
    static constexpr int MY_UNUM = 5;

    WorldState& ws = Singleton<WorldState>::getInstance();

    void SetUp() override
    {
        ws.setUnum(MY_UNUM);
        ws.setSide("left");
        ws.game->playmode = PLAY_ON;
        ws.gTime = 0;
        ws.cTime = 0;
        ws.cycle = 0;
        ws.lastGetupFinishedTime = 0;
        ws.closeTeam = ws.closeOpp = 2;
        ws.closeTeam2 = ws.closeOpp2 = 3;
        ws.closeTeamDist = ws.closeOppDist = 20;
        ws.closeTeamDist2 = ws.closeOppDist2 = 30;
        ws.playWB = 0;
        ws.lastTeamWithBall = 1;
        ws.passBlocker = 0;
        ws.lastActiveWinner = 0;
        ws.me->oppMarkedByTeammate = 0;
        // Parked team-mates face their own goal.
        for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
            place(ws.ostrevanda[n], Vector(-12.0f + n, 9.5f));
            place(ws.opponentTeam[n], Vector(-12.0f + n, -9.5f));
            ws.ostrevanda[n]->orientation = 180;
            ws.opponentTeam[n]->orientation = 180;
            ws.ostrevanda[n]->setRole(n == 1 ? Role(GOA) : Role());
        }
        AgentState& posture = Singleton<AgentState>::getInstance();
        posture.mFallen = false;
        posture.mRising = false;
        posture.setAgentState(AS_STANDING);
        setBall(Vector(0, 0));
    }

    Player* mate(int n) { return ws.ostrevanda[n]; }
    Player* opp(int n) { return ws.opponentTeam[n]; }

    // A player standing at p: head 0.5 m high, feet 0.12 m apart.
    static void place(Player* pl, Vector p)
    {
        pl->position = Vector3f(p.x, p.y, 0.5f);
        pl->head.position = Vector3f(p.x, p.y, 0.5f);
        pl->lFoot.position = Vector3f(p.x, p.y + 0.06f, 0);
        pl->rFoot.position = Vector3f(p.x, p.y - 0.06f, 0);
    }

    // A player lying with its head at p and its feet 0.5 m further along +x.
    static void placeFallen(Player* pl, Vector p)
    {
        pl->position = Vector3f(p.x, p.y, 0.1f);
        pl->head.position = Vector3f(p.x, p.y, 0.1f);
        pl->lFoot.position = Vector3f(p.x + 0.5f, p.y + 0.06f, 0.05f);
        pl->rFoot.position = Vector3f(p.x + 0.5f, p.y - 0.06f, 0.05f);
    }

    void placeMe(Vector p, float orientation = 0)
    {
        place(ws.me, p);
        ws.me->orientation = orientation;
        ws.myPos = p;
    }

    // Both ball positions at p, the ball at rest.
    void setBall(Vector p)
    {
        ws.ball->position = Vector3f(p.x, p.y, 0.042f);
        ws.ball->finalPos = ws.ball->position;
        ws.ballPos = p;
    }
};

#endif
