#ifndef SKILLS_IKPOSE_H
#define SKILLS_IKPOSE_H

#include <vector>

#include "geometry/Vector3f.h"
#include "physics/InverseKinematics.h"
#include "physics/PID.h"
#include "physics/Types.h"
#include "skills/Behavior.h"

class Actions;
class AgentModel;
class LoggerMatlab;
class WorldState;

// Moves both feet from their measured poses toward target foot poses over a
// duration, by straight lines in Cartesian space and leg inverse
// kinematics, with the arms held still. Foot positions are relative to the
// hip midpoint (m), orientations (pitch, roll, yaw) in radians.
class IKPose : public Behavior {
public:
    float pose[Types::NJOINTS];
    PID pid[Types::NJOINTS];
    float lastAngle[Types::NJOINTS];
    float lastError[Types::NJOINTS];
    InverseKinematics ik;
    float currTime;
    float duration;
    Vector3f lFInitPos;
    Vector3f rFInitPos;
    Vector3f lFInitOri;
    Vector3f rFInitOri;
    Vector3f lFTargetPos;
    Vector3f rFTargetPos;
    Vector3f lFTargetOri;
    Vector3f rFTargetOri;
    WorldState* world;
    AgentModel* model;
    LoggerMatlab* log;
    Actions* actions;

    IKPose();
    ~IKPose() override {}

    // Starts a motion to the given foot poses over dur seconds.
    void init(Vector3f lFootPos, Vector3f rFootPos, float dur, Vector3f lFootOri, Vector3f rFootOri);
    // Changes nothing.
    void init() override;
    // One step; before the first motion is started it sends nothing.
    void execute() override;
    bool finished() override;

    void ComputePose(Vector3f targLPos, Vector3f targLOri, Vector3f targRPos, Vector3f targROri);
    std::vector<float> LegInvKin(int foot, Vector3f targPos, Vector3f targOri);
    void UpdatePose();
    float PredictEffector(int joint, float current, float setpoint);
    Vector3f LinearInterpolation(Vector3f a, Vector3f b, float t, float tTotal);
    float LinearInterpolation(float a, float b, float t, float tTotal);

private:
    bool started;
};

#endif
