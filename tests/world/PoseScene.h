#ifndef TESTS_WORLD_POSESCENE_H
#define TESTS_WORLD_POSESCENE_H

// Synthetic perceptions of the server's landmarks and ball from a known
// camera pose, fed through the world state's setters.

#include <cmath>
#include <string>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace scene {

constexpr double PI = 3.14159265358979323846;

struct V3 {
    double x, y, z;
};

struct M3 {
    double a[3][3];
    M3 operator*(const M3& o) const
    {
        M3 r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k)
                    r.a[i][j] += a[i][k] * o.a[k][j];
        return r;
    }
    V3 operator*(const V3& v) const
    {
        return {a[0][0] * v.x + a[0][1] * v.y + a[0][2] * v.z,
                a[1][0] * v.x + a[1][1] * v.y + a[1][2] * v.z,
                a[2][0] * v.x + a[2][1] * v.y + a[2][2] * v.z};
    }
    M3 transposed() const
    {
        M3 r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.a[i][j] = a[j][i];
        return r;
    }
};

inline double rad(double deg) { return deg * PI / 180; }
inline double deg(double r) { return r * 180 / PI; }

// Right-handed rotations about x, y, z by degrees.
inline M3 rotX(double d)
{
    double c = std::cos(rad(d)), s = std::sin(rad(d));
    return M3{{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
inline M3 rotY(double d)
{
    double c = std::cos(rad(d)), s = std::sin(rad(d));
    return M3{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
inline M3 rotZ(double d)
{
    double c = std::cos(rad(d)), s = std::sin(rad(d));
    return M3{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

// Difference of two angles in degrees, in (-180, 180].
inline double angleDiff(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180)
        d -= 360;
    if (d <= -180)
        d += 360;
    return d;
}

// The server's landmarks in its global frame.
struct Mark {
    const char* name;
    double x, y, z;
    bool goal;
};
const Mark MARKS[8] = {
    {"F1L", -15, 10, 0, false},      {"F2L", -15, -10, 0, false},    {"F1R", 15, 10, 0, false},
    {"F2R", 15, -10, 0, false},      {"G1L", -15, 1.05, 0.8, true},  {"G2L", -15, -1.05, 0.8, true},
    {"G1R", 15, 1.05, 0.8, true},    {"G2R", 15, -1.05, 0.8, true},
};

// A camera pose in the agent's field frame (x to the opponent's goal, y the
// mirrored team y): position, torso heading, head pan and tilt, and the
// torso's lean forward and to its right, all degrees.
struct Pose {
    double x, y, z;
    double heading;
    double pan, tilt;
    double leanFront, leanSide;
};

class Scene {
public:
    Scene(int side, const Pose& p) : side_(side), pose_(p)
    {
        // The team frame is right-handed and the field frame its mirror in
        // y, so headings turn the other way in it.
        torso_ = rotZ(-p.heading) * rotY(p.leanFront) * rotX(p.leanSide);
        camera_ = torso_ * rotZ(p.pan) * rotY(-p.tilt);
        cam_ = {p.x, -p.y, p.z};
    }

    // A landmark's reading, as the server computes it (no noise).
    void see(WorldState& ws, const std::string& name) const
    {
        for (const Mark& m : MARKS) {
            if (name != m.name)
                continue;
            V3 polar = polarOf(teamOf({m.x, m.y, m.z}));
            if (m.goal)
                ws.setGoalRelativePosition(name, polar.x, polar.y, polar.z);
            else
                ws.setFlagRelativePosition(name, polar.x, polar.y, polar.z);
        }
    }

    // The ball at a point of the field frame.
    void seeBall(WorldState& ws, double fx, double fy, double fz = 0.042) const
    {
        V3 polar = polarOf({fx, -fy, fz});
        ws.setBallRelativePosition(polar.x, polar.y, polar.z);
    }

    // Puts the head joints of the body model at the pose's angles.
    void setHead() const
    {
        AgentModel& body = Singleton<AgentModel>::getInstance();
        body.setHingeJointAngle(Types::ijHj1, static_cast<float>(pose_.pan));
        body.setHingeJointAngle(Types::ijHj2, static_cast<float>(pose_.tilt));
    }

    // The true camera-to-field map: rows are the field axes in the camera.
    M3 headToField() const
    {
        M3 m = camera_;
        for (int j = 0; j < 3; ++j)
            m.a[1][j] = -m.a[1][j];
        return m;
    }
    // Heading of the camera's forward axis on the field.
    double headDir() const
    {
        V3 f = camera_ * V3{1, 0, 0};
        return deg(std::atan2(-f.y, f.x));
    }
    const Pose& pose() const { return pose_; }

private:
    int side_;
    Pose pose_;
    M3 torso_;
    M3 camera_;
    V3 cam_;

    V3 teamOf(const V3& global) const
    {
        return side_ == 1 ? global : V3{-global.x, -global.y, global.z};
    }
    V3 polarOf(const V3& team) const
    {
        V3 v = camera_.transposed() * V3{team.x - cam_.x, team.y - cam_.y, team.z - cam_.z};
        double d = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        return {d, deg(std::atan2(v.y, v.x)), deg(std::atan2(v.z, std::hypot(v.x, v.y)))};
    }
};

} // namespace scene

#endif
