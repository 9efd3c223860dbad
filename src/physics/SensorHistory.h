#ifndef PHYSICS_SENSORHISTORY_H
#define PHYSICS_SENSORHISTORY_H

#include <vector>

#include "geometry/Vector3f.h"
#include "physics/MemoryObject.h"

// Helpers shared by the gyroscope and accelerometer histories.
namespace sensorhistory {

const int kMaxSamples = 5;
const double kNoSample = 99999;

inline void add(std::vector<MemoryObject<Vector3f> >& h, double cycle, double x, double y, double z) {
    if (static_cast<int>(h.size()) >= kMaxSamples) {
        h.erase(h.begin());
    }
    h.push_back(MemoryObject<Vector3f>(cycle, Vector3f(static_cast<float>(x), static_cast<float>(y),
                                                        static_cast<float>(z))));
}

inline const MemoryObject<Vector3f>* pick(const std::vector<MemoryObject<Vector3f> >& h, int pos) {
    if (h.empty()) {
        return nullptr;
    }
    if (pos < 0 || pos >= static_cast<int>(h.size())) {
        return &h.back();
    }
    return &h[pos];
}

}  // namespace sensorhistory

#endif
