#ifndef MIDLEVELSKILLS_H
#define MIDLEVELSKILLS_H

#include "geometry/Vector.h"

// Walk-to-point controllers for an omnidirectional walk: from a target point
// and a final heading (global, degrees) they compute a turn command (degrees)
// and a speed (fraction of full speed) each cycle, and answer true in the
// cycle they declare the point reached. Each controller is a small state
// machine (far, near, fitting the heading, finished) whose flags are shared
// by all instances.
class MidLevelSkills {
public:
    enum goToPointType { sideRight = 0, sideLeft = 1, backWalk = 2, forwardWalk = 3 };

    // Last predicted time to arrival of each walking mode, seconds.
    double predictTime[4];
    // Predicted time of the mode in use.
    double minPredTime;
    // Walking mode in use by goToPointOmniDirectional.
    goToPointType goToPointState;

    MidLevelSkills();
    virtual ~MidLevelSkills() {}

    bool goToPointForwardWalk(float& angle, float& speed, float dirThr, float direction,
                              Vector dest, float desireSpeed);
    // A positive speedY walks towards the left of the body (relative +90).
    bool goToPointSideWalkRight(float& angle, float& speedY, float dirThr, float direction,
                                Vector dest, float desireSpeed);
    bool goToPointSideWalkLeft(float& angle, float& speedY, float dirThr, float direction,
                               Vector dest, float desireSpeed);
    bool goToPointBackWalk(float& angle, float& speed, float dirThr, float direction,
                           Vector dest, float desireSpeed);
    // Walks in whichever of the four modes is predicted to arrive first.
    bool goToPointOmniDirectional(float& angle, float& speedX, float& speedY, float dirThr,
                                  float direction, Vector dest, float desireSpeed);
    float predoctTimeGoToPointForwardWalk(float dirThr, float direction, Vector dest);
    bool goToPoint(float& angle, float& speed, float dirThr, float direction, Vector dest,
                   float desireSpeed, bool enableBackWalk);
    bool goToBall(float& angle, float& speed, float dirThr, float direction, Vector dest);
    // Walks to the point `distance` behind the ball on the line from
    // generaltarget; holds still (no command, false) while the ball blocks it.
    bool goToBehind(float& angle, float& speed, Vector generaltarget, Vector behindPoint,
                    float distance, float pointthreshold, float anglethreshold,
                    bool obstacleavoidance);

    Vector calcApproachBallPoint(Vector target, float redius);
    Vector clacAvoidTarget(Vector avoidPoint, Vector destination, float avoidRedius);
    bool isPointInMyWay(Vector avoidPoint, Vector targetPoint, float redius);
    // Radius of the arc from me that reaches target (1000 when it lies
    // nearly straight ahead); never negative.
    float calculateReduseOfCurve(Vector target);

    // Every controller back to its first state (far, not aligned).
    static void resetState();

    struct Mode;

private:
    static const Mode modes[4];
    struct Flags {
        bool wasFitting = false;
        bool wasFinished = false;
        bool isAligned = false;
    };
    static Flags flags[4];
    static Flags pointFlags;
    static Flags ballFlags;
    static bool pointBackWalk, pointInFront, pointInBack;
    static bool behindAvoiding;

    bool runMode(const Mode& m, float& angle, float& speed, float dirThr, float direction,
                 Vector dest, float desireSpeed);
    double predictMode(const Mode& m, Vector dest, float turn, float dir, float dirThr,
                       float direction, bool fitting) const;
};

#endif
