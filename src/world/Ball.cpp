#include "world/Ball.h"

#include <cmath>

#include "geometry/Geometry.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

Vector3f pushAndMean(std::queue<Vector3f>& window, const Vector3f& sample)
{
    window.pop();
    window.push(sample);
    Vector3f sum(0, 0, 0);
    std::queue<Vector3f> copy = window;
    while (!copy.empty()) {
        sum += copy.front();
        copy.pop();
    }
    return sum / static_cast<float>(window.size());
}

} // namespace

Ball::Ball()
    : filteredPos(0, 0, 0), filteredVel(0, 0, 0), filteredAcc(0, 0, 0), finalPos(0, 0, 0)
{
    for (unsigned i = 0; i < WINDOW; ++i) {
        filteredPosVec.push(Vector3f(0, 0, 0));
        filteredVelVec.push(Vector3f(0, 0, 0));
        filteredAccVec.push(Vector3f(0, 0, 0));
    }
}

void Ball::setPosition(Vector3f absPos)
{
    // Samples are taken as 0.2 s apart.
    const float dt = 0.2f;
    position = absPos;

    Vector3f prevPos = filteredPosVec.back();
    filteredPos = pushAndMean(filteredPosVec, absPos);

    Vector3f v = (absPos - prevPos) / dt;
    Vector3f prevVel = filteredVelVec.back();
    filteredVel = pushAndMean(filteredVelVec, v);

    Vector3f a = (v - prevVel) / dt;
    filteredAcc = pushAndMean(filteredAccVec, a);
}

bool Ball::isInOurGoalDirection() const
{
    const Vector& goal = Singleton<WorldState>::getInstance().myGoalPos;
    Line path(filteredPosVec.back().to2d(), filteredPosVec.front().to2d());
    Line goalLine(Vector(goal.x, goal.y + 1.05f), Vector(goal.x, goal.y - 1.05f));
    Vector cross = path.getIntersection(goalLine);
    return std::fabs(cross.y) < 1.25f;
}
