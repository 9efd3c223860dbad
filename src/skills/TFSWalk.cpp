#include "skills/TFSWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "math/TFSOscillator.h"
#include "physics/Types.h"
#include "skills/OscillatorGait.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

WorldState& world() { return Singleton<WorldState>::getInstance(); }

void setTable(double t[4], double a, double period, double phase, double offset)
{
    t[0] = a;
    t[1] = period;
    t[2] = phase;
    t[3] = offset;
}

// Trace names (target, measured, command) of a driven joint.
const char* const* traceNames(int id)
{
    static const char* const names[Types::NJOINTS][3] = {
        {"", "", ""},
        {"", "", ""},
        {"lRotDeg", "lWMRotDeg", "lRotEff"},
        {"rRotDeg", "rWMRotDeg", "rRotEff"},
        {"lLegDegY", "lWMLegDegY", "lLegEffY"},
        {"rLegDegY", "rWMLegDegY", "rLegEffY"},
        {"lHipDegX", "lWMHipDegX", "lHipEffX"},
        {"rHipDegX", "rWMHipDegX", "rHipEffX"},
        {"lKneeDeg", "lWMKneeDeg", "lKneeEff"},
        {"rKneeDeg", "rWMKneeDeg", "rKneeEff"},
        {"lAnkleDegX", "lWMAnkleDegX", "lAnkleEffX"},
        {"rAnkleDegX", "rWMAnkleDegX", "rAnkleEffX"},
        {"lAnkleDegY", "lWMAnkleDegY", "lAnkleEffY"},
        {"rAnkleDegY", "rWMAnkleDegY", "rAnkleEffY"},
        {"lArmDeg", "lWMArmDeg", "lArmEff"},
        {"rArmDeg", "rWMArmDeg", "aArmEff"},
        {"", "", ""},
        {"", "", ""},
        {"", "", ""},
        {"", "", ""},
        {"", "", ""},
        {"", "", ""},
    };
    return names[id];
}

// The forward and turning shape of the oscillator; the ninth value (the half
// period) is filled in by the caller.
const double SHAPE[10] = {-20.9241, 0.466287, -29.7735, 20.7945, -7, -18.05, 11.6474, 15.2049,
                          0, 1.6};

} // namespace

TFSWalk::TFSWalk()
    : Behavior("SKILL_TFS_WALK"), aRot(0), RM(0), RS(0), RMS(0), RSS(0), RMaArm(0), RSaArm(0),
      RMaRot(0), RSaRot(0), RMaFWRot(0), RSaFWRot(0), RMaHip(0), RSaHip(0), RMbHip(0),
      RSbHip(0), RMaHipY(0), RSaHipY(0), RMaknee(0), RSaknee(0), aArm(0), isReverse(false),
      sideWalk(false), rm(0), rs(0), turnTreshhold(15), timeTurn(0), increaseTurn(0)
{
    init();
}

void TFSWalk::init()
{
    degree = dest = speed = speedY = newRI = lastspeed = lastspeedY = 0;
    stopflag = isstoppingflag = turnHighflag = finish = false;
    beginStep2Time = world().cTime;
}

void TFSWalk::execute()
{
    if (speed == 0 && lastspeed == 0 && speedY == 0 && lastspeedY == 0 &&
        std::fabs(degree) > turnTreshhold) {
        loadTurnSet();
        updateTurn();
        followerTurnInPlace();
    } else {
        setCloseLoopWalkParameter();
        updaters();
        if (speed == 0 && lastspeed == 0 && aRot == 0)
            RMaHipY = RSaHipY = 0;
        fallower();
    }
    finish = checkState();
}

bool TFSWalk::stop()
{
    setARot(0);
    return OscillatorGait::stop(*this, world().cTime);
}

bool TFSWalk::checkState()
{
    return OscillatorGait::checkStopped(*this);
}

void TFSWalk::setOSCParamsByHipY(double* par)
{
    OscillatorGait::setParamsByHipY(*this, par);
}

void TFSWalk::changeTFSfPeriods(double hPeriod)
{
    if (hPeriod == 0 || !std::isfinite(hPeriod))
        return;
    if (p != 0)
        t2 = t1 + (t2 - t1) * hPeriod / p;
    p = hPeriod;
}

void TFSWalk::setCurveParameters(float R1, float R2, float newHalfperiod)
{
    RM = R1;
    RS = R2;
    changeTFSfPeriods(newHalfperiod);
}

