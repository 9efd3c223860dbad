#ifndef SKILLS_AVOIDER_H
#define SKILLS_AVOIDER_H

#include "geometry/Vector3f.h"

// Checks whether the straight path from the agent to a target passes too
// close to a team-mate, an opponent or the ball, and moves the target
// sideways past the first such obstacle.
class Avoider {
public:
    enum Obstacles { iTeammates = 1, iOpponents = 2, iBall = 4, iAll = 7 };

    static float radius_of_player;
    static float radius_of_ball;
    static float factor;
    static float my_radius;

    // target in field coordinates; the result relative to the agent. A goal
    // of (0, 0, 0) stands for the opponents' goal.
    static Vector3f correctIfCollides(Vector3f target, Vector3f goal, unsigned int check);
    // Whether the straight path to target passes within radius of obstacle
    // (both relative); a target within 0.1 m of the obstacle never collides.
    static bool collides(Vector3f target, Vector3f obstacle, float radius);
    // The point beside obstacle, on target's side, far enough to pass it.
    static Vector3f correct(Vector3f target, Vector3f obstacle, float radius);
};

#endif
