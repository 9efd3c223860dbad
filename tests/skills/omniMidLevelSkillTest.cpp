#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "world/QueryWorld.h"

namespace {

std::vector<int> numbers(const std::vector<Player*>& players)
{
    std::vector<int> out;
    for (const Player* p : players)
        out.push_back(p->unum);
    return out;
}

void expectNear(const Vector& actual, const Vector& expected, float tol = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tol) << actual.toString();
    EXPECT_NEAR(actual.y, expected.y, tol) << actual.toString();
}

// No extra obstacle.
const Circle NONE(Vector(0, 0), 0);

} // namespace

class Rankings : public QueryWorld {
protected:
    omniMidLevelSkill skill;
};

TEST_F(Rankings, OwnTeamToTheBallAlwaysIncludesMe)
{
    placeMe(Vector(1, 0));
    place(mate(2), Vector(-2, 0));
    place(mate(9), Vector(0.5f, 0.5f));

    skill.sortourPlayersBasedonDistancetoBall(true);
    std::vector<int> withFlag = numbers(skill.ourPlayer);
    skill.sortourPlayersBasedonDistancetoBall(false);
    std::vector<int> withoutFlag = numbers(skill.ourPlayer);

    ASSERT_EQ(withFlag.size(), 11u);
    EXPECT_EQ(withFlag, withoutFlag);
    EXPECT_EQ(withFlag[0], 9);
    EXPECT_EQ(withFlag[1], MY_UNUM);
    EXPECT_EQ(withFlag[2], 2);
    EXPECT_EQ(skill.myPosition, Vector(1, 0));
}

TEST_F(Rankings, OwnTeamToMeLeavesMeOut)
{
    placeMe(Vector(0, 0));
    place(mate(7), Vector(0, 1));
    skill.sortourPlayersBasedonDistancetoMe();
    std::vector<int> ranked = numbers(skill.ourPlayer);
    ASSERT_EQ(ranked.size(), 10u);
    EXPECT_EQ(std::count(ranked.begin(), ranked.end(), MY_UNUM), 0);
    EXPECT_EQ(ranked[0], 7);
}

TEST_F(Rankings, TiesKeepShirtNumberOrder)
{
    // Opponents 8, 3 and 6 all 1 m from the ball; 10 nearer still.
    place(opp(8), Vector(1, 0));
    place(opp(3), Vector(-1, 0));
    place(opp(6), Vector(0, 1));
    place(opp(10), Vector(0, -0.5f));
    skill.sortTheirPlayersBasedonDistancetoBall();
    std::vector<int> ranked = numbers(skill.theirPlayer);
    ASSERT_EQ(ranked.size(), 11u);
    EXPECT_EQ(std::vector<int>(ranked.begin(), ranked.begin() + 4),
              (std::vector<int>{10, 3, 6, 8}));
}

TEST_F(Rankings, FallenOrUnseenOpponentsCountLikeOthers)
{
    placeFallen(opp(4), Vector(0.3f, 0));
    EXPECT_EQ(skill.fastestOpponentRelBall(), opp(4));

    // Never seen: it stays where the world model keeps it.
    placeMe(Vector(5, -4.5f));
    place(opp(11), Vector(5, -5));
    EXPECT_EQ(skill.fastestOpponentRelMe(), opp(11));
}

TEST_F(Rankings, TheLastRankingOfAListWins)
{
    placeMe(Vector(-8, 0));
    place(opp(2), Vector(0.2f, 0));
    place(opp(9), Vector(-7, 0));
    skill.myPosition = Vector(42, 42);

    EXPECT_EQ(skill.fastestOpponentRelBall(), opp(2));
    skill.sortTheirPlayersBasedonDistancetoMe();
    EXPECT_EQ(skill.theirPlayer.front(), opp(9));
    // Opponent rankings do not store my position.
    EXPECT_EQ(skill.myPosition, Vector(42, 42));
}

class PathPlanning : public QueryWorld {
protected:
    omniMidLevelSkill skill;

    void SetUp() override
    {
        QueryWorld::SetUp();
        placeMe(Vector(0, 0));
        setBall(Vector(0, -6));
    }

    // The point is outside every obstacle circle widened by the margin.
    void expectOutsideObstacles(const Vector& p, const std::vector<Circle>& circles)
    {
        for (const Circle& c : circles)
            EXPECT_GE(p.getDistanceTo(c.getCenter()), c.getRadius() + skill.obstacleProximityDist)
                << p.toString();
    }
};

TEST_F(PathPlanning, StartValues)
{
    EXPECT_EQ(skill.obstacleInfluenceDist, 7.0f);
    EXPECT_EQ(skill.obstacleProximityDist, 0.25f);
    EXPECT_EQ(skill.cObstacle.getCenter(), Vector(0, 0));
    EXPECT_EQ(skill.cObstacle.getRadius(), 0.0f);
    EXPECT_EQ(skill.cManualObstacle.getCenter(), Vector(0, 0));
    EXPECT_EQ(skill.ws, &ws);
    EXPECT_TRUE(skill.cobstaclesVec.empty());
    EXPECT_TRUE(skill.ourPlayer.empty());
    EXPECT_TRUE(skill.theirPlayer.empty());
}

