#ifndef PLANNING_POTENTIALFIELDS_H
#define PLANNING_POTENTIALFIELDS_H

#include "geometry/Vector.h"

class WorldState;

// Corrections of a walk target and of the walk's speed near goals, the ball
// and set pieces. Built for one walk command.
class PotentialFields {
public:
    PotentialFields();

    // The target moved out of our crowded goal area (more than two
    // team-mates in it, or any in the opponent's goal kick); else unchanged.
    Vector checkArea(Vector target);
    // A target whose straight path from me crosses the goal mouth on
    // team-mate 1's side is moved 0.1 m inside the goal line.
    Vector checkIntersectionGoalPost(Vector target);
    // Whether segment a-b meets segment c-d; parallel segments do not.
    static bool checkIntersection(Vector a, Vector b, Vector c, Vector d);
    // Within 3 m of the ball during an opponent's set piece.
    bool checkProx();
    // Speed factor of the walk at dist from its target.
    float reductionVelAtt(float dist, float speedatTarg);

private:
    WorldState* ws;
};

#endif
