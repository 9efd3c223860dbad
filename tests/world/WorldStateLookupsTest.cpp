#include <gtest/gtest.h>

#include "geometry/Matrix4D.h"
#include "physics/Types.h"
#include "world/QueryWorld.h"

class Lookups : public QueryWorld {};

TEST_F(Lookups, PlayersByTeamAndNumber)
{
    struct Row {
        int team;
        int unum;
        Player* expected;
    } rows[] = {
        {0, 4, mate(4)}, {1, 4, opp(4)}, {3, 4, nullptr}, {-1, 4, nullptr}, {0, 12, nullptr},
        {1, 0, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.team << "/" << r.unum);
        EXPECT_EQ(ws.getPlayer(r.team, r.unum), r.expected);
    }
    EXPECT_EQ(ws.ostrevanda.count(12), 0u);
    EXPECT_EQ(ws.opponentTeam.count(0), 0u);
    EXPECT_EQ(ws.getOpponentPlayer(9), opp(9));
}

TEST_F(Lookups, MarkedOpponentIsNotedEvenWhenAbsent)
{
    EXPECT_EQ(ws.getPlayer(2, 7), opp(7));
    EXPECT_EQ(ws.me->oppMarkedByTeammate, 7);
    EXPECT_EQ(ws.getPlayer(2, 13), nullptr);
    EXPECT_EQ(ws.me->oppMarkedByTeammate, 13);
}

TEST_F(Lookups, MyOwnNumberIsMeWithoutTheMap)
{
    Player stranger(MY_UNUM);
    Player* mine = ws.ostrevanda[MY_UNUM];
    ws.ostrevanda[MY_UNUM] = &stranger;
    EXPECT_EQ(ws.getOstrevandaPlayer(MY_UNUM), ws.me);
    EXPECT_EQ(ws.getQuorvelPlayer(MY_UNUM), ws.me);
    EXPECT_EQ(ws.getOstrevandaPlayer(3), mate(3));
    ws.ostrevanda[MY_UNUM] = mine;
    EXPECT_EQ(ws.getMe(), ws.me);
}

TEST_F(Lookups, PlayerByRoleLowestNumberWins)
{
    mate(8)->setRole(Role(KEL));
    mate(3)->setRole(Role(KEL));
    ws.me->setRole(Role(KCF));
    EXPECT_EQ(ws.getQuorvelPlayerByRole(KEL), mate(3));
    EXPECT_EQ(ws.getQuorvelPlayerByRole(KCF), ws.me);
    EXPECT_EQ(ws.getQuorvelPlayerByRole(GOA), mate(1));
    EXPECT_EQ(ws.getQuorvelPlayerByRole(SUR), nullptr);
}

TEST_F(Lookups, TeamsAndIterators)
{
    std::map<int, Player*> ours = ws.getOstrevandaTeam();
    EXPECT_EQ(ours, ws.ostrevanda);
    EXPECT_EQ(ws.getOpponentTeam(), ws.opponentTeam);
    int n = 0;
    for (auto it = ws.beginOpponents(); it != ws.endOpponents(); ++it)
        EXPECT_EQ(it->first, ++n);
    EXPECT_EQ(n, 11);
    EXPECT_EQ(ws.beginPlayers()->first, 1);
}

TEST_F(Lookups, GoalsOnTheLeftSide)
{
    EXPECT_EQ(ws.getBackCenterGoal(), Vector3f(-15, 0, 0.8f));
    EXPECT_EQ(ws.getFrontCenterGoal(), Vector3f(15, 0, 0.8f));
    EXPECT_FLOAT_EQ(ws.getBackLeftGoal().y, -1.05f);
    EXPECT_FLOAT_EQ(ws.getBackRightGoal().y, 1.05f);
    EXPECT_EQ(ws.getFrontLeftGoal().x, 15.0f);
}

