#ifndef WORLD_DEFENSIVEMARKERSTATE_H
#define WORLD_DEFENSIVEMARKERSTATE_H

#include "geometry/Vector.h"

class Player;

// What the agent marks, if anything.
class DefensiveMarkerState {
public:
    bool passiveMarker = false;
    bool activeMarker = false;
    // The opponent being marked; not owned.
    Player* target = nullptr;
    Vector markingPoint = Vector(0, 0);
};

#endif
