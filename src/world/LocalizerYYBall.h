#ifndef WORLD_LOCALIZERYYBALL_H
#define WORLD_LOCALIZERYYBALL_H

#include "world/Localizer.h"

class LocalizerYYBall : public Localizer {
public:
    LocalizerYYBall();
    ~LocalizerYYBall() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
