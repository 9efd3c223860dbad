#ifndef WORLD_LOCALIZERXXHEIGHT_H
#define WORLD_LOCALIZERXXHEIGHT_H

#include "world/Localizer.h"

class LocalizerXXHeight : public Localizer {
public:
    LocalizerXXHeight();
    ~LocalizerXXHeight() {}

    float confidence() override;
    // A side line of landmarks and the head at standing height.
    bool determineRefXXYYZZ() override;
};

#endif
