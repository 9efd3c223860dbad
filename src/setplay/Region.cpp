#include "setplay/Region.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <sstream>

#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/SetplayException.h"
#include "setplay/clang/Vector2D.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {
typedef std::vector<SetplayParameter*> Params;
typedef std::vector<PlayerReference*> Players;
typedef std::unique_ptr<PointSimple> Pos;

const char* const UNNAMED = "UNNAMED";

Point* readPoint(Scan& sc, const Params& params, const Players& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Point::parse(i, o, params, players); });
}

Decimal* readDecimal(Scan& sc, const Params& params) {
    return sc.nested([&](const std::string& i, std::string& o) { return Decimal::parse(i, o, params); });
}

void printOrNull(std::ostream& os, const Point* p) {
    if (p)
        p->print(os);
    else
        os << "(null)";
}

double xOf(const Pos& p) { return p->getX()->value(); }
double yOf(const Pos& p) { return p->getY()->value(); }

PointSimple* literalPoint(double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); }

// Single precision, with values beyond its range taken as infinite.
float toFloat(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

// Reads "(list" then n points then "))"; all or nothing.
bool readPointList(Scan& sc, const Params& params, const Players& players, Owned<Point>* points, int n) {
    if (!sc.kw(":points") || !sc.kw("(list")) return false;
    for (int i = 0; i < n; ++i) {
        points[i].reset(readPoint(sc, params, players));
        if (!points[i]) return false;
    }
    return sc.ch(')') && sc.ch(')');
}
}  // namespace

Region* Region::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    NestingGuard guard;
    if (guard.tooDeep()) return nullptr;
    if (Region* r = InstantiatedRegion::parse(in, out, params, players)) return r;
    return RegVar::parse(in, out, params, players);
}

Region* InstantiatedRegion::parse(const std::string& in, std::string& out, const Params& params,
                                  const Players& players) {
    if (Region* r = RegPoint::parse(in, out, params, players)) return r;
    if (Region* r = RegNamed::parse(in, out, params, players)) return r;
    if (Region* r = RegArc::parse(in, out, params, players)) return r;
    if (Region* r = RegTri::parse(in, out, params, players)) return r;
    return RegRec::parse(in, out, params, players);
}

// RegPoint

RegPoint::~RegPoint() { dispose(M_point); }

std::string RegPoint::instantiationText(const Context& world, bool shortForm) const {
    return M_point->instantiationText(world, shortForm);
}

bool RegPoint::includesPoint(const Point* p, const Context& world) const {
    if (!p || !M_point) return false;
    Pos a(p->asPointSimple(world));
    Pos b(M_point->asPointSimple(world));
    return xOf(a) == xOf(b) && yOf(a) == yOf(b);
}

void RegPoint::print(std::ostream& os) const { printOrNull(os, M_point); }

void RegPoint::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "region point" << std::endl;
    if (M_point)
        M_point->printPretty(os, line_header);
    else
        os << line_header << " (null)" << std::endl;
}

RegPoint* RegPoint::deepCopy(const Params& params, const Players& players) const {
    return new RegPoint(M_point->deepCopy(params, players));
}

RegPoint* RegPoint::inversion(const Params& params, const Players& players) const {
    return new RegPoint(M_point->inversion(params, players));
}

const PointSimple* RegPoint::getCentralPoint(const Context& world) const { return M_point->asPointSimple(world); }

RegPoint* RegPoint::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    Point* p = Point::parse(in, out, params, players);
    return p ? new RegPoint(p) : nullptr;
}

// RegRec

RegRec::~RegRec() {
    dispose(m_points[0]);
    dispose(m_points[1]);
}

void RegRec::setAllPts(Point* a, Point* b) {
    if (a != m_points[0]) dispose(m_points[0]);
    if (b != m_points[1]) dispose(m_points[1]);
    m_points[0] = a;
    m_points[1] = b;
}

