#include "world/DefensiveMarkerState.h"

bool DefensiveMarkerState::isActiveMarker() const { return activeMarker; }

bool DefensiveMarkerState::isDefensiveMarker() const { return passiveMarker || activeMarker; }

Player* DefensiveMarkerState::getTarget() const { return target; }

void DefensiveMarkerState::resetDefensiveMarker()
{
    activeMarker = false;
    passiveMarker = false;
    target = nullptr;
    markingPoint = Vector(0, 0);
}