double TFSWalk::predictEffector(int jointName, double angle1, double angle2)
{
    double cmd = OscillatorGait::predict(angle1, angle2);
    if (jointName >= 0 && jointName < 14) {
        lastError[jointName] = cmd;
        lastAngle[jointName] = angle1;
    }
    return cmd;
}

double TFSWalk::pEffector(float current, float setpoint)
{
    return OscillatorGait::proportional(current, setpoint);
}

void TFSWalk::loadForwardSet()
{
    const optparameters& opt = world().opt;
    const double T = static_cast<float>(opt.frontper);
    setTable(larm1, 56.1017667008, T, 3.141592653588, -90);
    setTable(rarm1, 56.1017667008, T, 0, -90);
    setTable(lleg1, 0, T, 1.57, 0);
    setTable(rleg1, 0, T, 1.57, 0);
    setTable(lleg3, 1.44255388625, T, 1.570796326798, 0);
    setTable(rleg3, 1.44255388625, T, 1.570796326798, 0);
    setTable(lleg2, 60, T, 0, 28.44);
    setTable(rleg2, 60, T, 3.141592653588, 28.44);
    setTable(lleg6, 1.44255388625, T, 4.712388980388, 0);
    setTable(rleg6, 1.44255388625, T, 4.712388980388, 0);
    setTable(lleg4, -36.5, T, 1.124904133098, -46.33);
    setTable(rleg4, -36.5, T, 4.266496786688, -46.33);
    setTable(lleg5, 37.4, T, 2.141488952088, 31);
    setTable(rleg5, 37.4, T, 5.283081605678, 31);
    double shape[10];
    std::copy(SHAPE, SHAPE + 10, shape);
    shape[8] = opt.backper;
    setOSCParamsByHipY(shape);
}

void TFSWalk::loadSideSet()
{
    const optparameters& opt = world().opt;
    const double T = opt.sideper;
    const double d = lastspeedY > 0 ? 1 : -1;
    const double a1 = opt.sideamp1, a2 = opt.sideamp2;
    setTable(larm1, 0, T, 0, -90);
    setTable(rarm1, 0, T, 0, -90);
    setTable(lleg1, d * sideRot, T, 1.57, 0);
    setTable(rleg1, d * sideRot, T, 1.57, 0);
    setTable(lleg3, -d * a1, T, 1.570796326798, 0);
    setTable(rleg3, d * a1, T, 1.570796326798, 0);
    setTable(lleg2, -d * a2, T, 0, 28.44);
    setTable(rleg2, d * a2, T, 0, 28.44);
    setTable(lleg6, d * a1, T, 1.570796326798, 0);
    setTable(rleg6, -d * a1, T, 1.570796326798, 0);
    setTable(lleg4, 2 * a2, T, 0, -46.33);
    setTable(rleg4, -2 * a2, T, 0, -46.33);
    setTable(lleg5, -d * a2, T, 0, 31);
    setTable(rleg5, d * a2, T, 0, 31);
}

void TFSWalk::loadTurnSet()
{
    const double T = TURN_PERIOD;
    const double s = degree < 0 ? 1 : -1;
    setTable(larm1, 0, T, 0, -90);
    setTable(rarm1, 0, T, 0, -90);
    setTable(lleg1, turnRotDegree, T, 1.57, -10);
    setTable(rleg1, turnRotDegree, T, 1.57, -10);
    setTable(lleg3, -25, T, 1.570796326798, 0);
    setTable(rleg3, 25, T, 1.570796326798, 0);
    setTable(lleg2, -18 * s, T, 0, 18.44);
    setTable(rleg2, 18 * s, T, 0, 18.44);
    setTable(lleg6, 25, T, 1.570796326798, 0);
    setTable(rleg6, -25, T, 1.570796326798, 0);
    setTable(lleg4, 32 * s, T, 0, -46.33);
    setTable(rleg4, -32 * s, T, 0, -46.33);
    setTable(lleg5, -18 * s, T, 0, 31);
    setTable(rleg5, 18 * s, T, 0, 31);
}

void TFSWalk::applyForward(double x)
{
    RMaArm = RSaArm = RMaHip = RSaHip = RMbHip = RSbHip = RMaknee = RSaknee = x;
    RMaHipY = RSaHipY = 1 - x;
}

void TFSWalk::applyBackward(double m)
{
    RMaArm = RSaArm = RMaHip = RSaHip = RMbHip = RSbHip = -m;
    RMaknee = RSaknee = m;
    RMaHipY = RSaHipY = 1 - m;
}

