#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "strategy/BehaveCarryBall.h"
#include "world/QueryWorld.h"

namespace {

using Step = BehaveCarryBall::Step;

// Our goal at (-15, 0), theirs at (15, 0); goal 2.1 m wide, so the straight
// shot must meet the goal line within 0.882 m of its centre. The dribble's
// filters start as in a fresh process.
class CarryBallTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.myGoalPos = Vector(-15, 0);
        ws.theirGoalPos = Vector(15, 0);
        ws.goalWidth = 2.1f;
        BehaveCarryBall::resetSharedState();
    }
    void TearDown() override { BehaveCarryBall::resetSharedState(); }

    // My back to the ball: no walking straight through it.
    void behindBallFacingAway(Vector me, Vector ball)
    {
        setBall(ball);
        placeMe(me, 180);
    }
};

bool finite(Vector v) { return std::isfinite(v.x) && std::isfinite(v.y); }

TEST_F(CarryBallTest, NotInOurOwnSetPieces)
{
    BehaveCarryBall carry;
    for (int pm = BEFORE_KICKOFF; pm <= OTHER_PLAYMODE; ++pm) {
        ws.game->playmode = pm;
        bool ours = pm == QUORVEL_KICKOFF || pm == QUORVEL_KICKIN || pm == QUORVEL_CORNER_KICK ||
                    pm == QUORVEL_FREE_KICK || pm == QUORVEL_GOAL_KICK;
        EXPECT_EQ(carry.isAvailable(), !ours) << pm;
    }
}

