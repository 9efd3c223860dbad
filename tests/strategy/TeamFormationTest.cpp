#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "strategy/Situation.h"
#include "strategy/Strategy.h"

// The team's own data, read from the data folder the tests run in.
namespace {

class TeamFormationTest : public ::testing::Test {
protected:
    std::unique_ptr<Strategy> s{new Strategy()};

    Vector at(int situation, int player, Vector ball)
    {
        s->StWS.Situation = situation;
        s->StWS.BallPos = ball;
        s->SetTactic(1);
        return s->SBSPDelaunayPosition(s->GetFormation(), player, ball, 0);
    }
};

TEST_F(TeamFormationTest, OpenPlayShapeHoldsAllOverTheField)
{
    for (float bx = -15; bx <= 15; bx += 1.25f) {
        for (float by = -10; by <= 10; by += 1.25f) {
            const Vector ball(bx, by);
            // The lookup keeps the ball 5 cm off the centre lines.
            const Vector seen(std::fabs(bx) < 0.05f ? 0.05f : bx, std::fabs(by) < 0.05f ? 0.05f : by);
            Vector p[12];
            for (int i = 1; i <= 11; i++) {
                p[i] = at(Situation::ATT, i, ball);
                EXPECT_LE(std::fabs(p[i].x), 15.1f) << i << " " << ball.str();
                EXPECT_LE(std::fabs(p[i].y), 10.2f) << i << " " << ball.str();
                if (i > 1) {
                    EXPECT_GE(p[i].getDistanceTo(seen), 1.1f - 1e-4f) << i << " " << ball.str();
                }
            }
            // The goalkeeper in its goal mouth.
            EXPECT_LE(p[1].x, -13.5f) << ball.str();
            EXPECT_LT(std::fabs(p[1].y), 1.05f) << ball.str();
            for (int d = 2; d <= 5; d++) {
                // Defenders between the ball and our goal, in our half.
                if (bx > -12) {
                    EXPECT_LT(p[d].x, bx) << "defender " << d << " " << ball.str();
                }
                EXPECT_LE(p[d].x, 0.0f) << "defender " << d << " " << ball.str();
                EXPECT_GT(p[d].x, p[1].x) << "defender " << d << " " << ball.str();
            }
            // Back defenders behind the front ones, midfield ahead of the
            // defence, attackers ahead of the midfield.
            EXPECT_LE(p[2].x, p[4].x + 1e-3f) << ball.str();
            EXPECT_LE(p[3].x, p[5].x + 1e-3f) << ball.str();
            for (int m = 6; m <= 8; m++) {
                EXPECT_GT(p[m].x, p[4].x - 1.5f) << "midfielder " << m << " " << ball.str();
                for (int a = 9; a <= 11; a++)
                    EXPECT_GT(p[a].x, p[m].x) << a << " ahead of " << m << " " << ball.str();
            }
            // Left roles on the left (+y) of their right partners.
            EXPECT_GT(p[2].y, p[3].y) << ball.str();
            EXPECT_GT(p[4].y, p[5].y) << ball.str();
            EXPECT_GT(p[7].y, p[8].y) << ball.str();
            EXPECT_GT(p[9].y, p[10].y) << ball.str();
        }
    }
}

TEST_F(TeamFormationTest, TheTeamFollowsTheBall)
{
    // Pushing up when the ball goes forward, shifting across with it.
    EXPECT_GT(at(Situation::ATT, 2, Vector(10, 0)).x, at(Situation::ATT, 2, Vector(-10, 0)).x + 3);
    EXPECT_GT(at(Situation::ATT, 11, Vector(10, 0)).x, at(Situation::ATT, 11, Vector(-10, 0)).x + 6);
    EXPECT_GT(at(Situation::ATT, 6, Vector(0, 8)).y, at(Situation::ATT, 6, Vector(0, -8)).y + 4);
}

TEST_F(TeamFormationTest, KickOffPositions)
{
    const Vector own[12] = {{},         {-14.3f, 0}, {-11, 3},   {-11, -3},   {-8, 5.5f},  {-8, -5.5f},
                            {-4.5f, 0}, {-3.5f, 6},  {-3.5f, -6}, {-0.8f, 4}, {-0.8f, -4}, {-0.5f, 0}};
    for (int p = 1; p <= 11; p++) {
        const Vector v = at(Situation::OKO, p, Vector(6, -3));
        EXPECT_NEAR(v.x, own[p].x, 1e-3f) << p;
        EXPECT_NEAR(v.y, own[p].y, 1e-3f) << p;
        // Clear of the halfway line, as the referee wants before kick-off.
        EXPECT_LE(v.x, -0.35f) << p;
    }
    for (int p = 1; p <= 11; p++) {
        const Vector v = at(Situation::TKO, p, Vector(6, -3));
        EXPECT_LE(v.x, -0.5f) << p;
        // Out of the centre circle during their kick-off.
        EXPECT_GE(v.length(), 2.4f) << p;
        EXPECT_LE(std::fabs(v.y), 10) << p;
    }
    EXPECT_EQ(s->SK.kickerN, 11);
    EXPECT_LE(s->SK.kickerX, -0.35f);
    EXPECT_LT(std::fabs(s->SK.kickerY), 1.0f);
}

}  // namespace
