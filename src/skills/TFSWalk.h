#ifndef SKILLS_TFSWALK_H
#define SKILLS_TFSWALK_H

#include "skills/Behavior.h"

// Walk without a balance model, steered by a forward speed, a sideways speed
// (fractions of full speed in [-1, 1]) and a heading error in degrees. Sine
// curves (forward, sideways and turning sets) and the
// truncated-Fourier-series oscillator give every leg and shoulder joint its
// trajectory; the current speeds ramp towards the requested ones. Standing
// with a large heading error it turns on the spot. Periods and sideways
// amplitudes come from the world's walk parameters (WorldState::opt).
class TFSWalk : public Behavior {
public:
    static const int RHIP = 0, LHIP = 1, RLEG = 2, LLEG = 3, RKNEE = 4, LKNEE = 5, RARM = 6,
                     LARM = 7, RANKLE = 8, LANKLE = 9, RROT = 10, LROT = 11, RANKLEY = 12,
                     LANKLEY = 13;
    // Half period of the oscillator walking backwards, seconds.
    static constexpr double BACKWARD_HALF_PERIOD = 0.2;
    // Period of the turning curves, seconds.
    static constexpr double TURN_PERIOD = 0.2;
    // Hip yaw-pitch amplitude turning on the spot, degrees.
    static constexpr double turnRotDegree = -40;
    // Heading errors beyond this use the sharp turning row walking forwards.
    static constexpr double SHARP_TURN = 10;

    double timeR = 0;
    double time2 = 0;
    double predTime = 0;
    double aRot;
    double sideRot = 0;
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
    double speedY = 0;
    double lastspeedY = 0;
    bool finish = false;
    bool sideWalk;
    double lastAngle[14] = {};
    double lastError[14] = {};
    float rm, rs;
    double larm1[4] = {}, rarm1[4] = {}, lleg1[4] = {}, rleg1[4] = {}, lleg3[4] = {},
           rleg3[4] = {}, lleg2[4] = {}, rleg2[4] = {}, lleg6[4] = {}, rleg6[4] = {},
           lleg4[4] = {}, rleg4[4] = {}, lleg5[4] = {}, rleg5[4] = {};
    float turnTreshhold;
    double timeTurn;
    double increaseTurn;

    TFSWalk();
    ~TFSWalk() override {}

    void init() override;
    void execute() override;
    // Always true; whether the walk has come to rest is told by stop.
    bool finished() override { return true; }

    bool stop();
    bool checkState();
    bool isstop() const { return stopflag; }
    bool isstopping() const { return isstoppingflag; }
    bool isSwappingLeg() const { return isReverse; }
    double getDegree() const { return degree; }
    float getspeed() const { return static_cast<float>(speed); }
    float getspeedY() const { return static_cast<float>(speedY); }
    float getlastspeed() const { return static_cast<float>(lastspeed); }

    void setDegree(double nowDegree) { degree = nowDegree; }
    void setspeed(double speed1) { speed = speed1; }
    void setspeedY(double speed1) { speedY = speed1; }
    void setDistance(double d) { dest = d; }
    void setTimeR(double t) { timeR = t; }
    void setARot(double a) { aRot = a; }
    void setArmParmeter(double a) { aArm = a; }
    void setReverse(bool r) { isReverse = r; }
    void setOSCParamsByHipY(double* par);
    // Rescales the knee hold window to a new half period; a zero period
    // leaves the shape unchanged.
    void changeTFSfPeriods(double hPeriod);
    void setCurveParameters(float R1, float R2, float newHalfperiod);

    double predictEffector(int jointName, double angle1, double angle2);
    double pEffector(float current, float setpoint);

    void setCloseLoopWalkParameter();
    void updaters();
    void updateTurn();
    void fallower();
    void followerTurnInPlace();
    void PtoPWalk();
    void MtoMWalk();
    void PtoPWalkY();
    void MtoMWalkY();
    void tozero();
    void tozeroY();

    // The curve sets.
    void loadForwardSet();
    void loadSideSet();
    void loadTurnSet();

private:
    void applyForward(double x);
    void applyBackward(double m);
    // 3 * (10 - forward inclination): added to both shoulder targets.
    double armOffsetCorrection() const;
    // Commands one joint towards target by the proportional law and traces it.
    void drive(int id, double target, double current, const char* const names[3]);
};

#endif
