#include "world/Vision.h"

#include <algorithm>
#include <cmath>

#include "physics/AgentModel.h"
#include "physics/BodyObject.h"
#include "physics/JointControl.h"
#include "skills/AgentActions.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

const float FIELD_OF_VIEW = 59;
const int PAN_JOINT = 0, TILT_JOINT = 1;
const float MIN_TILT = -40, MAX_TILT = 45;

// -1 when a < b, 1 when a > b or either is not a number, 0 when equal.
int compare_floats(float a, float b)
{
    if (a < b)
        return -1;
    if (a > b || std::isnan(a) || std::isnan(b))
        return 1;
    return 0;
}

float jointAngle(AgentModel* mod, int id)
{
    Joint* j = mod->getJoint(id);
    return j ? j->getAngle() : 0;
}

} // namespace

Vision::Vision() : ws(&Singleton<WorldState>::getInstance()), mod(&Singleton<AgentModel>::getInstance()) {}

float Vision::searchPan(float t) { return 120 * std::sin(5 * t); }

float Vision::searchTilt(float t) { return 45 * std::sin(1.23 * t); }

float Vision::centringTilt(float v, float tilt)
{
    float t = GetNormalizeAngleDeg(v + tilt);
    if (!std::isfinite(t))
        return 0;
    return std::max(MIN_TILT, std::min(MAX_TILT, t));
}

float Vision::viewUtility(bool ballInView, float ballPan, const float* marks, int count)
{
    if (ballInView) {
        float w = count >= 2 ? std::max(std::fabs(ballPan), marks[1]) : 6000;
        return w < 60 ? 60 - w : (60 - std::fabs(ballPan)) / 150;
    }
    float v = count >= 3 ? marks[2] : 6000;
    return v < 60 ? (60 - v) / 30 : 0;
}

bool Vision::decideLookingDirection2()
{
    if (Singleton<AgentActions>::getInstance().isGettingUpTurning())
        return false;
    float panNow = jointAngle(mod, PAN_JOINT), tiltNow = jointAngle(mod, TILT_JOINT);
    if (ws->cycle != ws->me->positionUpdateCycle) {
        bool lookingWhereTold = ws->cTime == ws->lastVisionCTime &&
                                std::fabs(GetNormalizeAngleDeg(ws->decidedTiltAngle - tiltNow)) < 2 &&
                                std::fabs(GetNormalizeAngleDeg(ws->decidedPanAngle - panNow)) < 2;
        if (static_cast<double>(ws->me->conf) < 0.1 || static_cast<double>(ws->ball->conf) < 0.7 ||
            lookingWhereTold) {
            ws->decidedPanAngle = searchPan(ws->cTime);
            ws->decidedTiltAngle = searchTilt(ws->cTime);
        }
        return true;
    }
    float tilt = centringTilt(ws->ball->relPosition.toPolar().z, tiltNow);
    float bestUtil = -1, bestPan = 0;
    for (int pan = -120; pan <= 120; pan += 20) {
        const Matrix4D view = ws->panTiltTransform(static_cast<float>(pan), tilt);
        float marks[8];
        int count = 0;
        for (LandMark* l : ws->landmarks) {
            if (!l)
                continue;
            Vector3f p = (view * (l->position - ws->me->position)).toPolar();
            if (std::fabs(p.z) < FIELD_OF_VIEW && std::fabs(p.y) < FIELD_OF_VIEW)
                marks[count++] = std::fabs(p.y);
        }
        // At most eight: insertion sort.
        for (int i = 1; i < count; ++i)
            for (int k = i; k > 0 && compare_floats(marks[k], marks[k - 1]) < 0; --k)
                std::swap(marks[k], marks[k - 1]);
        float ballPan = (view * (ws->ball->position - ws->me->position)).toPolar().y;
        float util = viewUtility(std::fabs(ballPan) < FIELD_OF_VIEW, ballPan, marks, count);
        if (util > bestUtil) {
            bestUtil = util;
            bestPan = pan;
        }
    }
    ws->decidedPanAngle = bestPan;
    ws->decidedTiltAngle = tilt;
    return true;
}

void Vision::commitPanTilt()
{
    JointControl& jc = Singleton<JointControl>::getInstance();
    float pan = std::isfinite(ws->decidedPanAngle) ? ws->decidedPanAngle : 0;
    float tilt = std::isfinite(ws->decidedTiltAngle) ? ws->decidedTiltAngle : 0;
    jc.setJointTarget(PAN_JOINT, pan, -1, -1, -1);
    jc.setJointTarget(TILT_JOINT, tilt, -1, -1, -1);
    jc.commitHead();
}
