#include "setplay/clang/CompOp.h"

namespace rcss {
namespace util {

const char* CompOp::STRINGS[] = {"<", "<=", "==", "!=", ">=", ">"};

const CompOp& CompOp::instance(const comp_t& comp) {
    static const CompOp ops[] = {CompOp(L), CompOp(LE), CompOp(E), CompOp(NE), CompOp(GE), CompOp(G)};
    return ops[comp];
}

const CompOp& CompOp::swap() const {
    static const comp_t swapped[] = {G, GE, E, NE, LE, L};
    return instance(swapped[M_comp]);
}

const CompOp& CompOp::inverse() const {
    static const comp_t inverted[] = {GE, G, NE, E, L, LE};
    return instance(inverted[M_comp]);
}

std::ostream& operator<<(std::ostream& os, const CompOp& op) { return os << op.getStr(); }

const char* ArithOp::STRINGS[] = {"+", "-", "*", "/"};

const ArithOp& ArithOp::instance(const arith_t& arith) {
    static const ArithOp ops[] = {ArithOp(PLUS), ArithOp(MINUS), ArithOp(MULT), ArithOp(DIV)};
    return ops[arith];
}

std::ostream& operator<<(std::ostream& os, const ArithOp& op) { return os << op.getStr(); }

}  // namespace util
}  // namespace rcss
