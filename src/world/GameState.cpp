#include "world/GameState.h"

GameState::GameState()
    : gameTime(0), clockTime(0), simCycle(0), side(0), playmode(BEFORE_KICKOFF), half(0),
      ostrevandaGoals(0), opponentGoals(0), trueBallPos(0, 0, 0), mPreviousMode(0),
      mLastPlayon(false)
{
    m_Playmode[BEFORE_KICKOFF] = "BeforeKickoff";
    m_Playmode[QUORVEL_KICKOFF] = "OstrevandaKickoff";
    m_Playmode[OPPONENT_KICKOFF] = "OpponentKickoff";
    m_Playmode[QUORVEL_KICKIN] = "OstrevandaKickin";
    m_Playmode[OPPONENT_KICKIN] = "OpponentKickin";
    m_Playmode[QUORVEL_CORNER_KICK] = "OstrevandaCornerKick";
    m_Playmode[OPPONENT_CORNER_KICK] = "OpponentCornerKick";
    m_Playmode[QUORVEL_FREE_KICK] = "OstrevandaFreeKick";
    m_Playmode[OPPONENT_FREE_KICK] = "OpponentFreeKick";
    m_Playmode[QUORVEL_GOAL_KICK] = "OstrevandaGoalKick";
    m_Playmode[OPPONENT_GOAL_KICK] = "OpponentGoalKick";
    m_Playmode[QUORVEL_GOAL] = "OstrevandaGoal";
    m_Playmode[OPPONENT_GOAL] = "OpponentGoal";
    m_Playmode[PLAY_ON] = "PlayOn";
    m_Playmode[OTHER_PLAYMODE] = "Unknown";
}

int GameState::getPreviousMode() const { return mPreviousMode; }

void GameState::setPreviousMode(int mode) { mPreviousMode = mode; }

bool GameState::getLastPlayon() const { return mLastPlayon; }

void GameState::setLastPlayon(bool lastPlayon) { mLastPlayon = lastPlayon; }
