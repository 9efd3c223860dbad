#include "world/LocalizerGeometry.h"

#include <cmath>

#include "geometry/Matrix4D.h"
#include "world/LandMark.h"

namespace locgeom {

Vector3f cart(const LandMark* lm) { return lm->relPosition.toCartesian(); }

Vector3f mirrored(const LandMark* lm)
{
    return Vector3f(lm->position.x, -lm->position.y, lm->position.z);
}

bool isFinite(const Vector3f& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Vector3f flipY(const Vector3f& v) { return Vector3f(v.x, -v.y, v.z); }

namespace {

bool formsLine(const LandMark* a, const LandMark* b, LineKind kind)
{
    const Vector3f& p = a->position;
    const Vector3f& q = b->position;
    if (p.z != q.z)
        return false;
    if (kind == X_LINE)
        return p.y == q.y && p.x != q.x;
    return p.x == q.x && p.y != q.y;
}

bool seen(const LandMark* lm) { return lm != nullptr && lm->seen; }

} // namespace

LandMark* LandmarkLine::reference(LineKind kind) const
{
    if (kind == X_LINE)
        return first->position.x < second->position.x ? first : second;
    return first->position.y > second->position.y ? first : second;
}

Vector3f LandmarkLine::axis(LineKind kind) const
{
    LandMark* from = reference(kind);
    LandMark* to = from == first ? second : first;
    return (cart(to) - cart(from)).normalize();
}

LandmarkLine findLine(LandMark* const landmarks[8], LineKind kind)
{
    LandmarkLine line;
    LandMark* candidate = nullptr;
    int firstIndex = -1;
    for (int i = 0; i < 8 && !line.found(); ++i) {
        if (!seen(landmarks[i]))
            continue;
        for (int j = i + 1; j < 8; ++j) {
            if (seen(landmarks[j]) && formsLine(landmarks[i], landmarks[j], kind)) {
                line.first = landmarks[i];
                line.second = landmarks[j];
                firstIndex = i;
                break;
            }
        }
        if (!line.found())
            candidate = landmarks[i];
    }
    line.third = candidate;
    if (line.found() && candidate == nullptr) {
        for (int k = firstIndex + 1; k < 8; ++k) {
            if (seen(landmarks[k]) && landmarks[k] != line.second) {
                line.third = landmarks[k];
                break;
            }
        }
    }
    return line;
}

bool findSameEndPair(LandMark* const landmarks[8], LandMark*& first, LandMark*& second)
{
    LandMark* earlier[8];
    int count = 0;
    for (int i = 0; i < 8; ++i) {
        if (!seen(landmarks[i]))
            continue;
        for (int k = 0; k < count; ++k) {
            if (earlier[k]->position.x == landmarks[i]->position.x) {
                first = earlier[k];
                second = landmarks[i];
                return true;
            }
        }
        earlier[count++] = landmarks[i];
    }
    return false;
}

void axesFromLineAndPoint(const LandmarkLine& line, LineKind kind, const Vector3f& point,
                          double height, Vector3f& xx, Vector3f& yy, Vector3f& zz)
{
    const LandMark* ref = line.reference(kind);
    const Vector3f axis = line.axis(kind);
    const Vector3f v = point - cart(ref);

    // Upward normal of the plane through the line and the point, for a
    // point on the field side of the line.
    bool swap = kind == X_LINE ? ref->position.y > 0 : ref->position.x > 0;
    Vector3f up = (swap ? v.crossProduct(axis) : axis.crossProduct(v)).normalize();

    // The plane leans by the angle whose sine is the height difference of
    // line and point over their distance.
    double d = point.distToLine(cart(line.first), cart(line.second));
    double s = (static_cast<double>(line.first->position.z) - height) / d;
    double a = (s >= -1 && s <= 1) ? std::asin(s) * 180.0 / M_PI : 85.0;

    if (kind == X_LINE) {
        if (line.first->position.y > 0)
            a = -a;
        xx = axis;
        zz = Matrix4D::rotation(xx, static_cast<float>(a)) * up;
        yy = xx.crossProduct(zz);
    } else {
        if (line.first->position.x < 0)
            a = -a;
        yy = axis;
        zz = Matrix4D::rotation(yy, static_cast<float>(-a)) * up;
        xx = zz.crossProduct(yy);
    }
}

void axesFromTwoLandmarks(const LandMark* ref, const LandMark* other, bool frontEnd,
                          const Vector3f& point, double height, bool simplified, Vector3f& xx,
                          Vector3f& yy, Vector3f& zz, Vector3f* fieldRows)
{
    // The point's height above the reference landmark.
    const double rel = height - ref->position.z;

    const Vector3f f = mirrored(other) - mirrored(ref);  // field side
    const Vector3f g = cart(other) - cart(ref);          // seen from the head
    const Vector3f m = point - cart(ref);

    const double dot = g.innerProduct(m);
    const double r = m.length();
    const double F = f.length();
    const double G = g.length();

    // The point relative to ref: along the landmark line (Y) and across it
    // on the ground (X).
    double X = 0;
    double Y = 0;
    if (simplified) {
        Y = (dot - f.z * rel) / f.y;
        double across = r * r - Y * Y;
        X = across > 0 ? std::sqrt(across) : 0;
    } else {
        Y = (dot - f.z * rel) / (f.y * G / F);
        double r0 = std::sqrt(r * r - rel * rel);
        double across = r0 * r0 - Y * Y;
        if (across > 0) {
            X = std::sqrt(across);
        } else {
            // Height of the triangle ref, other, point over the landmark line.
            double q = (point - cart(other)).length();
            double dz = f.z - rel;
            double q2 = q * q - dz * dz;
            if (q2 >= 0) {
                double q0 = std::sqrt(q2);
                double d0 = std::sqrt(G * G - static_cast<double>(f.z) * f.z);
                double s = (r0 + q0 + d0) / 2;
                double area2 = (s - d0) * (s - r0) * s * (s - q0);
                X = area2 > 0 ? 2 * std::sqrt(area2) / d0 : 0;
            }
        }
    }
    const Vector3f b(static_cast<float>(frontEnd ? -X : X), static_cast<float>(Y),
                     static_cast<float>(rel));

    // The same orthonormal frame built on the field side and on the head
    // side (the latter mirrored in y to match the field frame's handedness).
    const Vector3f a1 = f.normalize();
    const Vector3f a2 = a1.crossProduct(b).normalize();
    const Vector3f a3 = a2.crossProduct(a1);
    if (fieldRows != nullptr) {
        fieldRows[0] = a1;
        fieldRows[1] = a2;
        fieldRows[2] = a3;
    }
    const Vector3f k1 = flipY(g.normalize());
    const Vector3f k2 = k1.crossProduct(flipY(m)).normalize();
    const Vector3f k3 = k2.crossProduct(k1);

    // Field axes in the frame, carried back to the head side.
    const Vector3f e1(a1.x, a2.x, a3.x);
    const Vector3f e2(a1.y, a2.y, a3.y);
    xx = flipY(k1 * e1.x + k2 * e1.y + k3 * e1.z);
    yy = flipY(k1 * e2.x + k2 * e2.y + k3 * e2.z);
    zz = yy.crossProduct(xx);
}

} // namespace locgeom
