#ifndef SKILLS_SLOTSTOP_H
#define SKILLS_SLOTSTOP_H

#include "skills/SlotBehavior.h"

// A pause of the given length (seconds) in which the servo keeps holding the
// targets it already has.
class SlotStop : public SlotBehavior {
public:
    explicit SlotStop(float delta);
    ~SlotStop() override {}
};

#endif
