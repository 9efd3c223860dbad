#include "geometry/Geometry.h"

#include <algorithm>
#include <cmath>
#include <iostream>

// ----------------------------------------------------------------- Line

Line::Line(float dA, float dB, float dC) : m_a(dA), m_b(dB), m_c(dC) {}

Line::Line(const Vector& pos1, const Vector& pos2) : m_a(0), m_b(0), m_c(0)
{
    setLineFromTwoPoints(pos1, pos2);
}

Line::Line(const Vector& vec, AngleDeg angle) : m_a(0), m_b(0), m_c(0)
{
    setLineFromTwoPoints(vec, vec + Vector(1, angle, POLAR));
}

Line::Line(const Ray& r) : m_a(0), m_b(0), m_c(0)
{
    setLineFromTwoPoints(r.origin, r.origin + r.direction);
}

Line Line::LineFromTwoPoints(const Vector& pt1, const Vector& pt2) { return Line(pt1, pt2); }

Line Line::LineFromRay(const Ray& r) { return Line(r); }

void Line::setLineFromTwoPoints(const Vector& pos1, const Vector& pos2)
{
    float dx = pos2.x - pos1.x;
    if (std::fabs(dx) < 1e-10) {
        m_a = 0;
        m_b = 1;
    } else {
        m_a = 1;
        m_b = -(pos2.y - pos1.y) / dx;
    }
    m_c = -m_a * pos2.y - m_b * pos2.x;
}

float Line::getACoefficient() const { return m_a; }
float Line::getBCoefficient() const { return m_b; }
float Line::getCCoefficient() const { return m_c; }

float Line::getYGivenX(float x) const
{
    if (m_a == 0) {
        std::cerr << "(Line::getYGivenX) Cannot calculate Y coordinate: " << *this << std::endl;
        return 0;
    }
    return -(m_b * x + m_c) / m_a;
}

float Line::getXGivenY(float y) const
{
    if (m_b == 0) {
        std::cerr << "(Line::getXGivenY) Cannot calculate X coordinate\n";
        return 0;
    }
    return -(m_a * y + m_c) / m_b;
}

Vector Line::getIntersection(const Line& line) const
{
    float a1 = m_a, b1 = m_b, c1 = m_c;
    float a2 = line.m_a, b2 = line.m_b, c2 = line.m_c;

    if (a1 / b1 == a2 / b2)
        return Vector(1000000, 1000000);

    float x, y;
    if (a1 == 0) {
        x = -c1 / b1;
        y = line.getYGivenX(x);
    } else if (a2 != 0) {
        x = (c2 * a1 - c1 * a2) / (a2 * b1 - b2 * a1);
        y = getYGivenX(x);
    } else {
        x = -c2 / b2;
        y = getYGivenX(x);
    }
    return Vector(x, y);
}

bool Line::RayIntersection(const Ray& r, Vector* pInt) const
{
    *pInt = getIntersection(Line(r));
    return r.InRightDir(*pInt);
}

int Line::getCircleIntersectionPoints(const Circle& circle, Vector* posSolution1,
                                      Vector* posSolution2) const
{
    float h = circle.getCenter().x;
    float k = circle.getCenter().y;
    float r = circle.getRadius();
    float root1 = 0, root2 = 0;
    int n;

    if (std::fabs(m_a) < 1e-10) {
        float x0 = -m_c / m_b;
        n = Geometry::abcFormula(1, -2 * k, (x0 - h) * (x0 - h) + k * k - r * r, &root1, &root2);
        *posSolution1 = Vector(x0, root1);
        *posSolution2 = Vector(x0, root2);
    } else {
        float da = -m_b / m_a;
        float db = -m_c / m_a;
        n = Geometry::abcFormula(da * da + 1, 2 * (da * db - h - k * da),
                                 h * h + db * db - 2 * k * db + k * k - r * r, &root1, &root2);
        *posSolution1 = Vector(root1, da * root1 + db);
        *posSolution2 = Vector(root2, da * root2 + db);
    }
    return n;
}

