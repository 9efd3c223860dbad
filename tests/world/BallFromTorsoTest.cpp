#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/Matrix4D.h"
#include "world/BallFromTorso.h"

namespace {

// The inverse of a rigid transform.
Matrix4D inverse(const Matrix4D& m)
{
    Matrix4D r;
    const Vector3f t = m.toVector3f();
    for (unsigned i = 0; i < 3; ++i) {
        for (unsigned j = 0; j < 3; ++j)
            r.set(i, j, m.get(j, i));
        r.set(i, 3, -(m.get(0, i) * t.x + m.get(1, i) * t.y + m.get(2, i) * t.z));
    }
    return r;
}

Vector3f axis(const Matrix4D& m, unsigned j) { return Vector3f(m.get(0, j), m.get(1, j), m.get(2, j)); }

// A body on the field: the torso 0.38 m up, turned, rolled and pitched, the
// camera on the panned and tilted head 0.155 m above it; the ball on the
// ground, given relative to the torso's ground point along its heading, y
// to its left.
struct Body {
    float yaw, roll, pitch, pan, tilt;
    Vector ball;
};

TEST(BallFromTorso, TheSightingIsTakenFromTheCameraToTheTorsoNotToTheCamerasGroundPoint)
{
    const std::vector<Body> bodies = {
        {0, 0, 0, 0, 0, Vector(0.15f, -0.09f)},
        // Walking: pitched forward, rolled onto a foot, the head down.
        {0, 3, 8, 0, 40, Vector(0.15f, -0.09f)},
        {0, -4, 10, 20, 40, Vector(0.2f, 0.05f)},
        {37, 2, 9, -30, 35, Vector(0.12f, -0.12f)},
        {-120, -3, 8, 10, 45, Vector(0.1f, 0)},
    };
    // The agent's field frame is the server's with y mirrored.
    Matrix4D mirror;
    mirror.set(1, 1, -1);
    for (const Body& b : bodies) {
        const Matrix4D torso = Matrix4D::translation(1, 2, 0.38f) * Matrix4D::rotationZ(b.yaw) *
                               Matrix4D::rotationX(b.roll) * Matrix4D::rotationY(b.pitch);
        const Matrix4D camera = torso * Matrix4D::translation(0, 0, 0.09f) * Matrix4D::rotationZ(b.pan) *
                                Matrix4D::rotationY(b.tilt) * Matrix4D::translation(0, 0, 0.065f);
        const Vector3f x = axis(torso, 0);
        const float h = std::atan2(x.y, x.x);
        const Vector3f ball(1 + b.ball.x * std::cos(h) - b.ball.y * std::sin(h),
                            2 + b.ball.x * std::sin(h) + b.ball.y * std::cos(h), 0.042f);

        const Matrix4D fromCamera = inverse(camera);
        const Vector at = ballFromTorsoSighting(fromCamera * ball, fromCamera * torso, mirror * axis(torso, 0),
                                                mirror * axis(torso, 1), mirror * axis(torso, 2));
        // In the mirrored frame y turns to the right.
        EXPECT_NEAR(at.x, b.ball.x, 1e-4) << "roll " << b.roll << " pitch " << b.pitch << " tilt " << b.tilt;
        EXPECT_NEAR(at.y, -b.ball.y, 1e-4) << "roll " << b.roll << " pitch " << b.pitch << " tilt " << b.tilt;
    }
}

} // namespace
