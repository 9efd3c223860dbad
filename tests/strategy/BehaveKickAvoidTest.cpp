#include <gtest/gtest.h>

#include <cmath>

#include "strategy/BehaveKickAvoid.h"
#include "world/QueryWorld.h"

namespace {

// Me at (0, 0) facing +x, the ball at my feet ahead, one opponent closing in.
class BehaveKickAvoidTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        ws.setCurrentBehavior(StrategicBehavior::NoBehavior);
    }
    void TearDown() override { ws.setCurrentBehavior(StrategicBehavior::NoBehavior); }
};

TEST_F(BehaveKickAvoidTest, KicksOnlyWhenEveryConditionHolds)
{
    struct Case {
        const char* name;
        Vector ball, opp;
        float facing;
        int playMode;
        int running;  // behaviour reported last cycle
        bool kick;
        Vector target;
    };
    const Case cases[] = {
        {"all hold", Vector(0.5f, 0.3f), Vector(1.5f, 1), 0, PLAY_ON, 0, true, Vector(1.0f, 0.6f)},
        {"ball below the axis", Vector(0.5f, -0.3f), Vector(1.5f, -1), 0, PLAY_ON, 0, true,
         Vector(1.0f, -0.6f)},
        {"opponent far from ball", Vector(0.5f, 0.3f), Vector(3.5f, 0.3f), 0, PLAY_ON, 0, false,
         Vector()},
        {"ball out of reach", Vector(0.8f, 0), Vector(1.5f, 1), 0, PLAY_ON, 0, false, Vector()},
        {"opponent at my side", Vector(0.5f, 0.3f), Vector(0.1f, 1.5f), 0, PLAY_ON, 0, true,
         Vector(1.0f, 0.6f)},
        {"opponent behind", Vector(0.5f, 0.3f), Vector(-0.5f, 1.5f), 0, PLAY_ON, 0, false,
         Vector()},
        {"opponent on me", Vector(0.5f, 0.3f), Vector(0.7f, 0), 0, PLAY_ON, 0, false, Vector()},
        {"opponent on me while running", Vector(0.5f, 0.3f), Vector(0.7f, 0), 0, PLAY_ON,
         StrategicBehavior::KickAvoid, false, Vector()},
        {"running keeps on", Vector(3, 3), Vector(-5, 5), 0, PLAY_ON, StrategicBehavior::KickAvoid,
         true, Vector(6, 6)},
        {"not play-on", Vector(0.5f, 0.3f), Vector(1.5f, 1), 0, QUORVEL_FREE_KICK, 0, false, Vector()},
        {"facing sideways", Vector(0.5f, 0.3f), Vector(1.5f, 1), 90, PLAY_ON, 0, false,
         Vector()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        placeMe(Vector(0, 0), c.facing);
        setBall(c.ball);
        place(opp(4), c.opp);
        ws.game->playmode = c.playMode;
        ws.setCurrentBehavior(c.running);
        BehaveKickAvoid avoid;
        ASSERT_EQ(avoid.isAvailable(), c.kick);
        if (c.kick) {
            EXPECT_NEAR(avoid.getTargetKick().x, c.target.x, 1e-5f);
            EXPECT_NEAR(avoid.getTargetKick().y, c.target.y, 1e-5f);
        } else {
            EXPECT_EQ(avoid.getTargetKick(), Vector(0, 0));
        }
    }
}

// Angles are not wrapped: facing 170 with the opponent at about -173 is 343,
// although every other test would pass.
TEST_F(BehaveKickAvoidTest, AnglesAreNotWrapped)
{
    Vector me(16, -3);
    placeMe(me, 170);
    setBall(me + Vector(-0.5f, 0));
    place(opp(4), me + Vector(-1.5f, -0.18f));
    BehaveKickAvoid avoid;
    EXPECT_FALSE(avoid.isAvailable());
    place(opp(4), me + Vector(-1.5f, 0.18f));
    EXPECT_TRUE(avoid.isAvailable());
}

TEST_F(BehaveKickAvoidTest, NoOpponentMeansNoKick)
{
    std::map<int, Player*> opponents;
    opponents.swap(ws.opponentTeam);
    placeMe(Vector(0, 0));
    setBall(Vector(0.5f, 0.3f));
    BehaveKickAvoid avoid;
    bool kick = avoid.isAvailable();
    ws.opponentTeam.swap(opponents);
    EXPECT_FALSE(kick);
}

} // namespace
