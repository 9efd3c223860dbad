#include "setplay/SetplayParameter.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>

#include "setplay/Point.h"
#include "setplay/Region.h"
#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {
const char* const UNNAMED = "UNNAMED";

// The declaration form "(KEYWORD :name NAME)".
bool readDeclaration(Scan& sc, const char* keyword, std::string& name) {
    return sc.kw(keyword) && sc.kw(":name") && sc.identifier(name) && sc.ch(')');
}

// A bare reference to a parameter of the given kind: the first in list order
// whose name the text starts with.
const SetplayParameter* readReference(Scan& sc, const std::vector<SetplayParameter*>& parameters, char kind) {
    for (const SetplayParameter* p : parameters) {
        if (p && p->type() == kind && sc.prefix(p->name(), true)) return p;
    }
    return nullptr;
}
}  // namespace

bool nameBefore(const SetplayParameter* a, const SetplayParameter* b) { return a->name() < b->name(); }

SetplayParameter* SetplayParameter::parse(const std::string& in, std::string& out,
                                          const std::vector<SetplayParameter*>& parameters,
                                          const std::vector<PlayerReference*>& players) {
    if (Integer* i = Integer::parse(in, out, parameters)) return i;
    if (Decimal* d = Decimal::parse(in, out, parameters)) return d;
    // Only variable declarations are parameters; any other region or point is not.
    if (Region* r = Region::parse(in, out, parameters, players)) {
        if (RegVar* v = dynamic_cast<RegVar*>(r)) return v;
        dispose(r);
    }
    if (Point* p = Point::parse(in, out, parameters, players)) {
        if (PointVar* v = dynamic_cast<PointVar*>(p)) return v;
        dispose(p);
    }
    out = in;
    return nullptr;
}

// Integer

Integer::Integer(const std::string& name) : SetplayParameter(name), _value(0) {}

Integer::Integer(int value) : SetplayParameter(UNNAMED), _value(value) { m_instantiated = true; }

std::string Integer::instantiationText(const Context&, bool) const {
    if (!instantiated()) throw SetplayException("Accessing instantiation text of not instantiated integer");
    return std::to_string(_value);
}

void Integer::print(std::ostream& os) const {
    if (instantiated())
        os << _value;
    else
        os << "(integer :name " << name_ << ")";
}

Integer* Integer::deepCopy() const {
    if (name_ == UNNAMED) return new Integer(_value);
    Integer* copy = new Integer(name_);
    copy->_value = _value;
    return copy;
}

Integer* Integer::deepCopy(const std::vector<SetplayParameter*>& params, const std::vector<PlayerReference*>&) const {
    if (name_ == UNNAMED) return new Integer(_value);
    return listedParameter<Integer>(params, name_, "Integer parameter not found in parameter list!");
}

Integer* Integer::inversion(const std::vector<SetplayParameter*>& params, const std::vector<PlayerReference*>&) const {
    // Negating the smallest int has no int result; it stays as it is.
    if (name_ == UNNAMED) return new Integer(_value == std::numeric_limits<int>::min() ? _value : -_value);
    return listedParameter<Integer>(params, name_, "Integer parameter not found in parameter list!");
}

Integer* Integer::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& parameters) {
    out = in;
    Scan sc(in);
    std::string name;
    if (readDeclaration(sc, "(integer", name)) {
        out = sc.rest();
        return new Integer(name);
    }
    Scan lit(in);
    int v = 0;
    if (lit.integer(v)) {
        out = lit.rest();
        return new Integer(v);
    }
    Scan ref(in);
    if (const SetplayParameter* p = readReference(ref, parameters, 'i')) {
        out = ref.rest();
        return static_cast<const Integer*>(p)->deepCopy();
    }
    return nullptr;
}

// Decimal

Decimal::Decimal(const std::string& name) : SetplayParameter(name), _value(0.0) {}

Decimal::Decimal(double value) : SetplayParameter(UNNAMED), _value(value) { m_instantiated = true; }

std::string Decimal::instantiationText(const Context&, bool shortForm) const {
    if (!instantiated()) throw SetplayException("Accessing instantiation text of not instantiated decimal");
    std::ostringstream os;
    if (shortForm) {
        double r = std::round(_value);  // halves away from zero
        if (r == 0.0) r = 0.0;          // no "-0"
        os << std::fixed << std::setprecision(0) << r;
    } else {
        os << _value;
    }
    return os.str();
}

void Decimal::print(std::ostream& os) const {
    if (instantiated())
        os << _value;
    else
        os << "(decimal :name " << name_ << ")";
}

Decimal* Decimal::deepCopy() const {
    if (name_ == UNNAMED) return new Decimal(_value);
    Decimal* copy = new Decimal(name_);
    copy->_value = _value;
    return copy;
}

Decimal* Decimal::exactCopy() const {
    Decimal* copy = deepCopy();
    copy->m_instantiated = m_instantiated;
    return copy;
}

Decimal* Decimal::deepCopy(const std::vector<SetplayParameter*>& params, const std::vector<PlayerReference*>&) const {
    if (name_ == UNNAMED) return new Decimal(_value);
    return listedParameter<Decimal>(params, name_, "Decimal parameter not found in parameter list!");
}

Decimal* Decimal::inversion(const std::vector<SetplayParameter*>& params, const std::vector<PlayerReference*>&) const {
    if (name_ == UNNAMED) return new Decimal(-_value);
    return listedParameter<Decimal>(params, name_, "Decimal parameter not found in parameter list!");
}

Decimal* Decimal::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& parameters) {
    out = in;
    Scan sc(in);
    std::string name;
    if (readDeclaration(sc, "(decimal", name)) {
        out = sc.rest();
        return new Decimal(name);
    }
    Scan lit(in);
    double v = 0.0;
    if (lit.real(v)) {
        out = lit.rest();
        return new Decimal(v);
    }
    Scan ref(in);
    if (const SetplayParameter* p = readReference(ref, parameters, 'd')) {
        out = ref.rest();
        return static_cast<const Decimal*>(p)->deepCopy();
    }
    return nullptr;
}

}  // namespace setplay
}  // namespace ostrevanda
