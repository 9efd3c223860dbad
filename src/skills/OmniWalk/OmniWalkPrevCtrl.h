#ifndef SKILLS_OMNIWALK_OMNIWALKPREVCTRL_H
#define SKILLS_OMNIWALK_OMNIWALKPREVCTRL_H

#include <string>
#include <vector>

#include "geometry/MatrixMxN.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "physics/InverseKinematics.h"
#include "physics/PID.h"
#include "physics/Types.h"
#include "planning/FreeWalkPlanner.h"
#include "planning/WalkKickPlanner.h"
#include "skills/Behavior.h"

class Actions;
class AgentModel;
class LoggerMatlab;
class WorldState;

// The walk that carries the robot up to the ball before a kick: a footstep
// planner fills a queue of footsteps, and every cycle a ZMP preview
// controller moves the centre of mass along the planned ZMP while the swing
// foot follows the planner's trajectory. At every step boundary the queue
// is re-anchored at the predicted centre of mass and planned again.
//
// Driving it: init(), the hand-over setters, SetPlanner, Start(0), then
// execute() once per cycle until finished(). The matrix file is
// "./skills/OmniWalk/matrices.txt" relative to the working directory.
class OmniWalkPrevCtrl : public Behavior {
public:
    enum ePlanner {
        FREE_WALK = 0,
        WALK_AND_SUPERKICK,
        WALK_AND_CLEARBALL,
        WALK_AND_SUPERKICKOFF,
        WALK_AND_SUPERKICKOFFRIGHT,
        WALK_AND_SUPERKICKOFFLEFT,
        WALK_AND_7MKICK,
        WALK_AND_GOALKICK,
        WALK_AND_KUNGFUKICK,
        WALK_AND_DYNAMICKICK
    };

    // Centre of mass per axis: (position, velocity, acceleration).
    struct com {
        MatrixMxN mX;
        MatrixMxN mY;
        MatrixMxN mAng;
        com() : mX(1, 1), mY(1, 1), mAng(1, 1) {}
    };

    // The state handed over by the caller before a start.
    struct change {
        bool changed = false;
        Vector comPos;
        Vector comVel;
        Vector comAcel;
        Vector3f prevLFoot;
        Vector3f prevRFoot;
        int prevSupport = 0;
        Vector prevU;
        Vector prevAccumError;
        Vector target;
    };

    com currCOM;
    com nextCOM;
    float pose[Types::NJOINTS];
    PID pid[Types::NJOINTS];
    float lastAngle[Types::NJOINTS];
    float lastError[Types::NJOINTS];
    InverseKinematics ik;
    float initTime;
    float currTime;
    FootstepPlanner* currPlanner;
    WalkKickPlanner* pWAKPlanner;
    FreeWalkPlanner* pFWPlanner;
    MatrixMxN mA;
    MatrixMxN mB;
    MatrixMxN mC;
    MatrixMxN mGp;
    MatrixMxN mKp;
    change changeMov;
    float prevUx;
    float prevUy;
    float prevAccumErrorX;
    float prevAccumErrorY;
    WorldState* world;
    AgentModel* model;
    LoggerMatlab* log;
    Actions* actions;
    Vector3f comPosX;
    Vector3f comPosY;

    OmniWalkPrevCtrl();
    ~OmniWalkPrevCtrl() override;
    OmniWalkPrevCtrl(const OmniWalkPrevCtrl&) = delete;
    OmniWalkPrevCtrl& operator=(const OmniWalkPrevCtrl&) = delete;

    // Reads the matrix file (keeping the matrices when it cannot) and zeroes
    // the controller state.
    void init() override;
    // One control step. With fewer than three footsteps queued the walk is
    // finished and holds its last pose.
    void execute() override;
    bool finished() override;

    // Reads the matrix file whole or not at all: on failure the matrices
    // keep their values, false is returned and error names the fault.
    bool load(const std::string& path, std::string& error);
    bool load(const std::string& path);

    bool Aborted();
    void SetPlanner(ePlanner planner);
    // Starts a walk from the nominal stance on the given support foot.
    void Start(int supportFoot);
    // Restarts from the hand-over record.
    void Change();
    int ChooseFoot();
    int getKickFoot();

    Vector3f GetLFoot();
    Vector3f GetRFoot();
    int GetPrevSupport();
    Vector GetPosition();
    Vector GetVelocity();
    Vector GetAceleration();
    Vector GetPrevU();
    Vector GetPrevAccumError();
    Vector3f GetComPosX();
    Vector3f GetComPosY();
    void SetLFoot(Vector3f lFoot);
    void SetRFoot(Vector3f rFoot);
    void SetPrevSupport(int prevSupp);
    void SetPosition(Vector pos);
    void SetVelocity(Vector vel);
    void SetAceleration(Vector acel);
    void SetPrevU(Vector prevU);
    void SetPrevAccumError(Vector prevAccumError);
    void SetTarget(Vector target);

    bool IsEndOfStep();
    void EndOfStep();
    void Replan();
    void ComputeCOM(float t, bool initCond);
    Vector3f GetOrientation(int currFoot, Footstep footstep, bool isSupport);
    float LinearInterpolation(float a, float b, float t, float tTotal);
    void ComputePose(Vector3f targLPos, Vector3f targLOri, Vector3f targRPos, Vector3f targROri);
    std::vector<float> LegInvKin(int foot, Vector3f targPos, Vector3f targOri);
    void UpdatePose();
    float PredictEffector(int joint, float current, float setpoint);
    void ComputeFeetRel2Pelvis(Vector3f& pelvis, Vector3f& lFPos, Vector3f& rFPos, Vector3f& lFOri, Vector3f& rFOri);

private:
    // Seeds the current planner: the feet at left and right, then one step
    // of the given duration on support (0 right, 1 left) with its yaw,
    // after a double-support pause when pause is positive.
    void seed(int support, const Vector3f& left, const Vector3f& right, float pause, float duration, float yaw);
    void printQueue();
    void zeroState();
    // Both feet's forward-kinematics poses into the body model, from the
    // joint angles of this cycle.
    void measureFeet();
};

#endif
