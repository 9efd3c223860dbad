#ifndef OSTREVANDA_SETPLAY_SETPLAYPARAMETER_H
#define OSTREVANDA_SETPLAY_SETPLAYPARAMETER_H

#include <ostream>
#include <string>
#include <vector>

#include "setplay/SetplayException.h"
#include "setplay/Shareable.h"

namespace ostrevanda {
namespace setplay {

class Context;
class PlayerReference;

// A named value bound when a set play starts, or a literal ("UNNAMED").
class SetplayParameter : public Shareable {
public:
    explicit SetplayParameter(const std::string& name) : m_instantiated(false), name_(name) {}
    virtual ~SetplayParameter() {}

    virtual char type() const = 0;
    virtual std::string instantiationText(const Context& world, bool shortForm) const = 0;
    virtual void print(std::ostream& os) const = 0;
    virtual void uninstantiate() = 0;
    virtual bool instantiated() const { return m_instantiated; }
    virtual SetplayParameter* deepCopy() const = 0;

    std::string name() const { return name_; }

    // One element of a parameter list: an integer, a decimal, or a region or
    // point variable declaration.
    static SetplayParameter* parse(const std::string& in, std::string& out,
                                   const std::vector<SetplayParameter*>& parameters,
                                   const std::vector<PlayerReference*>& players);

protected:
    bool m_instantiated;
    const std::string name_;
};

bool nameBefore(const SetplayParameter* a, const SetplayParameter* b);

class Integer : public SetplayParameter {
public:
    explicit Integer(const std::string& name);
    explicit Integer(int value);

    char type() const override { return 'i'; }
    std::string instantiationText(const Context& world, bool shortForm) const override;
    void print(std::ostream& os) const override;
    void uninstantiate() override { m_instantiated = false; }
    Integer* deepCopy() const override;
    virtual Integer* deepCopy(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const;
    virtual Integer* inversion(const std::vector<SetplayParameter*>& params,
                               const std::vector<PlayerReference*>& players) const;

    void set(int v) {
        _value = v;
        m_instantiated = true;
    }
    const int& value() const { return _value; }

    static Integer* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& parameters);

private:
    int _value;
};

class Decimal : public SetplayParameter {
public:
    explicit Decimal(const std::string& name);
    explicit Decimal(double value);

    char type() const override { return 'd'; }
    std::string instantiationText(const Context& world, bool shortForm) const override;
    void print(std::ostream& os) const override;
    void uninstantiate() override { m_instantiated = false; }
    Decimal* deepCopy() const override;
    virtual Decimal* deepCopy(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const;
    virtual Decimal* inversion(const std::vector<SetplayParameter*>& params,
                               const std::vector<PlayerReference*>& players) const;

    void set(const double& v) {
        _value = v;
        m_instantiated = true;
    }
    const double& value() const { return _value; }
    // A copy with the same name, flag and value.
    Decimal* exactCopy() const;

    static Decimal* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& parameters);

private:
    double _value;
};

// The list's parameter of that name, marked shared; throws the message when it
// is missing or of another kind than T.
template <typename T>
T* listedParameter(const std::vector<SetplayParameter*>& params, const std::string& name,
                   const std::string& missing) {
    for (SetplayParameter* p : params) {
        if (p && p->name() == name) {
            if (T* found = dynamic_cast<T*>(p)) return shared(found);
            break;
        }
    }
    throw SetplayException(missing);
}

}  // namespace setplay
}  // namespace ostrevanda

#endif