std::string RegRec::instantiationText(const Context& world, bool shortForm) const {
    if (!m_points[0] || !m_points[1])
        throw SetplayException("Trying to access instantiation text from Rec with NULL components!");
    const std::string a = m_points[0]->instantiationText(world, shortForm);
    const std::string b = m_points[1]->instantiationText(world, shortForm);
    if (shortForm) return a + ";" + b;
    return "(rec " + a + " " + b + ")";
}

bool RegRec::includesPoint(const Point* p, const Context& world) const {
    if (!p) return false;
    Pos q(p->asPointSimple(world));
    Pos a(m_points[0]->asPointSimple(world));
    Pos b(m_points[1]->asPointSimple(world));
    const double x = xOf(q), y = yOf(q);
    return std::min(xOf(a), xOf(b)) <= x && x <= std::max(xOf(a), xOf(b)) && std::min(yOf(a), yOf(b)) <= y &&
           y <= std::max(yOf(a), yOf(b));
}

void RegRec::print(std::ostream& os) const {
    os << "(rec :points (list ";
    for (const Point* p : m_points) {
        printOrNull(os, p);
        os << " ";
    }
    os << "))";
}

void RegRec::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Rectangle: ";
    for (const Point* p : m_points) {
        if (p)
            p->printPretty(os, line_header + " ");
        else
            os << "(null)";
        os << " ";
    }
    os << std::endl;
}

RegRec* RegRec::deepCopy(const Params& params, const Players& players) const {
    Owned<Point> a(m_points[0]->deepCopy(params, players));
    Point* b = m_points[1]->deepCopy(params, players);
    return new RegRec(a.release(), b);
}

RegRec* RegRec::inversion(const Params& params, const Players& players) const {
    Owned<Point> a(m_points[0]->inversion(params, players));
    Point* b = m_points[1]->inversion(params, players);
    return new RegRec(a.release(), b);
}

const PointSimple* RegRec::getCentralPoint(const Context& world) const {
    Pos a(m_points[0]->asPointSimple(world));
    Pos b(m_points[1]->asPointSimple(world));
    return literalPoint((xOf(a) + xOf(b)) * 0.5, (yOf(a) + yOf(b)) * 0.5);
}

RegRec* RegRec::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    Scan sc(in);
    Owned<Point> pts[2];
    if (!sc.kw("(rec") || !readPointList(sc, params, players, pts, 2)) return nullptr;
    out = sc.rest();
    Point* a = pts[0].release();
    return new RegRec(a, pts[1].release());
}

// RegTri

RegTri::~RegTri() {
    for (Point* p : m_points) dispose(p);
}

std::string RegTri::instantiationText(const Context& world, bool shortForm) const {
    if (!m_points[0] || !m_points[1] || !m_points[2])
        throw SetplayException("Trying to access instantiation text from Tri with NULL components!");
    const std::string a = m_points[0]->instantiationText(world, shortForm);
    const std::string b = m_points[1]->instantiationText(world, shortForm);
    const std::string c = m_points[2]->instantiationText(world, shortForm);
    if (shortForm) return a + ";" + b + ";" + c;
    return "(triang :points (list " + a + " " + b + " " + c + "))";
}

bool RegTri::includesPoint(const Point* p, const Context& world) const {
    if (!p) return false;
    using rcss::geom::Vector2D;
    Pos q(p->asPointSimple(world));
    Pos pa(m_points[0]->asPointSimple(world));
    Pos pb(m_points[1]->asPointSimple(world));
    Pos pc(m_points[2]->asPointSimple(world));
    const Vector2D P(xOf(q), yOf(q)), A(xOf(pa), yOf(pa)), B(xOf(pb), yOf(pb)), C(xOf(pc), yOf(pc));
    const double a1 = rcss::geom::angle(P - A, B - A);
    const double a2 = rcss::geom::angle(P - B, C - B);
    const double a3 = rcss::geom::angle(P - C, A - C);
    return a1 * a2 >= 0 && a2 * a3 >= 0 && a3 * a1 >= 0;
}

void RegTri::print(std::ostream& os) const {
    os << "(triang :points (list ";
    for (const Point* p : m_points) {
        printOrNull(os, p);
        os << " ";
    }
    os << "))";
}

