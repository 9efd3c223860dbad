#include "setplay/Point.h"

#include <cmath>
#include <iostream>
#include <sstream>

#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {
typedef std::vector<SetplayParameter*> Params;
typedef std::vector<PlayerReference*> Players;

Decimal* readDecimal(Scan& sc, const Params& params) {
    return sc.nested([&](const std::string& i, std::string& o) { return Decimal::parse(i, o, params); });
}

Point* readPoint(Scan& sc, const Params& params, const Players& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Point::parse(i, o, params, players); });
}

void printOrNull(std::ostream& os, const Point* p) {
    if (p)
        p->print(os);
    else
        os << "(null)";
}

PointSimple* literalPoint(double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); }
}  // namespace

Point* Point::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    NestingGuard guard;
    if (guard.tooDeep()) return nullptr;
    if (Point* p = PointSimple::parse(in, out, params, players)) return p;
    if (Point* p = PointVar::parse(in, out, params, players)) return p;
    if (Point* p = PointBall::parse(in, out, params, players)) return p;
    if (Point* p = PointPlayer::parse(in, out, params, players)) return p;
    if (Point* p = PointRel::parse(in, out, params, players)) return p;
    return PointArith::parse(in, out, params, players);
}

// PointSimple

PointSimple::~PointSimple() {
    dispose(M_x);
    dispose(M_y);
}

void PointSimple::print(std::ostream& os) const {
    os << "(pt :x ";
    M_x->print(os);
    os << " :y ";
    M_y->print(os);
    os << ")";
}

void PointSimple::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Point(";
    M_x->print(os);
    os << ", ";
    M_y->print(os);
    os << ")" << std::endl;
}

std::string PointSimple::instantiationText(const Context& world, bool shortForm) const {
    const std::string x = M_x->instantiationText(world, shortForm);
    const std::string y = M_y->instantiationText(world, shortForm);
    if (shortForm) return x + ";" + y;
    return "(pt :x " + x + " :y " + y + ")";
}

PointSimple* PointSimple::exactCopy() const { return new PointSimple(M_x->exactCopy(), M_y->exactCopy()); }

PointSimple* PointSimple::asPointSimple(const Context&) const { return exactCopy(); }

PointSimple* PointSimple::deepCopy(const Params& params, const Players& players) const {
    Owned<Decimal> x(M_x->deepCopy(params, players));
    Decimal* y = M_y->deepCopy(params, players);
    return new PointSimple(x.release(), y);
}

PointSimple* PointSimple::inversion(const Params& params, const Players& players) const {
    Owned<Decimal> x(M_x->deepCopy(params, players));
    Decimal* y = M_y->inversion(params, players);
    return new PointSimple(x.release(), y);
}

double PointSimple::distance(const PointSimple& other) const {
    return std::hypot(M_x->value() - other.M_x->value(), M_y->value() - other.M_y->value());
}

PointSimple* PointSimple::parse(const std::string& in, std::string& out, const Params& params, const Players&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(pt") || !sc.kw(":x")) return nullptr;
    Owned<Decimal> x(readDecimal(sc, params));
    if (!x || !sc.kw(":y")) return nullptr;
    Owned<Decimal> y(readDecimal(sc, params));
    if (!y || !sc.ch(')')) return nullptr;
    out = sc.rest();
    Decimal* px = x.release();
    return new PointSimple(px, y.release());
}

// PointBall

void PointBall::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Point-Ball" << std::endl;
}

std::string PointBall::instantiationText(const Context& world, bool shortForm) const {
    return world.ballPos()->instantiationText(world, shortForm);
}

PointSimple* PointBall::asPointSimple(const Context& world) const { return world.ballPos()->exactCopy(); }

