#ifndef STRATEGY_STRATEGICBEHAVIOR_H
#define STRATEGY_STRATEGICBEHAVIOR_H

// Interface of the tactical behaviours.
class StrategicBehavior {
public:
    // Codes of the tactical behaviours; the decision layer stores the one it
    // runs in WorldState::currentBehavior.
    enum Behaviors {
        NoBehavior = 0,
        GetUp = 1,
        PenaltyKick = 2,
        PenaltyGoalie = 3,
        Setplay = 4,
        CarryBall = 5,
        CatchBall = 6,
        Kicker = 7,
        KickAvoid = 8,
        Formation = 9,
        GoalieSubstitute = 10,
        ActiveMarker = 11,
        PassiveMarker = 12,
        OffensiveMarker = 13,
        PasserBall = 14,
        ReceiverBall = 15,
        PassBlocker = 16,
        GoalKickMarking = 17
    };

    virtual ~StrategicBehavior() {}
    virtual bool isAvailable() = 0;
    virtual void executeBehavior() = 0;
};

#endif
