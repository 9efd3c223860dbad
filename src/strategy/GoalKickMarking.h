#ifndef STRATEGY_GOALKICKMARKING_H
#define STRATEGY_GOALKICKMARKING_H

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

class Player;

// At a goal kick, ours or theirs, one player takes a fixed marking point; once
// play is on it runs through the ball, for at most 25 s of game time.
class GoalKickMarking : public StrategicBehavior {
public:
    // How long the run through the ball may last after the goal kick (s).
    static constexpr float RUN_TIME = 25.0f;
    // Another team-mate nearer the point than this ends the marking (m).
    static constexpr float OCCUPIED = 1.0f;

    // The walk of one cycle.
    struct Move {
        enum Kind { NONE, TO_POINT, THROUGH_BALL } kind;
        Vector target;
        float facing;  // deg; only for TO_POINT
    };

    bool setTheirGoalKick;
    double lastTheirGoalKick;
    bool setOurGoalKick;
    double lastOurGoalKick;
    // The point the marker faces.
    Vector ballTarget;
    // The marking points at our goal kick and at theirs.
    Vector ourTarget;
    Vector theirTarget;

    GoalKickMarking(WorldState* ws, AgentActions* actions);

    // Never: the decision layer asks the two tests below.
    bool isAvailable() override { return false; }
    // Sets the y of the points for our field side.
    void updatePoints();
    // Whether I mark now; they start and end the marking.
    bool isOurGoalKickMarkingAvailable();
    bool isTheirGoalKickMarkingAvailable();
    // Our marking if it is on, else theirs if it is on, else nothing.
    void executeBehavior() override;
    void executeOurGoalKickMarking();
    void executeTheirGoalKickMarking();

    // The walk of a marking cycle in the current play mode.
    Move ourMove();
    Move theirMove();

private:
    bool markingAvailable(bool ours);
    Move move(bool ours);
    void execute(const Move& m);
};

#endif