void TFSWalk::PtoPWalk()
{
    double dt = OscillatorGait::timeStep();
    if (speed > lastspeed) {
        newRI = lastspeed;
        if (speed > 0.3 && newRI < 0.2)
            newRI = 0.2;
        newRI = std::min(newRI + dt / 1.3, speed);
        applyForward(newRI);
        lastspeed = newRI;
    } else if (speed < lastspeed) {
        newRD = std::max(lastspeed - dt / 1.2, speed);
        applyForward(newRD);
        lastspeed = newRD;
    }
}

void TFSWalk::MtoMWalk()
{
    double dt = OscillatorGait::timeStep();
    double want = std::fabs(speed), now = std::fabs(lastspeed);
    if (want > now) {
        newRI = std::min(now + dt / 1.2, want);
        applyBackward(newRI);
        lastspeed = -newRI;
    } else if (want < now) {
        newRD = std::max(now - dt, want);
        applyBackward(newRD);
        lastspeed = -newRD;
    }
}

void TFSWalk::tozero()
{
    double dt = OscillatorGait::timeStep();
    if (lastspeed < 0) {
        newRD = std::max(std::fabs(lastspeed) - dt / 1.2, 0.0);
        applyBackward(newRD);
        lastspeed = -newRD;
    } else if (lastspeed > 0) {
        newRD = std::max(lastspeed - dt / 1.4, 0.0);
        applyForward(newRD);
        lastspeed = newRD;
    }
}

void TFSWalk::PtoPWalkY()
{
    double dt = OscillatorGait::timeStep();
    if (speedY > lastspeedY) {
        newRI = lastspeedY;
        if (speedY > 0.3 && newRI < 0.2)
            newRI = 0.2;
        newRI = std::min(newRI + dt / 1.3, speedY);
        applyForward(newRI);
        lastspeedY = newRI;
    } else if (speedY < lastspeedY) {
        newRD = std::max(lastspeedY - dt / 1.2, speedY);
        applyForward(newRD);
        lastspeedY = newRD;
    }
}

void TFSWalk::MtoMWalkY()
{
    double dt = OscillatorGait::timeStep();
    double want = std::fabs(speedY), now = std::fabs(lastspeedY);
    if (want > now) {
        newRI = std::min(now + dt / 1.2, want);
        applyBackward(newRI);
        lastspeedY = -newRI;
    } else if (want < now) {
        newRD = std::max(now - dt, want);
        applyBackward(newRD);
        lastspeedY = -newRD;
    }
}

void TFSWalk::tozeroY()
{
    double dt = OscillatorGait::timeStep();
    if (lastspeedY < 0) {
        newRD = std::max(std::fabs(lastspeedY) - dt, 0.0);
        applyBackward(newRD);
        lastspeedY = -newRD;
    } else if (lastspeedY > 0) {
        newRD = std::max(lastspeedY - dt / 1.4, 0.0);
        applyForward(newRD);
        lastspeedY = newRD;
    }
}

void TFSWalk::updaters()
{
    if ((speedY == 0 && lastspeedY == 0) || (speedY != 0 && lastspeed != 0)) {
        sideWalk = false;
        loadForwardSet();
        if (speed >= 0 && lastspeed >= 0)
            PtoPWalk();
        else if (speed <= 0 && lastspeed <= 0)
            MtoMWalk();
        else
            tozero();
    } else if ((speed == 0 && lastspeed == 0) || (speed != 0 && lastspeedY != 0)) {
        sideWalk = true;
        loadSideSet();
        if (speedY >= 0 && lastspeedY >= 0)
            PtoPWalkY();
        else if (speedY <= 0 && lastspeedY <= 0)
            MtoMWalkY();
        else
            tozeroY();
    } else {
        tozero();
        tozeroY();
    }
    timeTurn = 0;
}

void TFSWalk::updateTurn()
{
    timeTurn += OscillatorGait::timeStep();
    increaseTurn = timeTurn <= 1 ? timeTurn / 1 : 1;
}

void TFSWalk::setCloseLoopWalkParameter()
{
    rm = rs = 1;
    if (sideWalk) {
        const optparameters& opt = world().opt;
        bool positive = speedY >= 0;
        if (degree > turnTreshhold / 2)
            sideRot = positive ? 28 : 16;
        else if (degree < -turnTreshhold / 2)
            sideRot = 0;
        else
            sideRot = positive ? opt.sideRotR : opt.sideRotL;
        return;
    }
    aRot = OscillatorGait::turnAmplitude(degree, lastspeed, speed >= 0, SHARP_TURN, aRot, rm, rs);
}

