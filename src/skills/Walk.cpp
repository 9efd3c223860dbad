#include "skills/Walk.h"

#include <algorithm>
#include <cmath>

#include "geometry/Vector.h"
#include "math/TFSOscillator.h"
#include "physics/Types.h"
#include "skills/OscillatorGait.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

void setTable(double t[4], double a, double period, double phase, double offset)
{
    t[0] = a;
    t[1] = period;
    t[2] = phase;
    t[3] = offset;
}

} // namespace

Walk::Walk()
    : Behavior("SKILL_NEW_WALK"), aRot(0), RM(1), RS(1), RMS(1), RSS(1), RMaArm(1), RSaArm(1),
      RMaRot(1), RSaRot(1), RMaFWRot(1), RSaFWRot(1), RMaHip(1), RSaHip(1), RMbHip(1),
      RSbHip(1), RMaHipY(1), RSaHipY(1), RMaknee(1), RSaknee(1), aArm(0), isReverse(false),
      rm(1), rs(1)
{
    init();
}

void Walk::init()
{
    degree = 0;
    dest = 0;
    speed = 1;
    newRI = 0;
    lastspeed = 0;
    stopflag = isstoppingflag = turnHighflag = finish = false;

    const double T = 2 * FORWARD_HALF_PERIOD;
    setTable(larm1, 56.1017667008, T, 3.141592653588, -90);
    setTable(rarm1, 56.1017667008, T, 6.283185307178, -90);
    setTable(lleg2, 60, T, 0, 28.44);
    setTable(rleg2, 60, T, 3.141592653588, 28.44);
    setTable(lleg4, -36.5379933075, T, 1.124904133098, -46.33);
    setTable(rleg4, -36.5379933075, T, 4.266496786688, -46.33);
    setTable(lleg5, 37.3951914188, T, 2.141488952088, 31.9);
    setTable(rleg5, 37.3951914188, T, 5.283081605678, 31.9);
    setTable(lleg3, 1.44255388625, T, 1.570796326798, 0);
    setTable(rleg3, 1.44255388625, T, 1.570796326798, 0);
    setTable(lleg6, 1.44255388625, T, 4.712388980388, 0);
    setTable(rleg6, 1.44255388625, T, 4.712388980388, 0);

    double shape[10] = {-20.9241, 0.466287, -29.7735, 20.7945, -7.0,
                        -18.05,   11.6474,  15.2049,  FORWARD_HALF_PERIOD, 1.6};
    setOSCParamsByHipY(shape);
    beginStep2Time = Singleton<WorldState>::getInstance().cTime;
}

void Walk::execute()
{
    setCloseLoopWalkParameter();
    updaters();
    if (speed == 0 && lastspeed == 0 && aRot == 0)
        RMaHipY = RSaHipY = 0;
    fallower();
    finish = checkState();
}

bool Walk::stop()
{
    aRot = 0;
    return OscillatorGait::stop(*this, Singleton<WorldState>::getInstance().cTime);
}

bool Walk::checkState()
{
    return OscillatorGait::checkStopped(*this);
}

void Walk::setCurveParameters(float R1, float R2, float newHalfperiod)
{
    RM = R1;
    RS = R2;
    changeTFSfPeriods(newHalfperiod);
}

void Walk::changeTFSfPeriods(double hPeriod)
{
    if (hPeriod == 0 || !std::isfinite(hPeriod))
        return;
    if (p != 0)
        t2 = t1 + (t2 - t1) * hPeriod / p;
    p = hPeriod;
}

void Walk::setOSCParamsByHipY(double* par)
{
    OscillatorGait::setParamsByHipY(*this, par);
}

double Walk::pEffector(float current, float setpoint)
{
    return OscillatorGait::proportional(current, setpoint);
}

double Walk::predictEffector(int slot, double angle, double target)
{
    double cmd = OscillatorGait::predict(angle, target);
    if (slot >= 0 && slot < 14) {
        lastAngle[slot] = angle;
        lastError[slot] = cmd;
    }
    return cmd;
}

void Walk::applyForward(double x)
{
    RMaArm = RSaArm = RMaHip = RSaHip = RMbHip = RSbHip = RMaknee = RSaknee = x;
    RMaHipY = RSaHipY = 1 - x;
    lastspeed = x;
}

void Walk::applyBackward(double m)
{
    RMaArm = RSaArm = RMaHip = RSaHip = RMbHip = RSbHip = -m;
    RMaknee = RSaknee = m;
    RMaHipY = RSaHipY = 1 - m;
    lastspeed = -m;
}

void Walk::PtoPWalk()
{
    double dt = OscillatorGait::timeStep();
    if (speed > lastspeed) {
        newRI = std::min(lastspeed + dt / 1.7, speed);
        applyForward(newRI);
    } else if (speed < lastspeed) {
        newRD = std::max(lastspeed - dt / 1.2, speed);
        applyForward(newRD);
    }
}

void Walk::MtoMWalk()
{
    double dt = OscillatorGait::timeStep();
    double want = std::fabs(speed), now = std::fabs(lastspeed);
    if (want > now) {
        newRI = std::min(now + dt / 1.2, want);
        applyBackward(newRI);
    } else if (want < now) {
        newRD = std::max(now - dt / 0.6, want);
        applyBackward(newRD);
    }
}

void Walk::tozero()
{
    double dt = OscillatorGait::timeStep();
    if (lastspeed < 0) {
        newRD = std::max(std::fabs(lastspeed) - dt, 0.0);
        applyBackward(newRD);
    } else if (lastspeed > 0) {
        newRD = std::max(lastspeed - dt / 1.4, 0.0);
        applyForward(newRD);
    }
}

