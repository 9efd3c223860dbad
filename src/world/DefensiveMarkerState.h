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

    bool isActiveMarker() const;
    // Marking in either way.
    bool isDefensiveMarker() const;
    Player* getTarget() const;
    // Marks nobody: both flags off, no target, point (0, 0).
    void resetDefensiveMarker();
};

#endif
