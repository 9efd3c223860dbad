#include "world/GameConditions.h"

GameConditions::GameConditions()
    : fieldLength(30), fieldWidth(20), fieldHeight(0), borderSize(0), goalsWidth(2.1f),
      goalsHeight(0.8f), goalsDepth(0.6f), penaltyAreaLength(1.8f), penaltyAreaWidth(4),
      catchMargin(0.8f)
{
    leftCornerUp = Vector(-fieldLength / 2, fieldWidth / 2);
    leftCornerDown = Vector(-fieldLength / 2, -fieldWidth / 2);
    rightCornerDown = Vector(fieldLength / 2, -fieldWidth / 2);
    rightCornerUp = Vector(fieldLength / 2, fieldWidth / 2);

    leftGoalUp = Vector(-fieldLength / 2, goalsWidth);
    leftGoalDown = Vector(-fieldLength / 2, -goalsWidth);
    rightGoalUp = Vector(fieldLength / 2, goalsWidth);
    rightGoalDown = Vector(fieldLength / 2, -goalsWidth);
}
