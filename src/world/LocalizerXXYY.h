#ifndef WORLD_LOCALIZERXXYY_H
#define WORLD_LOCALIZERXXYY_H

#include "world/Localizer.h"

class LocalizerXXYY : public Localizer {
public:
    LocalizerXXYY();
    ~LocalizerXXYY() {}

    float confidence() override;
    // A side line and an end line of landmarks.
    bool determineRefXXYYZZ() override;
};

#endif
