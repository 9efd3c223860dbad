#ifndef SKILLS_OMNIWALKZMP_H
#define SKILLS_OMNIWALKZMP_H

#include <string>
#include <vector>

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "math/Bezier.h"
#include "physics/InverseKinematics.h"
#include "physics/PID.h"
#include "physics/Types.h"
#include "skills/Behavior.h"

class Actions;
class AgentModel;
class LoggerMatlab;
class WorldState;

// One foot of the walk plan: where it stands at the end of a step (walk
// frame, m), whether it carries the body during the step, which side it is,
// the walk time at the end of the step (s) and its yaw (degrees).
struct Foot {
    Vector Position;
    bool support = false;
    bool Right = false;
    double time = 0;
    double theta = 0;
};

// One sample of the ZMP reference.
struct ZMP {
    Vector Position;
    double time = 0;
};

// Centre of mass per axis: (position, velocity, acceleration) in x, y, z.
struct CoM {
    Vector3f PositionX;
    Vector3f PositionY;
    double time = 0;
};

// The walk parameters, in the order of the parameter file.
struct OptParams {
    double minDx = 0;
    double minDy = 0;
    double thetaInc = 0;
    double thetaRel = 0;
    double maxThetaB = 0;
    double thetaBMult = 0;
    double heightCoM = 0;
    double swingHeight = 0;
    double legSeparation = 0;
    double period = 0;
    double dXmult = 0;
    double dYmult = 0;
    double thetaMult = 0;
    int steps = 0;
    int fComp = 0;
    int bComp = 0;
};

// The omnidirectional walk by ZMP preview control.
//
// Driving it: construct it once (the body model must hold the robot
// description, whose robot type picks the parameter file "skills/p<type>";
// the matrix file is "./movs/matrices.txt"; both relative to the working
// directory), call init() to start, then every cycle setOptParameter(vX,
// vY, vTheta, pressure) and execute() once, after the world state has taken
// the cycle's message.
class OmniWalkZMP : public Behavior {
public:
    static const int PLAN_SIZE = 25;
    static const int COM_SAMPLES = 1000;
    static const int MAX_GAINS = 5000;

    // Accumulated ZMP tracking error of the x and y axes.
    double dp;
    double dpY;
    OptParams params;
    // Index 0: the current step; index i: the i-th step ahead.
    Foot planedLeftFoot[PLAN_SIZE];
    Foot planedRightFoot[PLAN_SIZE];
    // Planned COM of the current step, one sample every deltaT.
    CoM* planedCoM;
    bool activeBalace;
    int maxPrevIter;
    double Gi[MAX_GAINS];
    std::vector<double> reference;  // the preview controller's ZMP reference of one axis
    double B[3][3];
    double C[3];
    double A[4][4];
    double Kp[4];
    double Ac[4][4];
    double Bp[4];
    double Xp[4][4];
    double cl;
    // Agent time at which the current step began.
    double initTime;
    double deltaT;
    Foot inicialLeftLeg;
    Foot inicialRightLeg;
    // Joint targets in degrees by joint id.
    float pose[Types::NJOINTS];
    PID pid[Types::NJOINTS];
    float lastAngle[Types::NJOINTS];
    float lastError[Types::NJOINTS];
    LoggerMatlab* logm;
    WorldState* world;
    AgentModel* model;
    Actions* actions;
    Bezier bzqdRotateSwing;
    Bezier bzqdRotateSupport;
    Bezier bzqdSwing;
    InverseKinematics ik;
    bool initWalk;
    double swingHeight;
    double stepSizeX;
    double stepSizeY;
    double stepTime;
    double legExtention;
    double thetaStep;
    double legSeparation;
    double minDx;
    double minDy;
    double maxDx;
    double maxDy;
    double thetaInc;
    double thetaRel;
    double maxThetaB;
    double thetaBMult;
    int steps;
    int fComp;
    int bComp;
    double lastStepTime;
    double lastDX;
    double lastDY;
    double lastTheta;
    // COM state at the start of the next step to be planned.
    CoM initCom;
    Vector transitionError;
    CoM transitionCom;
    Foot transitionLeftFoot;
    Foot transitionRightFoot;
    Foot previousLeftFoot;
    Foot previousRightFoot;
    bool isStepFinished;

    // Reads the parameter file of the body model's robot type and the
    // matrix file; a missing or bad file ends the process with status 1
    // after one line on standard error.
    OmniWalkZMP();
    ~OmniWalkZMP() override;
    OmniWalkZMP(const OmniWalkZMP&) = delete;
    OmniWalkZMP& operator=(const OmniWalkZMP&) = delete;

    void init() override;
    void execute() override;
    bool finished() override;

    // The walk command: forward and lateral speed, turn (degrees).
    void setOptParameter(double vX, double vY, double vTheta, bool pressure);
    // Restarts from a handed-over COM state and feet; prevSupp 1 makes the
    // left foot the support foot, anything else the right.
    void change(Vector3f comX, Vector3f comY, Vector lFootPos, Vector rFootPos, int prevSupp);

    Vector3f GetLFoot();
    Vector3f GetRFoot();
    int GetPrevSupport();
    Vector GetVelocity();
    Vector GetAceleration();
    Vector GetPosition();
    Vector GetPrevAccumError();

    Foot setFoot(Vector Position, bool isSupport, bool isRight, double time, double theta);

    // The parameter file "skills/p<robot type>".
    void loadParams();
    static std::string paramsPath(int robotType);
    // Reads a parameter file into out; on failure returns false and fills
    // error with one line naming the file and the bad value.
    static bool readParams(const std::string& path, OptParams& out, std::string& error);

    // Reads the matrix file; all or nothing: on failure (file missing or
    // malformed) the matrices keep their values, false is returned and
    // error names the file and the fault.
    bool load(const char* path_definition);
    bool load(const char* path_definition, std::string& error);

    // Step planning.
    void setWalkParameter(double period, double dX, double dY, double theta, bool presure);
    void footGenerator2(double stepX, double stepY, float stepTheta, int stepNumber, double timeStep,
                        Foot inicialLeftLeg, Foot inicialRightLeg);
    ZMP* zmpGenerator2(int stepNumber, double dt, double doubleSupportPercent, int& size);

    // Preview control.
    void initZmpPreviewController();
    CoM* zmpPreviewController(ZMP* zmpTrajectory, int sizeZMP, CoM init);
    void matrixMultipicatin(double x[][4], double y[][4], double z[][4], int m, int n, int p, int q);
    void matrixTranspose(double a[][4], double b[][4], int row, int col);
    int minIter(int a, int b);
    void matrixDisplay(double x[][4], int m, int n, std::string name);
    void comController();
    void swingLegController();

    // The cycle.
    Vector3f getCoM(double time);
    void computePose(Vector3f lFootPos, Vector3f rFootPos, Vector3f orientationRithFoot,
                     Vector3f orientationLeftFoot);
    std::vector<float> legInvKin(int foot, Vector3f targetPos, Vector3f targetOri);
    void updateArms();
    void updatePose();
    double predictEffector(int joint, double current, double setpoint);

private:
    // Planned COM samples of the current step (index 0 to plannedSamples).
    int plannedSamples;
    bool matricesLoaded;

    void start(const Foot& left, const Foot& right, const CoM& com);
};

#endif
