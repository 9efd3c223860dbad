#ifndef TESTS_WORLD_SYNTHETICVIEW_H
#define TESTS_WORLD_SYNTHETICVIEW_H

#include <cmath>
#include <cstdio>
#include <string>

// Server messages for a camera standing upright at a chosen pose, without
// noise. Poses and points are in the team frame of the server (x towards the
// goal we attack, y to the left, headings from x towards y, degrees).
namespace synthetic {

struct Pose {
    double x;
    double y;
    double z;
    double heading;
};

struct Point {
    double x;
    double y;
    double z;
};

inline double deg(double rad) { return rad * 180.0 / M_PI; }

// "(pol D H V)" of a point, or "" when it lies outside the 120-degree cone.
inline std::string polar(const Pose& cam, const Point& q)
{
    double dx = q.x - cam.x;
    double dy = q.y - cam.y;
    double dz = q.z - cam.z;
    double h = std::atan2(dy, dx) - cam.heading * M_PI / 180.0;
    while (h > M_PI)
        h -= 2 * M_PI;
    while (h <= -M_PI)
        h += 2 * M_PI;
    double planar = std::sqrt(dx * dx + dy * dy);
    double v = std::atan2(dz, planar);
    if (std::fabs(deg(h)) > 60 || std::fabs(deg(v)) > 60)
        return "";
    char text[96];
    std::snprintf(text, sizeof text, "(pol %.4f %.4f %.4f)", std::sqrt(planar * planar + dz * dz),
                  deg(h), deg(v));
    return text;
}

// Landmarks in the team frame of the given side.
inline std::string landmarks(const Pose& cam, bool left)
{
    struct Named {
        const char* name;
        Point global;
    };
    static const Named MARKS[] = {
        {"G1L", {-15, 1.05, 0.8}}, {"G2L", {-15, -1.05, 0.8}}, {"G2R", {15, -1.05, 0.8}},
        {"G1R", {15, 1.05, 0.8}},  {"F1L", {-15, 10, 0}},      {"F2L", {-15, -10, 0}},
        {"F1R", {15, 10, 0}},      {"F2R", {15, -10, 0}},
    };
    std::string out;
    for (const Named& m : MARKS) {
        Point q = m.global;
        if (!left) {
            q.x = -q.x;
            q.y = -q.y;
        }
        std::string pol = polar(cam, q);
        if (!pol.empty())
            out += std::string(" (") + m.name + " " + pol + ")";
    }
    return out;
}

// One message with time, game state, the head joints at 0 and a vision
// perceptor holding the landmarks and, when given, the ball.
inline std::string message(double clock, const Pose& cam, bool left, const Point* ball,
                           const std::string& extraGameState = "")
{
    char head[160];
    std::snprintf(head, sizeof head, "(time (now %.2f))(GS%s (t 0.00) (pm BeforeKickOff))",
                  clock, extraGameState.c_str());
    std::string see = "(See" + landmarks(cam, left);
    if (ball != nullptr) {
        std::string pol = polar(cam, *ball);
        if (!pol.empty())
            see += " (B " + pol + ")";
    }
    see += ")";
    return std::string(head) + "(HJ (n hj1) (ax 0.00))(HJ (n hj2) (ax 0.00))" + see;
}

} // namespace synthetic

#endif
