#include "world/BallFromTorso.h"

Vector ballFromTorsoSighting(const Vector3f& ball, const Matrix4D& torso, const Vector3f& torsoX,
                             const Vector3f& torsoY, const Vector3f& torsoZ)
{
    // From the torso's centre to the ball, in the torso's axes: the
    // transposed rotation, whose bottom row adds no offset.
    const Vector3f d = torso.transpose() * (ball - torso.toVector3f());
    const Vector3f onField = torsoX * d.x + torsoY * d.y + torsoZ * d.z;
    return onField.to2d().globalToRelative(Vector(0, 0), Vector(torsoX.x, torsoX.y).getDirection());
}