void RegTri::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header;
    print(os);
}

RegTri* RegTri::deepCopy(const Params& params, const Players& players) const {
    Owned<Point> a(m_points[0]->deepCopy(params, players));
    Owned<Point> b(m_points[1]->deepCopy(params, players));
    Point* c = m_points[2]->deepCopy(params, players);
    Point* pa = a.release();
    return new RegTri(pa, b.release(), c);
}

RegTri* RegTri::inversion(const Params& params, const Players& players) const {
    Owned<Point> a(m_points[0]->inversion(params, players));
    Owned<Point> b(m_points[1]->inversion(params, players));
    Point* c = m_points[2]->inversion(params, players);
    Point* pa = a.release();
    return new RegTri(pa, b.release(), c);
}

const PointSimple* RegTri::getCentralPoint(const Context& world) const {
    Pos a(m_points[0]->asPointSimple(world));
    Pos b(m_points[1]->asPointSimple(world));
    Pos c(m_points[2]->asPointSimple(world));
    return literalPoint((xOf(a) + xOf(b) + xOf(c)) / 3, (yOf(a) + yOf(b) + yOf(c)) / 3);
}

RegTri* RegTri::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    Scan sc(in);
    Owned<Point> pts[3];
    if (!sc.kw("(triang") || !readPointList(sc, params, players, pts, 3)) return nullptr;
    out = sc.rest();
    Point* a = pts[0].release();
    Point* b = pts[1].release();
    return new RegTri(a, b, pts[2].release());
}

// RegArc

RegArc::RegArc(Point* center, Decimal* start_rad, Decimal* end_rad, Decimal* start_ang, Decimal* span_ang)
    : M_start_rad(start_rad), M_end_rad(end_rad), M_start_ang(start_ang), M_span_ang(span_ang), m_center(center) {}

RegArc::RegArc(Point* center, Decimal* start_rad, Decimal* end_rad)
    : RegArc(center, start_rad, end_rad, new Decimal(0.0), new Decimal(360.0)) {}

RegArc::RegArc(Point* center, Decimal* radius) : RegArc(center, new Decimal(0.0), radius) {}

RegArc::~RegArc() {
    dispose(M_start_rad);
    dispose(M_end_rad);
    dispose(M_start_ang);
    dispose(M_span_ang);
    dispose(m_center);
}

bool RegArc::setRad(Decimal* start_rad, Decimal* end_rad) {
    if (end_rad->value() < start_rad->value()) return false;
    if (start_rad != M_start_rad) dispose(M_start_rad);
    if (end_rad != M_end_rad) dispose(M_end_rad);
    M_start_rad = start_rad;
    M_end_rad = end_rad;
    return true;
}

bool RegArc::setAng(Decimal* start_ang, Decimal* span_ang) {
    const double b = start_ang->value(), s = span_ang->value();
    if (!(b >= -180 && b <= 180 && s >= 0 && s <= 360)) return false;
    if (start_ang != M_start_ang) dispose(M_start_ang);
    if (span_ang != M_span_ang) dispose(M_span_ang);
    M_start_ang = start_ang;
    M_span_ang = span_ang;
    return true;
}

std::string RegArc::instantiationText(const Context& world, bool shortForm) const {
    if (!m_center || !M_start_rad || !M_end_rad || !M_start_ang || !M_span_ang)
        throw SetplayException("Trying to access instantiation text from Arc with NULL components!");
    const std::string c = m_center->instantiationText(world, shortForm);
    const std::string r1 = M_start_rad->instantiationText(world, shortForm);
    const std::string r2 = M_end_rad->instantiationText(world, shortForm);
    const std::string a = M_start_ang->instantiationText(world, shortForm);
    const std::string s = M_span_ang->instantiationText(world, shortForm);
    if (shortForm) return c + ";" + r1 + ";" + r2 + ";" + a + ";" + s;
    return "(arc :center " + c + " :radius_small " + r1 + " :radius_large " + r2 + " :angle_begin " + a +
           " :angle_span " + s + ")";
}

