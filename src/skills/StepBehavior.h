#ifndef SKILLS_STEPBEHAVIOR_H
#define SKILLS_STEPBEHAVIOR_H

#include <string>
#include <utility>
#include <vector>

#include "skills/Behavior.h"

// A motion of steps that end on arrival: each step sets targets and speed
// limits, optionally after a wait, and ends when every joint of the step is
// within its tolerance, or 2 s of game time after it began.
class StepBehavior : public Behavior {
public:
    struct Step {
        // Seconds to hold before the targets apply; -1: none.
        float wait;
        // 0: PID servo; anything else: the fast proportional controller.
        float cType;
        float power;
        float addPower;
        // Arrival tolerance, degrees.
        float trh;
        // (joint id, angle in degrees) and (joint id, maximum speed), in step.
        std::vector<std::pair<int, float> > angles;
        std::vector<std::pair<int, float> > speeds;
    };

    std::vector<Step> steps;
    int currStep;
    float d_lastStepTime;
    float d_waitUntil;
    float d_lastChecked;

    StepBehavior();
    explicit StepBehavior(const std::string& name);

    // Reads a step motion file; unreadable or of another type: one line,
    // exit status 1.
    void parse(const std::string& fileName) override;
    void init() override;
    void execute() override;
    bool finished() override;

    void addStep(float wait, float cType, float trh, float power, float addPower);
    // Ignored for a step or joint out of range.
    void addMove(int step, int jid, float angle, float speed);

    // Reads the text of one "steps" element and appends its steps; bad text
    // stops the reading with one line on standard error naming fileName.
    void readSteps(const std::string& text, const std::string& fileName);
};

#endif