Line Line::getTangentLine(const Vector& pos) const
{
    return Line(m_b, -m_a, m_a * pos.x - m_b * pos.y);
}

Line Line::getPerpendicular(const Vector& pos) const { return getTangentLine(pos); }

Vector Line::getPointOnLineClosestTo(const Vector& pos) const
{
    return getIntersection(getPerpendicular(pos));
}

Vector Line::ProjectPoint(const Vector& pt) const { return getPointOnLineClosestTo(pt); }

float Line::getDistanceWithPoint(const Vector& pos) const
{
    return std::fabs(m_b * pos.x + m_a * pos.y + m_c) / std::sqrt(m_a * m_a + m_b * m_b);
}

int Line::getSidePoint(const Vector& pos) const
{
    float v = m_b * pos.x + m_a * pos.y + m_c;
    if (v > 0)
        return 1;
    if (v < 0)
        return -1;
    return 0;
}

bool Line::isInBetween(const Vector& pos, const Vector& point1, const Vector& point2) const
{
    Vector q = getPointOnLineClosestTo(pos);
    float d = point1.getDistanceTo(point2);
    return q.getDistanceTo(point1) <= d && q.getDistanceTo(point2) <= d;
}

void Line::show(std::ostream& os) const
{
    if (m_a != 0) {
        os << "y = ";
        if (m_b != 0)
            os << -m_b / m_a << "x ";
        if (m_c != 0)
            os << (m_c > 0 ? "- " : "+ ") << std::fabs(m_c / m_a);
    } else {
        os << "x = " << -m_c / m_b;
    }
}

std::ostream& operator<<(std::ostream& os, const Line& l)
{
    l.show(os);
    return os;
}

// ----------------------------------------------------------------- Circle

Circle::Circle() : m_posCenter(-1000, -1000), m_dRadius(0) {}

Circle::Circle(const Vector& pos, float dR) : m_dRadius(0) { setCircle(pos, dR); }

bool Circle::setCircle(const Vector& pos, float dR)
{
    setCenter(pos);
    return setRadius(dR);
}

bool Circle::setRadius(float dR)
{
    if (dR > 0) {
        m_dRadius = dR;
        return true;
    }
    m_dRadius = 0;
    return false;
}

bool Circle::setCenter(const Vector& pos)
{
    m_posCenter = pos;
    return true;
}

float Circle::getRadius() const { return m_dRadius; }
Vector Circle::getCenter() const { return m_posCenter; }

float Circle::getCircumference() const { return static_cast<float>(2 * M_PI * m_dRadius); }

float Circle::getArea() const { return static_cast<float>(M_PI * m_dRadius * m_dRadius); }

bool Circle::isInside(const Vector& pos) const
{
    return m_posCenter.getDistanceTo(pos) < m_dRadius;
}

int Circle::getIntersectionPoints(const Circle& c, Vector* p1, Vector* p2) const
{
    float x0 = m_posCenter.x, y0 = m_posCenter.y, r0 = m_dRadius;
    float x1 = c.m_posCenter.x, y1 = c.m_posCenter.y, r1 = c.m_dRadius;

    float dx = x1 - x0;
    float dy = y1 - y0;
    float d = std::sqrt(dx * dx + dy * dy);

    float a = static_cast<float>((d * d + r0 * r0 - r1 * r1) / (2.0 * d));
    float h2 = r0 * r0 - a * a;
    float h = h2 > 0 ? std::sqrt(h2) : 0;

    Vector foot(x0 + a * dx / d, y0 + a * dy / d);
    *p1 = foot + Vector(-h * dy / d, h * dx / d);
    *p2 = foot + Vector(h * dy / d, -h * dx / d);

    if (h2 < 0)
        return 0;
    if (h2 == 0)
        return 1;
    return 2;
}

