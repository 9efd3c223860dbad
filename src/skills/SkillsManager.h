#ifndef SKILLS_SKILLSMANAGER_H
#define SKILLS_SKILLSMANAGER_H

#include <map>
#include <string>
#include <vector>

class Behavior;

// Registry of behaviours by name, so that behaviours can be chained by name.
// Built on first use through Singleton<SkillsManager>: it loads the
// registry's motion files and builds their aliases, sequences and timed
// repetition. Several names may refer to one object. The registry frees what
// it built itself; behaviours that callers register stay theirs.
class SkillsManager {
public:
    SkillsManager();
    virtual ~SkillsManager();
    SkillsManager(const SkillsManager&) = delete;
    SkillsManager& operator=(const SkillsManager&) = delete;

    // Registers behavior under name, replacing an entry of that name.
    void addBehavior(std::string name, Behavior* behavior);
    // Registers behavior under its own name.
    void addBehavior(Behavior* behavior);
    // Loads a motion file, registers it under its own name and returns it.
    Behavior* addBehavior(std::string filename);
    // The behaviour registered under name, null when none.
    Behavior* getBehavior(std::string name);
    void initializeActions();

private:
    Behavior* currentAction;
    std::map<std::string, Behavior*> behaviors;
    // What the registry built, freed with it.
    std::vector<Behavior*> built;

    Behavior* keep(Behavior* b);
};

#endif
