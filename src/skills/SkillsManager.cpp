#include "skills/SkillsManager.h"

#include <vector>

#include "skills/Behavior.h"
#include "skills/MDLParser.h"
#include "skills/SequenceBehavior.h"
#include "skills/TimedBehavior.h"

SkillsManager::SkillsManager() : currentAction(nullptr) { initializeActions(); }

SkillsManager::~SkillsManager()
{
    for (Behavior* b : built)
        delete b;
}

Behavior* SkillsManager::keep(Behavior* b)
{
    built.push_back(b);
    return b;
}

void SkillsManager::addBehavior(std::string name, Behavior* behavior)
{
    behaviors[name] = behavior;
}

void SkillsManager::addBehavior(Behavior* behavior) { addBehavior(behavior->getName(), behavior); }

Behavior* SkillsManager::addBehavior(std::string filename)
{
    Behavior* b = keep(MDLParser::parse(filename, true));
    addBehavior(b);
    return b;
}

Behavior* SkillsManager::getBehavior(std::string name)
{
    std::map<std::string, Behavior*>::const_iterator it = behaviors.find(name);
    return it == behaviors.end() ? nullptr : it->second;
}

void SkillsManager::initializeActions()
{
    addBehavior(std::string("movs/prepkick/RotateLeft.xml"));
    addBehavior(std::string("movs/prepkick/RotateRight.xml"));
    addBehavior(std::string("movs/prepkick/FrontWalkF.xml"));
    addBehavior(std::string("movs/prepkick/FrontWalk.xml"));
    addBehavior(std::string("movs/prepkick/FrontWalkS.xml"));
    addBehavior("RotRight", getBehavior("RotateRight"));
    addBehavior("RotLeft", getBehavior("RotateLeft"));

    auto sequence = [this](const std::string& name, const std::string& step, int times) {
        SequenceBehavior* s = new SequenceBehavior(name);
        keep(s);
        addBehavior(name, s);
        std::vector<std::string> names(times, step);
        s->setSequence(names);
    };
    sequence("FrontF", "FrontWalkF", 3);

    Behavior* front = keep(MDLParser::parse("movs/prepkick/FrontWalk.xml", true));
    TimedBehavior* timed = new TimedBehavior(front->getName());
    keep(timed);
    timed->setBehavior(front);
    timed->setDuration(1.0f);
    addBehavior("Front", timed);

    sequence("FrontS", "FrontWalkS", 3);

    Behavior* kick = keep(MDLParser::parse("movs/kick/ThreeMeterKickRight.xml", true));
    for (const char* name : {"Kick3m", "Kick4m", "Kick5m", "Kick6m"})
        addBehavior(name, kick);

    addBehavior("SideRight", keep(MDLParser::parse("movs/prepkick/SideRight.xml", true)));
    sequence("SideWalkRight", "SideRight", 3);
    addBehavior("SideLeft", keep(MDLParser::parse("movs/prepkick/SideLeft.xml", true)));
    sequence("SideWalkLeft", "SideLeft", 3);
    addBehavior("BackWalk", keep(MDLParser::parse("movs/prepkick/BackWalk.xml", true)));
    sequence("Back", "BackWalk", 4);
}