float Circle::getIntersectionArea(const Circle& c) const
{
    float r1 = m_dRadius, r2 = c.m_dRadius;
    float d = m_posCenter.getDistanceTo(c.m_posCenter);

    if (d > r1 + r2)
        return 0;
    if (std::fabs(r2 - r1) >= d) {
        float rMin = std::min(r1, r2);
        return static_cast<float>(M_PI * rMin * rMin);
    }

    Vector p1, p2;
    if (getIntersectionPoints(c, &p1, &p2) != 2)
        return 0;

    Vector m = (p1 + p2) / 2;
    float s = (p1 - m).length();

    // Each disc contributes the part of it on the other disc's side of the
    // chord: the smaller segment, or the larger one when its own centre lies
    // on that side as well.
    auto segment = [&](const Vector& centre, float r, const Vector& otherCentre) {
        float hc = (m - centre).length();
        float ratio = std::max(-1.0f, std::min(1.0f, s / r));
        double small = static_cast<double>(r) * r * std::asin(ratio) - static_cast<double>(s) * hc;
        bool centreInside = (m - centre).innerProduct(otherCentre - centre) < 0;
        return centreInside ? M_PI * r * r - small : small;
    };
    return static_cast<float>(segment(m_posCenter, r1, c.m_posCenter) +
                              segment(c.m_posCenter, r2, m_posCenter));
}

void Circle::show(std::ostream& os) const
{
    os << "c:" << m_posCenter << ", r:" << m_dRadius;
}

// ----------------------------------------------------------------- Ray

Ray::Ray() : origin(0, 0), direction(1, 0) {}

Ray::Ray(const Vector& orig, const Vector& dir) : origin(orig), direction(dir)
{
    if (std::fabs(dir.x) < 1e-10 && std::fabs(dir.y) < 1e-10)
        direction = Vector(1, 0);
    else
        direction.normalize();
}

Vector Ray::getOrigin() const { return origin; }
Vector Ray::getDir() const { return direction; }

bool Ray::InRightDir(const Vector& pt) const
{
    return std::fabs(GetNormalizeAngleDeg((pt - origin).getDirection() -
                                          direction.getDirection())) < 10;
}

bool Ray::InRightSide(const Vector& pt) const
{
    return GetNormalizeAngleDeg((pt - origin).getDirection() - direction.getDirection()) < 0;
}

Vector Ray::GetClosestPoint(const Vector& pt) const
{
    Vector q = Line(*this).ProjectPoint(pt);
    return InRightDir(q) ? q : origin;
}

float Ray::dist(const Vector& pt) const
{
    Vector closest = GetClosestPoint(pt);
    float d = pt.getDistanceTo(closest);
    std::cout << "closest " << closest << "dist " << d << "\n";
    return d;
}

int Ray::CircleIntersect(float rad, const Vector& center, Vector* psol1, Vector* psol2) const
{
    float ox = origin.x, oy = origin.y;
    float dx = direction.x, dy = direction.y;
    float cx = center.x, cy = center.y;

    float a = dx * dx + dy * dy;
    float b = 2 * ((oy - cy) * dy + (ox - cx) * dx);
    float c = (ox - cx) * (ox - cx) + (oy - cy) * (oy - cy) - rad * rad;

    float disc = b * b - 4 * a * c;
    if (disc < 0)
        return 0;

    float root = std::sqrt(disc);
    float t1 = static_cast<float>((-b + root) / (2.0 * a));
    float t2 = static_cast<float>((-b - root) / (2.0 * a));
    if (t1 > t2)
        std::swap(t1, t2);

    if (t1 > 0) {
        *psol1 = origin + direction * t1;
        *psol2 = origin + direction * t2;
        return 2;
    }
    if (t2 > 0) {
        *psol1 = origin + direction * t2;
        return 1;
    }
    return 0;
}

bool Ray::OnRay(const Vector& pt) const
{
    // Angular offset (degrees) weighted by the distance from the origin:
    // 0 on the forward half-line, 180 * distance behind the origin.
    Vector rel = pt - origin;
    float offset = std::fabs(GetNormalizeAngleDeg(rel.getDirection() - direction.getDirection()));
    return offset * rel.length() < 1e-10;
}

// ----------------------------------------------------------------- Rect

Rect::Rect(const Vector& pos, const Vector& pos2) { setRectanglePoints(pos, pos2); }

