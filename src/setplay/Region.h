#ifndef OSTREVANDA_SETPLAY_REGION_H
#define OSTREVANDA_SETPLAY_REGION_H

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/Point.h"
#include "setplay/SetplayParameter.h"

namespace ostrevanda {
namespace setplay {

class Context;
class PlayerReference;

// An area of the field.
class Region {
public:
    virtual ~Region() {}
    virtual std::string instantiationText(const Context& world, bool shortForm) const = 0;
    virtual bool includesPoint(const Point* p, const Context& world) const = 0;
    virtual void print(std::ostream& os) const = 0;
    virtual void printPretty(std::ostream& os, const std::string& line_header) const = 0;
    virtual Region* deepCopy(const std::vector<SetplayParameter*>& params,
                             const std::vector<PlayerReference*>& players) const = 0;
    virtual Region* inversion(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const = 0;
    virtual void substituteNamedRegions(const Context& world) const = 0;
    // A new point owned by the caller.
    virtual const PointSimple* getCentralPoint(const Context& world) const = 0;

    static Region* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);
};

class InstantiatedRegion : public Region {
public:
    void substituteNamedRegions(const Context&) const override {}
    static Region* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);
};

class RegPoint : public InstantiatedRegion {
public:
    explicit RegPoint(const Point* p) : M_point(p) {}
    ~RegPoint() override;
    RegPoint(const RegPoint&) = delete;
    RegPoint& operator=(const RegPoint&) = delete;

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    RegPoint* deepCopy(const std::vector<SetplayParameter*>& params,
                       const std::vector<PlayerReference*>& players) const override;
    RegPoint* inversion(const std::vector<SetplayParameter*>& params,
                        const std::vector<PlayerReference*>& players) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;
    const Point* getPoint() const { return M_point; }

    static RegPoint* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players);

private:
    const Point* M_point;
};

class RegRec : public InstantiatedRegion {
public:
    RegRec(Point* a, Point* b) : m_points{a, b} {}
    ~RegRec() override;
    RegRec(const RegRec&) = delete;
    RegRec& operator=(const RegRec&) = delete;

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    RegRec* deepCopy(const std::vector<SetplayParameter*>& params,
                     const std::vector<PlayerReference*>& players) const override;
    RegRec* inversion(const std::vector<SetplayParameter*>& params,
                      const std::vector<PlayerReference*>& players) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;

    // Replaces both corners, taking them over.
    void setAllPts(Point* a, Point* b);
    const Point* getPt(unsigned int i) const { return i > 1 ? nullptr : m_points[i]; }

    static RegRec* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);

private:
    Point* m_points[2];
};

class RegTri : public InstantiatedRegion {
public:
    RegTri(Point* a, Point* b, Point* c) : m_points{a, b, c} {}
    ~RegTri() override;
    RegTri(const RegTri&) = delete;
    RegTri& operator=(const RegTri&) = delete;

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    RegTri* deepCopy(const std::vector<SetplayParameter*>& params,
                     const std::vector<PlayerReference*>& players) const override;
    RegTri* inversion(const std::vector<SetplayParameter*>& params,
                      const std::vector<PlayerReference*>& players) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;

    static RegTri* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);

private:
    Point* m_points[3];
};

class RegArc : public InstantiatedRegion {
public:
    RegArc(Point* center, Decimal* start_rad, Decimal* end_rad, Decimal* start_ang, Decimal* span_ang);
    RegArc(Point* center, Decimal* start_rad, Decimal* end_rad);
    RegArc(Point* center, Decimal* radius);
    ~RegArc() override;
    RegArc(const RegArc&) = delete;
    RegArc& operator=(const RegArc&) = delete;

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    RegArc* deepCopy(const std::vector<SetplayParameter*>& params,
                     const std::vector<PlayerReference*>& players) const override;
    RegArc* inversion(const std::vector<SetplayParameter*>& params,
                      const std::vector<PlayerReference*>& players) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;

    bool setRad(Decimal* start_rad, Decimal* end_rad);
    bool setAng(Decimal* start_ang, Decimal* span_ang);
    const Decimal* getStartRad() const { return M_start_rad; }
    const Decimal* getEndRad() const { return M_end_rad; }
    const Decimal* getStartAng() const { return M_start_ang; }
    const Decimal* getSpanAng() const { return M_span_ang; }

