#ifndef RCSC_FORM_ANGLE_DEG_H
#define RCSC_FORM_ANGLE_DEG_H

namespace rcsc {

// Angle in degrees, kept in [-180, 180].
class AngleDeg {
public:
    static constexpr double EPSILON_ = 1.0e-5;
    static constexpr double DEG2RAD = 0.017453292519943295;
    static constexpr double RAD2DEG = 57.29577951308232;

private:
    double M_degree;

public:
    AngleDeg(const double deg = 0.0)
        : M_degree(deg)
    {
        normalize();
    }

    const AngleDeg& normalize();

    double degree() const { return M_degree; }
    double abs() const { return M_degree < 0.0 ? -M_degree : M_degree; }

    const AngleDeg& operator+=(const double deg);
    const AngleDeg& operator-=(const AngleDeg& angle);

    double cos() const;
    double sin() const;

    bool isLeftOf(const AngleDeg& angle) const;
    bool isLeftEqualOf(const AngleDeg& angle) const;
    bool isWithin(const AngleDeg& left, const AngleDeg& right) const;

    void sinMinMax(const double err, double* minsin, double* maxsin) const;
    void cosMinMax(const double err, double* mincos, double* maxcos) const;

    static double deg2rad(const double deg) { return deg * DEG2RAD; }
    static double rad2deg(const double rad) { return rad * RAD2DEG; }
    static double cos_deg(const double deg);
    static double sin_deg(const double deg);
    static double atan2_deg(const double y, const double x);

    static AngleDeg bisect(const AngleDeg& left, const AngleDeg& right);
};

AngleDeg operator-(const AngleDeg& lhs, const AngleDeg& rhs);

}  // namespace rcsc

#endif
