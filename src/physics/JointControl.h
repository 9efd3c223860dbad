#ifndef PHYSICS_JOINTCONTROL_H
#define PHYSICS_JOINTCONTROL_H

#include <map>

#include "geometry/Vector3f.h"
#include "physics/PID.h"

// Turns joint angle targets (degrees) into joint speed commands.
class JointControl {
public:
    float power;
    float powerAdd;
    std::map<int, float> targets;
    std::map<int, float> lastRate;
    std::map<int, PID> controllers;
    // Gains kp, ki, kd as x, y, z.
    std::map<int, Vector3f> pids;
    // Positive: clamp; negative: scale by its magnitude; 0: no limit.
    std::map<int, float> max_speeds;

    JointControl();

    // A gain of -1 keeps the current gain.
    void setJointTarget(int id, float target, float kp = -1, float ki = -1, float kd = -1);
    float getJointTarget(int id);
    void setMaxSpeed(int id, float maxSpeed);
    void setKp(int id, float value);
    void setKi(int id, float value);
    void setKd(int id, float value);
    float getKp(int id);
    // Default gains and speed limits; targets and PID states stay.
    void resetPID();
    void setFastControlerParameters(float pow, float powAdd);

    // PID speeds with look-ahead for joints 2 to 21, then sends the batch.
    void commit();
    // Proportional speeds for every joint, then sends the batch.
    void fastExecute();
    // PID speeds for the head joints 0 and 1; sends nothing.
    void commitHead();

private:
    static bool isJoint(int id);
    float limit(int id, float out);
};

#endif