TEST_F(Lookups, DistanceToTheGoalSegment)
{
    Vector left(15, -1.05f), right(15, 1.05f);
    struct Row {
        Vector pos;
        float dist;
    } rows[] = {
        {Vector(10, 3), Vector(10, 3).getDistanceTo(right)},
        {Vector(10, -3), Vector(10, -3).getDistanceTo(left)},
        {Vector(10, 0), 5},
        {Vector(12, 1.05f), 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pos.toString());
        EXPECT_NEAR(ws.getDistanceToGoal(left, right, r.pos), r.dist, 1e-5f);
    }
}

TEST_F(Lookups, NearestOpponent)
{
    place(opp(6), Vector(3, 4));
    Vector3f at(7, 7, 7);
    EXPECT_NEAR(ws.distToOpp(Vector3f(0, 0, 0.5f), at), 5, 1e-5f);
    EXPECT_EQ(at, Vector3f(3, 4, 0.5f));

    // Nobody nearer than 10000: the position is left alone.
    Vector3f untouched(7, 7, 7);
    EXPECT_EQ(ws.distToOpp(Vector3f(1e6f, 0, 0), untouched), 10000.0f);
    EXPECT_EQ(untouched, Vector3f(7, 7, 7));
}

TEST_F(Lookups, SimpleGettersAndSetters)
{
    ws.fastestCarrier = 4;
    ws.fastestCarrier2 = 6;
    ws.fastestBlocker = 9;
    ws.fastestBlocker2 = 2;
    EXPECT_EQ(ws.getFastestCarrier(), 4);
    EXPECT_EQ(ws.getFastestCarrier2(), 6);
    EXPECT_EQ(ws.getFastestBlocker(), 9);
    EXPECT_EQ(ws.getFastestBlocker2(), 2);
    ws.setCurrentBehavior(12);
    EXPECT_EQ(ws.getCurrentBehavior(), 12);
    ws.setCurrentPassBlocker(7);
    EXPECT_EQ(ws.passBlocker, 7);
    EXPECT_EQ(ws.getCurrentPassBlocker(), 7);
    ws.setBlockerFound(true);
    EXPECT_TRUE(ws.isBlockerFound());
    ws.setBlockerFound(false);
}

TEST_F(Lookups, BallAheadOfAFootWithoutABodyModel)
{
    // No robot description loaded: the foot is taken where I stand.
    placeMe(Vector(0, 0), 0);
    ws.ballPos = Vector(0.3f, 0.2f);
    EXPECT_NEAR(ws.ForwardDeviationFromBallTo(Types::ilLFoot), 0.3f, 1e-5f);
}

TEST_F(Lookups, RelativeSightingIsBlendedIntoThePosition)
{
    ws.headToFieldTransf = Matrix4D();
    placeMe(Vector(1, 0));
    place(opp(3), Vector(6, 1));
    // Seen 5 m straight ahead of the camera: (6, 0, 0.5) on the field.
    ws.setPlayerRelativePosition(3, 1, 5, 0, 0);
    Player* p = opp(3);
    EXPECT_TRUE(p->seen);
    EXPECT_TRUE(p->isPlaying);
    EXPECT_EQ(p->prevPosition.front(), Vector3f(6, 1, 0.5f));
    EXPECT_NEAR(p->position.x, 6, 1e-5f);
    EXPECT_NEAR(p->position.y, 0.8f, 1e-5f);
    EXPECT_NEAR(p->position.z, 0.5f, 1e-5f);

    // My own record and numbers outside the team are left alone.
    Vector3f mine = ws.me->position;
    ws.setPlayerRelativePosition(MY_UNUM, 0, 5, 0, 0);
    EXPECT_EQ(ws.me->position, mine);
    ws.setPlayerRelativePosition(12, 1, 5, 0, 0);
    ws.setPlayerRelativePosition(3, 2, 5, 0, 0);
    EXPECT_EQ(ws.opponentTeam.size(), 11u);
}