PointBall* PointBall::parse(const std::string& in, std::string& out, const Params&, const Players&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(pt") || !sc.kw("ball") || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new PointBall();
}

// PointPlayer

PointPlayer::~PointPlayer() { dispose(player); }

void PointPlayer::print(std::ostream& os) const {
    os << "(pt :player ";
    player->print(os);
    os << ")";
}

void PointPlayer::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Point-Player(";
    player->print(os);
    os << ")" << std::endl;
}

namespace {
// The world's place of the player; an unbound role or a player the world does
// not know has none.
const PointSimple* placeOf(const PlayerReference* player, const Context& world) {
    const PlayerID* id = player ? player->value() : nullptr;
    const PointSimple* p = id ? world.playerPos(*id) : nullptr;
    if (!p) throw SetplayException("SP: no position known for a player point");
    return p;
}
}  // namespace

std::string PointPlayer::instantiationText(const Context& world, bool shortForm) const {
    return placeOf(player, world)->instantiationText(world, shortForm);
}

PointSimple* PointPlayer::asPointSimple(const Context& world) const { return placeOf(player, world)->exactCopy(); }

PointPlayer* PointPlayer::deepCopy(const Params& params, const Players& players) const {
    return new PointPlayer(player->deepCopy(params, players));
}

PointPlayer* PointPlayer::inversion(const Params& params, const Players& players) const {
    return deepCopy(params, players);
}

namespace {
const PlayerID* boundPlayer(const PlayerReference* player) {
    const PlayerRole* role = dynamic_cast<const PlayerRole*>(player);
    if (role && !role->instantiated()) throw SetplayException("Accessing not instantiated player in PlayerPos!");
    return player->value();
}
}  // namespace

bool PointPlayer::isOurSide() const { return boundPlayer(player)->team == "our"; }
bool PointPlayer::isTheirSide() const { return boundPlayer(player)->team == "opp"; }
unsigned int PointPlayer::getUNum() const { return boundPlayer(player)->number; }

PointPlayer* PointPlayer::parse(const std::string& in, std::string& out, const Params& params,
                                const Players& players) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(pt") || !sc.kw(":player")) return nullptr;
    Owned<PlayerReference> p(
        sc.nested([&](const std::string& i, std::string& o) { return PlayerReference::parse(i, o, params, players); }));
    if (!p || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new PointPlayer(p.release());
}

// PointRel

PointRel::~PointRel() {
    dispose(m_origin);
    dispose(x_offset);
    dispose(y_offset);
}

void PointRel::print(std::ostream& os) const {
    os << "(ptRel :x ";
    x_offset->print(os);
    os << " :y ";
    y_offset->print(os);
    os << " :pt ";
    if (!m_origin) throw SetplayException("Origin is NULL in PointRel");
    m_origin->print(os);
    os << ")";
}

void PointRel::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Point-Relative(";
    x_offset->print(os);
    os << ", ";
    y_offset->print(os);
    os << " ";
    if (m_origin)
        m_origin->printPretty(os, line_header + " ");
    else
        os << "(null)";
    os << ")" << std::endl;
}

std::string PointRel::instantiationText(const Context& world, bool shortForm) const {
    std::unique_ptr<PointSimple> p(asPointSimple(world));
    return p->instantiationText(world, shortForm);
}

PointSimple* PointRel::asPointSimple(const Context& world) const {
    std::unique_ptr<PointSimple> o(m_origin->asPointSimple(world));
    return literalPoint(x_offset->value() + o->getX()->value(), y_offset->value() + o->getY()->value());
}

PointRel* PointRel::deepCopy(const Params& params, const Players& players) const {
    Owned<Decimal> x(x_offset->deepCopy(params, players));
    Owned<Decimal> y(y_offset->deepCopy(params, players));
    Point* o = m_origin->deepCopy(params, players);
    Decimal* px = x.release();
    return new PointRel(o, px, y.release());
}

PointRel* PointRel::inversion(const Params& params, const Players& players) const {
    Owned<Decimal> x(x_offset->deepCopy(params, players));
    Owned<Decimal> y(y_offset->inversion(params, players));
    Point* o = m_origin->inversion(params, players);
    Decimal* px = x.release();
    return new PointRel(o, px, y.release());
}

PointRel* PointRel::parse(const std::string& in, std::string& out, const Params& params, const Players& players) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(ptRel") || !sc.kw(":x")) return nullptr;
    Owned<Decimal> x(readDecimal(sc, params));
    if (!x || !sc.kw(":y")) return nullptr;
    Owned<Decimal> y(readDecimal(sc, params));
    if (!y || !sc.kw(":pt")) return nullptr;
    Owned<Point> o(readPoint(sc, params, players));
    if (!o || !sc.ch(')')) return nullptr;
    out = sc.rest();
    Decimal* px = x.release();
    Decimal* py = y.release();
    return new PointRel(o.release(), px, py);
}

// PointArith

PointArith::~PointArith() {
    dispose(M_points[0]);
    dispose(M_points[1]);
}

void PointArith::print(std::ostream& os) const {
    os << "(";
    if (M_arith_op)
        os << *M_arith_op;
    else
        os << "(null)";
    os << " ";
    printOrNull(os, M_points[0]);
    os << " ";
    printOrNull(os, M_points[1]);
    os << ")";
}

void PointArith::printPretty(std::ostream& os, const std::string& line_header) const {
    os << line_header << "Point-Arith" << std::endl;
    for (const Point* p : M_points) {
        if (p)
            p->printPretty(os, line_header + " ");
        else
            os << line_header << " (null)" << std::endl;
    }
    if (M_arith_op)
        os << line_header << " operation: " << *M_arith_op << std::endl;
    else
        os << line_header << " (null)" << std::endl;
}

std::string PointArith::instantiationText(const Context& world, bool shortForm) const {
    std::unique_ptr<PointSimple> p(asPointSimple(world));
    return p->instantiationText(world, shortForm);
}

PointSimple* PointArith::asPointSimple(const Context& world) const {
    std::unique_ptr<PointSimple> a(M_points[0]->asPointSimple(world));
    std::unique_ptr<PointSimple> b(M_points[1]->asPointSimple(world));
    return literalPoint(M_arith_op->operate(a->getX()->value(), b->getX()->value()),
                        M_arith_op->operate(a->getY()->value(), b->getY()->value()));
}

PointArith* PointArith::deepCopy(const Params& params, const Players& players) const {
    Owned<Point> a(M_points[0]->deepCopy(params, players));
    Point* b = M_points[1]->deepCopy(params, players);
    return new PointArith(a.release(), b, rcss::util::ArithOp::plus());
}

PointArith* PointArith::inversion(const Params& params, const Players& players) const {
    Owned<Point> a(M_points[0]->inversion(params, players));
    Point* b = M_points[1]->inversion(params, players);
    return new PointArith(a.release(), b, rcss::util::ArithOp::plus());
}

bool PointArith::setPoint(unsigned int i, Point* p) {
    if (i > 1) return false;
    M_points[i] = p;
    return true;
}

bool PointArith::setPoint(Point* p) {
    M_points[M_idx] = p;
    M_idx = 1 - M_idx;
    return true;
}

PointArith* PointArith::parse(const std::string& in, std::string& out, const Params& params,
                              const Players& players) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(+")) return nullptr;
    Owned<Point> a(readPoint(sc, params, players));
    if (!a) return nullptr;
    Owned<Point> b(readPoint(sc, params, players));
    if (!b || !sc.ch(')')) return nullptr;
    out = sc.rest();
    Point* pa = a.release();
    return new PointArith(pa, b.release(), rcss::util::ArithOp::plus());
}

// PointVar

void PointVar::print(std::ostream& os) const {
    os << "(ptVar :name " << name_;
    if (value_) {
        os << " :value ";
        value_->print(os);
    }
    os << ")";
}

void PointVar::printPretty(std::ostream& os, const std::string& line_header) const {
    if (value_) {
        value_->printPretty(os, line_header);
        return;
    }
    os << line_header << "point variable" << std::endl << line_header << name_ << std::endl;
}

std::string PointVar::instantiationText(const Context& world, bool shortForm) const {
    if (!value_) throw SetplayException("Trying to access instantiation text from not instantiated point");
    return value_->instantiationText(world, shortForm);
}

PointSimple* PointVar::asPointSimple(const Context& world) const {
    if (!value_) throw SetplayException("Trying to access position of not instantiated point");
    return value_->asPointSimple(world);
}

Point* PointVar::deepCopy(const Params& params, const Players&) const {
    return listedParameter<PointVar>(params, name_, "Point parameter not found in parameter list:" + name_);
}

Point* PointVar::inversion(const Params& params, const Players& players) const { return deepCopy(params, players); }

void PointVar::uninstantiate() {
    value_ = nullptr;
    m_instantiated = false;
}

PointVar* PointVar::deepCopy() const {
    PointVar* copy = new PointVar(name_);
    if (value_) copy->set(value_->deepCopy(Params(), Players()));
    copy->m_instantiated = false;
    return copy;
}

void PointVar::set(PointSimple* value) {
    owned_.reset(value);
    value_ = value;
    m_instantiated = value != nullptr;
}

PointVar* PointVar::parse(const std::string& in, std::string& out, const Params& params, const Players&) {
    out = in;
    Scan sc(in);
    std::string name;
    if (sc.kw("(ptVar") && sc.kw(":name") && sc.identifier(name) && sc.ch(')')) {
        out = sc.rest();
        return new PointVar(name);
    }
    Scan ref(in);
    if (ref.peek() == '(') return nullptr;
    for (SetplayParameter* p : params) {
        if (!p || p->type() != 'p' || !ref.prefix(p->name(), false)) continue;
        PointVar* v = dynamic_cast<PointVar*>(p);
        if (!v) return nullptr;
        out = ref.rest();
        v->print(std::cout);
        std::cout << std::endl;
        return shared(v);
    }
    return nullptr;
}

}  // namespace setplay
}  // namespace ostrevanda