bool RegArc::includesPoint(const Point* p, const Context& world) const {
    if (!p) return false;
    Pos q(p->asPointSimple(world));
    Pos c(m_center->asPointSimple(world));
    const double dx = xOf(q) - xOf(c), dy = yOf(q) - yOf(c);
    const double d = std::hypot(dx, dy);
    const double inner = M_start_rad->value(), outer = M_end_rad->value();
    if (!(d >= inner && (d <= outer || outer == -1))) return false;
    const float t = static_cast<float>(std::atan2(dy, dx) * 180.0 / 3.141592653589793);
    const float b = toFloat(M_start_ang->value());
    const float s = toFloat(M_span_ang->value());
    if (b + s <= 180) return b <= t && t <= b + s;
    return (b <= t && t <= 180) || (-180 <= t && t <= b + s - 360);
}

void RegArc::print(std::ostream& os) const {
    os << "(arc :center ";
    printOrNull(os, m_center);
    os << " :radius_small ";
    M_start_rad->print(os);
    os << " :radius_large ";
    M_end_rad->print(os);
    os << " :angle_begin ";
    M_start_ang->print(os);
    os << " :angle_span ";
    M_span_ang->print(os);
    os << ")";
}

void RegArc::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Arc: "
       << "center=";
    if (m_center)
        m_center->printPretty(os, line_header + " ");
    else
        os << "(null)";
    os << "\tradius=";
    M_start_rad->print(os);
    os << " to ";
    M_end_rad->print(os);
    os << "\tangle=";
    M_start_ang->print(os);
    os << " for ";
    M_span_ang->print(os);
    os << std::endl;
}

RegArc* RegArc::deepCopy(const Params& params, const Players& players) const {
    Owned<Decimal> r0(M_start_rad->deepCopy(params, players));
    Owned<Decimal> r1(M_end_rad->deepCopy(params, players));
    Owned<Decimal> a(M_start_ang->deepCopy(params, players));
    Owned<Decimal> s(M_span_ang->deepCopy(params, players));
    Point* c = m_center->deepCopy(params, players);
    Decimal* pr0 = r0.release();
    Decimal* pr1 = r1.release();
    Decimal* pa = a.release();
    return new RegArc(c, pr0, pr1, pa, s.release());
}

RegArc* RegArc::inversion(const Params& params, const Players& players) const {
    Owned<Decimal> r0(M_start_rad->deepCopy(params, players));
    Owned<Decimal> r1(M_end_rad->deepCopy(params, players));
    Owned<Decimal> s(M_span_ang->deepCopy(params, players));
    Owned<Decimal> a;
    if (M_start_ang->name() == UNNAMED) {
        // The mirrored sector runs from -(begin + span) over the same span.
        double begin = std::remainder(-(M_start_ang->value() + M_span_ang->value()), 360.0);
        if (begin == 0.0) begin = 0.0;
        a.reset(new Decimal(begin));
    } else {
        a.reset(M_start_ang->deepCopy(params, players));
    }
    Point* c = m_center->inversion(params, players);
    Decimal* pr0 = r0.release();
    Decimal* pr1 = r1.release();
    Decimal* pa = a.release();
    return new RegArc(c, pr0, pr1, pa, s.release());
}

const PointSimple* RegArc::getCentralPoint(const Context& world) const {
    Pos c(m_center->asPointSimple(world));
    if (M_span_ang->value() == 180 && M_start_rad->value() == 0) return c.release();
    const double r = (M_start_rad->value() + M_end_rad->value()) * 0.5;
    const double a = (M_start_ang->value() + M_span_ang->value() * 0.5) * 3.141592653589793 / 180.0;
    return literalPoint(xOf(c) + r * std::cos(a), yOf(c) + r * std::sin(a));
}

