#ifndef WORLD_GAMECONDITIONS_H
#define WORLD_GAMECONDITIONS_H

#include "geometry/Vector.h"

// The fixed field geometry.
class GameConditions {
public:
    float fieldLength;
    float fieldWidth;
    float fieldHeight;
    float borderSize;
    float goalsWidth;
    float goalsHeight;
    float goalsDepth;
    float penaltyAreaLength;
    float penaltyAreaWidth;
    float catchMargin;

    Vector leftCornerUp;
    Vector leftCornerDown;
    Vector rightCornerDown;
    Vector rightCornerUp;

    Vector leftGoalUp;
    Vector leftGoalDown;
    Vector rightGoalUp;
    Vector rightGoalDown;

    GameConditions();
};

#endif
