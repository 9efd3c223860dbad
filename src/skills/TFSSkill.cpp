#include "skills/TFSSkill.h"

#include "geometry/Vector.h"
#include "math/TFSOscillator.h"
#include "physics/Types.h"
#include "skills/OscillatorGait.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

TFSSkill::TFSSkill()
    : Behavior("SKILL_TFS_WALK"), aRot(0), RM(1), RS(1), RMS(1), RSS(1), RMaArm(1), RSaArm(1),
      RMaRot(1), RSaRot(1), RMaFWRot(1), RSaFWRot(1), RMaHip(1), RSaHip(1), RMbHip(1),
      RSbHip(1), RMaHipY(1), RSaHipY(1), RMaknee(1), RSaknee(1), aArm(0), isReverse(false)
{
}

void TFSSkill::setOSCParamsByHipY(double* par)
{
    OscillatorGait::setParamsByHipY(*this, par);
}

double TFSSkill::predictEffector(int jointName, double angle1, double angle2)
{
    double cmd = OscillatorGait::predict(angle1, angle2);
    if (jointName >= 0 && jointName < 14) {
        lastError[jointName] = cmd;
        lastAngle[jointName] = angle1;
    }
    return cmd;
}

void TFSSkill::fallower()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    Actions& act = Singleton<Actions>::getInstance();
    LoggerMatlab& trace = LoggerMatlab::getInstance();

    predTime = OscillatorGait::timeStep() + (ws.cTime - beginStep2Time);
    TFSOscillator osc(predTime);
    osc.setR(RMaArm, RSaArm, RMaRot, RSaRot, RMaFWRot, RSaFWRot, RMaHip, RSaHip, RMbHip, RSbHip,
             RMaHipY, RSaHipY, RMaknee, RSaknee);
    osc.setRotAmp(aRot);
    double shape[10] = {aK, t1, t2, cK, aArm, aHY, aH, bH, cH, p};
    osc.setOscParameters(shape);
    osc.calcOSC();
    trace.log("predTime", predTime);
    trace.log("Time", ws.cTime - beginStep2Time);

    struct Out {
        int id;
        int slot;
        double normal, swapped;
        const char *target, *measured, *command;
    };
    const Out outs[14] = {
        {Types::ijRlj3, RHIP, osc.masterHipXGEN(), osc.slaveHipXGEN(), "rHipDegX", "rWMHipDegX", "rHipEffX"},
        {Types::ijLlj3, LHIP, osc.slaveHipXGEN(), osc.masterHipXGEN(), "lHipDegX", "lWMHipDegX", "lHipEffX"},
        {Types::ijRlj4, RKNEE, osc.masterKneeGEN(), osc.slaveKneeGEN(), "rKneeDeg", "rWMKneeDeg", "rKneeEff"},
        {Types::ijLlj4, LKNEE, osc.slaveKneeGEN(), osc.masterKneeGEN(), "lKneeDeg", "lWMKneeDeg", "lKneeEff"},
        {Types::ijRlj5, RANKLE, osc.masterAnkleGEN(), osc.slaveAnkleGEN(), "rAnkleDegX", "rWMAnkleDegX", "rAnkleEffX"},
        {Types::ijLlj5, LANKLE, osc.slaveAnkleGEN(), osc.masterAnkleGEN(), "lAnkleDegX", "lWMAnkleDegX", "lAnkleEffX"},
        {Types::ijRlj6, RANKLEY, osc.masterAnkleYGEN(), osc.slaveAnkleYGEN(), "rAnkleDegY", "rWMAnkleDegY", "rAnkleEffY"},
        {Types::ijLlj6, LANKLEY, osc.slaveAnkleYGEN(), osc.masterAnkleYGEN(), "lAnkleDegY", "lWMAnkleDegY", "lAnkleEffY"},
        {Types::ijLlj2, LLEG, osc.slaveHipYGEN(), osc.masterHipYGEN(), "lLegDegY", "lWMLegDegY", "lLegEffY"},
        {Types::ijRlj2, RLEG, osc.masterHipYGEN(), osc.slaveHipYGEN(), "rLegDegY", "rWMLegDegY", "rLegEffY"},
        {Types::ijRaj1, RARM, osc.masterArmGEN(), osc.slaveArmGEN(), "rArmDeg", "rWMArmDeg", "aArmEff"},
        {Types::ijLaj1, LARM, osc.slaveArmGEN(), osc.masterArmGEN(), "lArmDeg", "lWMArmDeg", "lArmEff"},
        {Types::ijRlj1, RROT, osc.masterRotGEN(), osc.slaveRotGEN(), "rRotDeg", "rWMRotDeg", "rRotEff"},
        {Types::ijLlj1, LROT, osc.slaveRotGEN(), osc.masterRotGEN(), "lRotDeg", "lWMRotDeg", "lRotEff"},
    };
    // With the legs swapped the right ankle roll goes right after the right
    // ankle pitch.
    static const int normalOrder[14] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    static const int swappedOrder[14] = {0, 1, 2, 3, 4, 6, 5, 7, 8, 9, 10, 11, 12, 13};
    const int* order = isReverse ? swappedOrder : normalOrder;
    for (int k = 0; k < 14; ++k) {
        const Out& o = outs[order[k]];
        double current = OscillatorGait::jointAngle(o.id);
        if (o.id == Types::ijRaj1 || o.id == Types::ijLaj1)
            current = normalizeAngle(current + 90);
        double target = isReverse ? o.swapped : o.normal;
        double cmd = predictEffector(o.slot, current, target);
        act.MoveJointTo(o.id, static_cast<float>(cmd));
        if (!isReverse) {
            trace.log(o.target, target);
            trace.log(o.measured, current);
            trace.log(o.command, cmd);
        }
    }
    act.Send();
}
