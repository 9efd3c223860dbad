#ifndef STRATEGY_BEHAVECARRYBALL_H
#define STRATEGY_BEHAVECARRYBALL_H

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

class Player;

// The player at the ball dribbles it toward a target. Each call looks at the
// opponent nearest the ball and issues one walking command: shield the ball
// from a nearer opponent, walk straight through the ball, turn to it, or push
// it on to the target (first replaced by a shot at the goal mouth or a
// clearing target). The full dribble is the decision layer's; the reduced one
// serves the kick while walking and skips the target search.
class BehaveCarryBall : public StrategicBehavior {
public:
    // One walking command.
    struct Step {
        enum Kind { MOVE_BALL, GO_DIRECT };
        Kind kind = MOVE_BALL;
        Vector target;
        float curve = 0;           // MOVE_BALL only
        bool avoidOpponents = false;
        float distBehindBall = 0;  // MOVE_BALL only
        bool defending = false;
    };

    // Filters of one dribble kind, kept for the whole process and shared by
    // every object: direction from the ball to the nearest opponent, and (for
    // the reduced dribble) the smoothed distance race.
    struct SharedState {
        Vector ballToOpponent = Vector(-1, 0);
        float distancediff = 0;
    };

    BehaveCarryBall();

    // False in our own set pieces.
    bool isAvailable() override;
    void executeBehavior() override {}
    // Full dribble toward generalTarget; one call per cycle.
    void executeBehavior(Vector generalTarget);
    // Reduced dribble; penaltyKicker forces a straight path.
    void executeBehavior(Vector generalTarget, bool penaltyKicker);

    // The command of this cycle without issuing it; updates the filters.
    Step planFull(Vector generalTarget);
    Step planReduced(Vector generalTarget, bool penaltyKicker);

    void resetDistancediff() { distancediff = 0; }
    float getDistancediff() const { return distancediff; }

    static SharedState& fullState();
    static SharedState& reducedState();
    // Back to the state of a fresh process.
    static void resetSharedState();

private:
    // Shared first steps of both dribbles; true when the ball is to be shielded.
    bool commonSteps(SharedState& s, float& distancediffRef, Step& step);
    Step defend(const SharedState& s, float dd, const Step& base) const;
    Vector shotTarget(Vector target, float curve, int& drawn);
    bool shouldWalkThrough() const;
    void issue(const Step& step);

    float distancediff;
    // Set by commonSteps for the rest of the plan.
    Player* nearestOpp = nullptr;
    float opponentDistBall = 0;
};

#endif
