#include "physics/GyroRate.h"

#include <cmath>

#include "physics/SensorHistory.h"

GyroRate::GyroRate() : mName("torso") {}

GyroRate::GyroRate(const std::string& name) : mName(name) {}

GyroRate::~GyroRate() {}

void GyroRate::setAngles(double cycle, double x, double y, double z) {
    sensorhistory::add(mAngles, cycle, x, y, z);
}

const MemoryObject<Vector3f>* GyroRate::sample(int pos) const {
    return sensorhistory::pick(mAngles, pos);
}

double GyroRate::getX(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.x : sensorhistory::kNoSample;
}

double GyroRate::getY(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.y : sensorhistory::kNoSample;
}

double GyroRate::getZ(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.z : sensorhistory::kNoSample;
}

double GyroRate::getCycle(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->cycle : sensorhistory::kNoSample;
}

int GyroRate::getSize() const {
    return static_cast<int>(mAngles.size());
}

double GyroRate::getLength() const {
    double x = getX(-1);
    double y = getY(-1);
    double z = getZ(-1);
    return std::sqrt(x * x + y * y + z * z);
}
