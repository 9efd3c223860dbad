#ifndef WORLD_LOCALIZER2FLBALL_H
#define WORLD_LOCALIZER2FLBALL_H

#include "world/Localizer.h"

class Localizer2FlBall : public Localizer {
public:
    Localizer2FlBall();
    ~Localizer2FlBall() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
