#include "skills/SlotStop.h"

#include <vector>

SlotStop::SlotStop(float delta) : SlotBehavior() {
    name = "Stop";
    setSineCorrection(true);
    addSlot(std::vector<Joint*>(), std::vector<float>(), delta, "slot", 0.1f, 0, 0);
}
