#include "world/BallFromTorso.h"

Vector ballFromTorsoSighting(const Vector3f& ball, const Matrix4D& torso, const Vector3f& torsoX,
                             const Vector3f& torsoY, const Vector3f& torsoZ)
{
    // From the torso's centre to the ball, in the torso's axes.
    const Vector3f d = ball - torso.toVector3f();
    const float x = torso.get(0, 0) * d.x + torso.get(1, 0) * d.y + torso.get(2, 0) * d.z;
    const float y = torso.get(0, 1) * d.x + torso.get(1, 1) * d.y + torso.get(2, 1) * d.z;
    const float z = torso.get(0, 2) * d.x + torso.get(1, 2) * d.y + torso.get(2, 2) * d.z;
    const Vector3f onField = torsoX * x + torsoY * y + torsoZ * z;
    return onField.to2d().globalToRelative(Vector(0, 0), Vector(torsoX.x, torsoX.y).getDirection());
}
