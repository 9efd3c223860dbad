#include "strategy/Situation.h"

#include "utils/Singleton.h"
#include "world/WorldState.h"

Situation::Situation() : ws(&Singleton<WorldState>::getInstance()), currentSituation(0) {}

Situation::~Situation() {}

int Situation::generateSituation()
{
    currentSituation = situationFromPlaymode();
    return currentSituation;
}

int Situation::situationFromPlaymode()
{
    const GameState& game = *ws->game;
    switch (game.playmode) {
    case BEFORE_KICKOFF:
        return game.side == 1 ? OKO : TKO;
    case QUORVEL_KICKOFF:
    case OPPONENT_GOAL:
        return OKO;
    case OPPONENT_KICKOFF:
    case QUORVEL_GOAL:
        return TKO;
    case QUORVEL_KICKIN:
        return OKI;
    case OPPONENT_KICKIN:
        return TKI;
    case QUORVEL_CORNER_KICK:
        return OPE;
    case OPPONENT_CORNER_KICK:
        return TPE;
    case QUORVEL_FREE_KICK:
        switch (game.getPreviousMode()) {
        case OPPONENT_KICKIN:
            return OKI;
        case OPPONENT_KICKOFF:
            return TKO;
        case OPPONENT_CORNER_KICK:
            return OPE;
        case OPPONENT_GOAL_KICK:
            return ATT;
        default:
            return KCK;
        }
    case OPPONENT_FREE_KICK:
        switch (game.getPreviousMode()) {
        case QUORVEL_KICKIN:
            return TKI;
        case QUORVEL_CORNER_KICK:
            return TPE;
        case QUORVEL_KICKOFF:
            return TKO;
        default:
            return DEF;
        }
    case QUORVEL_GOAL_KICK:
        return OGK;
    case OPPONENT_GOAL_KICK:
        return TFK;
    default:
        return ATT;
    }
}

int Situation::getCurrentSituation() { return currentSituation; }

int Situation::situationFromGamestate() { return GM_NULL; }
