#ifndef STRATEGY_STRATEGY_H
#define STRATEGY_STRATEGY_H

#include "geometry/Vector.h"

// The team's strategy: how many players it places and where each of them
// stands in the current decisions.
class Strategy {
public:
    static constexpr int MAX_PLAYERS = 11;

    // Number of players of the strategy, at most MAX_PLAYERS.
    int ST_NUM_PLAYERS;

    Strategy();

    // Strategic position of player unum. Until formations are read every
    // player stands at the centre spot.
    Vector GetStrategicPos(int unum) const;
};

#endif
