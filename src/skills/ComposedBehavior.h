#ifndef SKILLS_COMPOSEDBEHAVIOR_H
#define SKILLS_COMPOSEDBEHAVIOR_H

#include "skills/Behavior.h"

// Runs a fixed number of owned sub-behaviours one after another: one cycle
// to init each, its executions, one cycle to move on. An empty slot holds
// the run there. It runs through its slots once.
class ComposedBehavior : public Behavior {
public:
    Behavior** subBehaviors;
    bool* initiated;
    int currSubBehaviorIndex;
    int numberOfSubBehaviors;

    ComposedBehavior(const std::string& name, int numSubBehaviors);
    ~ComposedBehavior() override;
    ComposedBehavior(const ComposedBehavior&) = delete;
    ComposedBehavior& operator=(const ComposedBehavior&) = delete;

    // Takes ownership of subBehavior in slot index (ignored outside the
    // slots), deleting the one it replaces; the one it already holds stays.
    void assignSubBehavior(Behavior* subBehavior, int index);
    void init() override {}
    void execute() override;
    bool finished() override;
};

#endif