TEST_F(PathPlanning, ViaPointLiesBehindTheTargetOnItsHeading)
{
    // From (0, 0) to (4, 2) arriving along +x, the point of the heading line
    // equidistant from both is (1.5, 2), 2.5 m behind the target.
    struct Row {
        float curve;
        Vector via;
    } rows[] = {
        {0, Vector(1.5f, 2)}, {0.6f, Vector(3, 2)}, {1, Vector(4, 2)}, {1.2f, Vector(4.5f, 2)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.curve);
        expectNear(skill.findaPath(Vector(4, 2), 0, r.curve), r.via);
    }

    // A target heading back towards me still gets its via point behind it.
    expectNear(skill.findaPath(Vector(4, 0), 180, 0), Vector(6, 0));
    expectNear(skill.findaPath(Vector(4, 0), 0, 0.5f), Vector(3, 0));
}

TEST_F(PathPlanning, HeadingAcrossMyLineGoesStraightToTheTarget)
{
    // The bisector and the heading line are parallel: no equidistant point.
    expectNear(skill.findaPath(Vector(4, 0), 90, 0.5f), Vector(4, 0));
    expectNear(skill.findaPath(Vector(0, 3), 0, 0), Vector(0, 3));
}

TEST_F(PathPlanning, NoObstacleLeavesTheViaPointAlone)
{
    Vector via = skill.findaPath(Vector(5, 3), 30, 0.4f);
    Vector next = skill.pathPlanningtotarget(Vector(5, 3), 30, 0.4f, true, true, true, NONE);
    EXPECT_TRUE(skill.cobstaclesVec.empty());
    expectNear(next, via);
    EXPECT_EQ(skill.walkTarget, next);
}