void Rect::setRectanglePoints(const Vector& pos1, const Vector& pos2)
{
    m_posLeftTop = Vector(std::max(pos1.x, pos2.x), std::min(pos1.y, pos2.y));
    m_posRightBottom = Vector(std::min(pos1.x, pos2.x), std::max(pos1.y, pos2.y));
}

bool Rect::isInside(const Vector& pos) const
{
    return pos.isBetweenX(m_posRightBottom.x, m_posLeftTop.x) &&
           pos.isBetweenY(m_posLeftTop.y, m_posRightBottom.y);
}

bool Rect::setPosLeftTop(const Vector& pos)
{
    m_posLeftTop = pos;
    return true;
}

bool Rect::setPosRightBottom(const Vector& pos)
{
    m_posRightBottom = pos;
    return true;
}

Vector Rect::getPosLeftTop() const { return m_posLeftTop; }
Vector Rect::getPosRightBottom() const { return m_posRightBottom; }

void Rect::show(std::ostream& os) const
{
    os << "rect(" << m_posLeftTop << " " << m_posRightBottom << ")";
}

// ----------------------------------------------------------------- Geometry

int Geometry::abcFormula(float a, float b, float c, float* s1, float* s2)
{
    float disc = b * b - 4 * a * c;
    if (std::fabs(disc) < 1e-10) {
        *s1 = -b / (2 * a);
        return 1;
    }
    if (disc < 0)
        return 0;
    float root = std::sqrt(disc);
    *s1 = (-b + root) / (2 * a);
    *s2 = (-b - root) / (2 * a);
    return 2;
}

float Geometry::sign(const Vector& p1, const Vector& p2, const Vector& p3)
{
    return (p1.x - p3.x) * (p2.y - p3.y) - (p2.x - p3.x) * (p1.y - p3.y);
}

bool Geometry::PointInTriangle(const Vector& pt, const Vector& v1, const Vector& v2,
                               const Vector& v3)
{
    float d1 = sign(pt, v1, v2);
    float d2 = sign(pt, v2, v3);
    float d3 = sign(pt, v3, v1);
    bool hasNeg = d1 < 0 || d2 < 0 || d3 < 0;
    bool hasPos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(hasNeg && hasPos);
}

float Geometry::cross(const Vector& A, const Vector& B, const Vector& C)
{
    return (B.x - A.x) * (C.y - A.y) - (B.y - A.y) * (C.x - A.x);
}

float Geometry::segmentPointDist(const Vector& endPointA, const Vector& endPointB,
                                 const Vector& point)
{
    const Vector& A = endPointA;
    const Vector& B = endPointB;
    const Vector& P = point;

    float segLength = (B - A).length();
    // A segment of one point: the distance to that point.
    if (segLength < 1e-10)
        return (A - P).length();

    if ((P - B).innerProduct(B - A) > 0)
        return (B - P).length();
    if ((P - A).innerProduct(A - B) > 0)
        return (A - P).length();
    return std::fabs(cross(A, B, P)) / segLength;
}

int Geometry::whatregion(AngleDeg theta)
{
    if (theta >= 0 && theta <= 90)
        return 1;
    if (theta > 90 && theta <= 180)
        return 2;
    if (theta >= -90 && theta < 0)
        return 3;
    if (theta > -180 && theta < -90)
        return 4;
    return 1;
}

Vector Geometry::thetaToSpeed(float maxVx, float minVx, float maxVy, float minVy, AngleDeg Theta)
{
    // Into (-180, 180], so that straight back is region 2 and not region 1.
    AngleDeg theta = GetNormalizeAngleDeg(Theta);
    if (theta == -180)
        theta = 180;
    // The tangent in double: in float, tan of +-90 degrees comes out with the
    // wrong sign.
    float T = static_cast<float>(std::tan(theta * M_PI / 180.0));

    switch (whatregion(theta)) {
    case 1:
        if (T <= maxVy / maxVx)
            return Vector(maxVx, maxVx * T);
        return Vector(maxVy / T, maxVy);
    case 2:
        if (T <= maxVy / minVx)
            return Vector(maxVy / T, maxVy);
        return Vector(minVx, minVx * T);
    case 3:
        if (T <= minVy / maxVx)
            return Vector(minVy / T, minVy);
        return Vector(maxVx, maxVx * T);
    default:
        if (T <= minVy / minVx)
            return Vector(minVx, minVx * T);
        return Vector(minVy / T, minVy);
    }
}

