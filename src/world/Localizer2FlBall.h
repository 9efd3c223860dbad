#ifndef WORLD_LOCALIZER2FLBALL_H
#define WORLD_LOCALIZER2FLBALL_H

#include "world/Localizer.h"

class Localizer2FlBall : public Localizer {
public:
    Localizer2FlBall();
    ~Localizer2FlBall() {}

    float confidence() override;
    // Two landmarks of one end and the ball.
    bool determineRefXXYYZZ() override;
};

#endif
