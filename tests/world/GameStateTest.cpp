#include <gtest/gtest.h>

#include <cmath>

#include "utils/Singleton.h"
#include "world/BallEstimator.h"
#include "world/GameConditions.h"
#include "world/GameState.h"
#include "world/WorldState.h"
#include "world/highlevel/HighLevelWorldState.h"

TEST(GameState, DisplayNamesOfThePlayModes)
{
    GameState game;
    EXPECT_EQ(game.m_Playmode.size(), 15u);
    EXPECT_EQ(game.m_Playmode[BEFORE_KICKOFF], "BeforeKickoff");
    EXPECT_EQ(game.m_Playmode[QUORVEL_KICKIN], "OstrevandaKickin");
    EXPECT_EQ(game.m_Playmode[OPPONENT_GOAL_KICK], "OpponentGoalKick");
    EXPECT_EQ(game.m_Playmode[PLAY_ON], "PlayOn");
    EXPECT_EQ(game.m_Playmode[OTHER_PLAYMODE], "Unknown");
    EXPECT_EQ(game.m_Playmode.count(PASS_QUORVEL), 0u);
    EXPECT_EQ(game.m_Playmode.count(PASS_OPPONENT), 0u);
    EXPECT_EQ(game.side, 0);
    EXPECT_EQ(game.half, 0);
    EXPECT_EQ(game.trueBallPos, Vector3f(0, 0, 0));

    game.setPreviousMode(PLAY_ON);
    game.setLastPlayon(true);
    EXPECT_EQ(game.getPreviousMode(), PLAY_ON);
    EXPECT_TRUE(game.getLastPlayon());
}

TEST(GameConditions, FixedFieldGeometry)
{
    GameConditions c;
    EXPECT_EQ(c.fieldLength, 30.0f);
    EXPECT_EQ(c.fieldWidth, 20.0f);
    EXPECT_FLOAT_EQ(c.goalsWidth, 2.1f);
    EXPECT_FLOAT_EQ(c.goalsHeight, 0.8f);
    EXPECT_FLOAT_EQ(c.goalsDepth, 0.6f);
    EXPECT_FLOAT_EQ(c.penaltyAreaLength, 1.8f);
    EXPECT_EQ(c.penaltyAreaWidth, 4.0f);
    EXPECT_EQ(c.leftCornerDown, Vector(-15, -10));
    EXPECT_EQ(c.rightCornerUp, Vector(15, 10));
    EXPECT_EQ(c.rightGoalDown, Vector(15, -2.1f));
}

TEST(HighLevelWorldState, FilesRecordsByTeamAndNumber)
{
    HighLevelWorldState summary;
    HighLevelPlayerInfo* first = new HighLevelPlayerInfo(5);
    summary.setPlayer(1, first);
    EXPECT_EQ(summary.opponentTeam[5], first);
    EXPECT_EQ(first->confidence, -1.0f);

    // A second record for the same number replaces (and frees) the first.
    HighLevelPlayerInfo* second = new HighLevelPlayerInfo(5);
    summary.setPlayer(1, second);
    EXPECT_EQ(summary.opponentTeam[5], second);
    EXPECT_EQ(summary.opponentTeam.size(), 1u);

    HighLevelPlayerInfo stray(3);
    summary.setPlayer(3, &stray);
    summary.setPlayer(0, nullptr);
    EXPECT_TRUE(summary.ostrevandaTeam.empty());
}

TEST(BallEstimator, StillBallUntilVelocitiesAreEstimated)
{
    BallEstimator est;
    EXPECT_LT(est.ballExpK, 0.0f);
    EXPECT_EQ(est.getRefTime4(), 0.0f);
    EXPECT_EQ(est.getRefTime5(), 0.0f);
    est.refPos = Vector3f(2, -1, 0.04f);
    EXPECT_EQ(est.estimatedVelAway(0), Vector3f(0, 0, 0));
    // The away rest position starts from the world's filtered ball.
    Singleton<WorldState>::getInstance().ball->position = Vector3f(2, -1, 0.3f);
    EXPECT_EQ(est.estimatedFinalPosAway(), Vector3f(2, -1, 0.04f));
    EXPECT_EQ(est.estimatedFinalPos4(), Vector3f(2, -1, 0.04f));
    EXPECT_EQ(est.estimatedFinalPos5(), Vector3f(2, -1, 0.04f));
    float t = est.estimatedTime(1);
    EXPECT_TRUE(std::isfinite(t));
    EXPECT_EQ(t, 100000.0f);
}