RegArc* RegArc::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(arc") || !sc.kw(":center")) return nullptr;
    Owned<Point> center(readPoint(sc, params, players));
    if (!center) return nullptr;
    // Each optional field, when present, needs its value.
    Owned<Decimal> fields[4];
    const char* const keys[4] = {":radius_small", ":radius_large", ":angle_begin", ":angle_span"};
    for (int i = 0; i < 4; ++i) {
        if (!sc.kw(keys[i])) continue;
        fields[i].reset(readDecimal(sc, params));
        if (!fields[i]) return nullptr;
    }
    if (!sc.ch(')')) return nullptr;
    // Without an outer radius the ring is unbounded outwards.
    const double defaults[4] = {0.0, -1.0, 0.0, 360.0};
    for (int i = 0; i < 4; ++i)
        if (!fields[i]) fields[i].reset(new Decimal(defaults[i]));
    out = sc.rest();
    Decimal* r0 = fields[0].release();
    Decimal* r1 = fields[1].release();
    Decimal* a = fields[2].release();
    Decimal* s = fields[3].release();
    return new RegArc(center.release(), r0, r1, a, s);
}

// RegNamed

const char* const RegNamed::TRANSVERSE_REGION_NAMES[] = {"our_back",    "our_middle",   "our_front",
                                                         "their_front", "their_middle", "their_back"};
const char* const RegNamed::LONGITUDINAL_REGION_NAMES[] = {"far_left",     "mid_left",  "centre_left",
                                                           "centre_right", "mid_right", "far_right"};
const char* const RegNamed::RADIAL_REGION_NAMES[] = {"sl_1", "sl_2", "sl_3", "sl_4", "sl_5", "sl_6",
                                                     "sl_7", "sl_8", "sl_9", "sr_9", "sr_8", "sr_7",
                                                     "sr_6", "sr_5", "sr_4", "sr_3", "sr_2", "sr_1"};

RegNamed::~RegNamed() { release(); }

void RegNamed::release() const {
    if (ownsValue) delete value;
    value = nullptr;
    ownsValue = false;
}

std::string RegNamed::instantiationText(const Context& world, bool shortForm) const {
    if (!value)
        throw SetplayException("Trying to access instantiation text of a named region(" + name +
                               "), but this region has not yet been defined.");
    return value->instantiationText(world, shortForm);
}

bool RegNamed::includesPoint(const Point* p, const Context& world) const {
    if (!value)
        throw SetplayException("Trying to check if a named region(" + name +
                               ") includes a point, but this region has not yet been defined.");
    return value->includesPoint(p, world);
}

void RegNamed::print(std::ostream& os) const {
    os << "(regNamed :name " << name;
    if (value) {
        os << "->value:";
        value->print(os);
    }
    os << ")";
}

void RegNamed::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "region named \"" << name << "\"";
    if (value) {
        os << " with value: ";
        value->print(os);
    }
    os << std::endl;
}

RegNamed* RegNamed::deepCopy(const Params& params, const Players& players) const {
    if (!value) return new RegNamed(name);
    return new RegNamed(name, value->deepCopy(params, players));
}

RegNamed* RegNamed::inversion(const Params& params, const Players& players) const {
    static const char* const keep[] = {"our_back",        "our_middle",        "our_front",        "their_front",
                                       "their_middle",    "their_back",        "our_penalty_box",  "their_penalty_box",
                                       "our_middle_field", "their_middle_field"};
    static const char* const pairs[][2] = {
        {"left", "right"}, {"far_left", "far_right"}, {"mid_left", "mid_right"}, {"centre_left", "centre_right"}};
    if (std::find(std::begin(keep), std::end(keep), name) != std::end(keep)) return deepCopy(params, players);
    std::string mirrored;
    for (const auto& pair : pairs) {
        if (name == pair[0]) mirrored = pair[1];
        if (name == pair[1]) mirrored = pair[0];
    }
    if (mirrored.empty() && name.size() == 4 && name[2] == '_' && name[3] >= '1' && name[3] <= '9') {
        if (name.compare(0, 2, "sl") == 0) mirrored = "sr_" + name.substr(3);
        if (name.compare(0, 2, "sr") == 0) mirrored = "sl_" + name.substr(3);
    }
    if (mirrored.empty()) mirrored = "Inv_" + name;
    if (!value) return new RegNamed(mirrored);
    return new RegNamed(mirrored, value->inversion(params, players));
}

