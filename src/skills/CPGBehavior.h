#ifndef SKILLS_CPGBEHAVIOR_H
#define SKILLS_CPGBEHAVIOR_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "geometry/Vector3f.h"
#include "math/PatternGenerator.h"
#include "skills/Behavior.h"
#include "skills/SlotBehavior.h"

// Drives joints by sums of sinusoids of the time since init, for a fixed
// duration. Steered through the variables "AmpMod" (amplitude factor of all
// patterns), "SteerAngle" and "Strength" (attenuation of one leg).
class CPGBehavior : public Behavior {
public:
    CPGBehavior();
    // Also enters every joint with no pattern and no gains.
    explicit CPGBehavior(const std::string& name);
    ~CPGBehavior() override;
    CPGBehavior(const CPGBehavior&) = delete;
    CPGBehavior& operator=(const CPGBehavior&) = delete;

    // Joints 1 to 21; others are ignored and the generator stays the
    // caller's. An accepted generator belongs to the behaviour; its
    // components stay with whoever made them.
    void setPattern(int id, PatternGenerator<float, float>* pattern, float kp, float ki, float kd);
    void setDelta(float delta);

    // Reads a pattern motion file, then builds the transition toward the
    // patterns' start posture. Unreadable or of another type: one line,
    // exit status 1.
    void parse(const std::string& fileName) override;
    void init() override;
    void execute() override;
    bool finished() override;

    // Reads the text of one "patterns" element; bad text stops the reading
    // with one line on standard error naming fileName.
    void readPatterns(const std::string& text, const std::string& fileName);

private:
    std::map<int, PatternGenerator<float, float>*> patterns;
    std::map<int, Vector3f> pids;
    float delta;
    SlotBehavior transition;
    float d_lastChecked;
    // Components made by the reader.
    std::vector<std::unique_ptr<Function<float, float> > > components;

    void buildTransition();
};

#endif
