#ifndef WORLD_LOCALIZERYYBALL_H
#define WORLD_LOCALIZERYYBALL_H

#include "world/Localizer.h"

class LocalizerYYBall : public Localizer {
public:
    LocalizerYYBall();
    ~LocalizerYYBall() {}

    float confidence() override;
    // An end line of landmarks and the ball.
    bool determineRefXXYYZZ() override;
};

#endif