void RegNamed::substituteNamedRegions(const Context& world) const {
    const Region* r = world.nameSubstitutions().getSubstitutionRegion(name);
    if (!r) throw SetplayException("SP: Area name not found in NameSubstitutions:" + name);
    release();
    value = r;
}

const PointSimple* RegNamed::getCentralPoint(const Context& world) const {
    if (!value)
        throw SetplayException("Trying to access central point of a named region(" + name +
                               "), but this region has not yet been defined.");
    return value->getCentralPoint(world);
}

namespace {
std::string regionOf(const PointSimple* p, const Context& world, const char* const names[], unsigned count) {
    const NameSubstitutions& table = world.nameSubstitutions();
    for (unsigned i = 0; i < count; ++i) {
        const Region* r = table.getSubstitutionRegion(names[i]);
        if (r && r->includesPoint(p, world)) return names[i];
    }
    return std::string();
}

unsigned indexIn(const std::string& name, const char* const names[], unsigned count) {
    for (unsigned i = 0; i < count; ++i)
        if (name == names[i]) return i;
    return count;
}

unsigned truncated(double d) { return static_cast<unsigned>(d); }
}  // namespace

std::string RegNamed::getLongitudinalRegion(const PointSimple* p, const Context& world) {
    std::string r = regionOf(p, world, LONGITUDINAL_REGION_NAMES, NUM_LONGITUDINAL_REGIONS);
    if (r.empty()) throw SetplayException("SP: unexpected LongitudinalRegion for point.");
    return r;
}

std::string RegNamed::getTransversalRegion(const PointSimple* p, const Context& world) {
    std::string r = regionOf(p, world, TRANSVERSE_REGION_NAMES, NUM_TRANSVERSE_REGIONS);
    if (r.empty()) throw SetplayException("SP: unexpected TransversalRegion for point,");
    return r;
}

std::string RegNamed::getRadialRegion(const PointSimple* p, const Context& world) {
    std::string r = regionOf(p, world, RADIAL_REGION_NAMES, NUM_RADIAL_REGIONS);
    if (r.empty()) {
        std::ostringstream os;
        os << "SP: no RadialRegion found for point:";
        p->print(os);
        os << ", considering " << NUM_RADIAL_REGIONS << " regions.";
        throw SetplayException(os.str());
    }
    return r;
}

unsigned RegNamed::longitudinalRegionIndex(const std::string& name) {
    return indexIn(name, LONGITUDINAL_REGION_NAMES, NUM_LONGITUDINAL_REGIONS);
}

unsigned RegNamed::transverseRegionIndex(const std::string& name) {
    unsigned i = indexIn(name, TRANSVERSE_REGION_NAMES, NUM_TRANSVERSE_REGIONS);
    if (i == NUM_TRANSVERSE_REGIONS) std::cerr << "SP: CBR unknown transverse region:" << name << std::endl;
    return i;
}

unsigned RegNamed::radialRegionIndex(const std::string& name) {
    unsigned i = indexIn(name, RADIAL_REGION_NAMES, NUM_RADIAL_REGIONS);
    if (i == NUM_RADIAL_REGIONS) std::cerr << "SP: CBR unknown radial region:" << name << std::endl;
    return i;
}

unsigned RegNamed::longitudinalRegionDistance(const std::string& a, const std::string& b) {
    const double d = double(longitudinalRegionIndex(a)) - double(longitudinalRegionIndex(b));
    return truncated(d * d);
}

unsigned RegNamed::transverseRegionDistance(const std::string& a, const std::string& b) {
    const double d = double(transverseRegionIndex(a)) - double(transverseRegionIndex(b));
    return truncated(d * d);
}

unsigned RegNamed::radialRegionDistance(const std::string& a, const std::string& b) {
    const double d = double(radialRegionIndex(a)) - double(radialRegionIndex(b));
    return truncated(std::pow(std::fabs(d), 1.5));
}

