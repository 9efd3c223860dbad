#ifndef WORLD_BALLFROMTORSO_H
#define WORLD_BALLFROMTORSO_H

#include "geometry/Matrix4D.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"

// The ball relative to the torso's ground point from one sighting: the ball
// and the torso's frame in the camera's frame, from the body model, and the
// torso's axes in the field frame. x ahead along the torso's heading on the
// field, y as the field frame turns with it (m).
Vector ballFromTorsoSighting(const Vector3f& ball, const Matrix4D& torso, const Vector3f& torsoX,
                             const Vector3f& torsoY, const Vector3f& torsoZ);

#endif
