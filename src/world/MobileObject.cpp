#include "world/MobileObject.h"

#include <algorithm>
#include <cmath>

#include "geometry/Geometry.h"
#include "utils/Logger.h"
#include "utils/Singleton.h"

namespace {

// A least-squares line over inputs that do not spread is undetermined.
bool spreads(const double* v, int n)
{
    double lo = v[0], hi = v[0];
    for (int i = 1; i < n; ++i) {
        lo = std::min(lo, v[i]);
        hi = std::max(hi, v[i]);
    }
    return hi - lo >= 1e-10;
}

// Points on the fitted lines y = a1 + b1 * x and x = a2 + b2 * y, averaged.
// An undetermined line contributes q itself.
Vector3f projection(const Vector3f& q, bool line1, float a1, float b1, bool line2, float a2,
                    float b2)
{
    float y1 = line1 ? a1 + b1 * q.x : q.y;
    float x2 = line2 ? a2 + b2 * q.y : q.x;
    return Vector3f((q.x + x2) / 2, (y1 + q.y) / 2, 0);
}

} // namespace

MobileObject::MobileObject()
    : speed(0, 0, 0), conf(0), positionUpdateCycle(0), prevRelPosition(0, 0, 0),
      velXY(0, 0, 0), velocity(0), errQuad(0)
{
    Singleton<Logger>::getInstance().LogDrawText(0, 0, 0, "confidence reseted!!!", "Red");
}

void MobileObject::updatePrevPosition(Vector3f p)
{
    rememberPosition(p);
    calcVelocityWithMinQuad();
}

void MobileObject::rememberPosition(Vector3f p)
{
    if (prevPosition.size() >= PREV_POSITIONS)
        prevPosition.pop_back();
    prevPosition.push_front(p);
}

Vector3f MobileObject::minQuad(double* x, double* y, int n)
{
    errQuad = 0;
    if (n <= 0)
        return Vector3f(0, 0, 0);

    // Means taken about the first point, so that equal inputs give their
    // value back exactly.
    float x0 = static_cast<float>(x[0]);
    float y0 = static_cast<float>(y[0]);
    float sx = 0, sy = 0;
    for (int i = 0; i < n; ++i) {
        sx += static_cast<float>(x[i]) - x0;
        sy += static_cast<float>(y[i]) - y0;
    }
    float mx = x0 + sx / n;
    float my = y0 + sy / n;

    float sden = 0, snum = 0;
    for (int i = 0; i < n; ++i) {
        float xi = static_cast<float>(x[i]);
        float yi = static_cast<float>(y[i]);
        sden += (xi - mx) * xi;
        snum += (yi - my) * xi;
    }

    float a = 0, b = 0;
    if (sden != 0) {
        b = snum / sden;
        a = my - b * mx;
    }

    float err = 0;
    for (int i = 0; i < n; ++i) {
        float r = static_cast<float>(y[i]) - a - b * static_cast<float>(x[i]);
        err += r * r;
    }
    errQuad = err;
    return Vector3f(a, b, 0);
}

void MobileObject::calcVelocityWithMinQuad()
{
    const int points = static_cast<int>(PREV_POSITIONS);
    size_t s = filtered.size();
    if (s < PREV_POSITIONS) {
        filtered.push_back(position);
        return;
    }

    // The 24 newest track points, newest first, then the current position.
    double X[PREV_POSITIONS];
    double Y[PREV_POSITIONS];
    auto newest = filtered.end();
    for (int i = 0; i < points - 1; ++i) {
        --newest;
        X[i] = newest->x;
        Y[i] = newest->y;
    }
    X[points - 1] = position.x;
    Y[points - 1] = position.y;

    Vector3f line1 = minQuad(X, Y, points);
    Vector3f line2 = minQuad(Y, X, points);
    float a1 = line1.x, b1 = line1.y;
    float a2 = line2.x, b2 = line2.y;

    float px = position.x, py = position.y;
    Vector3f p1(px, a1 + b1 * px, 0);
    Vector3f p2(a2 + b2 * py, py, 0);
    float divisor = b1 + b2;
    // The slopes cancel for an object standing still or moving along an
    // axis: the weighted point is undefined, keep the current position.
    if (std::fabs(divisor) < 1e-10f)
        filtered.push_back(Vector3f(px, py, 0));
    else
        filtered.push_back(Vector3f((b1 * p2.x + b2 * p1.x) / divisor,
                                    (b1 * p2.y + b2 * p1.y) / divisor, 0));

    if (filtered.size() >= TRACK_LENGTH) {
        LinearRegression reg1(X, Y, points);
        LinearRegression reg2(Y, X, points);
        float ra1 = static_cast<float>(reg1.getA()), rb1 = static_cast<float>(reg1.getB());
        float ra2 = static_cast<float>(reg2.getA()), rb2 = static_cast<float>(reg2.getB());

        bool line1 = spreads(X, points);
        bool line2 = spreads(Y, points);
        Vector3f A = projection(filtered[TRACK_LENGTH - 26], line1, ra1, rb1, line2, ra2, rb2);
        Vector3f B = projection(filtered[TRACK_LENGTH - 1], line1, ra1, rb1, line2, ra2, rb2);
        velXY = Vector3f((B.x - A.x) / 0.5f, (B.y - A.y) / 0.5f, 0);
        velocity = std::sqrt(velXY.x * velXY.x + velXY.y * velXY.y);
        filtered.pop_front();
    }
}

float MobileObject::getVelocity() const { return velocity; }

Vector3f MobileObject::getVelXY() const { return velXY; }

Vector3f MobileObject::estimedPos(float t) const
{
    return Vector3f(velXY.x * t + position.x, velXY.y * t + position.y, 0);
}