RegNamed* RegNamed::parse(const std::string& in, std::string& out, const Params&, const Players&) {
    out = in;
    Scan sc(in);
    std::string name;
    if (!sc.kw("(regNamed") || !sc.kw(":name") || !sc.identifier(name) || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new RegNamed(name);
}

// RegVar

std::string RegVar::instantiationText(const Context& world, bool shortForm) const {
    if (!value_) throw SetplayException("Trying to access instantiation text from not instantiated region");
    return value_->instantiationText(world, shortForm);
}

bool RegVar::includesPoint(const Point* p, const Context& world) const {
    if (!value_) throw SetplayException("Trying to check if non-instantiated region includes a point!");
    return value_->includesPoint(p, world);
}

void RegVar::print(std::ostream& os) const {
    if (value_)
        value_->print(os);
    else
        os << "(regVar :name " << name_ << ")";
}

void RegVar::printPretty(std::ostream& os, const std::string& line_header) const {
    if (value_) {
        value_->printPretty(os, line_header);
        return;
    }
    os << line_header << "region variable" << std::endl << line_header << name_ << std::endl;
}

Region* RegVar::copy(const Params& params, const Players& players, bool mirror) const {
    if (name_ == "subst") {
        RegVar* v = new RegVar(name_);
        if (value_) {
            v->owned_.reset(mirror ? value_->inversion(params, players) : value_->deepCopy(params, players));
            v->value_ = v->owned_.get();
        }
        v->m_instantiated = m_instantiated;
        return v;
    }
    return listedParameter<RegVar>(params, name_, "Region parameter not found in parameter list:" + name_);
}

Region* RegVar::deepCopy(const Params& params, const Players& players) const { return copy(params, players, false); }

Region* RegVar::inversion(const Params& params, const Players& players) const { return copy(params, players, true); }

void RegVar::substituteNamedRegions(const Context& world) const {
    if (value_) value_->substituteNamedRegions(world);
}

const PointSimple* RegVar::getCentralPoint(const Context& world) const {
    if (!value_) throw SetplayException("Trying to access central point of not instantiated RegVar");
    return value_->getCentralPoint(world);
}

void RegVar::uninstantiate() {
    value_ = nullptr;
    m_instantiated = false;
}

RegVar* RegVar::deepCopy() const {
    RegVar* v = new RegVar(name_);
    if (value_) v->set(value_->deepCopy(Params(), Players()));
    v->m_instantiated = false;
    return v;
}

void RegVar::set(Region* value) {
    owned_.reset(value);
    value_ = value;
    m_instantiated = value != nullptr;
}

RegVar* RegVar::parse(const std::string& in, std::string& out, const Params& params, const Players&) {
    out = in;
    Scan sc(in);
    std::string name;
    if (sc.kw("(regVar") && sc.kw(":name") && sc.identifier(name) && sc.ch(')')) {
        out = sc.rest();
        return new RegVar(name);
    }
    Scan ref(in);
    if (ref.peek() == '(') return nullptr;
    for (SetplayParameter* p : params) {
        if (!p || p->type() != 'g' || !ref.prefix(p->name(), true)) continue;
        RegVar* v = dynamic_cast<RegVar*>(p);
        if (!v) return nullptr;
        out = ref.rest();
        return shared(v);
    }
    return nullptr;
}

// NameSubstitutions

const Region* NameSubstitutions::getSubstitutionRegion(const std::string& name) const {
    auto it = regions.find(name);
    return it == regions.end() ? nullptr : it->second;
}

void NameSubstitutions::print(std::ostream& os) const {
    os << "# regions: " << regions.size() << std::endl;
    for (const auto& entry : regions) {
        os << entry.first << " ";
        if (entry.second) entry.second->print(os);
        os << std::endl;
    }
}

NameSubstitutions* NameSubstitutions::deepCopy() const {
    NameSubstitutions* copy = new NameSubstitutions();
    for (const auto& entry : regions) {
        const Region* r = entry.second ? entry.second->deepCopy(Params(), Players()) : nullptr;
        if (r) copy->copies.emplace_back(r);
        copy->addSubstitution(entry.first, r);
    }
    return copy;
}

}  // namespace setplay
}  // namespace ostrevanda
