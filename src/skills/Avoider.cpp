#include "skills/Avoider.h"

#include <iostream>
#include <map>

#include "utils/Singleton.h"
#include "world/WorldState.h"

float Avoider::radius_of_player = 0.6f;
float Avoider::radius_of_ball = 0.4f;
float Avoider::factor = 1.4f;
float Avoider::my_radius = 0.4f;

namespace {

// The unit vector of v, or (0, 0, 0) for a zero vector.
Vector3f unit(const Vector3f& v)
{
    float len = v.length();
    return len > 0 ? v / len : Vector3f(0, 0, 0);
}

bool isZero(const Vector3f& v) { return v.x == 0 && v.y == 0 && v.z == 0; }

} // namespace

Vector3f Avoider::correctIfCollides(Vector3f target, Vector3f goal, unsigned int check)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    target = ws.absoluteToRelativeCoordinates(target);
    if (isZero(goal))
        goal = Vector3f(ws.theirGoalPos.x, ws.theirGoalPos.y, 0);
    float d = target.length();

    auto firstOnTheWay = [&](std::map<int, Player*>::const_iterator it,
                             std::map<int, Player*>::const_iterator end, bool mates,
                             Vector3f& result) {
        for (; it != end; ++it) {
            if (!it->second || (mates && (it->first == 0 || it->second == ws.me)))
                continue;
            Vector3f o = it->second->relPosition;
            if (isZero(o))
                continue;
            if (o.length() < d && collides(target, o, radius_of_player)) {
                result = correct(target, o, radius_of_player);
                return true;
            }
        }
        return false;
    };
    Vector3f moved;
    if ((check & iTeammates) && firstOnTheWay(ws.beginPlayers(), ws.endPlayers(), true, moved))
        return moved;
    if ((check & iOpponents) &&
        firstOnTheWay(ws.beginOpponents(), ws.endOpponents(), false, moved))
        return moved;

    // An unseen ball (relative position zero) is no obstacle.
    Vector3f b = ws.ball->relPosition;
    if ((check & iBall) && !isZero(b) && b.length() < d && collides(target, b, radius_of_ball)) {
        if (unit(goal).innerProduct(unit(b)) > -0.1f)
            return correct(target, b, radius_of_player);
        return target;
    }
    return target;
}

bool Avoider::collides(Vector3f target, Vector3f obstacle, float radius)
{
    if (target.dist(obstacle) < 0.1f)
        return false;
    Vector3f p = unit(target) * obstacle.length();
    return radius > p.dist(obstacle);
}

Vector3f Avoider::correct(Vector3f target, Vector3f obstacle, float radius)
{
    Vector3f n = unit(obstacle.crossProduct(Vector3f(0, 0, 1)));
    float s = factor * radius + my_radius;
    Vector3f t = n * s;
    Vector3f result = target.innerProduct(n) > 0 ? obstacle + t : obstacle - t;
    std::cerr << "D4, " << __FILE__ << "(" << __LINE__ << "): correcting from: " << target
              << " to " << result << " " << n << " " << obstacle << " " << radius << " "
              << my_radius << " " << factor << " o " << obstacle << " t: " << t << std::endl;
    return result;
}
