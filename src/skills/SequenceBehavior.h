#ifndef SKILLS_SEQUENCEBEHAVIOR_H
#define SKILLS_SEQUENCEBEHAVIOR_H

#include <string>
#include <vector>

#include "skills/Behavior.h"

// Runs registered behaviours one after another by name, looking each name up
// in the skill registry when the sequence reaches it. A name's behaviour is
// initialised and executed in the cycle the sequence reaches it; an unknown
// name is skipped. A stop request takes effect at the next boundary.
class SequenceBehavior : public Behavior {
public:
    explicit SequenceBehavior(const std::string& name);

    void setSequence(std::vector<std::string>& seq);
    void init() override;
    void execute() override;
    bool finished() override;

    // Asks the sequence to stop at the next boundary between names.
    void stop();
    // The behaviour of the current name, null when none.
    Behavior* getCurrentAction() const { return currentBehavior; }

private:
    std::vector<std::string> sequence;
    int index;
    Behavior* currentBehavior;
    // 0 running, 1 stop requested, 2 stopped at a boundary.
    int stopped;
};

#endif
