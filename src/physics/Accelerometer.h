#ifndef PHYSICS_ACCELEROMETER_H
#define PHYSICS_ACCELEROMETER_H

#include <string>
#include <vector>

#include "geometry/Vector3f.h"
#include "physics/MemoryObject.h"

// The last five accelerometer readings, oldest first.
class Accelerometer {
public:
    std::string mName;
    std::vector<MemoryObject<Vector3f> > mValue;

    Accelerometer();
    explicit Accelerometer(const std::string& name);
    virtual ~Accelerometer();

    void setValues(double cycle, double x, double y, double z);
    // Component of sample pos (0 = oldest); an index outside the history
    // means the newest sample; 99999 when the history is empty.
    double getX(int pos) const;
    double getY(int pos) const;
    double getZ(int pos) const;
    double getCycle(int pos) const;
    int getSize() const;

private:
    const MemoryObject<Vector3f>* sample(int pos) const;
};

#endif
