#ifndef MATH_BEZIER_H
#define MATH_BEZIER_H

#include <string>

#include "geometry/Vector3f.h"

// Linear, quadratic or cubic Bezier curve of Vector3f run over a duration.
// The position operations take a time, divide it by the duration and clamp
// the result to [0, 1]; each evaluates the degree its name says.
class Bezier {
public:
    Vector3f p0;
    Vector3f p1;
    Vector3f p2;
    Vector3f p3;
    std::string type;
    float duration;

    Bezier();
    Bezier(const Vector3f& p0, const Vector3f& p1, float duration);
    Bezier(const Vector3f& p0, const Vector3f& p1, const Vector3f& p2, float duration);
    Bezier(const Vector3f& p0, const Vector3f& p1, const Vector3f& p2, const Vector3f& p3,
           float duration);

    void setLinear(const Vector3f& p0, const Vector3f& p1, float duration);
    void setQuadratic(const Vector3f& p0, const Vector3f& p1, const Vector3f& p2, float duration);
    void setCubic(const Vector3f& p0, const Vector3f& p1, const Vector3f& p2, const Vector3f& p3,
                  float duration);

    void setDuration(float duration);
    float getDuration() const;
    std::string getType() const;

    Vector3f getLinearPosition(float t) const;
    Vector3f getQuadraticPosition(float t) const;
    Vector3f getCubicPosition(float t) const;

private:
    float curveParameter(float t) const;
};

#endif
