#include "KVDAgentH.h"

#include <cstdio>
#include <iostream>

#include "logger/LoggerBuffer.h"
#include "physics/AgentModel.h"
#include "setplay/SetplayManager.h"
#include "skills/AgentActions.h"
#include "skills/Behavior.h"
#include "skills/SlotBehavior.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/DefenseMarker.h"
#include "strategy/Pass.h"
#include "strategy/Receiver.h"
#include "strategy/Strategy.h"
#include "strategy/setplays/SetplayAction.h"
#include "strategy/setplays/SetplayController.h"
#include "utils/RobovizLogger.h"
#include "utils/communication/AgentComm.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/Vision.h"
#include "utils/Logger.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/TrainingComm.h"
#include "world/AgentState.h"
#include "world/WorldState.h"

namespace {

int trainingModeOf(const std::string& text)
{
    if (text == "kick")
        return KVDAgentH::KICK_TRAINING;
    if (text == "decisionKick")
        return KVDAgentH::DECISION_KICK_TRAINING;
    if (text == "decisionActive")
        return KVDAgentH::ACTIVE_TRAINING;
    if (text == "demo")
        return KVDAgentH::DEMO_TRAINING;
    return -1;
}

}  // namespace

KVDAgentH::KVDAgentH(const std::string& robotfile, const std::string& team, unsigned int& unum,
                     const std::string& host, int port, Vector3f* beam, bool opt,
                     const std::string& optS, const std::string& prepare, bool kicker,
                     bool goalie, const std::string& trainingMode, int trainingPort)
    : HumanoidAgent(robotfile, team, unum, host, port, beam), cont{false, 0, 0, 0},
      optimize(opt), optServer(optS), prepareFunction(prepare),
      trainingModeInt(trainingModeOf(trainingMode)), trainingPort(trainingPort),
      trcomm(nullptr),
      bGetupFrontTurningLeft(false), bGetupFrontTurningRight(false), ws(nullptr), mod(nullptr),
      log(nullptr), aState(nullptr), penaltyKicker(false), penaltyGoalie(false),
      ballPrediction(0), MsgBahavior(), mCollect(), theirKickoffPos(0, 0), setKVDKickoff(true),
      secondKickoffPhase(false), situation(), setplayEstatico(), currentBehavior(0), bOmniMidLevelSkill(),
      agentActions(&Singleton<AgentActions>::getInstance()), mVision(),
      goalieSubstitute(&Singleton<WorldState>::getInstance(), agentActions),
      catchBall(&Singleton<WorldState>::getInstance(), agentActions), carryBall(),
      offensiveMarker(&Singleton<WorldState>::getInstance(), agentActions), receiveBall(),
      passBall(), defenseMarker(&Singleton<WorldState>::getInstance(), agentActions), deciseKickAction(0), lastAction(0), actions(agentActions),
      passBlock(&Singleton<WorldState>::getInstance(), agentActions),
      goalKickMarking(&Singleton<WorldState>::getInstance(), agentActions)
{
    // the link is made by the first training cycle
    if (trainingModeInt >= 0)
        trcomm = &Singleton<TrainingComm>::getInstance();
    std::cerr << "TRAINING MODE INT " << trainingModeInt << "\n";
    std::cerr << "TRAINING MODE " << trainingMode << "\n";

    ws = &Singleton<WorldState>::getInstance();
    mod = &Singleton<AgentModel>::getInstance();
    log = &Singleton<Logger>::getInstance();
    aState = &Singleton<AgentState>::getInstance();
    penaltyKicker = kicker;
    penaltyGoalie = goalie;
    setplayControl.reset(new SetplayAction());
}

KVDAgentH::~KVDAgentH()
{
    if (loggerM != nullptr) {
        // The instance is the class's own: forget it there too, so that a
        // later getInstance() builds a new one instead of returning freed memory.
        if (LoggerMatlab::uniqueInstance == loggerM)
            LoggerMatlab::uniqueInstance = nullptr;
        delete loggerM;
        loggerM = nullptr;
    }
}

KVDAgentH::Routine KVDAgentH::routineFor(int playmode)
{
    switch (playmode) {
    case BEFORE_KICKOFF:
    case QUORVEL_GOAL:
    case OPPONENT_GOAL:
        return KICK_OFF_ROUTINE;
    case OPPONENT_KICKOFF:
    case OPPONENT_KICKIN:
    case OPPONENT_CORNER_KICK:
    case OPPONENT_GOAL_KICK:
        return PLAY_OFF_ROUTINE;
    default:
        return PLAY_ON_ROUTINE;
    }
}

