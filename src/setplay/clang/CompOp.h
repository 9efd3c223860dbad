#ifndef RCSS_UTIL_COMPOP_H
#define RCSS_UTIL_COMPOP_H

#include <ostream>

namespace rcss {
namespace util {

// Comparison operator; exactly one instance per value exists, so two operators
// are the same when their addresses are equal.
class CompOp {
public:
    enum comp_t { L = 0, LE = 1, E = 2, NE = 3, GE = 4, G = 5 };
    static const char* STRINGS[];

    static const CompOp& instance(const comp_t& comp);
    static const CompOp& less() { return instance(L); }
    static const CompOp& lessEqual() { return instance(LE); }
    static const CompOp& equal() { return instance(E); }
    static const CompOp& notEqual() { return instance(NE); }
    static const CompOp& greaterEqual() { return instance(GE); }
    static const CompOp& greater() { return instance(G); }

    comp_t getComp() const { return M_comp; }
    const char* getStr() const { return STRINGS[M_comp]; }

    template <typename A, typename B>
    bool compare(const A& a, const B& b) const {
        switch (M_comp) {
        case L: return a < b;
        case LE: return a <= b;
        case E: return a == b;
        case NE: return a != b;
        case GE: return a >= b;
        case G: return a > b;
        }
        return false;
    }

    const CompOp& swap() const;
    const CompOp& inverse() const;

    CompOp(const CompOp&) = delete;
    CompOp& operator=(const CompOp&) = delete;

private:
    explicit CompOp(comp_t comp) : M_comp(comp) {}
    comp_t M_comp;
};

std::ostream& operator<<(std::ostream& os, const CompOp& op);

// Arithmetic operator, one instance per value like CompOp.
class ArithOp {
public:
    enum arith_t { PLUS = 0, MINUS = 1, MULT = 2, DIV = 3 };
    static const char* STRINGS[];

    static const ArithOp& instance(const arith_t& arith);
    static const ArithOp& plus() { return instance(PLUS); }
    static const ArithOp& minus() { return instance(MINUS); }
    static const ArithOp& mult() { return instance(MULT); }
    static const ArithOp& div() { return instance(DIV); }

    arith_t getArith() const { return M_arith; }
    const char* getStr() const { return STRINGS[M_arith]; }

    template <typename A, typename B>
    A operate(const A& a, const B& b) const {
        switch (M_arith) {
        case PLUS: return a + b;
        case MINUS: return a - b;
        case MULT: return a * b;
        case DIV: return a / b;
        }
        return a;
    }

    ArithOp(const ArithOp&) = delete;
    ArithOp& operator=(const ArithOp&) = delete;

private:
    explicit ArithOp(arith_t arith) : M_arith(arith) {}
    arith_t M_arith;
};

std::ostream& operator<<(std::ostream& os, const ArithOp& op);

}  // namespace util
}  // namespace rcss

#endif