TEST_F(PathPlanning, BlockingTest)
{
    struct Row {
        const char* what;
        Vector target;
        Vector obstacle;
        bool blocks;
    } rows[] = {
        {"on the way", Vector(6, 0), Vector(3, 0.5f), true},
        {"beside the way", Vector(6, 0), Vector(3, 0.7f), false},
        {"behind me", Vector(6, 0), Vector(-0.5f, 0), false},
        {"just beyond the target", Vector(6, 0), Vector(6.6f, 0), true},
        {"too far beyond the target", Vector(6, 0), Vector(6.7f, 0), false},
        {"circle within 7 m", Vector(12, 0), Vector(7.5f, 0), true},
        {"circle beyond 7 m", Vector(12, 0), Vector(7.7f, 0), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(skill.intersecsWithObstacle(r.target, r.obstacle, 0.4f), r.blocks);
    }
}

TEST_F(PathPlanning, OneObstacleIsPassedOnTheShorterSide)
{
    struct Row {
        Vector opponent;
        Vector detour;
    } rows[] = {
        // Dead ahead both ways are equally long: left.
        {Vector(3, 0), Vector(3, 1)},
        {Vector(3, 0.2f), Vector(3, -0.8f)},
        {Vector(3, -0.2f), Vector(3, 0.8f)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.opponent.toString());
        place(opp(4), r.opponent);
        Vector next = skill.pathPlanningtotarget(Vector(6, 0), 0, 1, false, true, true, NONE);
        ASSERT_EQ(skill.cobstaclesVec.size(), 1u);
        EXPECT_NEAR(skill.cobstaclesVec[0].getRadius(), 0.4f, 1e-4f);
        expectNear(next, r.detour);
        EXPECT_EQ(skill.walkTarget, next);
        expectOutsideObstacles(next, {Circle(r.opponent, 0.4f)});
    }
}

TEST_F(PathPlanning, TwoTouchingObstaclesArePassedAsOne)
{
    place(opp(4), Vector(3, 0));
    place(mate(8), Vector(3.6f, 0.3f));
    Vector next = skill.pathPlanningtotarget(Vector(6, 0), 0, 1, false, true, true, NONE);

    ASSERT_EQ(skill.cobstaclesVec.size(), 2u);
    // Box of both centres, widened by the larger merge circle.
    Circle merged = skill.cobstaclesVec[0];
    expectNear(merged.getCenter(), Vector(3.3f, 0.15f));
    EXPECT_NEAR(merged.getRadius(), 0.335410f + 0.78f - 0.38f, 1e-4f);
    EXPECT_EQ(skill.cObstacle.getCenter(), merged.getCenter());
    // The way round the right (smaller y) is shorter.
    expectNear(next, Vector(3.3f, 0.15f - merged.getRadius() - 0.6f));
    expectOutsideObstacles(next, {Circle(Vector(3, 0), 0.4f), Circle(Vector(3.6f, 0.3f), 0.4f)});
}

TEST_F(PathPlanning, NoMergeWhileAvoidingTheBall)
{
    place(opp(4), Vector(3, 0));
    place(mate(8), Vector(3.6f, 0.3f));
    skill.pathPlanningtotarget(Vector(6, 0), 0, 1, true, true, true, NONE);
    ASSERT_EQ(skill.cobstaclesVec.size(), 2u);
    EXPECT_EQ(skill.cobstaclesVec[0].getCenter(), Vector(3, 0));
    EXPECT_NEAR(skill.cobstaclesVec[0].getRadius(), 0.4f, 1e-6f);
}

TEST_F(PathPlanning, NearestBlockingPlayerOrAll)
{
    place(opp(7), Vector(4, 0));
    place(opp(2), Vector(2, 0.1f));

    skill.discoverObstacle(Vector(6, 0), false, false, true, NONE, false);
    ASSERT_EQ(skill.cobstaclesVec.size(), 1u);
    EXPECT_EQ(skill.cobstaclesVec[0].getCenter(), Vector(2, 0.1f));

    skill.discoverObstacle(Vector(6, 0), true, false, true, NONE, true);
    ASSERT_EQ(skill.cobstaclesVec.size(), 2u);
    EXPECT_EQ(skill.cobstaclesVec[0].getCenter(), Vector(2, 0.1f));
    EXPECT_EQ(skill.cobstaclesVec[1].getCenter(), Vector(4, 0));
}

TEST_F(PathPlanning, FallenPlayerLiesRoundHeadAndFeet)
{
    // Head at (3, 0), feet at (3.5, 0): radius 0.5 round (3.25, 0).
    placeFallen(mate(8), Vector(3, 0));
    skill.discoverObstacle(Vector(6, 0), true, true, false, NONE, false);
    ASSERT_EQ(skill.cobstaclesVec.size(), 1u);
    expectNear(skill.cobstaclesVec[0].getCenter(), Vector(3.25f, 0));
    EXPECT_EQ(skill.cobstaclesVec[0].getRadius(), 0.5f);
}

TEST_F(PathPlanning, GoalPostsBallAndExtraCircle)
{
    placeMe(Vector(10, 1.05f));
    setBall(Vector(12, 1.05f));
    skill.discoverObstacle(Vector(16, 1.05f), true, false, false, Circle(Vector(13, 1), 0.3f),
                           true);
    ASSERT_EQ(skill.cobstaclesVec.size(), 3u);
    EXPECT_EQ(skill.cobstaclesVec[0].getCenter(), Vector(12, 1.05f));
    EXPECT_EQ(skill.cobstaclesVec[0].getRadius(), 0.05f);
    EXPECT_EQ(skill.cobstaclesVec[1].getCenter(), Vector(13, 1));
    EXPECT_EQ(skill.cobstaclesVec[2].getCenter(), Vector(15, 1.05f));
    EXPECT_EQ(skill.ballPosition, Vector(12, 1.05f));
}

TEST_F(PathPlanning, InsideAnObstacleBeforeOurGoalStepSideways)
{
    // The opponent is 0.2 m to my left, just ahead: I keep my x and step
    // to the edge of its widened circle on my own side.
    placeMe(Vector(-13, 0.1f));
    place(opp(4), Vector(-12.95f, 0.3f));
    Vector next = skill.pathPlanningtotarget(Vector(-10, 0.1f), 0, 1, false, false, true, NONE);
    ASSERT_EQ(skill.cobstaclesVec.size(), 1u);
    expectNear(next, Vector(-13, 0.3f - 0.65f));
}

TEST_F(PathPlanning, ObstacleCirclesAreNearestFirst)
{
    place(opp(3), Vector(4, 0));
    place(mate(9), Vector(2, 0));
    skill.discoverObstacle(Vector(6, 0), true, true, true, NONE, false);
    ASSERT_EQ(skill.cobstaclesVec.size(), 2u);
    EXPECT_EQ(skill.cobstaclesVec[0].getCenter(), Vector(2, 0));
    EXPECT_EQ(skill.cobstaclesVec[1].getCenter(), Vector(4, 0));
}

TEST_F(PathPlanning, CrossingOurGoal)
{
    // Walking along y = 0 out of our goal's back crosses its back line.
    placeMe(Vector(-15.2f, 0));
    EXPECT_TRUE(skill.testPlannedPath(Vector(-16, 0)));
    skill.cobstaclesVec.clear();
    skill.discoverObstacleInOurGoal(Vector(-16, 0));
    ASSERT_EQ(skill.cobstaclesVec.size(), 1u);
    expectNear(skill.cobstaclesVec[0].getCenter(), Vector(-15.6f, 0));

    // In front of the goal nothing is searched.
    placeMe(Vector(-14, 0));
    EXPECT_FALSE(skill.testPlannedPath(Vector(-16, 0)));
}
