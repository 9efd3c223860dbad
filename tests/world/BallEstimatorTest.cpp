#include <gtest/gtest.h>

#include <cmath>

#include "utils/Singleton.h"
#include "world/BallEstimator.h"
#include "world/WorldState.h"

namespace {

const double K = -1.05718994140625;

// A world in which every fed sample is accepted: ball seen, agent localised.
WorldState& acceptingWorld()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.ball->seen = true;
    ws.cycle = 7;
    ws.me->positionUpdateCycle = 7;
    ws.closeTeamDist = ws.closeOppDist = 20;
    ws.ball->position = Vector3f(0, 0, 0);
    return ws;
}

void feed(BallEstimator& est, WorldState& ws, float t, const Vector3f& p)
{
    ws.cTime = t;
    ws.ballUnfilteredPos = p;
    est.update();
}

// A ball rolling from p0 with velocity u at t = 0 under the decay model.
Vector3f rolling(const Vector3f& p0, const Vector3f& u, double t)
{
    double f = (std::exp(K * t) - 1) / K;
    return Vector3f(static_cast<float>(p0.x + u.x * f), static_cast<float>(p0.y + u.y * f), p0.z);
}

} // namespace

TEST(BallEstimatorUpdate, OnlySeenBallsOfLocalisedCyclesAreTaken)
{
    WorldState& ws = acceptingWorld();
    BallEstimator est;
    ws.ball->seen = false;
    feed(est, ws, 1, Vector3f(1, 1, 0));
    ws.ball->seen = true;
    ws.me->positionUpdateCycle = 6;
    feed(est, ws, 1, Vector3f(1, 1, 0));
    EXPECT_TRUE(est.ballPosQueue.empty());
    EXPECT_EQ(est.refPos, Vector3f(0, 0, 0));
    EXPECT_EQ(est.estimatedVel(0), Vector3f(0, 0, 0));

    ws.me->positionUpdateCycle = 7;
    for (int i = 0; i < 8; ++i)
        feed(est, ws, 1 + 0.06f * i, Vector3f(static_cast<float>(i), 0, 0.042f));
    ASSERT_EQ(est.ballPosQueue.size(), 6u);
    EXPECT_EQ(est.ballPosTimeQueue.size(), 6u);
    EXPECT_EQ(est.ballPosQueue.front(), Vector3f(7, 0, 0.042f));
    EXPECT_EQ(est.ballPosQueue.back(), Vector3f(2, 0, 0.042f));
}

TEST(BallEstimatorUpdate, ReferencesByAge)
{
    struct Case {
        float spacing;
        int ind3, ind4, ind5;
    };
    const Case cases[] = {{0.06f, 3, 4, 5}, {0.02f, 0, 0, 0}, {0.1f, 2, 3, 3}};
    for (const Case& c : cases) {
        WorldState& ws = acceptingWorld();
        BallEstimator est;
        for (int i = 0; i < 6; ++i)
            feed(est, ws, 10 + c.spacing * i, Vector3f(static_cast<float>(i), 0, 0));
        EXPECT_EQ(est.indRefTime3, c.ind3) << c.spacing;
        EXPECT_EQ(est.indRefTime4, c.ind4) << c.spacing;
        EXPECT_EQ(est.indRefTime5, c.ind5) << c.spacing;
        if (c.ind4 != 0)
            EXPECT_FLOAT_EQ(est.getRefTime4(), 10 + c.spacing * (5 - c.ind4));
        else
            EXPECT_EQ(est.estimatedVel4(0), Vector3f(0, 0, 0));
    }
}

