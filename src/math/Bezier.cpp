#include "math/Bezier.h"

Bezier::Bezier() : duration(0) {}

Bezier::Bezier(const Vector3f& a, const Vector3f& b, float d)
    : p0(a), p1(b), type("Linear"), duration(d)
{
}

Bezier::Bezier(const Vector3f& a, const Vector3f& b, const Vector3f& c, float d)
    : p0(a), p1(b), p2(c), type("Quadratic"), duration(d)
{
}

Bezier::Bezier(const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& e,
               float d)
    : p0(a), p1(b), p2(c), p3(e), type("Cubic"), duration(d)
{
}

void Bezier::setLinear(const Vector3f& a, const Vector3f& b, float d)
{
    p0 = a;
    p1 = b;
    duration = d;
    type = "Linear";
}

void Bezier::setQuadratic(const Vector3f& a, const Vector3f& b, const Vector3f& c, float d)
{
    p0 = a;
    p1 = b;
    p2 = c;
    duration = d;
    type = "Quadratic";
}

void Bezier::setCubic(const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& e,
                      float d)
{
    p0 = a;
    p1 = b;
    p2 = c;
    p3 = e;
    duration = d;
    type = "Cubic";
}

void Bezier::setDuration(float d) { duration = d; }
float Bezier::getDuration() const { return duration; }
std::string Bezier::getType() const { return type; }

float Bezier::curveParameter(float t) const
{
    float s = t / duration;
    if (s > 1)
        s = 1;
    if (s < 0)
        s = 0;
    return s;
}

Vector3f Bezier::getLinearPosition(float t) const
{
    float s = curveParameter(t);
    return p0 * (1 - s) + p1 * s;
}

Vector3f Bezier::getQuadraticPosition(float t) const
{
    float s = curveParameter(t);
    float u = 1 - s;
    return p0 * (u * u) + p1 * (2 * u * s) + p2 * (s * s);
}

Vector3f Bezier::getCubicPosition(float t) const
{
    float s = curveParameter(t);
    float u = 1 - s;
    return p0 * (u * u * u) + p1 * (3 * u * u * s) + p2 * (3 * u * s * s) + p3 * (s * s * s);
}