void KVDAgentH::think()
{
    // One player per team flushes the drawings of the cycle.
    if (unum == 1) {
        const std::string all;
        RobovizLogger::Instance().swapBuffers(&all);
    }
    ws->setIsSetplayActive(setplayControl->getManager()->getSetplayManager()->isSetplayActive());
    strategy->StDec.DM_ActionPlayer = 0;
    agentActions->checkGettingUp();
    strategyPosition();
    if (!aState->isRising() && !(ws->cTime - ws->lastGetupFinishedTime < 0.75f))
        aState->calculateFall();
    ws->isKick = false;

    const int pm = ws->game->playmode;
    const float t = ws->gTime;
    if ((t >= 300 && t <= 301) || (t >= 180 && t <= 181)) {
        if (pm == QUORVEL_KICKOFF)
            ws->setLastQuorvelKickoff(t);
        else if (pm == OPPONENT_KICKOFF)
            ws->setLastOponentKickoff(t);
    }

    switch (routineFor(pm)) {
    case KICK_OFF_ROUTINE:
        BehaveKickOff();
        break;
    case PLAY_OFF_ROUTINE:
        BehavePlayOff();
        break;
    default:
        BehavePlayOn();
        break;
    }
    ws->setCurrentBehavior(currentBehavior);
    if (LoggerBuffer::tracing()) {
        const Vector s = strategy->GetStrategicPos(static_cast<int>(unum));
        char line[160];
        std::snprintf(line, sizeof line,
                      "decision t %.2f active %d winner %d strategic %.3f %.3f behaviour %d blocking %d", ws->gTime, ws->me->getRole().getIdAlternativeRole() == ATT ? 1 : 0, ws->getCurrentActivePlayer(),
                      s.x, s.y, currentBehavior, ws->shouldPassBlock() ? 1 : 0);
        LoggerBuffer::getInstance().trace(line);
    }

    Singleton<AgentComm>::getInstance().communicationStep(passBall.getReceiver(), passBall.getPassTarget(),
                                                          static_cast<int>(unum));
    mVision.decideLookingDirection2();
    mVision.commitPanTilt();

    LoggerBuffer& lines = LoggerBuffer::getInstance();
    motionStart = std::chrono::steady_clock::now();
    if (agentActions->currBehavior != nullptr) {
        lines.trace("Now executing: " + agentActions->currBehavior->getName() + "\n");
        agentActions->currBehavior->execute();
    }
    lines.imprimirLogger();
}

void KVDAgentH::beamTo(const Vector3f& pose)
{
    SlotBehavior* zero = agentActions->bZero;
    zero->init();
    zero->enableBeam(true);
    zero->setBeamPos(pose);
    agentActions->currBehavior = zero;
}

Vector KVDAgentH::positionsForKickOff()
{
    ws->ball->position = Vector3f(0, 0, 0);
    ws->ball->finalPos = Vector3f(0, 0, 0);
    strategy->ResetPositioning();
    strategy->CallStrategy();
    return strategy->GetStrategicPos(static_cast<int>(unum));
}

bool KVDAgentH::postGoalWindow(bool playOff)
{
    if (!(ws->game->clockTime - ws->lastClockTimeInGoalPM < 0.1f))
        return false;
    const Vector s = positionsForKickOff();
    if (playOff)
        aState->setAgentState(AS_STANDING);
    SlotBehavior* zero = agentActions->bZero;
    if (!(agentActions->currBehavior == zero && !zero->finished())) {
        beamTo(Vector3f(s.x, s.y, 0));
        if (playOff)
            aState->mRising = false;
    }
    return true;
}

void KVDAgentH::decide()
{
    if (trainingModeInt < 0)
        BehaveNormalPlayer();
    else
        BehaveTraining(trainingModeInt);
}

void KVDAgentH::BehavePlayOn()
{
    if (!postGoalWindow(false))
        decide();
}

void KVDAgentH::BehavePlayOff()
{
    if (postGoalWindow(true))
        return;
    if (agentActions->currBehavior != nullptr && !agentActions->currBehavior->finished())
        return;
    decide();
}

void KVDAgentH::BehaveKickOff()
{
    const int pm = ws->game->playmode;
    if (pm == QUORVEL_GOAL || pm == OPPONENT_GOAL)
        ws->lastClockTimeInGoalPM = ws->game->clockTime;
    if (pm == OPPONENT_GOAL)
        ws->setLastQuorvelKickoff(ws->gTime);
    else if (pm == QUORVEL_GOAL)
        ws->setLastOponentKickoff(ws->gTime);
    const Vector s = positionsForKickOff();
    aState->setAgentState(AS_STANDING);

    SlotBehavior* zero = agentActions->bZero;
    if (agentActions->currBehavior == zero && !zero->finished())
        return;
    if (s.getDistanceTo(ws->myPos) < 0.5f) {
        zero->enableBeam(false);
        return;
    }
    beamTo(kickOffBeamPose());
    aState->mRising = false;
}

Vector3f KVDAgentH::kickOffBeamPose() const
{
    if (unum == 11 && penaltyKicker)
        return Vector3f(4, 0, 0);
    const Vector s = strategy->GetStrategicPos(static_cast<int>(unum));
    return Vector3f(s.x, s.y, 0);
}
