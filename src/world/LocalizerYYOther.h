#ifndef WORLD_LOCALIZERYYOTHER_H
#define WORLD_LOCALIZERYYOTHER_H

#include "world/Localizer.h"

class LocalizerYYOther : public Localizer {
public:
    LocalizerYYOther();
    ~LocalizerYYOther() {}

    float confidence() override;
    // No observation model yet: never determines a pose.
    bool determineRefXXYYZZ() override;
};

#endif
