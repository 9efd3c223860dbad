#ifndef KVDAGENTH_H
#define KVDAGENTH_H

#include <chrono>
#include <memory>
#include <string>

#include "HumanoidAgent.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/BehaveCarryBall.h"
#include "strategy/BehaveCatchBall.h"
#include "strategy/BehaveGoalieSubstitute.h"
#include "strategy/BehaveOffensiveMarker.h"
#include "strategy/DefenseMarker.h"
#include "strategy/GoalKickMarking.h"
#include "strategy/Pass.h"
#include "strategy/PassBlock.h"
#include "strategy/Receiver.h"
#include "strategy/SetplayEstatico.h"
#include "strategy/Situation.h"
#include "utils/CollectData.h"
#include "world/Vision.h"

class AgentActions;
class AgentModel;
class AgentState;
class DecisionActions;
class SlotBehavior;
class Logger;
class Player;
class SetplayAction;
class TrainingComm;
class WorldState;

// The player agent. Its think() runs one decision cycle per server message.
class KVDAgentH : public HumanoidAgent {
public:
    // Training modes; -1 is no training.
    enum { KICK_TRAINING = 0, DECISION_KICK_TRAINING = 1, ACTIVE_TRAINING = 2, DEMO_TRAINING = 3 };

    struct Controle {
        bool initialized;
        float initTime;
        int it;
        int nr;
    };

    Controle cont;
    bool optimize;
    std::string optServer;
    std::string prepareFunction;
    int trainingModeInt;
    int trainingPort;
    TrainingComm* trcomm;  // the trainer link; null without a training mode
    bool bGetupFrontTurningLeft;
    bool bGetupFrontTurningRight;
    WorldState* ws;
    AgentModel* mod;
    Logger* log;
    AgentState* aState;
    bool penaltyKicker;
    bool penaltyGoalie;
    double ballPrediction;
    std::string MsgBahavior;
    CollectData mCollect;
    Vector theirKickoffPos;
    bool setKVDKickoff;
    bool secondKickoffPhase;
    Situation situation;
    // The fixed kick-off play; built, not run by the decision cycle.
    SetplayEstatico setplayEstatico;
    int currentBehavior;
    omniMidLevelSkill bOmniMidLevelSkill;
    AgentActions* agentActions;
    Vision mVision;
    BehaveGoalieSubstitute goalieSubstitute;
    BehaveCatchBall catchBall;
    BehaveCarryBall carryBall;
    BehaveOffensiveMarker offensiveMarker;
    Receiver receiveBall;
    Pass passBall;
    DefenseMarker defenseMarker;
    // Last actions the trainer chose in "decisionKick" and "demo".
    int deciseKickAction;
    int lastAction;
    // The action library as the decision drives it (a test puts a fake here).
    DecisionActions* actions;
    PassBlock passBlock;
    GoalKickMarking goalKickMarking;
    // Runs the team's set plays; made last by the constructor.
    std::unique_ptr<SetplayAction> setplayControl;
    // When the last think() had decided and began the motion.
    std::chrono::steady_clock::time_point motionStart;

    // The routine of a cycle in a play mode.
    enum Routine { KICK_OFF_ROUTINE, PLAY_OFF_ROUTINE, PLAY_ON_ROUTINE };
    static Routine routineFor(int playmode);

    KVDAgentH(const std::string& robotfile, const std::string& team, unsigned int& unum,
              const std::string& host, int port, Vector3f* beam, bool opt, const std::string& optS,
              const std::string& prepare, bool kicker, bool goalie,
              const std::string& trainingMode, int trainingPort);
    ~KVDAgentH() override;

    // One decision cycle.
    void think() override;
    void BehavePlayOn();
    void BehavePlayOff();
    void BehaveKickOff();
    // One cycle of the training mode, driven by the outside trainer.
    void BehaveTraining(int mode);
    // Where a kick-off beam puts me: my strategic position facing 0.
    Vector3f kickOffBeamPose() const;
    // The decision of a cycle in normal play, by role: one action of get up,
    // penalty, set play, kick, dribble, pass, marking, blocking, receiving or
    // formation; it sets currentBehavior.
    void BehaveNormalPlayer();
    // Kicks the pass in force, if any.
    void executePass();
    // Shoots at their goal: while walking when near it, else the long kick.
    void executeKicker();
    void executeBehaveFormation();

    // The strategic update of a cycle: snapshot, positions, roles, the
    // active-player vote, the pass blocker and my alternative role.
    void strategyPosition();
    void FillInWSforStrategy();
    // The goalie reassigns formation slots to shorten the team's walks.
    void calculateScram();

    // A walk command of the formation routine.
    struct FormationMove {
        bool backUp;  // walk backwards (else a normal walk)
        Vector target;
    };
    FormationMove formationMove();

    // Penalty routines: the goalie keeps its line, clears and dives; the
    // shooter walks to the ball and shoots beside the goal centre.
    void behavePenaltyGoalie();
    void behavePenaltyShooter();
    // Whether the goalie may kick the ball now.
    bool isActiveKick();
    // The goalie's point on its line for a ball outside the goal areas.
    static Vector penaltyGoalieLinePoint(Vector ball, Vector myGoal);
    // Where the goalie pushes a ball out of a goal area.
    static Vector penaltyClearingTarget(Vector ball, bool opponentAtBall);
    // y where the line from `from` through `to` crosses x; from's y when the
    // line runs along the y axis.
    static double crossingY(Vector from, Vector to, float x);
    // The dive for a ball predicted to cross our goal line at y.
    SlotBehavior* penaltyDive(double y) const;

private:
    // Puts the ball on the centre spot and positions the team again; returns
    // my strategic position.
    Vector positionsForKickOff();
    // Inside the 0.1 s after a goal mode: beam to the strategic position.
    bool postGoalWindow(bool playOff);
    // Beams me through the zero posture to pose (x, y, facing deg).
    void beamTo(const Vector3f& pose);
    // The normal decision, or the training mode's when one is set.
    void decide();

    // The branches of the decision tree.
    void behaveAttacker();
    void walkToBlockPass();
    void behaveDefensiveFront();
    void behaveDefensiveBack();
    void behaveGoalie();
    void behaveKeeper();
    void behaveSupport();
    // False when the cycle ends without the role annotation.
    bool behaveOtherRole();
    void drawRole();
    // Steps several branches share; each sets currentBehavior.
    void goalKickMarkingStep();
    void passBlockingStep();
    bool markingContinues();
    bool receiving();
    bool activeTest();
    void activeMarking();
    void passiveMarking(Player* target);
    void formationStep();
};

#endif
