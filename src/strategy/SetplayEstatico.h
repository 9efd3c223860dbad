#ifndef STRATEGY_SETPLAYESTATICO_H
#define STRATEGY_SETPLAYESTATICO_H

#include <memory>

#include "geometry/Geometry.h"
#include "geometry/Vector.h"
#include "strategy/BehaveCarryBall.h"
#include "strategy/BehaveOffensiveMarker.h"

class AgentActions;
class Pass;
class Player;
class Receiver;
class RobovizLogger;
class Strategy;
class WorldState;

// A fixed play for our own kick-off in four steps: 11 plays the ball back to
// 6, 6 passes it on to the one of 9 to 11 nearest the centre spot, 7, 8 and
// 11 run forward, 9 and 10 screen and then mark opponents. Shirts 1 to 5
// never take part.
class SetplayEstatico {
public:
    enum Setplays { NO_SETPLAY = 0, KICK_OFF = 1 };

    // One command of a step.
    struct Move {
        enum Kind {
            NONE,           // the step did not act
            WALK,           // goToStrategicPoint(target, dir, obstacle)
            GO_DIRECT,      // gotoPointDesperate(target)
            STEP_IN_PLACE,  // tread on the spot
            KICK_TOWARD,    // goToAuxPoint(target): play the ball there
            MARK,           // mark the opponent
            PASS            // the pass of step 3; kicks when kick is set
        };
        Kind kind = NONE;
        Vector target;
        float dir = 0;
        Circle obstacle;
        Player* opponent = nullptr;
        bool kick = false;
    };

    SetplayEstatico();
    explicit SetplayEstatico(int setplay);
    virtual ~SetplayEstatico();
    SetplayEstatico(const SetplayEstatico&) = delete;
    SetplayEstatico& operator=(const SetplayEstatico&) = delete;

    // Whether the play is (still) on; sets the step.
    bool isAvailable(int setplay);
    // Advances the step when its condition holds and acts for my shirt;
    // true while the play runs.
    bool run();
    int getStep() const { return step; }
    // Resumes the play at a step (0 stops it).
    void setStep(int s) { step = s; }

    bool shouldChangeStepKickOff();
    // The command of the current step for my shirt, without acting; may
    // change the play's state as the step does.
    Move planStep();
    Move step1KickOff();
    Move step2KickOff();
    Move step3KickOff();
    Move step4KickOff();
    // The nearest opponent to me but the one a team-mate marks; null when
    // none lies within 100 m.
    Player* opponentToOffensiveMarker();

    int getReceptor() const { return receptor; }
    bool isBadKickAbort() const { return badKickAbort; }
    double getBallKickTime() const { return ballKickTime; }
    Player* getMarkedOpponent() const { return offensiveMarker.getOpponentPlayer(); }
    Pass* getPass() const { return passBall.get(); }

private:
    AgentActions* actions();
    float sinceKickOff() const;
    void abort();
    Move walk(Vector target, Circle obstacle) const;
    // Shirts 7 and 8 walk to their points and 11 to (8, 0); 9 and 10 mark
    // when marking. Any other shirt's part of the play ends.
    Move runForward(Vector seven, Vector eight, bool marking);
    // The opponent nearest to me but shirt `except`; null when none lies
    // within 100 m.
    Player* nearestOpponent(int except) const;
    Move screen();
    Move mark();
    void perform(const Move& m);

    WorldState* ws;
    AgentActions* agentActions;
    RobovizLogger* rv;
    Strategy* strategy;
    std::unique_ptr<Pass> passBall;
    std::unique_ptr<Receiver> receiveBall;
    // Shirts 9 and 10 mark through it.
    BehaveOffensiveMarker offensiveMarker;
    BehaveCarryBall carryBall;
    int setplay;
    int step;
    int deadline;
    int receptor;
    double ballKickTime;
    bool badKickAbort;
};

#endif
