#ifndef WORLD_LOCALIZERXXBALL_H
#define WORLD_LOCALIZERXXBALL_H

#include "world/Localizer.h"

class LocalizerXXBall : public Localizer {
public:
    LocalizerXXBall();
    ~LocalizerXXBall() {}

    float confidence() override;
    // A side line of landmarks and the ball.
    bool determineRefXXYYZZ() override;
};

#endif