TEST_F(CarryBallTest, ShotTargetStraightOnOrScannedAcrossTheGoalMouth)
{
    struct Case {
        const char* name;
        Vector me, ball, given;
        bool straight;  // target on my line through the ball
        bool scanned;   // target on their goal line, else the given one
    };
    const Case cases[] = {
        {"line meets the mouth", {10, 0.85f}, {10.5f, 0.85f}, {0, 5}, true, false},
        {"line within 0.168 m of a post scans", {10, 0.9f}, {10.5f, 0.9f}, {0, 5}, false, true},
        {"ball 8 m out, line wide", {7.5f, 3}, {8, 3}, {0, 5}, false, true},
        {"ball 11.5 m out keeps the target", {3, 3}, {3.5f, 3}, {10, 5}, false, false},
        {"ball within 1 m of the line keeps it", {14.2f, 3}, {14.5f, 0.5f}, {14, 5}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BehaveCarryBall::resetSharedState();
        behindBallFacingAway(c.me, c.ball);
        BehaveCarryBall carry;
        Step s = carry.planFull(c.given);
        EXPECT_EQ(s.kind, Step::MOVE_BALL);
        EXPECT_FALSE(s.defending);
        EXPECT_FLOAT_EQ(s.distBehindBall, 0.02f);
        if (c.straight) {
            EXPECT_NEAR(s.target.x, 15, 1e-4f);
            EXPECT_NEAR(s.target.y, c.me.y, 1e-4f);
        } else if (c.scanned) {
            EXPECT_NEAR(s.target.x, 15, 1e-4f);
            EXPECT_GE(s.target.y, -0.8821f);
            EXPECT_LT(s.target.y, 0.882f);
        } else {
            EXPECT_EQ(s.target, c.given);
        }
    }
}

TEST_F(CarryBallTest, ScanTakesTheLowestSpotAmongTheLeastObstructed)
{
    behindBallFacingAway(Vector(7.5f, 3), Vector(8, 3));
    BehaveCarryBall open;
    EXPECT_NEAR(open.planFull(Vector(0, 5)).target.y, -0.882f, 1e-4f);

    // An opponent on the way to the low end of the mouth.
    place(opp(4), Vector(11.5f, 0.93f));
    BehaveCarryBall blocked;
    Step s = blocked.planFull(Vector(0, 5));
    EXPECT_NEAR(s.target.x, 15, 1e-4f);
    EXPECT_GT(s.target.y, -0.8f);

    // A goal mouth too narrow for any spot keeps the given target.
    ws.goalWidth = 0.3f;
    BehaveCarryBall narrow;
    EXPECT_EQ(narrow.planFull(Vector(0, 5)).target, Vector(0, 5));
}

TEST_F(CarryBallTest, WalksStraightThroughTheBallUnlessSomeoneIsInTheWay)
{
    struct Case {
        const char* name;
        Vector oppBetween;   // an opponent (4) placed there, unless far
        Vector oppBeyond;    // the opponent nearest the ball (6)
        bool mateDown;       // a fallen team-mate between me and the ball
        bool direct;
    };
    const Vector far(-8, -9.5f);
    const Case cases[] = {
        {"way clear", far, far, false, true},
        {"opponent between", {0.2f, 0.6f}, far, false, false},
        {"close opponent beyond on my line", {0.2f, 0.6f}, {1.0f, 0.2f}, false, true},
        {"close opponent beyond, off my line", {0.2f, 0.6f}, {1.0f, 1.2f}, false, false},
        {"fallen team-mate between", far, far, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BehaveCarryBall::resetSharedState();
        setBall(Vector(0.5f, 0));
        ws.ball->finalPos = Vector3f(0.7f, 0, 0.042f);
        placeMe(Vector(0, 0), 0);
        place(opp(4), c.oppBetween);
        place(opp(6), c.oppBeyond);
        if (c.mateDown)
            placeFallen(mate(8), Vector(0.1f, -0.5f));
        else
            place(mate(8), Vector(-4, 9.5f));
        BehaveCarryBall carry;
        Step s = carry.planFull(Vector(15, 0));
        ASSERT_FALSE(s.defending);
        if (c.direct) {
            EXPECT_EQ(s.kind, Step::GO_DIRECT);
            // 1 m beyond the ball's stop point on my line.
            EXPECT_NEAR(s.target.x, 1.7f, 1e-4f);
            EXPECT_NEAR(s.target.y, 0, 1e-4f);
        } else {
            EXPECT_EQ(s.kind, Step::MOVE_BALL);
            EXPECT_NEAR(s.target.x, 15, 1e-4f);
        }
    }
}

TEST_F(CarryBallTest, ShieldsTheBallFromANearerOpponentOnTheirSide)
{
    struct Case {
        const char* name;
        float ballX;
        bool oppFallen;
        Vector filtered;  // the direction filter before the call
        bool defends;
        float distBehind;
    };
    // Me 3.5 m from the ball, the opponent 0.5 m beyond it: after many calls
    // the smoothed race is nearly 3 m, so 0.7 of it exceeds every cap.
    const Case cases[] = {
        {"centre: cap 0.5 m", 0, false, {1, 0}, true, 0.5f},
        {"at x = -5: cap 1 m", -5, false, {1, 0}, true, 1.0f},
        {"at x = 5: at the ball", 5, false, {1, 0}, true, 0},
        {"beyond x = 5", 5.1f, false, {1, 0}, false, 0},
        {"opponent lying", 0, true, {1, 0}, false, 0},
        {"opponent toward our goal", 0, false, {-1, 0.05f}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Vector ball(c.ballX, 0);
        behindBallFacingAway(ball - Vector(3.5f, 0), ball);
        if (c.oppFallen)
            placeFallen(opp(4), ball + Vector(0.5f, 0.05f));
        else
            place(opp(4), ball + Vector(0.5f, 0.05f));
        BehaveCarryBall carry;
        Step s;
        for (int k = 0; k < 40; ++k) {
            BehaveCarryBall::fullState().ballToOpponent = c.filtered;
            s = carry.planFull(Vector(15, 0));
        }
        EXPECT_GT(carry.getDistancediff(), 2.9f);
        EXPECT_EQ(s.defending, c.defends);
        if (!c.defends)
            continue;
        EXPECT_EQ(s.kind, Step::MOVE_BALL);
        EXPECT_FLOAT_EQ(s.curve, 0.5f);
        EXPECT_NEAR(s.distBehindBall, c.distBehind, 1e-5f);
        // Midway between the point beyond the ball from our goal and the
        // point 1 m toward the opponent.
        Vector A = ball + (ball - ws.myGoalPos);
        Vector B = ball + BehaveCarryBall::fullState().ballToOpponent;
        EXPECT_NEAR(s.target.x, (A.x + B.x) / 2, 1e-4f);
        EXPECT_NEAR(s.target.y, (A.y + B.y) / 2, 1e-4f);
    }
    BehaveCarryBall carry;
    carry.resetDistancediff();
    EXPECT_EQ(carry.getDistancediff(), 0);
}

TEST_F(CarryBallTest, FiltersArePerProcessPerKindAndReset)
{
    behindBallFacingAway(Vector(-1, 0), Vector(0, 0));
    place(opp(4), Vector(0.3f, 1));
    EXPECT_EQ(BehaveCarryBall::fullState().ballToOpponent, Vector(-1, 0));

    BehaveCarryBall first;
    first.planFull(Vector(15, 0));
    Vector afterOne = BehaveCarryBall::fullState().ballToOpponent;
    EXPECT_NE(afterOne, Vector(-1, 0));
    EXPECT_EQ(BehaveCarryBall::reducedState().ballToOpponent, Vector(-1, 0));

    // A temporary object continues the filter; its own race starts at 0.
    BehaveCarryBall second;
    EXPECT_EQ(second.getDistancediff(), 0);
    second.planFull(Vector(15, 0));
    EXPECT_NE(BehaveCarryBall::fullState().ballToOpponent, afterOne);

    // The reduced dribble keeps its race apart from the object's.
    float own = second.getDistancediff();
    second.planReduced(Vector(15, 0), false);
    EXPECT_NE(BehaveCarryBall::reducedState().ballToOpponent, Vector(-1, 0));
    EXPECT_NE(BehaveCarryBall::reducedState().distancediff, 0);
    EXPECT_EQ(second.getDistancediff(), own);

    BehaveCarryBall::resetSharedState();
    EXPECT_EQ(BehaveCarryBall::fullState().ballToOpponent, Vector(-1, 0));
    EXPECT_EQ(BehaveCarryBall::reducedState().ballToOpponent, Vector(-1, 0));
    EXPECT_EQ(BehaveCarryBall::reducedState().distancediff, 0);
}

TEST_F(CarryBallTest, ReducedDribbleSkipsTheTargetSearch)
{
    struct Case {
        const char* name;
        int playmode;
        Vector me;
        float myDir;
        Vector ball;
        bool penaltyKicker;
        Step::Kind kind;
        Vector target;
        float curve;
    };
    const Vector given(5, 4);
    const Case cases[] = {
        {"straight on through the ball", PLAY_ON, {0, 0}, 0, {0.5f, 0}, false, Step::MOVE_BALL, {1.5f, 0}, 0.001f},
        {"given target, curved", PLAY_ON, {-0.5f, 0}, 180, {0, 0}, false, Step::MOVE_BALL, given, 0.5f},
        {"penalty kicker goes straight", PLAY_ON, {-0.5f, 0}, 180, {0, 0}, true, Step::MOVE_BALL, given, 0},
        {"near their goal, straight", PLAY_ON, {11.5f, 0}, 180, {12, 0}, false, Step::MOVE_BALL, given, 0},
        {"turn to a far ball in our kick-in", QUORVEL_KICKIN, {0, 0}, 90, {3, 0}, false, Step::GO_DIRECT,
         {3, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ws.game->playmode = c.playmode;
        setBall(c.ball);
        placeMe(c.me, c.myDir);
        BehaveCarryBall carry;
        Step s = carry.planReduced(given, c.penaltyKicker);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_NEAR(s.target.x, c.target.x, 1e-4f);
        EXPECT_NEAR(s.target.y, c.target.y, 1e-4f);
        if (c.kind == Step::MOVE_BALL) {
            EXPECT_FLOAT_EQ(s.curve, c.curve);
            EXPECT_FLOAT_EQ(s.distBehindBall, 0.02f);
        }
    }
}

TEST_F(CarryBallTest, CommandsStayFiniteWithoutOpponentsOrWithABadTarget)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::map<int, Player*> opponents;
    opponents.swap(ws.opponentTeam);
    behindBallFacingAway(Vector(-0.5f, 0), Vector(0, 0));
    BehaveCarryBall carry;
    Step full = carry.planFull(Vector(nan, 1));
    Step reduced = carry.planReduced(Vector(1, nan), false);
    // The ball on my own position: no direction to walk through it.
    setBall(Vector(0, 0));
    placeMe(Vector(0, 0), 0);
    ws.ball->finalPos = Vector3f(0, 0, 0);
    Step onBall = carry.planFull(Vector(15, 0));
    Step onBallReduced = carry.planReduced(Vector(15, 0), false);
    ws.opponentTeam.swap(opponents);
    for (const Step& s : {full, reduced, onBall, onBallReduced}) {
        EXPECT_TRUE(finite(s.target));
        EXPECT_TRUE(std::isfinite(s.curve) && std::isfinite(s.distBehindBall));
        EXPECT_FALSE(s.defending);
    }
    EXPECT_EQ(reduced.target, ws.theirGoalPos);
    EXPECT_TRUE(std::isfinite(carry.getDistancediff()));
    EXPECT_EQ(BehaveCarryBall::fullState().ballToOpponent, Vector(-1, 0));
}

} // namespace