void Walk::updaters()
{
    if (speed >= 0 && lastspeed >= 0)
        PtoPWalk();
    else if (speed <= 0 && lastspeed <= 0)
        MtoMWalk();
    else
        tozero();
}

void Walk::setCloseLoopWalkParameter()
{
    rm = rs = 1;
    bool forward = speed >= 0;
    if (!forward && std::fabs(degree) > 15)
        speed = speed == -0.1 ? -0.1 : -0.2;
    aRot = OscillatorGait::turnAmplitude(degree, lastspeed, forward, SHARP_TURN, aRot, rm, rs);
}

void Walk::fallower()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    Actions& act = Singleton<Actions>::getInstance();
    LoggerMatlab& trace = LoggerMatlab::getInstance();

    predTime = OscillatorGait::timeStep() + (ws.cTime - beginStep2Time);
    TFSOscillator osc(predTime);
    osc.setR(RMaArm, RSaArm, RMaRot, RSaRot, RMaFWRot, RSaFWRot, RMaHip, RSaHip, RMbHip, RSbHip,
             RMaHipY, RSaHipY, RMaknee, RSaknee);
    osc.setRotAmp(aRot);
    bool forward = lastspeed >= 0;
    double shape[10] = {aK, t1, t2, cK, aArm, aHY, aH, bH, cH,
                        forward ? FORWARD_HALF_PERIOD : BACKWARD_HALF_PERIOD};
    osc.setOscParameters(shape);
    osc.calcOSC();
    trace.log("predTime", predTime);
    trace.log("Time", ws.cTime - beginStep2Time);

    struct Sagittal {
        int id;
        const double* table;
        double scale;
        double lowered;  // the offset is lowered by this much
        int slot;
        double osc;
        bool shoulder;
        const char *target, *measured, *command;
    };
    const Sagittal sagittal[8] = {
        {Types::ijRlj3, rleg2, rm * RMaHip, 5 * (1 - RMaHip), RHIP, osc.masterHipXGEN(), false, "rHipDegX", "rWMHipDegX", "rHipEffX"},
        {Types::ijLlj3, lleg2, rs * RSaHip, 5 * (1 - RSaHip), LHIP, osc.slaveHipXGEN(), false, "lHipDegX", "lWMHipDegX", "lHipEffX"},
        {Types::ijRlj4, rleg4, rm * RMaknee, 0, RKNEE, osc.masterKneeGEN(), false, "rKneeDeg", "rWMKneeDeg", "rKneeEff"},
        {Types::ijLlj4, lleg4, rs * RSaknee, 0, LKNEE, osc.slaveKneeGEN(), false, "lKneeDeg", "lWMKneeDeg", "lKneeEff"},
        {Types::ijRlj5, rleg5, rm * RMaHip, 0, RANKLE, osc.masterAnkleGEN(), false, "rAnkleDegX", "rWMAnkleDegX", "rAnkleEffX"},
        {Types::ijLlj5, lleg5, rs * RSaHip, 0, LANKLE, osc.slaveAnkleGEN(), false, "lAnkleDegX", "lWMAnkleDegX", "lAnkleEffX"},
        {Types::ijRaj1, rarm1, rm * RMaArm, 0, RARM, osc.masterArmGEN(), true, "rArmDeg", "rWMArmDeg", "aArmEff"},
        {Types::ijLaj1, larm1, rs * RSaArm, 0, LARM, osc.slaveArmGEN(), true, "lArmDeg", "lWMArmDeg", "lArmEff"},
    };
    for (const Sagittal& s : sagittal) {
        double current = OscillatorGait::jointAngle(s.id);
        double target, cmd;
        if (forward) {
            target = OscillatorGait::curve(s.table, predTime, s.scale) - s.lowered;
            cmd = pEffector(static_cast<float>(current), static_cast<float>(target));
        } else {
            if (s.shoulder)
                current = normalizeAngle(current + 90);
            target = s.osc;
            cmd = predictEffector(s.slot, current, target);
        }
        act.MoveJointTo(s.id, static_cast<float>(cmd));
        trace.log(s.target, target);
        trace.log(s.measured, current);
        trace.log(s.command, cmd);
    }

    struct Lateral {
        int id;
        int slot;
        double target;
        const char *targetName, *measured, *command;
    };
    const Lateral lateral[6] = {
        {Types::ijRlj6, RANKLEY, osc.masterAnkleYGEN(), "rAnkleDegY", "rWMAnkleDegY", "rAnkleEffY"},
        {Types::ijLlj6, LANKLEY, osc.slaveAnkleYGEN(), "lAnkleDegY", "lWMAnkleDegY", "lAnkleEffY"},
        {Types::ijRlj2, RLEG, osc.masterHipYGEN(), "rLegDegY", "rWMLegDegY", "rLegEffY"},
        {Types::ijLlj2, LLEG, osc.slaveHipYGEN(), "lLegDegY", "lWMLegDegY", "lLegEffY"},
        {Types::ijRlj1, RROT, osc.masterRotGEN(), "rRotDeg", "rWMRotDeg", "rRotEff"},
        {Types::ijLlj1, LROT, osc.slaveRotGEN(), "lRotDeg", "lWMRotDeg", "lRotEff"},
    };
    for (const Lateral& l : lateral) {
        double current = OscillatorGait::jointAngle(l.id);
        double cmd = predictEffector(l.slot, current, l.target);
        act.MoveJointTo(l.id, static_cast<float>(cmd));
        trace.log(l.targetName, l.target);
        trace.log(l.measured, current);
        trace.log(l.command, cmd);
    }
    act.Send();
}
