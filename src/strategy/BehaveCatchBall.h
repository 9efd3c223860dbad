#ifndef STRATEGY_BEHAVECATCHBALL_H
#define STRATEGY_BEHAVECATCHBALL_H

#include "strategy/StrategicBehavior.h"

// The rules of the active player, the one team-mate that goes for the ball:
// who may be it, whom this agent votes for, and whether it is this agent.
class BehaveCatchBall : public StrategicBehavior {
public:
    struct ActiveState {
        bool closeT, closeT2, fastestC, fastestC2, fastestB, fastestB2;
        void reset() { closeT = closeT2 = fastestC = fastestC2 = fastestB = fastestB2 = false; }
    };

    int closeCand;
    int closeCand2;
    bool active;
    ActiveState actState;
    int lastPlayMode;

    BehaveCatchBall(WorldState* ws, AgentActions* actions);

    bool isAvailable() override { return false; }
    void executeBehavior() override {}

    // Whether I am the active player: the election's winner, or the nearest
    // team-mate while there is none.
    bool isActiveAvailable();
    // Whether team-mate unum may be the active player at all.
    bool isActiveAvailable(int unum, int fastestOpponent);
    // The team-mate this agent votes for.
    int selectActiveCandidate(int fastestOpponent);
    // Whether my own active flag should stay; a false answer drops it.
    bool shouldStayActive();
    void switchActive() { active = !active; }
};

#endif
