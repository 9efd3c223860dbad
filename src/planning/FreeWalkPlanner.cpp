#include "planning/FreeWalkPlanner.h"


namespace {

const float kStepTime = 0.4f;
const float kStepLength = 0.1f;
const float kLateralChange = 0;
const float kMinFeetDistance = 0.11f;
const double kHorizon = 1.1;
const float kSwingHeight = 0.07f;

}  // namespace

FreeWalkPlanner::FreeWalkPlanner(OmniWalkPrevCtrl* pWlk) : FootstepPlanner(pWlk) {}

float FreeWalkPlanner::GetPeriod() {
    return kStepTime;
}

bool FreeWalkPlanner::Finished() {
    return false;
}

void FreeWalkPlanner::Update() {
    while (static_cast<double>(GetTotalDuration(2)) <= kHorizon && footsteps.size() >= 2) {
        const Footstep& last = footsteps.back();
        float stepX = last.position.x + kStepLength;
        float stepY = footsteps[footsteps.size() - 2].position.y + kLateralChange;
        int foot;
        if (last.foot == Footstep::DOUBLE) {
            // The foot that did not make the placement before the pause.
            int before = footsteps[1].foot;
            if (before == Footstep::LEFT) {
                foot = Footstep::RIGHT;
            } else if (before == Footstep::RIGHT) {
                foot = Footstep::LEFT;
            } else {
                return;
            }
        } else if (last.foot == Footstep::RIGHT) {
            foot = Footstep::LEFT;
            if (stepY < last.position.y + kMinFeetDistance) {
                stepY = last.position.y + kMinFeetDistance;
            }
        } else if (last.foot == Footstep::LEFT) {
            foot = Footstep::RIGHT;
            if (stepY > last.position.y - kMinFeetDistance) {
                stepY = last.position.y - kMinFeetDistance;
            }
        } else {
            return;
        }
        Add(Footstep(Vector3f(stepX, stepY, 0), std::make_pair(0.0f, 0.0f), kStepTime, foot));
    }
}

Vector3f FreeWalkPlanner::GetZMP(float t, int initial) {
    int i = GetFootstepPosT(t, initial);
    if (i < 0 || i >= GetNumberOfSteps()) {
        return Vector3f(0, 0, 0);
    }
    return footsteps[i].position;
}

Vector3f FreeWalkPlanner::GetSwingPosition(float t) {
    return swingArc(t, kSwingHeight);
}

Vector3f FreeWalkPlanner::GetLastSwing(float t) {
    if (footsteps.size() < 3) {
        return Vector3f(0, 0, 0);
    }
    Vector3f position = footsteps[1].position;
    float d = footsteps[2].duration;
    if (t >= d / 2 && 0.95f * d - d / 2 > 0) {
        position.z = LinearInterpolation(0, kSwingHeight, t - d / 2, 0.95f * d - d / 2);
    }
    return position;
}

float FreeWalkPlanner::LinearInterpolation(float a, float b, float t, float tTotal) {
    return a + (b - a) * t / tTotal;
}
