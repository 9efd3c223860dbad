#ifndef SKILLS_TFSSKILL_H
#define SKILLS_TFSSKILL_H

#include "skills/Behavior.h"

class Logger1;

// Base of the skills that drive the fourteen leg and shoulder joints from the
// truncated-Fourier-series oscillator, evaluated at the time since the skill
// started. A subclass sets beginStep2Time and a shape in its init and calls
// fallower once per execute.
class TFSSkill : public Behavior {
public:
    // Output slots of the command history.
    static const int RHIP = 0, LHIP = 1, RLEG = 2, LLEG = 3, RKNEE = 4, LKNEE = 5, RARM = 6,
                     LARM = 7, RANKLE = 8, LANKLE = 9, RROT = 10, LROT = 11, RANKLEY = 12,
                     LANKLEY = 13;

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
    Logger1 *log_1 = nullptr, *log_1WM = nullptr, *log0 = nullptr, *log0WM = nullptr,
            *log = nullptr, *logWM = nullptr, *log1 = nullptr, *log1WM = nullptr,
            *log2 = nullptr, *log2WM = nullptr, *log3 = nullptr, *log3WM = nullptr,
            *log4 = nullptr, *log4WM = nullptr, *log5 = nullptr, *log5WM = nullptr,
            *log6 = nullptr, *log6WM = nullptr, *log7 = nullptr, *log7WM = nullptr,
            *logX = nullptr, *logY = nullptr, *logZZ = nullptr;
    double lastAngle[14] = {};
    double lastError[14] = {};

    TFSSkill();
    ~TFSSkill() override {}

    // aK, end of the knee hold as a share of the period, cK, aArm, aHY, aH,
    // bH, cH, half period, timeR.
    void setOSCParamsByHipY(double* par);
    void setReverse(bool r) { isReverse = r; }
    bool isSwappingLeg() const { return isReverse; }
    double predictEffector(int jointName, double angle1, double angle2);
    // One cycle of joint commands from the oscillator.
    void fallower();
};

#endif
