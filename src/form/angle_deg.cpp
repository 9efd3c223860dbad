#include "form/angle_deg.h"

#include <algorithm>
#include <cmath>

namespace rcsc {

const AngleDeg& AngleDeg::normalize()
{
    if (M_degree < -360.0 || 360.0 < M_degree) {
        M_degree = std::fmod(M_degree, 360.0);
    }
    if (M_degree < -180.0) {
        M_degree += 360.0;
    }
    if (M_degree > 180.0) {
        M_degree -= 360.0;
    }
    return *this;
}

const AngleDeg& AngleDeg::operator+=(const double deg)
{
    M_degree += deg;
    return normalize();
}

const AngleDeg& AngleDeg::operator-=(const AngleDeg& angle)
{
    M_degree -= angle.degree();
    return normalize();
}

AngleDeg operator-(const AngleDeg& lhs, const AngleDeg& rhs)
{
    AngleDeg result(lhs);
    result -= rhs;
    return result;
}

double AngleDeg::cos() const { return std::cos(M_degree * DEG2RAD); }
double AngleDeg::sin() const { return std::sin(M_degree * DEG2RAD); }

double AngleDeg::cos_deg(const double deg) { return std::cos(deg2rad(deg)); }
double AngleDeg::sin_deg(const double deg) { return std::sin(deg2rad(deg)); }

double AngleDeg::atan2_deg(const double y, const double x)
{
    if (x == 0.0 && y == 0.0) {
        return 0.0;
    }
    return rad2deg(std::atan2(y, x));
}

bool AngleDeg::isLeftOf(const AngleDeg& angle) const
{
    const double diff = angle.degree() - M_degree;
    return (0.0 < diff && diff < 180.0) || diff < -180.0;
}

bool AngleDeg::isLeftEqualOf(const AngleDeg& angle) const
{
    const double diff = angle.degree() - M_degree;
    return (0.0 <= diff && diff < 180.0) || diff < -180.0;
}

bool AngleDeg::isWithin(const AngleDeg& left, const AngleDeg& right) const
{
    if (left.isLeftEqualOf(right)) {
        return left.isLeftEqualOf(*this) && isLeftEqualOf(right);
    }
    return isLeftEqualOf(right) || left.isLeftEqualOf(*this);
}

void AngleDeg::sinMinMax(const double err, double* minsin, double* maxsin) const
{
    if (err < 0.0 || 180.0 < err) {
        *minsin = -1.0;
        *maxsin = 1.0;
        return;
    }
    const double lo = M_degree - err;
    const double hi = M_degree + err;
    double mn = std::min(sin_deg(lo), sin_deg(hi));
    double mx = std::max(sin_deg(lo), sin_deg(hi));
    if ((lo < -90.0 && -90.0 < hi) || (lo < 270.0 && 270.0 < hi)) {
        mn = -1.0;
    }
    if ((lo < 90.0 && 90.0 < hi) || (lo < -270.0 && -270.0 < hi)) {
        mx = 1.0;
    }
    *minsin = mn;
    *maxsin = mx;
}

void AngleDeg::cosMinMax(const double err, double* mincos, double* maxcos) const
{
    if (err < 0.0 || 180.0 < err) {
        *mincos = -1.0;
        *maxcos = 1.0;
        return;
    }
    const double lo = M_degree - err;
    const double hi = M_degree + err;
    double mn = std::min(cos_deg(lo), cos_deg(hi));
    double mx = std::max(cos_deg(lo), cos_deg(hi));
    if ((lo < -180.0 && -180.0 < hi) || (lo < 180.0 && 180.0 < hi)) {
        mn = -1.0;
    }
    if (lo < 0.0 && 0.0 < hi) {
        mx = 1.0;
    }
    *mincos = mn;
    *maxcos = mx;
}

AngleDeg AngleDeg::bisect(const AngleDeg& left, const AngleDeg& right)
{
    AngleDeg result(left);
    const AngleDeg rel = right - left;
    result += rel.degree() * 0.5;
    if (!left.isLeftOf(right)) {
        result += 180.0;
    }
    return result;
}

}  // namespace rcsc
