#ifndef WORLD_LOCALIZERHEIGHT_H
#define WORLD_LOCALIZERHEIGHT_H

#include "world/Localizer.h"

class LocalizerHeight : public Localizer {
public:
    LocalizerHeight();
    ~LocalizerHeight() {}

    float confidence() override;
    // Two landmarks of one end and the head at standing height.
    bool determineRefXXYYZZ() override;
};

#endif
