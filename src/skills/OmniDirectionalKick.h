#ifndef SKILLS_OMNIDIRECTIONALKICK_H
#define SKILLS_OMNIDIRECTIONALKICK_H

#include <string>
#include <vector>

#include "geometry/Vector3f.h"
#include "math/Bezier.h"
#include "physics/InverseKinematics.h"
#include "physics/PID.h"
#include "physics/Types.h"
#include "skills/Behavior.h"

class Actions;
class AgentModel;
class LoggerMatlab;
class OmniWalkZMP;
class WorldState;

// The kick out of the walk: four timed phases of leg-joint targets and
// speed limits read from the kick parameter file, arms held still. Open
// loop: it does not look at the ball. Besides, the geometry of a kick
// relative to the hips: relative positions, the kicking foot, reach, and
// the kicking leg's inverse kinematics.
class OmniDirectionalKick : public Behavior {
public:
    static const int FIELDS = 100;
    static const int PHASES = 4;

    // One phase of a kick record: its time value (s), the leg targets in
    // degrees of joints 1 to 6 of the left and the right leg, and their
    // speed limits.
    struct Phase {
        double time;
        double LLJ[6];
        double RLJ[6];
        double LLV[6];
        double RLV[6];
    };
    // One record of the parameter file, 100 numbers in file order.
    struct Params {
        Phase phase[PHASES];
        double& field(int i);
    };

    float pose[Types::NJOINTS];
    float poseBase[Types::NJOINTS];
    float poseShifted[Types::NJOINTS];
    float poseRaised[Types::NJOINTS];
    float poseEndKick[Types::NJOINTS];
    bool finishedMove;
    PID pid[Types::NJOINTS];
    float lastAngle[Types::NJOINTS];
    float lastError[Types::NJOINTS];
    Vector3f pInit;
    Vector3f p0, p1, p2, p3;
    int footChosen;
    // The support foot handed to the walk: 1, the left foot, which carries
    // the body through a right-foot kick.
    int suppFoot;
    float initTime;
    float footYaw;
    const Params* params_ptr;
    float waitTime, prepTime, kickTime, returnTime, totalTime, prepInitTime, kickInitTime, returnInitTime;
    Bezier bcubKick, blinRaise;
    Vector3f mePos;
    Vector3f lFootPos;
    Vector3f rFootPos;
    Vector3f ballPos;
    Vector3f targetPos;
    float meOrient;
    std::vector<Params> parametros;
    InverseKinematics ik;
    std::vector<Vector3f> splineTrajectoryPoints;
    WorldState* world;
    AgentModel* model;
    LoggerMatlab* log;
    Actions* actions;
    Vector3f ballTarget;
    Vector3f comPosX;
    Vector3f comPosY;
    // The current phase, 1 to 4, 5 when over; phaseTime[k] the time value of
    // phase k, phaseTime[0] = 0.
    int phase;
    double phaseTime[PHASES + 1];
    // Seconds the kick holds the last phase's stance on both feet before
    // phase 1 starts, from a line "settle S" of the parameter file; 0 without.
    float settleTime;

    OmniDirectionalKick();
    ~OmniDirectionalKick() override {}

    // Restarts the kick from the first record of the parameter file, which
    // it reads again: the robot type's own file when it has a record, else
    // the shared one. Without any record the kick is finished at once and
    // sends nothing, after one line on standard error.
    void init() override;
    void execute() override;
    bool finished() override;
    void setKickFoot(int foot);

    // Hands the body back to the walk: the hand-over state below, then the
    // walk's own tuned stance and period for a step in place, so that its
    // first cycle already commands the legs it walks on.
    void handBack(OmniWalkZMP& walk);
    // What the walk takes over after the kick: the centre of mass at rest,
    // the nominal stance of the walk (left foot at +half the walk's leg
    // separation, right at -half) and the left foot as support.
    Vector3f GetComPosX();
    Vector3f GetComPosY();
    Vector3f GetLFoot();
    Vector3f GetRFoot();
    int GetPrevSupport();
    // The relative positions of the feet (computeRelativePositions).
    Vector3f getLFoot();
    Vector3f getRFoot();

    void setLegTarget(int joint, double targetAngle, double maxRadSpeed);
    double predictEffector(int joint, double current, double setpoint, double maxSpeed);
    double predictEffector(int joint, double current, double setpoint);
    // Appends the records of file and takes its "settle S" line. Any other
    // line with fewer than 100 numbers is skipped with one line on standard
    // error.
    void readParamsFromFile(std::string file);
    static void splitString(std::string msg, std::vector<std::string>& words, char c);

    void computeRelativePositions(const Vector3f& target);
    void computeRelativePositions2(const Vector3f& target);
    // 1 left, 0 right, -1 when the ball is out of reach of both feet.
    int chooseFoot(Vector3f target);
    bool isBallReachable();
    // The first record whatever the foot; a zero record when there is none.
    Params paramFromBallZoneDir(int foot);
    std::vector<float> legInvKin(int foot, Vector3f targetPos, Vector3f targetOri);
    void computeLegIKold(Vector3f trajPoint, bool orient);
    void updatePose(float kp, float ki, float kd);
    void updatePose();
    void copyPoseFromAgent(float* p);
    float linearInterpolation(float a, float b, float t, float tTotal);
    float linearInterpolation(float x, float x0, float x1, float y0, float y1);

private:
    float stanceHalfWidth;

    void sendPhase(int k);
};

#endif
