#include <gtest/gtest.h>

#include "skills/Avoider.h"
#include "world/QueryWorld.h"

TEST(Avoider, CollisionAndCorrection)
{
    struct Row {
        const char* what;
        Vector3f target, obstacle;
        bool collides;
        Vector3f corrected;
    } rows[] = {
        // Sideways step 1.4 * 0.6 + 0.4 = 1.24 to the target's side.
        {"on the path", Vector3f(2, 0.1f, 0), Vector3f(1, 0, 0), true, Vector3f(1, 1.24f, 0)},
        {"on the path, other side", Vector3f(2, -0.1f, 0), Vector3f(1, 0, 0), true,
         Vector3f(1, -1.24f, 0)},
        {"beside the path", Vector3f(2, 0, 0), Vector3f(1, 0.7f, 0), false, Vector3f()},
        {"target on the obstacle", Vector3f(1, 0.05f, 0), Vector3f(1, 0, 0), false, Vector3f()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(Avoider::collides(r.target, r.obstacle, Avoider::radius_of_player), r.collides);
        if (r.collides) {
            Vector3f c = Avoider::correct(r.target, r.obstacle, Avoider::radius_of_player);
            EXPECT_NEAR(c.x, r.corrected.x, 1e-5);
            EXPECT_NEAR(c.y, r.corrected.y, 1e-5);
        }
    }
    // A target at the agent's own place collides with nothing.
    EXPECT_FALSE(Avoider::collides(Vector3f(0, 0, 0), Vector3f(1, 0, 0), 0.6f));
}

class AvoiderWorld : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
            mate(n)->relPosition = Vector3f(0, 0, 0);
            opp(n)->relPosition = Vector3f(0, 0, 0);
        }
        ws.ball->relPosition = Vector3f(0, 0, 0);
    }

    // A field target and the same point relative to me.
    Vector3f field = Vector3f(4, 3, 0);
    Vector3f rel() { return ws.absoluteToRelativeCoordinates(field); }
};

TEST_F(AvoiderWorld, FirstObstacleOnTheWay)
{
    Vector3f r = rel();
    ASSERT_GT(r.length(), 1);
    Vector3f halfway = r * 0.5f;
    Vector3f beyond = r * 1.5f;
    struct Row {
        const char* what;
        int mate, opp;
        Vector3f matePos, oppPos, ballPos;
        unsigned check;
        bool moved;
    } rows[] = {
        {"clear way", 0, 0, {}, {}, {}, Avoider::iAll, false},
        {"unseen mate", 2, 0, Vector3f(0, 0, 0), {}, {}, Avoider::iAll, false},
        {"mate halfway", 2, 0, halfway, {}, {}, Avoider::iAll, true},
        {"mate halfway, not checked", 2, 0, halfway, {}, {}, Avoider::iOpponents, false},
        {"mate beyond the target", 2, 0, beyond, {}, {}, Avoider::iAll, false},
        {"opponent halfway", 0, 3, {}, halfway, {}, Avoider::iOpponents, true},
        {"ball halfway", 0, 0, {}, {}, halfway, Avoider::iBall, true},
        {"unseen ball", 0, 0, {}, {}, Vector3f(0, 0, 0), Avoider::iBall, false},
    };
    for (const Row& q : rows) {
        SCOPED_TRACE(q.what);
        SetUp();
        if (q.mate)
            mate(q.mate)->relPosition = q.matePos;
        if (q.opp)
            opp(q.opp)->relPosition = q.oppPos;
        ws.ball->relPosition = q.ballPos;
        // The goal hint points along the way, so the ball is passed.
        Vector3f out = Avoider::correctIfCollides(field, r, q.check);
        EXPECT_EQ(out.dist(r) > 0.01f, q.moved);
    }
}

TEST_F(AvoiderWorld, BallAgainstTheGoalDirectionIsNotPassed)
{
    Vector3f r = rel();
    ws.ball->relPosition = r * 0.5f;
    Vector3f out = Avoider::correctIfCollides(field, r * -1, Avoider::iBall);
    EXPECT_LT(out.dist(r), 1e-5);
}