double TFSWalk::armOffsetCorrection() const
{
    const Player* me = world().me;
    return 3 * (10 - (me ? me->vertInclinFront : 0));
}

void TFSWalk::drive(int id, double target, double current, const char* const names[3])
{
    double cmd = pEffector(static_cast<float>(current), static_cast<float>(target));
    Singleton<Actions>::getInstance().MoveJointTo(id, static_cast<float>(cmd));
    LoggerMatlab& trace = LoggerMatlab::getInstance();
    trace.log(names[0], target);
    trace.log(names[1], current);
    trace.log(names[2], cmd);
}

void TFSWalk::fallower()
{
    WorldState& ws = world();
    Actions& act = Singleton<Actions>::getInstance();
    LoggerMatlab& trace = LoggerMatlab::getInstance();
    double armCorrection = armOffsetCorrection();
    fprintf(stderr, "TFS fallower armoffsetcorrection %g\n", armCorrection);

    predTime = OscillatorGait::timeStep() + (ws.cTime - beginStep2Time);
    TFSOscillator osc(predTime);
    osc.setR(RMaArm, RSaArm, RMaRot, RSaRot, RMaFWRot, RSaFWRot, RMaHip, RSaHip, RMbHip, RSbHip,
             RMaHipY, RSaHipY, RMaknee, RSaknee);
    osc.setRotAmp(aRot);
    trace.log("predTime", predTime);
    trace.log("Time", ws.cTime - beginStep2Time);

    if (lastspeed >= 0 || sideWalk) {
        double shape[10] = {aK, t1, t2, cK, aArm, aHY, aH, bH, cH,
                            static_cast<float>(ws.opt.frontper) / 2};
        osc.setOscParameters(shape);
        osc.calcOSC();
        struct Leg {
            int id;
            const double* table;
            double scale;
            double lowered;
        };
        const Leg legs[10] = {
            {Types::ijRlj3, rleg2, rm * RMaHip, 5 * (1 - RMaHip)},
            {Types::ijLlj3, lleg2, rs * RSaHip, 5 * (1 - RSaHip)},
            {Types::ijRlj4, rleg4, rm * RMaknee, 0},
            {Types::ijLlj4, lleg4, rs * RSaknee, 0},
            {Types::ijRlj5, rleg5, rm * RMaHip, 0},
            {Types::ijLlj5, lleg5, rs * RSaHip, 0},
            {Types::ijRlj6, rleg6, rm * RMaknee, 0},
            {Types::ijLlj6, lleg6, rm * RMaknee, 0},
            {Types::ijRlj2, rleg3, rm * RMaknee, 0},
            {Types::ijLlj2, lleg3, rm * RMaknee, 0},
        };
        for (const Leg& l : legs)
            drive(l.id, OscillatorGait::curve(l.table, predTime, l.scale) - l.lowered,
                  OscillatorGait::jointAngle(l.id), traceNames(l.id));
        if (sideWalk) {
            double g = rm * RMaknee;
            drive(Types::ijRlj1, OscillatorGait::curve(rleg1, predTime, g),
                  OscillatorGait::jointAngle(Types::ijLlj1), traceNames(Types::ijRlj1));
            drive(Types::ijLlj1, OscillatorGait::curve(lleg1, predTime, g),
                  OscillatorGait::jointAngle(Types::ijLlj1), traceNames(Types::ijLlj1));
        } else {
            const struct {
                int id, slot;
                double target;
            } rot[2] = {{Types::ijRlj1, RROT, osc.masterRotGEN()},
                        {Types::ijLlj1, LROT, osc.slaveRotGEN()}};
            for (const auto& r : rot) {
                double current = OscillatorGait::jointAngle(r.id);
                double cmd = predictEffector(r.slot, current, r.target);
                act.MoveJointTo(r.id, static_cast<float>(cmd));
                const char* const* names = traceNames(r.id);
                trace.log(names[0], r.target);
                trace.log(names[1], current);
                trace.log(names[2], cmd);
            }
        }
    } else {
        double shape[10] = {aK, t1, t2, cK, aArm, aHY, aH, bH, cH, BACKWARD_HALF_PERIOD};
        osc.setOscParameters(shape);
        osc.calcOSC();
        const struct {
            int id, slot;
            double target;
        } outs[12] = {
            {Types::ijRlj3, RHIP, osc.masterHipXGEN()},
            {Types::ijLlj3, LHIP, osc.slaveHipXGEN()},
            {Types::ijRlj4, RKNEE, osc.masterKneeGEN()},
            {Types::ijLlj4, LKNEE, osc.slaveKneeGEN()},
            {Types::ijRlj5, RANKLE, osc.masterAnkleGEN()},
            {Types::ijLlj5, LANKLE, osc.slaveAnkleGEN()},
            {Types::ijRlj1, RROT, osc.masterRotGEN()},
            {Types::ijLlj1, LROT, osc.slaveRotGEN()},
            {Types::ijRlj6, RANKLEY, osc.masterAnkleYGEN()},
            {Types::ijLlj6, LANKLEY, osc.slaveAnkleYGEN()},
            {Types::ijRlj2, RLEG, osc.masterHipYGEN()},
            {Types::ijLlj2, LLEG, osc.slaveHipYGEN()},
        };
        for (const auto& o : outs) {
            double current = OscillatorGait::jointAngle(o.id);
            double cmd = predictEffector(o.slot, current, o.target);
            act.MoveJointTo(o.id, static_cast<float>(cmd));
            const char* const* names = traceNames(o.id);
            trace.log(names[0], o.target);
            trace.log(names[1], current);
            trace.log(names[2], cmd);
        }
    }

    double rArm = OscillatorGait::curve(rarm1, predTime, rm * RMaArm);
    double lArm = OscillatorGait::curve(larm1, predTime, rs * RSaArm);
    const struct {
        int id;
        double target;
    } arms[2] = {{Types::ijRaj1, rArm}, {Types::ijLaj1, lArm}};
    for (const auto& a : arms) {
        double current = OscillatorGait::jointAngle(a.id);
        double cmd = pEffector(static_cast<float>(current),
                               static_cast<float>(a.target + armCorrection));
        act.MoveJointTo(a.id, static_cast<float>(cmd));
        const char* const* names = traceNames(a.id);
        trace.log(names[0], a.target);
        trace.log(names[1], current);
        trace.log(names[2], cmd);
    }
    for (int id : {Types::ijLaj2, Types::ijRaj2, Types::ijLaj3, Types::ijRaj3})
        act.MoveJointTo(id, static_cast<float>(pEffector(OscillatorGait::jointAngle(id), 0)));
    act.Send();
}

