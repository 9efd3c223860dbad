#include "world/BallEstimator.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Ages that make a sample the "3", "4" and "5" reference.
const double REF_AGES[3] = {0.15, 0.21, 0.27};
// A player nearer than this to the ball moves the away reference.
const float NEAR_BALL = 0.3f;

} // namespace

BallEstimator::BallEstimator()
    : indRefTime(0), indRefTime3(0), indRefTime4(0), indRefTime5(0), refPos(0, 0, 0),
      refPos3(0, 0, 0), refPos4(0, 0, 0), refPos5(0, 0, 0), refPosAway(0, 0, 0), refTime(0),
      refTime3(0), refTime4(0), refTime5(0), refTimeAway(0), ballExpK(-1.05718994140625f)
{
}

void BallEstimator::update()
{
    const WorldState& ws = Singleton<WorldState>::getInstance();
    if (!ws.ball->seen || ws.me->positionUpdateCycle != ws.cycle)
        return;

    if (ballPosQueue.size() >= HISTORY) {
        ballPosQueue.pop_back();
        ballPosTimeQueue.pop_back();
    }
    ballPosQueue.push_front(ws.ballUnfilteredPos);
    ballPosTimeQueue.push_front(ws.cTime);

    refPos = ws.ballUnfilteredPos;
    refTime = ws.cTime;
    indRefTime = indRefTime3 = indRefTime4 = indRefTime5 = 0;

    int* indices[3] = {&indRefTime3, &indRefTime4, &indRefTime5};
    Vector3f* positions[3] = {&refPos3, &refPos4, &refPos5};
    float* times[3] = {&refTime3, &refTime4, &refTime5};
    for (size_t i = 1; i < ballPosQueue.size(); ++i) {
        float age = refTime - ballPosTimeQueue[i];
        for (int r = 0; r < 3; ++r) {
            if (*indices[r] == 0 && static_cast<double>(age) > REF_AGES[r]) {
                *indices[r] = static_cast<int>(i);
                *positions[r] = ballPosQueue[i];
                *times[r] = ballPosTimeQueue[i];
            }
        }
    }

    if (ws.closeTeamDist < NEAR_BALL || ws.closeOppDist < NEAR_BALL) {
        refPosAway = refPos;
        refTimeAway = refTime;
    }
}

Vector3f BallEstimator::velocityFrom(bool present, const Vector3f& pos, float time,
                                     float relTime) const
{
    if (!present)
        return Vector3f(0, 0, 0);
    float dt = refTime - time;
    float b = std::exp(-ballExpK * dt);
    // The velocity at the newest sample that, decaying, covers the
    // displacement in dt.
    Vector3f u = ((refPos - pos) / dt) * (dt * (-ballExpK / (b - 1)));
    u.z = 0;
    return u * std::exp(ballExpK * relTime);
}

Vector3f BallEstimator::estimatedVel(float relTime) const
{
    return velocityFrom(indRefTime3 != 0, refPos3, refTime3, relTime);
}

Vector3f BallEstimator::estimatedVel4(float relTime) const
{
    return velocityFrom(indRefTime4 != 0, refPos4, refTime4, relTime);
}

Vector3f BallEstimator::estimatedVel5(float relTime) const
{
    return velocityFrom(indRefTime5 != 0, refPos5, refTime5, relTime);
}

Vector3f BallEstimator::estimatedVelAway(float relTime) const
{
    bool present = refTimeAway != 0 && refTimeAway != refTime;
    return velocityFrom(present, refPosAway, refTimeAway, relTime);
}

Vector3f BallEstimator::positionWith(const Vector3f& u, float relTime) const
{
    Vector3f p = refPos + (u / ballExpK) * std::exp(ballExpK * relTime) - u / ballExpK;
    p.z = refPos.z;
    return p;
}

Vector3f BallEstimator::estimatedPos(float relTime) const
{
    return positionWith(estimatedVel(0), relTime);
}

Vector3f BallEstimator::estimatedPos4(float relTime) const
{
    return positionWith(estimatedVel4(0), relTime);
}

Vector3f BallEstimator::estimatedPos5(float relTime) const
{
    return positionWith(estimatedVel5(0), relTime);
}

float BallEstimator::timeWith(const Vector3f& vel, float travelDistance) const
{
    if (!(travelDistance > 0))
        return 0;
    float v = vel.length();
    if (!(v > 0))
        return 100000;
    // The ball covers at most -v / k before it stops.
    float a = travelDistance / (v / ballExpK) + 1;
    if (!(a > 0))
        return 100000;
    float t = std::log(a) / ballExpK;
    return std::isfinite(t) ? t : 100000;
}

float BallEstimator::estimatedTime(float travelDistance) const
{
    return timeWith(estimatedVel(0), travelDistance);
}

float BallEstimator::estimatedTime4(float travelDistance) const
{
    return timeWith(estimatedVel4(0), travelDistance);
}

float BallEstimator::estimatedTime5(float travelDistance) const
{
    return timeWith(estimatedVel5(0), travelDistance);
}

Vector3f BallEstimator::restFrom(const Vector3f& origin, const Vector3f& vel) const
{
    Vector3f p = origin - vel / ballExpK;
    p.z = refPos.z;
    return p;
}

Vector3f BallEstimator::estimatedFinalPos() const { return restFrom(refPos, estimatedVel(0)); }

Vector3f BallEstimator::estimatedFinalPos4() const { return restFrom(refPos, estimatedVel4(0)); }

Vector3f BallEstimator::estimatedFinalPos5() const { return restFrom(refPos, estimatedVel5(0)); }

Vector3f BallEstimator::estimatedFinalPosAway() const
{
    return restFrom(Singleton<WorldState>::getInstance().ball->position, estimatedVelAway(0));
}

float BallEstimator::getRefTime5() const { return refTime5; }

float BallEstimator::getRefTime4() const { return refTime4; }