float Geometry::getLengthGeomSeries(float dFirst, float dRatio, float dSum)
{
    if (dRatio < 0)
        std::cerr << "(Geometry:getLengthGeomSeries): negative ratio" << std::endl;
    float t = dSum * (dRatio - 1) / dFirst + 1;
    if (t <= 0)
        return -1;
    return std::log(t) / std::log(dRatio);
}

float Geometry::getSumGeomSeries(float dFirst, float dRatio, float dLength)
{
    return dFirst * (1 - std::pow(dRatio, dLength)) / (1 - dRatio);
}

float Geometry::getSumInfGeomSeries(float dFirst, float dRatio)
{
    if (dRatio > 1)
        std::cerr << "(Geometry:CalcLengthGeomSeries): series does not converge" << std::endl;
    return dFirst / (1 - dRatio);
}

float Geometry::getFirstGeomSeries(float dSum, float dRatio, float dLength)
{
    return dSum * (1 - dRatio) / (1 - std::pow(dRatio, dLength));
}

float Geometry::getFirstInfGeomSeries(float dSum, float dRatio)
{
    if (dRatio > 1)
        std::cerr << "(Geometry:getFirstInfGeomSeries):series does not converge" << std::endl;
    return dSum * (1 - dRatio);
}

// ----------------------------------------------------------------- Regression

Point2D::Point2D(double px, double py) : x(px), y(py) {}
double Point2D::getX() const { return x; }
double Point2D::getY() const { return y; }

// The fit depends only on the sums: a whole set is summed first and fitted once.
LinearRegression::LinearRegression(const double* x, const double* y, long size)
    : n(0), sumX(0), sumY(0), sumXsquared(0), sumYsquared(0), sumXY(0), a(0), b(0),
      coefD(0), coefC(0), stdError(0)
{
    for (long i = 0; i < size; ++i)
        sum(x[i], y[i]);
    Calculate();
}

LinearRegression::LinearRegression(const Point2D* p, long size)
    : n(0), sumX(0), sumY(0), sumXsquared(0), sumYsquared(0), sumXY(0), a(0), b(0),
      coefD(0), coefC(0), stdError(0)
{
    for (long i = 0; i < size; ++i)
        sum(p[i].getX(), p[i].getY());
    Calculate();
}

void LinearRegression::addPoint(const Point2D& p) { addXY(p.getX(), p.getY()); }

void LinearRegression::sum(double x, double y)
{
    ++n;
    sumX += x;
    sumY += y;
    sumXsquared += x * x;
    sumYsquared += y * y;
    sumXY += x * y;
}

void LinearRegression::addXY(double x, double y)
{
    sum(x, y);
    Calculate();
}

bool LinearRegression::haveData() const { return n > 2; }

void LinearRegression::Calculate()
{
    if (!haveData())
        return;
    double dn = static_cast<double>(n);
    double det = dn * sumXsquared - sumX * sumX;
    if (std::fabs(det) > 2.220446049250313e-16) {
        b = (dn * sumXY - sumX * sumY) / det;
        a = (sumY - sumX * b) / dn;
        double sxy = (sumXY - sumX * sumY / dn) * b;
        double syy = sumYsquared - sumY * sumY / dn;
        coefD = sxy / syy;
        coefC = std::sqrt(sxy / syy);
        stdError = std::sqrt((syy - sxy) / (dn - 2));
    } else {
        a = 0;
        b = 0;
        coefD = 0;
        coefC = 0;
        stdError = 0;
    }
}

double LinearRegression::getA() const { return a; }
double LinearRegression::getB() const { return b; }

std::ostream& operator<<(std::ostream& os, const LinearRegression& lr)
{
    if (lr.haveData())
        os << "f(x) = " << lr.a << " + ( " << lr.b << " * x )";
    return os;
}
