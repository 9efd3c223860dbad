#ifndef WORLD_LOCALIZERXXHEIGHT_H
#define WORLD_LOCALIZERXXHEIGHT_H

#include "world/Localizer.h"

class LocalizerXXHeight : public Localizer {
public:
    LocalizerXXHeight();
    ~LocalizerXXHeight() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
