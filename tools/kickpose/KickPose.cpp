#include "KickPose.h"

#include <fstream>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalkZMP.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

std::vector<float> walkStartLegs(int robotType, std::string& error)
{
    std::string file = robotType == 0 ? "nao.xml" : "nao" + std::to_string(robotType) + ".xml";
    if (!std::ifstream(file)) {
        error = file + ": cannot open the robot file";
        return {};
    }
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(file);
    for (int j = 0; j < Types::NJOINTS; ++j)
        model.setHingeJointAngle(j, 0);
    WorldState& world = Singleton<WorldState>::getInstance();
    world.cTime = 10;
    world.timeStep = 0.02f;
    world.me->vertInclinFront = 0;
    world.me->vertInclinSide = 0;

    OmniDirectionalKick kick;
    kick.init();
    OmniWalkZMP walk;
    kick.handBack(walk);
    walk.execute();
    std::vector<float> legs;
    for (int i = 0; i < 6; ++i)
        legs.push_back(walk.pose[Types::ijLlj1 + 2 * i]);
    for (int i = 0; i < 6; ++i)
        legs.push_back(walk.pose[Types::ijRlj1 + 2 * i]);
    return legs;
}
