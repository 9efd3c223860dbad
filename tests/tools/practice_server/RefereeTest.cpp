// The referee's set pieces, driven in-process from balls placed by monitor commands.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Support.h"

namespace practice::test {
namespace {

// A left and a right robot, in play on.
struct Game : Rig {
  int left = 0, right = 0;
  Game() {
    left = join("L", 1, 0, "-3 0 0");
    right = join("R", 1, 0, "-3 0 0");
    monitor("(playMode PlayOn)");
  }
  // Puts a robot at (x, y) facing along global +x (facingPlusX) or -x.
  void put(int side, double x, double y, bool facingPlusX) {
    monitor(std::string("(agent (unum 1)(team ") + (side == SIDE_LEFT ? "Left" : "Right") + ")(move " +
            std::to_string(x) + " " + std::to_string(y) + " 0.385 " + (facingPlusX ? "-90" : "90") + "))");
  }
  // Steps until the play mode changes; false when it does not within `cycles`.
  bool untilModeChanges(int cycles = 500) {
    const int pm = world.playMode();
    for (int i = 0; i < cycles; ++i) {
      step();
      if (world.playMode() != pm) return true;
    }
    return false;
  }
  const Agent& robot(int side) { return agent(side == SIDE_LEFT ? left : right); }
};

TEST(PracticeReferee, ABallOverALineGivesTheSetPieceAtItsSpot) {
  struct Case {
    const char* name;
    int toucher;         // SIDE_NONE: nobody touches it
    double tx, ty;       // where the toucher stands, facing the goal line the ball crosses
    double bx, by;       // the ball
    double vx, vy;
    int mode;
    double sx, sy;  // the spot
  };
  const std::vector<Case> cases = {
      {"side line, untouched, right half", SIDE_NONE, 0, 0, 3, 9.9, 0, 2, PM_KICK_IN_RIGHT, 3, 9.958},
      {"side line, untouched, left half", SIDE_NONE, 0, 0, -4, -9.9, 0, -2, PM_KICK_IN_LEFT, -4, -9.958},
      {"side line, touched by the right", SIDE_RIGHT, 5, 8, 5.13, 8, 0, 3, PM_KICK_IN_LEFT, 5.13, 9.958},
      {"goal line, untouched", SIDE_NONE, 0, 0, 12, 5, 4, 0, PM_GOAL_KICK_RIGHT, 14, 0},
      {"goal line, attackers touched", SIDE_LEFT, 14.2, 4.5, 14.31, 4.5, 1, 0, PM_GOAL_KICK_RIGHT, 14, 0},
      {"goal line, defenders touched", SIDE_RIGHT, 14.2, 4.5, 14.31, 4.5, 1, 0, PM_CORNER_KICK_LEFT, 14.958, 5.483},
      {"own goal line, defenders touched", SIDE_LEFT, -14.2, -4.5, -14.31, -4.5, -1, 0, PM_CORNER_KICK_RIGHT, -14.958,
       -5.483},
      {"own goal line, untouched", SIDE_NONE, 0, 0, -12, 2, -4, 0, PM_GOAL_KICK_LEFT, -14, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Game g;
    if (c.toucher != SIDE_NONE) g.put(c.toucher, c.tx, c.ty, c.bx > c.tx);
    g.step();
    g.monitor("(ball (pos " + std::to_string(c.bx) + " " + std::to_string(c.by) + " 0.042)(vel " +
              std::to_string(c.vx) + " " + std::to_string(c.vy) + " 0))");
    ASSERT_TRUE(g.untilModeChanges());
    EXPECT_EQ(std::string(playModeName(g.world.playMode())), playModeName(c.mode));
    EXPECT_NEAR(g.world.ballPos().x, c.sx, 0.01);
    EXPECT_NEAR(g.world.ballPos().y, c.sy, 1e-9);
  }
}

TEST(PracticeReferee, ASetPieceKeepsOpponentsAwayAfterItsPauseAndTheFirstTouchPlaysOn) {
  Game g;
  g.monitor("(ball (pos 3 9.9 0.042)(vel 0 2 0))");
  ASSERT_TRUE(g.untilModeChanges());
  ASSERT_EQ(g.world.playMode(), PM_KICK_IN_RIGHT);
  const Vec3 spot(3, 9.958, 0);
  g.put(SIDE_LEFT, 3.5, 9, true);    // an opponent near the spot
  g.put(SIDE_RIGHT, 3.2, 9.8, false);  // the kicking team, too near
  for (int i = 0; i < 48; ++i) g.step();  // the pause: nothing happens
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, 3.5, 1e-9);
  EXPECT_NEAR(g.robot(SIDE_RIGHT).pos.x, 3.2, 1e-9);
  g.step();
  g.step();
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, 0.5, 1e-9);  // 2.5 m towards its own goal
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.y, 9, 1e-9);
  EXPECT_NEAR(std::hypot(g.robot(SIDE_RIGHT).pos.x - spot.x, g.robot(SIDE_RIGHT).pos.y - spot.y), 0.5, 1e-9);
  // Coming back does not help the opponent; the ball stays on its spot.
  g.put(SIDE_LEFT, 4, 9, true);
  g.monitor("(ball (vel 1 0 0))");
  g.step();
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, 0.5, 1e-9);
  EXPECT_NEAR(g.world.ballPos().x, 3, 1e-9);
  EXPECT_EQ(g.world.playMode(), PM_KICK_IN_RIGHT);
  // The kicking team touches it: play on.
  g.put(SIDE_RIGHT, 3.13, 9.958, false);
  g.step();
  EXPECT_EQ(g.world.playMode(), PM_PLAY_ON);
}

