#ifndef PHYSICS_MEMORYOBJECT_H
#define PHYSICS_MEMORYOBJECT_H

// One stamped sample of a sensor history.
template <typename T>
class MemoryObject {
public:
    double cycle;
    T object;

    MemoryObject() : cycle(0), object() {}
    MemoryObject(double c, const T& o) : cycle(c), object(o) {}
};

#endif
