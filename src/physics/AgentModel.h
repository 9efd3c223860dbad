#ifndef PHYSICS_AGENTMODEL_H
#define PHYSICS_AGENTMODEL_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <libxml/tree.h>

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "physics/Accelerometer.h"
#include "physics/BodyObject.h"
#include "physics/GyroRate.h"
#include "physics/Types.h"

// The agent's model of its own robot, loaded from the robot description.
class AgentModel {
public:
    std::string rsgfile;
    std::map<int, Joint*> m_joints;
    std::map<int, BodyPart*> m_parts;
    std::map<std::string, int> mJointNameId;
    std::map<std::string, int> mPartNameId;
    int robotType;
    float totalMass;
    GyroRate gyroRate;
    Accelerometer accelerometer;
    Vector3f footForce[4];
    Vector3f footContact[4];
    bool footTouch[4];
    float footLastStrike[4];
    Vector3f com;
    Vector3f lFootPosFK;
    Vector3f rFootPosFK;
    Vector3f lFootOriFK;
    Vector3f rFootOriFK;
    Vector lastGeneralTarg;
    xmlDocPtr doc;

    AgentModel();
    // A copy starts empty; assignment keeps this model as it is.
    AgentModel(const AgentModel& other);
    AgentModel& operator=(const AgentModel& other);
    ~AgentModel();

    // Loads the robot description. A file that is not a valid description
    // ends the process with status 1 after one line on standard error.
    void initialize(const std::string& filename);

    Joint* getJoint(int id) const;
    BodyPart* getBodyPart(int id) const;
    void setHingeJointAngle(const std::string& name, float angle);
    // The same by the perceptor name's text, without a map lookup.
    void setHingeJointAngle(const char* name, float angle);
    void setHingeJointAngle(int id, float angle);
    int getHingeJointId(const std::string& name);
    int getBodyPartId(const std::string& name);

    void setGyroRate(const Vector3f& rate);
    void setAccelerometer(const Vector3f& acc);
    GyroRate getGyroRate() const;
    Accelerometer getAccelerometer() const;

    void setFootForce(Types::FRPParts part, const Vector3f& value);
    void setFootContact(Types::FRPParts part, const Vector3f& value);
    void setFootTouch(Types::FRPParts part, bool touch);
    Vector3f getFootForce(Types::FRPParts part) const;
    Vector3f getFootContact(Types::FRPParts part) const;
    bool getFootTouch(Types::FRPParts part) const;
    float getFootLastStrike(Types::FRPParts part) const;

    // Posture from the joint angles, then the centre of mass.
    void update();
    void updatePosture();
    void updateCOM();
    Vector3f getCOM() const;

    std::string getRSG() const;
    int getRobotType() const;
    int getNumberOfJoints() const;

    void setLFootPosition(const Vector3f& v);
    void setRFootPosition(const Vector3f& v);
    void setLFootOrientation(const Vector3f& v);
    void setRFootOrientation(const Vector3f& v);
    Vector3f getLFootPositionFK() const;
    Vector3f getRFootPositionFK() const;
    Vector3f getLFootOrientationFK() const;
    Vector3f getRFootOrientationFK() const;
    // Left foot for 1, right foot otherwise.
    Vector3f getOrientationFK(int foot) const;

    // Field position of a point given in the part's frame.
    Vector3f getAbsPositionOfBodyPoint(BodyPart* part, const Vector3f& relToPartPos) const;
    // New array of the joint angles by id; the caller deletes it.
    float* saveCurrentPosture() const;

    // What the body model needs from the world state: the camera-to-field
    // conversion, the cycle counter and the clock time. Until the world
    // state sets them, the camera frame is the field frame and both
    // counters read 0.
    void setRelativeToAbsolute(std::function<Vector3f(const Vector3f&)> convert);
    void setCycleSource(std::function<double()> cycle);
    void setClockSource(std::function<float()> clock);

private:
    std::function<Vector3f(const Vector3f&)> relativeToAbsolute;
    std::function<double()> cycleSource;
    std::function<float()> clockSource;
    // Each perceptor name with the joint that mJointNameId gives it, kept
    // beside the map as the description is read.
    struct PerceptorJoint {
        std::string name;
        Joint* joint;
    };
    std::vector<PerceptorJoint> jointsByPerceptor;
    size_t lastPerceptorFound = 0;
    // Scratch queue of the walks over the body parts, kept between cycles.
    std::vector<BodyPart*> partQueue;

    void clear();
    void place(BodyObject* obj, const Matrix4D& transf);
};

#endif
