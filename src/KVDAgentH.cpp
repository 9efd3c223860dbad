#include "KVDAgentH.h"

#include <iostream>

#include "physics/AgentModel.h"
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
      secondKickoffPhase(false), situation(), currentBehavior(0)
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

void KVDAgentH::think() {}