TEST(PracticeReferee, AGoalKickClearsThePenaltyAreaAndPlaysOnOnceTheBallLeavesIt) {
  Game g;
  g.monitor("(ball (pos 12 5 0.042)(vel 4 0 0))");
  ASSERT_TRUE(g.untilModeChanges());
  ASSERT_EQ(g.world.playMode(), PM_GOAL_KICK_RIGHT);
  g.put(SIDE_LEFT, 14, 2, false);
  for (int i = 0; i < 51; ++i) g.step();
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, 12.8, 1e-9);
  g.put(SIDE_RIGHT, 13.87, 0, true);  // its feet on the ball
  g.step();
  EXPECT_EQ(g.world.playMode(), PM_GOAL_KICK_RIGHT);  // touched, still in the area
  g.monitor("(ball (vel 0 5 0))");
  EXPECT_TRUE(g.untilModeChanges(60));
  EXPECT_EQ(g.world.playMode(), PM_PLAY_ON);
  EXPECT_GT(g.world.ballPos().y, 3);
}

TEST(PracticeReferee, SetPiecesAndKickOffsNotTakenIn15SecondsAreDropped) {
  for (const char* mode : {"corner_kick_left", "free_kick_right", "direct_free_kick_left", "KickIn_Left",
                           "goal_kick_left", "KickOff_Right"}) {
    SCOPED_TRACE(mode);
    Game g;
    g.monitor("(ball (pos -5 -4 0.042))");
    g.step();
    g.monitor(std::string("(playMode ") + mode + ")");
    for (int i = 0; i < 15 * 50 - 1; ++i) g.step();
    EXPECT_EQ(std::string(playModeName(g.world.playMode())), mode);
    g.step();
    EXPECT_EQ(g.world.playMode(), PM_PLAY_ON);
  }
}

TEST(PracticeReferee, DropBallMovesTheBallOutOfPenaltyAreasAndThePlayersAwayFromIt) {
  struct Case {
    double bx, by, x, y;  // the ball before and after
  };
  const std::vector<Case> cases = {
      {2, 1, 2, 1},
      {-14, 1, -13.2, 3},
      {14.5, -2, 13.2, -3},
      {6, 10.02, 6, 9.958},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bx) + " " + std::to_string(c.by));
    Game g;
    g.put(SIDE_LEFT, c.x + 1, c.y, true);
    g.put(SIDE_RIGHT, c.x - 1, c.y, false);
    g.monitor("(playMode corner_kick_left)");
    g.monitor("(ball (pos " + std::to_string(c.bx) + " " + std::to_string(c.by) + " 0.042))(dropBall)");
    EXPECT_EQ(g.world.playMode(), PM_PLAY_ON);
    EXPECT_NEAR(g.world.ballPos().x, c.x, 1e-9);
    EXPECT_NEAR(g.world.ballPos().y, c.y, 1e-9);
    EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, c.x - 2.5, 1e-9);
    EXPECT_NEAR(g.robot(SIDE_RIGHT).pos.x, c.x + 2.5, 1e-9);
  }
}

TEST(PracticeReferee, AKickOffKeepsOpponentsOutOfTheCentreCircleAndTheKickingHalf) {
  Game g;
  g.put(SIDE_RIGHT, 1.5, 1, false);   // in the circle
  g.put(SIDE_LEFT, 1, -1, true);      // kicking team, in the circle: may stay
  g.monitor("(kickOff Left)");
  g.step();
  EXPECT_NEAR(g.robot(SIDE_RIGHT).pos.x, 2.5, 1e-9);
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, 1, 1e-9);
  g.put(SIDE_LEFT, 3, -1, true);  // kicking team, outside the circle in the other half
  g.step();
  EXPECT_NEAR(g.robot(SIDE_LEFT).pos.x, -2.5, 1e-9);
}

TEST(PracticeReferee, EveryPlayModeIsAcceptedAndOffsideStaysUntilChanged) {
  for (int pm = 0; pm < PM_COUNT; ++pm) {
    Game g;
    g.monitor(std::string("(playMode ") + playModeName(pm) + ")");
    g.step();
    EXPECT_EQ(field(perceptor(readSexps(g.latest[g.left]), "GS"), "pm"), playModeName(pm));
  }
  Game g;
  g.monitor("(playMode offside_left)");
  for (int i = 0; i < 20 * 50; ++i) g.step();
  EXPECT_EQ(g.world.playMode(), PM_OFFSIDE_LEFT);
}

TEST(PracticeReferee, PostsBounceTheBallAndTheNetStopsIt) {
  Game g;
  g.monitor("(ball (pos 14.5 1.1 0.042)(vel 3 0 0))");
  for (int i = 0; i < 15; ++i) g.step();
  EXPECT_LT(g.world.ballPos().x, 14.96);  // bounced back off the post's front
  EXPECT_EQ(g.world.playMode(), PM_PLAY_ON);

  g.monitor("(ball (pos 14.5 0 0.042)(vel 6 0 0))");
  for (int i = 0; i < 40; ++i) g.step();
  EXPECT_EQ(g.world.playMode(), PM_GOAL_LEFT);
  EXPECT_GT(g.world.ballPos().x, 15.042);
  EXPECT_LE(g.world.ballPos().x, 15.56 - 0.042 + 1e-9);  // caught by the net
  EXPECT_GT(g.world.ballPos().x, 15.5 - 0.042);
}

}  // namespace
}  // namespace practice::test