    static RegArc* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);

private:
    Decimal* M_start_rad;
    Decimal* M_end_rad;
    Decimal* M_start_ang;
    Decimal* M_span_ang;
    Point* m_center;
};

class RegNamed : public InstantiatedRegion {
public:
    explicit RegNamed(const std::string& name_) : name(name_), value(nullptr), ownsValue(false) {}
    ~RegNamed() override;
    RegNamed(const RegNamed&) = delete;
    RegNamed& operator=(const RegNamed&) = delete;

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    RegNamed* deepCopy(const std::vector<SetplayParameter*>& params,
                       const std::vector<PlayerReference*>& players) const override;
    RegNamed* inversion(const std::vector<SetplayParameter*>& params,
                        const std::vector<PlayerReference*>& players) const override;
    void substituteNamedRegions(const Context& world) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;

    const std::string& getName() const { return name; }
    const Region* getValue() const { return value; }

    static const char* const TRANSVERSE_REGION_NAMES[];
    static const unsigned NUM_TRANSVERSE_REGIONS = 6;
    static const char* const LONGITUDINAL_REGION_NAMES[];
    static const unsigned NUM_LONGITUDINAL_REGIONS = 6;
    static const char* const RADIAL_REGION_NAMES[];
    static const unsigned NUM_RADIAL_REGIONS = 18;

    static std::string getLongitudinalRegion(const PointSimple* p, const Context& world);
    static std::string getTransversalRegion(const PointSimple* p, const Context& world);
    static std::string getRadialRegion(const PointSimple* p, const Context& world);
    static unsigned longitudinalRegionIndex(const std::string& name);
    static unsigned transverseRegionIndex(const std::string& name);
    static unsigned radialRegionIndex(const std::string& name);
    static unsigned longitudinalRegionDistance(const std::string& a, const std::string& b);
    static unsigned transverseRegionDistance(const std::string& a, const std::string& b);
    static unsigned radialRegionDistance(const std::string& a, const std::string& b);

    static RegNamed* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players);

private:
    RegNamed(const std::string& name_, const Region* copiedValue) : name(name_), value(copiedValue), ownsValue(true) {}
    void release() const;

    std::string name;
    // The host's region once substituted, or a copy that this region owns.
    mutable const Region* value;
    mutable bool ownsValue;
};

class RegVar : public Region, public SetplayParameter {
public:
    explicit RegVar(const std::string& name) : SetplayParameter(name), value_(nullptr) {}

    std::string instantiationText(const Context& world, bool shortForm) const override;
    bool includesPoint(const Point* p, const Context& world) const override;
    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    Region* deepCopy(const std::vector<SetplayParameter*>& params,
                     const std::vector<PlayerReference*>& players) const override;
    Region* inversion(const std::vector<SetplayParameter*>& params,
                      const std::vector<PlayerReference*>& players) const override;
    void substituteNamedRegions(const Context& world) const override;
    const PointSimple* getCentralPoint(const Context& world) const override;
    char type() const override { return 'g'; }
    void uninstantiate() override;
    RegVar* deepCopy() const override;

    // Binds the variable; it keeps the region.
    void set(Region* value);
    const Region* value() const { return value_; }

    static RegVar* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);

private:
    Region* copy(const std::vector<SetplayParameter*>& params, const std::vector<PlayerReference*>& players,
                 bool mirror) const;

    Region* value_;
    std::unique_ptr<Region> owned_;
};

// The host's named regions.
class NameSubstitutions {
public:
    NameSubstitutions() {}
    NameSubstitutions(const NameSubstitutions&) = delete;
    NameSubstitutions& operator=(const NameSubstitutions&) = delete;

    void addSubstitution(std::string name, const Region* region) { regions[name] = region; }
    const Region* getSubstitutionRegion(const std::string& name) const;
    void print(std::ostream& os) const;
    NameSubstitutions* deepCopy() const;

private:
    std::map<const std::string, const Region*> regions;
    std::vector<std::unique_ptr<const Region>> copies;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
