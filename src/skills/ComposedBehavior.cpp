#include "skills/ComposedBehavior.h"

ComposedBehavior::ComposedBehavior(const std::string& name, int numSubBehaviors)
    : Behavior(name), currSubBehaviorIndex(0),
      numberOfSubBehaviors(numSubBehaviors > 0 ? numSubBehaviors : 0)
{
    subBehaviors = new Behavior*[numberOfSubBehaviors];
    initiated = new bool[numberOfSubBehaviors];
    for (int i = 0; i < numberOfSubBehaviors; ++i) {
        subBehaviors[i] = nullptr;
        initiated[i] = false;
    }
}

ComposedBehavior::~ComposedBehavior()
{
    for (int i = 0; i < numberOfSubBehaviors; ++i)
        delete subBehaviors[i];
    delete[] subBehaviors;
    delete[] initiated;
}

void ComposedBehavior::assignSubBehavior(Behavior* subBehavior, int index)
{
    if (index < 0 || index >= numberOfSubBehaviors || subBehaviors[index] == subBehavior)
        return;
    delete subBehaviors[index];
    subBehaviors[index] = subBehavior;
}

void ComposedBehavior::execute()
{
    if (finished())
        return;
    Behavior* current = subBehaviors[currSubBehaviorIndex];
    if (!current)
        return;
    if (!initiated[currSubBehaviorIndex]) {
        current->init();
        initiated[currSubBehaviorIndex] = true;
    } else if (current->finished()) {
        ++currSubBehaviorIndex;
    } else {
        current->execute();
    }
}

bool ComposedBehavior::finished() { return currSubBehaviorIndex >= numberOfSubBehaviors; }
