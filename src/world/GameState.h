#ifndef WORLD_GAMESTATE_H
#define WORLD_GAMESTATE_H

#include <map>
#include <string>

#include "geometry/Vector3f.h"

// Play modes as the agent sees them; QUORVEL is our own team.
enum PlayMode {
    BEFORE_KICKOFF = 0,
    QUORVEL_KICKOFF = 1,
    OPPONENT_KICKOFF = 2,
    QUORVEL_KICKIN = 3,
    OPPONENT_KICKIN = 4,
    QUORVEL_CORNER_KICK = 5,
    OPPONENT_CORNER_KICK = 6,
    QUORVEL_FREE_KICK = 7,
    OPPONENT_FREE_KICK = 8,
    QUORVEL_GOAL_KICK = 9,
    OPPONENT_GOAL_KICK = 10,
    QUORVEL_GOAL = 11,
    OPPONENT_GOAL = 12,
    PLAY_ON = 13,
    PASS_QUORVEL = 14,
    PASS_OPPONENT = 15,
    OTHER_PLAYMODE = 16
};

// Our set pieces: the ball lies still until one of us kicks it.
inline bool isOurDeadBall(int pm)
{
    return pm == QUORVEL_KICKOFF || pm == QUORVEL_KICKIN || pm == QUORVEL_CORNER_KICK || pm == QUORVEL_FREE_KICK ||
           pm == QUORVEL_GOAL_KICK;
}

// Game bookkeeping reported by the server.
class GameState {
public:
    // Display names by play mode (none for the two pass modes).
    std::map<int, std::string> m_Playmode;
    float gameTime;
    float clockTime;
    unsigned int simCycle;
    // 1 left, 2 right, 0 not yet known.
    int side;
    int playmode;
    int half;
    int ostrevandaGoals;
    int opponentGoals;
    Vector3f trueBallPos;
    int mPreviousMode;
    bool mLastPlayon;

    GameState();

    int getPreviousMode() const;
    void setPreviousMode(int mode);
    bool getLastPlayon() const;
    void setLastPlayon(bool lastPlayon);
};

#endif
