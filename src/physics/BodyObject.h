#ifndef PHYSICS_BODYOBJECT_H
#define PHYSICS_BODYOBJECT_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "geometry/Matrix4D.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "physics/Types.h"

// Common part of body parts and joints: where the object is relative to the
// head (camera) frame and on the field.
class BodyObject {
public:
    int id;
    std::string name;
    float mass;
    Matrix4D transform;
    Vector3f position;
    Vector3f velocity;
    Vector3f relPosition;
    T_OBJECT type;

    BodyObject(int objId, const std::string& objName, T_OBJECT objType)
        : id(objId), name(objName), mass(0), type(objType) {}

    int getId() const { return id; }
    std::string getName() const { return name; }
    void setPosition(const Vector3f& pos) { position = pos; }
    Vector3f getPosition() const { return position; }
};

class Joint;

// A rigid part of the robot with the joints that hang from it.
class BodyPart : public BodyObject {
public:
    std::vector<Joint*> joints;
    float mass;

    BodyPart(int partId, const std::string& partName, float partMass)
        : BodyObject(partId, partName, iBodyPart), mass(partMass) {}

    float getMass() const { return mass; }
};

// A hinge joint. Anchor 0 lies in the parent part, anchor 1 in the child part.
class Joint : public BodyObject {
public:
    typedef std::pair<std::string, Vector3f> Anchor;

    AngleDeg angle;
    AngleDeg min;
    AngleDeg max;
    std::string perceptor;
    std::string effector;
    float xaxis;
    float yaxis;
    float zaxis;
    std::map<int, Anchor> anchors;
    BodyPart* bodyPart;

    Joint(int jointId, const std::string& jointName, const std::string& perceptorName,
          const std::string& effectorName, float ax, float ay, float az, AngleDeg minAngle,
          AngleDeg maxAngle)
        : BodyObject(jointId, jointName, iJoint), angle(0), min(minAngle), max(maxAngle),
          perceptor(perceptorName), effector(effectorName), xaxis(ax), yaxis(ay), zaxis(az),
          bodyPart(nullptr) {}

    Vector3f getAxis() const { return Vector3f(xaxis, yaxis, zaxis); }
    AngleDeg getAngle() const { return angle; }
    void setAngle(AngleDeg a) { angle = a; }
    std::string getPerceptor() const { return perceptor; }
    std::string getEffector() const { return effector; }
    AngleDeg getMin() const { return min; }
    AngleDeg getMax() const { return max; }

    void setAnchor(int index, const std::string& partName, const Vector3f& offset) {
        anchors[index] = Anchor(partName, offset);
    }
    // Empty name and zero offset for an index never stored.
    Anchor getAnchor(int index) const {
        std::map<int, Anchor>::const_iterator it = anchors.find(index);
        if (it == anchors.end()) {
            return Anchor(std::string(), Vector3f());
        }
        return it->second;
    }
    // The angle limited to [min, max].
    AngleDeg validAngleClosestTo(AngleDeg a) const {
        if (a < min) {
            return min;
        }
        if (a > max) {
            return max;
        }
        return a;
    }
};

class Perceptor : public BodyObject {
public:
    Perceptor(int perceptorId, const std::string& perceptorName)
        : BodyObject(perceptorId, perceptorName, iBodyPart) {}
};

#endif
