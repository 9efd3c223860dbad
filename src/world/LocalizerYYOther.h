#ifndef WORLD_LOCALIZERYYOTHER_H
#define WORLD_LOCALIZERYYOTHER_H

#include "world/Localizer.h"

class LocalizerYYOther : public Localizer {
public:
    LocalizerYYOther();
    ~LocalizerYYOther() {}

    float confidence() override;
    // An end line and one more landmark of that end at another height.
    bool determineRefXXYYZZ() override;
};

#endif
