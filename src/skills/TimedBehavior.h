#ifndef SKILLS_TIMEDBEHAVIOR_H
#define SKILLS_TIMEDBEHAVIOR_H

#include "skills/Behavior.h"

class WorldState;

// Repeats one behaviour, restarting it whenever it finishes, until a duration
// of world clock has passed; the repetition in progress is completed. The
// repeated behaviour is not owned. Without one, init only stamps the time and
// the timed behaviour is finished.
class TimedBehavior : public Behavior {
public:
    explicit TimedBehavior(const std::string& name);

    void setBehavior(Behavior* b) { behavior = b; }
    void setDuration(float d) { duration = d; }
    void init() override;
    void execute() override;
    bool finished() override;

private:
    Behavior* behavior;
    WorldState* ws;
    // World time at init.
    float initTime;
    // Seconds.
    float duration;
};

#endif
