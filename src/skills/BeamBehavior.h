#ifndef SKILLS_BEAMBEHAVIOR_H
#define SKILLS_BEAMBEHAVIOR_H

#include "geometry/Vector3f.h"
#include "skills/Behavior.h"

// Beams the agent to a field pose and drives every joint slowly towards 0.
// Finished at once; every execute beams again.
class BeamBehavior : public Behavior {
public:
    // Position in metres and heading in degrees, in the agent's field frame.
    float x, y, ang;

    explicit BeamBehavior(const std::string& name);

    void setBeamPos(Vector3f pos);
    void init() override {}
    void execute() override;
    bool finished() override { return true; }
};

#endif
