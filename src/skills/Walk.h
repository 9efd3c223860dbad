#ifndef SKILLS_WALK_H
#define SKILLS_WALK_H

#include "skills/Behavior.h"

// Forward and backward walk with turning from periodic joint trajectories:
// sine tables drive the sagittal joints walking forwards, the
// truncated-Fourier-series oscillator walking backwards and always the
// lateral and rotation joints. The current speed ramps towards the requested
// one; the heading error sets the turning amplitude.
class Walk : public Behavior {
public:
    static const int RHIP = 0, LHIP = 1, RLEG = 2, LLEG = 3, RKNEE = 4, LKNEE = 5, RARM = 6,
                     LARM = 7, RANKLE = 8, LANKLE = 9, RROT = 10, LROT = 11, RANKLEY = 12,
                     LANKLEY = 13;
    // Half period of the gait walking forwards and backwards, seconds.
    static constexpr double FORWARD_HALF_PERIOD = 0.1875616544625;
    static constexpr double BACKWARD_HALF_PERIOD = 0.2;
    // Heading errors beyond this use the sharp turning row.
    static constexpr double SHARP_TURN = 10;

    double timeR = 0;
    double time2 = 0;
    double predTime = 0;
    double aRot;
    double RM, RS, RMS, RSS;
    double RMaArm, RSaArm, RMaRot, RSaRot, RMaFWRot, RSaFWRot, RMaHip, RSaHip, RMbHip, RSbHip,
        RMaHipY, RSaHipY, RMaknee, RSaknee;
    double aK = 0, t1 = 0, t2 = 0, cK = 0, aArm, aHY = 0, aH = 0, bH = 0, cH = 0, p = 0;
    double beginStep2Time = 0;
    bool isReverse;
    double degree = 0;
    double dest = 0;
    float stoptime = 0;
    double speed = 0;
    bool turnHighflag = false, stopflag = false, isstoppingflag = false;
    double newRI = 0, newRD = 0;
    double lastspeed = 0;
    bool finish = false;
    double lastAngle[14] = {};
    double lastError[14] = {};
    float rm, rs;
    double larm1[4], rarm1[4], lleg3[4], rleg3[4], lleg2[4], rleg2[4], lleg6[4], rleg6[4],
        lleg4[4], rleg4[4], lleg5[4], rleg5[4];

    Walk();
    ~Walk() override {}

    void init() override;
    void execute() override;
    // Always true; whether the walk has come to rest is told by stop and
    // checkState.
    bool finished() override { return true; }

    // Asks for a stop; true once the walk is at rest.
    bool stop();
    bool checkState();
    bool isstop() const { return stopflag; }
    bool isstopping() const { return isstoppingflag; }
    bool isSwappingLeg() const { return isReverse; }
    double getspeed() const { return speed; }
    double getDegree() const { return degree; }

    void setDegree(double d) { degree = d; }
    void setspeed(double s) { speed = s; }
    void setDistance(double d) { dest = d; }
    void setTimeR(double t) { timeR = t; }
    void setARot(double a) { aRot = a; }
    void setArmParmeter(double a) { aArm = a; }
    void setReverse(bool r) { isReverse = r; }
    void setCurveParameters(float R1, float R2, float newHalfperiod);
    // Rescales the knee hold window to a new half period; a zero period
    // leaves the shape unchanged.
    void changeTFSfPeriods(double hPeriod);
    void setOSCParamsByHipY(double* par);

    double pEffector(float current, float setpoint);
    double predictEffector(int slot, double angle, double target);

    void updaters();
    void PtoPWalk();
    void MtoMWalk();
    void tozero();
    void setCloseLoopWalkParameter();
    void fallower();

private:
    void applyForward(double x);
    void applyBackward(double m);
};

#endif
