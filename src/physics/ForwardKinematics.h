#ifndef PHYSICS_FORWARDKINEMATICS_H
#define PHYSICS_FORWARDKINEMATICS_H

#include <string>
#include <vector>

#include "geometry/Vector3f.h"
#include "geometry/MatrixMxN.h"

class AgentModel;

// Foot poses of both legs from the body model's joint angles, in the leg
// base frame (origin midway between the hips). Orientation in radians as
// rotations about x, y and z.
class ForwardKinematics {
public:
    enum Frames {
        FR_BASE_T = 0,
        HIP_YAW_PITCH,
        HIP_ROLL,
        HIP_PITCH,
        KNEE_PITCH,
        ANKLE_PITCH,
        ANKLE_ROLL,
        FR_END_T
    };

    std::vector<MatrixMxN> mLlegTransf;
    std::vector<MatrixMxN> mRlegTransf;
    Vector3f mLFootPos;
    Vector3f mLFootOrient;
    Vector3f mRFootPos;
    Vector3f mRFootOrient;
    AgentModel* mModel;

    ForwardKinematics();
    virtual ~ForwardKinematics();

    // 0: right foot, 1: left foot, anything else: both.
    void prepareForwardKin(int foot);
    void prepareForwardKinLeft();
    void prepareForwardKinRight();

    static void makeDHTransformation(MatrixMxN& Transf, double a, double alpha, double d, double theta);
    static void makeTranslation(MatrixMxN& Transl, double x, double y, double z);
    static void makeRotationZYX(MatrixMxN& Rot, double zAngle, double yAngle, double xAngle);
    static void makeRotationX(MatrixMxN& m, double theta);
    static void makeRotationY(MatrixMxN& m, double theta);
    static void makeRotationZ(MatrixMxN& m, double theta);
    static std::string toString(const MatrixMxN& m);

private:
    void computeChain(std::vector<MatrixMxN>& chain, bool left, Vector3f& pos, Vector3f& orient);
};

#endif
