#include "skills/SequenceBehavior.h"

#include "skills/SkillsManager.h"
#include "utils/Singleton.h"

SequenceBehavior::SequenceBehavior(const std::string& name) : Behavior(name)
{
    SequenceBehavior::init();
}

void SequenceBehavior::setSequence(std::vector<std::string>& seq) { sequence = seq; }

void SequenceBehavior::init()
{
    stopped = 0;
    currentBehavior = nullptr;
    index = -1;
}

bool SequenceBehavior::finished()
{
    return index >= static_cast<int>(sequence.size()) || stopped == 2;
}

void SequenceBehavior::stop() { stopped = 1; }

void SequenceBehavior::execute()
{
    SkillsManager& skills = Singleton<SkillsManager>::getInstance();
    if (stopped == 2)
        stopped = 1;
    if (finished() || sequence.empty())
        return;
    if (index != -1)
        currentBehavior = skills.getBehavior(sequence[index]);
    if (!currentBehavior || currentBehavior->finished()) {
        ++index;
        if (finished())
            return;
        currentBehavior = skills.getBehavior(sequence[index]);
        if (currentBehavior)
            currentBehavior->init();
        if (stopped == 1) {
            stopped = 2;
            return;
        }
    }
    if (currentBehavior)
        currentBehavior->execute();
}