void TFSWalk::followerTurnInPlace()
{
    WorldState& ws = world();
    Actions& act = Singleton<Actions>::getInstance();
    LoggerMatlab& trace = LoggerMatlab::getInstance();
    double armCorrection = armOffsetCorrection();

    predTime = OscillatorGait::timeStep() + (ws.cTime - beginStep2Time);
    trace.log("predTime", predTime);
    trace.log("Time", ws.cTime - beginStep2Time);
    struct Leg {
        int id;
        const double* table;
        int measured;
    };
    const Leg legs[12] = {
        {Types::ijRlj3, rleg2, Types::ijRlj3}, {Types::ijLlj3, lleg2, Types::ijLlj3},
        {Types::ijRlj4, rleg4, Types::ijRlj4}, {Types::ijLlj4, lleg4, Types::ijLlj4},
        {Types::ijRlj5, rleg5, Types::ijRlj5}, {Types::ijLlj5, lleg5, Types::ijLlj5},
        {Types::ijRlj6, rleg6, Types::ijRlj6}, {Types::ijLlj6, lleg6, Types::ijLlj6},
        {Types::ijRlj2, rleg3, Types::ijRlj2}, {Types::ijLlj2, lleg3, Types::ijLlj2},
        {Types::ijRlj1, rleg1, Types::ijLlj1}, {Types::ijLlj1, lleg1, Types::ijLlj1},
    };
    for (const Leg& l : legs)
        drive(l.id, OscillatorGait::curve(l.table, predTime, increaseTurn),
              OscillatorGait::jointAngle(l.measured), traceNames(l.id));
    drive(Types::ijRaj1, OscillatorGait::curve(rarm1, predTime, 0) + armCorrection,
          OscillatorGait::jointAngle(Types::ijRaj1), traceNames(Types::ijRaj1));
    drive(Types::ijLaj1, OscillatorGait::curve(larm1, predTime, 0) + armCorrection,
          OscillatorGait::jointAngle(Types::ijLaj1), traceNames(Types::ijLaj1));
    for (int id : {Types::ijLaj2, Types::ijRaj2, Types::ijLaj3, Types::ijRaj3})
        act.MoveJointTo(id, static_cast<float>(pEffector(OscillatorGait::jointAngle(id), 0)));
    act.Send();
}