// Samples of a ball rolling under the model give back its velocity, future
// positions, travel times and rest position.
TEST(BallEstimatorModel, RecoversARollingBall)
{
    WorldState& ws = acceptingWorld();
    BallEstimator est;
    const Vector3f p0(-3, 2, 0.042f);
    const Vector3f u(2.0f, -1.0f, 0);
    for (int i = 0; i < 6; ++i)
        feed(est, ws, 0.06f * i, rolling(p0, u, 0.06 * i));
    const double tNow = 0.3;
    const double decay = std::exp(K * tNow);
    const Vector3f rest(static_cast<float>(p0.x - u.x / K), static_cast<float>(p0.y - u.y / K), 0.042f);

    const Vector3f vels[3] = {est.estimatedVel(0), est.estimatedVel4(0), est.estimatedVel5(0)};
    for (const Vector3f& v : vels) {
        EXPECT_NEAR(v.x, u.x * decay, 1e-3);
        EXPECT_NEAR(v.y, u.y * decay, 1e-3);
        EXPECT_EQ(v.z, 0.0f);
    }
    const Vector3f rests[3] = {est.estimatedFinalPos(), est.estimatedFinalPos4(),
                               est.estimatedFinalPos5()};
    for (const Vector3f& r : rests)
        EXPECT_NEAR((r - rest).length(), 0, 1e-3);
    Vector3f later = est.estimatedPos(0.5f);
    EXPECT_NEAR((later - rolling(p0, u, tNow + 0.5)).length(), 0, 1e-3);
    EXPECT_NEAR((est.estimatedPos5(0.5f) - later).length(), 0, 1e-3);

    // Time to roll half the remaining distance, checked against the model.
    float remaining = (rest - est.refPos).length();
    float t = est.estimatedTime(remaining / 2);
    EXPECT_NEAR((rolling(p0, u, tNow + t) - est.refPos).length(), remaining / 2, 1e-3);
    EXPECT_NEAR(est.estimatedTime4(remaining / 2), t, 1e-3);
    EXPECT_FLOAT_EQ(est.estimatedTime5(remaining * 1.01f), 100000.0f);
}

TEST(BallEstimatorModel, VelocityFromOneDisplacement)
{
    WorldState& ws = acceptingWorld();
    BallEstimator est;
    feed(est, ws, 1.0f, Vector3f(0, 0, 0));
    feed(est, ws, 1.18f, Vector3f(1, 0, 0.5f));
    ASSERT_EQ(est.indRefTime3, 1);
    Vector3f v = est.estimatedVel(0);
    float dt = 1.18f - 1.0f;
    EXPECT_NEAR(v.x, 1.05719 / (std::exp(1.05719 * dt) - 1), 1e-3);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

// Travel times are finite: nothing to roll takes no time, a ball at rest
// or too slow never arrives.
TEST(BallEstimatorModel, TravelTimeIsNeverNaN)
{
    WorldState& ws = acceptingWorld();
    BallEstimator still;
    for (float d : {-1.0f, 0.0f})
        EXPECT_EQ(still.estimatedTime(d), 0.0f) << d;
    EXPECT_EQ(still.estimatedTime(0.5f), 100000.0f);

    BallEstimator moving;
    feed(moving, ws, 0, Vector3f(0, 0, 0));
    feed(moving, ws, 0.2f, Vector3f(0.5f, 0, 0));
    float v = moving.estimatedVel(0).length();
    ASSERT_GT(v, 0.0f);
    float reach = static_cast<float>(-v / K);
    EXPECT_EQ(moving.estimatedTime(0), 0.0f);
    EXPECT_EQ(moving.estimatedTime(reach), 100000.0f);
    EXPECT_EQ(moving.estimatedTime(reach * 2), 100000.0f);
    float t = moving.estimatedTime(reach / 2);
    EXPECT_TRUE(std::isfinite(t));
    EXPECT_GT(t, 0.0f);
}

// The away velocity measures the roll since the ball left the players.
TEST(BallEstimatorModel, AwayReferenceFollowsNearPlayers)
{
    WorldState& ws = acceptingWorld();
    BallEstimator est;
    ws.ball->position = Vector3f(4, 4, 0.3f);
    EXPECT_EQ(est.estimatedFinalPosAway(), Vector3f(4, 4, 0));

    ws.closeTeamDist = 0.2f;
    feed(est, ws, 5.0f, Vector3f(1, 1, 0.042f));
    EXPECT_EQ(est.estimatedVelAway(0), Vector3f(0, 0, 0));
    feed(est, ws, 5.02f, Vector3f(1.02f, 1, 0.042f));
    EXPECT_EQ(est.estimatedVelAway(0), Vector3f(0, 0, 0));

    ws.closeTeamDist = 1.5f;
    ws.closeOppDist = 0.31f;
    feed(est, ws, 5.1f, Vector3f(1.2f, 1, 0.042f));
    Vector3f v = est.estimatedVelAway(0);
    EXPECT_GT(v.x, 0.0f);
    EXPECT_NEAR(v.y, 0, 1e-5);
    EXPECT_NEAR(est.refTimeAway, 5.02f, 1e-6);
    // From the world's filtered ball, not the newest sample.
    ws.ball->position = Vector3f(1.1f, 1, 0.3f);
    Vector3f rest = est.estimatedFinalPosAway();
    EXPECT_NEAR(rest.x, 1.1f - v.x / K, 1e-4);
    EXPECT_EQ(rest.z, 0.042f);
}
