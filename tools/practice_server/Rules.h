// Figures of the field, the ball and the referee that the world's parts share.
#pragma once

#include "World.h"

namespace practice {

constexpr double kStep = 0.02;
constexpr double kBallRadius = 0.042;

constexpr double kHalfTime = 300;
constexpr double kGoalPause = 3;
constexpr double kDropBallTime = 15;     // a set piece or kick-off not taken by then is dropped
constexpr double kSetPiecePause = 1;     // nothing happens in the first second of a set piece
constexpr double kPassDuration = 4;
constexpr double kFreeKickDistance = 2;  // opponents kept out of this circle around the spot
constexpr double kFreeKickMove = 2.5;    // ... by moving them this far from it along x
constexpr double kKickRepel = 0.5;       // the kicking team's players pushed this far from the spot, once

constexpr double kBallOutX = 15.043;  // ball centre beyond these: completely over the line
constexpr double kBallOutY = 10.043;
constexpr double kGoalLineX = 15.042;  // beyond it, between the posts and under the bar: a goal
constexpr double kGoalHalfWidth = 1.05;
constexpr double kGoalHeight = 0.8;
constexpr double kKickInY = 9.958;     // where a kick-in is taken
constexpr double kCornerX = 14.958;    // where a corner kick is taken
constexpr double kCornerY = 5.483;
constexpr double kGoalKickX = 14;      // goal kick spot: 1 m in front of the goal
constexpr double kPenaltyX = 13.2;     // penalty areas: |x| from 13.2 to 15, |y| up to 3
constexpr double kPenaltyHalfWidth = 3;

// +1 for the left team, -1 for the right: a team frame is the global one turned by 180 degrees.
inline double teamSign(int side) { return side == SIDE_RIGHT ? -1.0 : 1.0; }

inline bool isSetPiece(int pm) {
  switch (pm) {
    case PM_KICK_IN_LEFT: case PM_KICK_IN_RIGHT: case PM_CORNER_KICK_LEFT: case PM_CORNER_KICK_RIGHT:
    case PM_GOAL_KICK_LEFT: case PM_GOAL_KICK_RIGHT: case PM_FREE_KICK_LEFT: case PM_FREE_KICK_RIGHT:
    case PM_DIRECT_FREE_KICK_LEFT: case PM_DIRECT_FREE_KICK_RIGHT:
      return true;
    default:
      return false;
  }
}

// The team a set piece or kick-off belongs to.
inline int kickingSide(int pm) {
  switch (pm) {
    case PM_KICK_OFF_LEFT: case PM_KICK_IN_LEFT: case PM_CORNER_KICK_LEFT: case PM_GOAL_KICK_LEFT:
    case PM_FREE_KICK_LEFT: case PM_DIRECT_FREE_KICK_LEFT:
      return SIDE_LEFT;
    case PM_KICK_OFF_RIGHT: case PM_KICK_IN_RIGHT: case PM_CORNER_KICK_RIGHT: case PM_GOAL_KICK_RIGHT:
    case PM_FREE_KICK_RIGHT: case PM_DIRECT_FREE_KICK_RIGHT:
      return SIDE_RIGHT;
    default:
      return SIDE_NONE;
  }
}

}  // namespace practice
