#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "KVDAgentH.h"
#include "skills/AgentActions.h"
#include "skills/Behavior.h"
#include "utils/communication/TrainingComm.h"
#include "world/AgentState.h"
#include "world/WorldState.h"

namespace {

// A short message names the action; anything longer keeps the last one.
int actionOf(const std::string& msg, int& stored)
{
    if (msg.size() <= 2)
        stored = std::atoi(msg.c_str());
    return stored;
}

} // namespace

void KVDAgentH::BehaveTraining(int mode)
{
    const std::string reply = "Ok";
    std::string status;

    if (trcomm != nullptr && !trcomm->isInitialized()) {
        std::cout << "[TRAINING MODE] Initializing Training Socket.\n";
        trcomm->initialize(trainingPort, unum);
        std::cout << "[TRAINING MODE] Training Socket initialized.\n";
    }
    if (trcomm == nullptr || !trcomm->isInitialized())
        return;

    std::cerr << "Entered in Behave Training\n";
    const std::string msg = trcomm->receive() ? trcomm->getMsg() : "NO MESSAGE";
    if (agentActions->doGetup()) {
        currentBehavior = StrategicBehavior::GetUp;
        return;
    }

    const Vector goal = ws->theirGoalPos;
    if (mode == DECISION_KICK_TRAINING) {
        const int action = actionOf(msg, deciseKickAction);
        std::cout << "GYM MSG: " << msg << " MSG SIZE: " << msg.size() << "\n";
        switch (action) {
        case 0:
            carryBall.executeBehavior(goal);
            currentBehavior = StrategicBehavior::CarryBall;
            break;
        case 1:
            status += "Iniciando Long Kick";
            trcomm->sendMsg(status);
            ws->longKickState = true;
            agentActions->kickToTarget(goal);
            currentBehavior = StrategicBehavior::Kicker;
            status += "Terminando Long Kick";
            trcomm->sendMsg(status);
            break;
        case 2:
            agentActions->dynamicKickToTarget(goal, false);
            currentBehavior = StrategicBehavior::Kicker;
            break;
        case 3:
            agentActions->directKick(goal);
            currentBehavior = StrategicBehavior::Kicker;
            break;
        default:
            break;
        }
    } else if (mode == DEMO_TRAINING) {
        const int action = actionOf(msg, lastAction);
        std::cout << "GYM MSG: " << msg << " MSG SIZE: " << msg.size() << "\n";
        std::ostringstream text;
        text << "> -- < GTIME : " << ws->gTime << "> -- < Current Behavior : "
             << (agentActions->currBehavior != nullptr ? agentActions->currBehavior->getName() : std::string())
             << "> -- < Agent State : " << aState->getAgentState() << "> -- < IsKick : " << (ws->isKick ? 1 : 0);
        status = text.str();
        trcomm->sendMsg(status);
        if (action == 1) {
            carryBall.executeBehavior(goal);
            currentBehavior = StrategicBehavior::CarryBall;
        } else if (action == 2) {
            agentActions->kickToTarget(goal);
            currentBehavior = StrategicBehavior::Kicker;
        }
        trcomm->sendMsg(status);
    }

    if (!trcomm->sendMsg(reply))
        std::cerr << "[TRAINING MODE]Error sending message to Quorvel Gym.\n";
}
