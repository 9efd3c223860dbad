#include "world/BallEstimator.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/WorldState.h"

BallEstimator::BallEstimator()
    : indRefTime(0), indRefTime3(0), indRefTime4(0), indRefTime5(0), refPos(0, 0, 0),
      refPos3(0, 0, 0), refPos4(0, 0, 0), refPos5(0, 0, 0), refPosAway(0, 0, 0), refTime(0),
      refTime3(0), refTime4(0), refTime5(0), refTimeAway(0), ballExpK(-1.05718994140625f)
{
}

void BallEstimator::update()
{
    const WorldState& ws = Singleton<WorldState>::getInstance();
    refPos = ws.ballUnfilteredPos;
    refTime = ws.cTime;
}

Vector3f BallEstimator::estimatedVel(float /*relTime*/) const { return Vector3f(0, 0, 0); }

Vector3f BallEstimator::estimatedVel4(float /*relTime*/) const { return Vector3f(0, 0, 0); }

Vector3f BallEstimator::estimatedVel5(float /*relTime*/) const { return Vector3f(0, 0, 0); }

Vector3f BallEstimator::estimatedVelAway(float /*relTime*/) const { return Vector3f(0, 0, 0); }

Vector3f BallEstimator::restFrom(const Vector3f& vel) const
{
    return Vector3f(refPos.x - vel.x / ballExpK, refPos.y - vel.y / ballExpK, refPos.z);
}

Vector3f BallEstimator::estimatedFinalPosAway() const { return restFrom(estimatedVelAway(0)); }

Vector3f BallEstimator::estimatedFinalPos4() const { return restFrom(estimatedVel4(0)); }

Vector3f BallEstimator::estimatedFinalPos5() const { return restFrom(estimatedVel5(0)); }

float BallEstimator::estimatedTime(float travelDistance) const
{
    Vector3f v = estimatedVel(0);
    float speed = std::sqrt(v.x * v.x + v.y * v.y);
    if (travelDistance <= 0)
        return 0;
    if (speed <= 0)
        return 100000;
    float a = travelDistance / (speed / ballExpK) + 1;
    if (a < 0)
        return 100000;
    return std::log(a) / ballExpK;
}

float BallEstimator::getRefTime5() const { return refTime5; }

float BallEstimator::getRefTime4() const { return refTime4; }
