#include "HumanoidAgent.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "geometry/Vector.h"
#include "physics/AgentModel.h"
#include "strategy/Situation.h"
#include "strategy/Strategy.h"
#include "utils/Logger.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "utils/communication/MessageParser.h"
#include "utils/communication/ServerComm.h"
#include "world/GameState.h"
#include "world/WorldState.h"

HumanoidAgent::HumanoidAgent(const std::string& robotfile, const std::string& team,
                             unsigned int& unum, const std::string& host, int port, Vector3f* beam)
    : loggerM(nullptr), robotfile(robotfile), team(team), unum(unum == 0 ? 1 : unum),
      strategy(nullptr), host(host), port(port)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setTeam(this->team);
    ws.setUnum(static_cast<int>(this->unum));

    strategy = new Strategy();
    ws.setStrategy(strategy);

    if (beam != nullptr)
        ws.myInitialPosition = beam;

    Singleton<AgentModel>::getInstance().initialize(this->robotfile);

    loggerM = &LoggerMatlab::getInstance();
    Singleton<Logger>::getInstance().initialize("logs/" + this->team +
                                                std::to_string(this->unum) + ".log");
}

HumanoidAgent::~HumanoidAgent() {}

void HumanoidAgent::init() {}

void HumanoidAgent::think() {}

void HumanoidAgent::setup()
{
    // Connect only now that everything is loaded: a sync-mode server stalls
    // for good when a connection stays silent for a cycle while others play,
    // and in normal mode a robot waiting for its init stands where new robots
    // appear.
    ServerComm& comm = Singleton<ServerComm>::getInstance();
    comm.initialize(host, port);
    if (comm.sock.socketfd < 0) {
        // Without a link no message would ever come: give up.
        std::cerr << "No connection to the simulation server at " << host << " port " << port
                  << std::endl;
        std::exit(1);
    }
    comm.send(
        "(scene rsg/agent/" + Singleton<AgentModel>::getInstance().getRSG() + ")" + "(syn)" + "\n");
}

void HumanoidAgent::answer()
{
    if (!Singleton<ServerComm>::getInstance().answered())
        Singleton<Actions>::getInstance().Send();
}

void HumanoidAgent::run()
{
    ServerComm& comm = Singleton<ServerComm>::getInstance();
    WorldState& ws = Singleton<WorldState>::getInstance();

    setup();
    MessageParser parser;

    // The first message: only now does the robot exist to take the init.
    while (!comm.receive()) {
    }
    Singleton<Actions>::getInstance().InitAgent(team, static_cast<int>(unum));
    parser.parseMessage(comm.getMsg());
    answer();

    while (!comm.receive()) {
    }
    parser.parseMessage(comm.getMsg());

    // The server names the side only in the first message after the init
    // has taken effect, usually the third; the initial pose depends on it.
    int unconfirmed = 0;
    bool beamed = false;
    if (ws.game->side != 0) {
        beamToInitialPose();
        beamed = true;
    }
    // A server in sync mode steps only once every agent has answered.
    answer();

    for (;;) {
        if (comm.receive()) {
            parser.parseMessage(comm.getMsg());
            if (!beamed && (ws.game->side != 0 || ++unconfirmed >= MaxUnconfirmedMessages)) {
                beamToInitialPose();
                beamed = true;
            }
            think();
        }
        answer();
    }
}

void HumanoidAgent::beamToInitialPose()
{
    WorldState& ws = Singleton<WorldState>::getInstance();

    if (ws.game->playmode == BEFORE_KICKOFF) {
        if (ws.game->side == 1)
            strategy->StWS.Situation = Situation::OKO;
        else if (ws.game->side == 2)
            strategy->StWS.Situation = Situation::TKO;
    }

    if (ws.myInitialPosition == nullptr) {
        strategy->CallStrategy();
        const Vector pos = strategy->GetStrategicPos(static_cast<int>(unum));
        // held by the world state for the life of the process
        ws.myInitialPosition = new Vector3f(pos.x, pos.y, 0);
    }

    const StrategicKickOff& sk = strategy->SK;
    if (sk.active != 0 && ws.game->playmode == BEFORE_KICKOFF && ws.game->side == 1) {
        if (static_cast<int>(unum) == sk.passerN)
            *ws.myInitialPosition = Vector3f(sk.passerX, sk.passerY, sk.passerTeta);
        else if (static_cast<int>(unum) == sk.kickerN)
            *ws.myInitialPosition = Vector3f(sk.kickerX, sk.kickerY, sk.kickerTeta);
    }

    const Vector3f pose = *ws.myInitialPosition;
    Singleton<Actions>::getInstance().Beam(pose.x, pose.y, pose.z);
}
