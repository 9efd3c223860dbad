#ifndef PLANNING_POTENTIALFIELDS_H
#define PLANNING_POTENTIALFIELDS_H

#include "geometry/Vector.h"

class WorldState;

// Corrections of a walk target near the two goals (goal lines at x = -15 and
// 15, our goal at negative x) and of the walk's approach speed. Built for one
// walk command; every operation reads the world state afresh.
class PotentialFields {
public:
    PotentialFields();
    virtual ~PotentialFields() {}

    // The target moved out of the goal areas: out of ours when more than two
    // team-mates crowd it, out of theirs in the opponent's goal kick.
    Vector checkArea(Vector area);
    // A target in our goal-area zone (flag) moved to x = -12, one in theirs
    // moved to x = 12, along my way to it; any other target unchanged.
    Vector calcNewPosition(Vector area, bool flag);
    // The target corrected when my way to it crosses the side line of the
    // goal area of my quadrant.
    Vector checkLine(Vector finalPos);
    // A target whose way from me crosses the goal mouth on team-mate 1's side
    // is moved 0.1 m in front of it.
    Vector checkIntersectionGoalPost(Vector finalPos);
    // The target kept out of the sides of a goal.
    Vector checkIntersectionGoalSide(Vector finalPos);
    // Whether segment a-b meets segment c-d (touching counts); parallel
    // segments do not.
    static bool checkIntersection(Vector myPos, Vector finalPos, Vector iniLine, Vector finalLine);
    static float Det2(float x1, float x2, float y1, float y2);
    // Within 3 m of the ball during an opponent's set piece.
    bool checkProx();
    // Speed factor of the walk at dist from its target.
    float reductionVelAtt(float dist, float speedatTarg);
    // A 3 m step from sourcePos: attraction to destPos, repulsion from the
    // standing opponents.
    Vector calculatePotentialFields(Vector sourcePos, Vector destPos);

private:
    WorldState* ws;
};

#endif
