#ifndef WORLD_LOCALIZERHEIGHT_H
#define WORLD_LOCALIZERHEIGHT_H

#include "world/Localizer.h"

class LocalizerHeight : public Localizer {
public:
    LocalizerHeight();
    ~LocalizerHeight() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
