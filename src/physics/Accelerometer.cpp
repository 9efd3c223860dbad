#include "physics/Accelerometer.h"

#include "physics/SensorHistory.h"

Accelerometer::Accelerometer() : mName("torso") {}

Accelerometer::Accelerometer(const std::string& name) : mName(name) {}

Accelerometer::~Accelerometer() {}

void Accelerometer::setValues(double cycle, double x, double y, double z) {
    sensorhistory::add(mValue, cycle, x, y, z);
}

const MemoryObject<Vector3f>* Accelerometer::sample(int pos) const {
    return sensorhistory::pick(mValue, pos);
}

double Accelerometer::getX(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.x : sensorhistory::kNoSample;
}

double Accelerometer::getY(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.y : sensorhistory::kNoSample;
}

double Accelerometer::getZ(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->object.z : sensorhistory::kNoSample;
}

double Accelerometer::getCycle(int pos) const {
    const MemoryObject<Vector3f>* s = sample(pos);
    return s ? s->cycle : sensorhistory::kNoSample;
}

int Accelerometer::getSize() const {
    return static_cast<int>(mValue.size());
}
