#ifndef WORLD_LOCALIZERXXBALL_H
#define WORLD_LOCALIZERXXBALL_H

#include "world/Localizer.h"

class LocalizerXXBall : public Localizer {
public:
    LocalizerXXBall();
    ~LocalizerXXBall() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
