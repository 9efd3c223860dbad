#ifndef PHYSICS_TYPES_H
#define PHYSICS_TYPES_H

// Ids shared by the body model and the rest of the agent. The robot
// description lists joints and parts in exactly this order.
class Types {
public:
    enum Joints {
        ijHj1 = 0, ijHj2,
        ijLlj1, ijRlj1, ijLlj2, ijRlj2, ijLlj3, ijRlj3,
        ijLlj4, ijRlj4, ijLlj5, ijRlj5, ijLlj6, ijRlj6,
        ijLaj1, ijRaj1, ijLaj2, ijRaj2, ijLaj3, ijRaj3, ijLaj4, ijRaj4,
        NJOINTS
    };

    enum BodyParts {
        ilHead = 0, ilNeck, ilTorso,
        ilLShoulder, ilRShoulder, ilLUpperArm, ilRUpperArm,
        ilLElbow, ilRElbow, ilLLowerArm, ilRLowerArm,
        ilLHip1, ilRHip1, ilLHip2, ilRHip2, ilLThigh, ilRThigh,
        ilLShank, ilRShank, ilLAnkle, ilRAnkle, ilLFoot, ilRFoot,
        NBODYPARTS
    };

    enum FRPParts { pLeft = 0, pRight, pLeftToe, pRightToe };
};

enum T_OBJECT { iBodyPart = 0, iJoint = 1 };

#endif
