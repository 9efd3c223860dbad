#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "setplay/SetplayException.h"
#include "setplay/clang/CompOp.h"
#include "setplay/clang/NullErr.h"
#include "setplay/clang/Vector2D.h"
#include "setplay/simpleParsers.h"

using namespace ostrevanda::setplay;
using rcss::util::ArithOp;
using rcss::util::CompOp;

namespace {

// Characters the rule takes from the start of the text, or -1 when it fails.
int taken(const sp::rule<>& rule, const std::string& text) {
    sp::parse_info<const char*> info = sp::parse(text.data(), text.data() + text.size(), rule);
    return info.hit ? static_cast<int>(info.length) : -1;
}

TEST(SetplayGrammar, LexicalRules) {
    struct Case {
        const sp::rule<>* rule;
        const char* text;
        int length;
    } cases[] = {
        {&identifier_p, "abc_1-x)", 7},
        {&identifier_p, "42", 2},
        {&identifier_p, "-lead", 5},
        {&identifier_p, " abc", -1},
        {&identifier_p, "\xc3\xa9t\xc3\xa9", -1},
        {&textNoParentesis_p, "a.b/c:d~e_f-g)", 13},
        {&comparison_p, "<=5", 2},
        {&comparison_p, "=<", -1},
        {&comparison_p, "> =", 1},
        {&comparison_p, "!=", 2},
        {&comparison_p, "==", 2},
        {&agentID_p, "(agent-identifier :name a1 :addresses (sequence x.y/z w) )", 58},
        {&agentID_p, "(agent-identifier :name a1 :addresses (sequence))", 49},
    };
    for (const Case& c : cases) EXPECT_EQ(c.length, taken(*c.rule, c.text)) << c.text;
}

TEST(SetplayGrammar, ComparisonOperators) {
    struct Case {
        const CompOp& op;
        const char* text;
        const CompOp& swapped;
        const CompOp& inverse;
        bool oneTwo, twoTwo, threeTwo;
    } cases[] = {
        {CompOp::less(), "<", CompOp::greater(), CompOp::greaterEqual(), true, false, false},
        {CompOp::lessEqual(), "<=", CompOp::greaterEqual(), CompOp::greater(), true, true, false},
        {CompOp::equal(), "==", CompOp::equal(), CompOp::notEqual(), false, true, false},
        {CompOp::notEqual(), "!=", CompOp::notEqual(), CompOp::equal(), true, false, true},
        {CompOp::greaterEqual(), ">=", CompOp::lessEqual(), CompOp::less(), false, true, true},
        {CompOp::greater(), ">", CompOp::less(), CompOp::lessEqual(), false, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.text, c.op.getStr());
        EXPECT_EQ(&c.swapped, &c.op.swap()) << c.text;
        EXPECT_EQ(&c.inverse, &c.op.inverse()) << c.text;
        EXPECT_EQ(&c.op, &c.op.inverse().inverse()) << c.text;
        EXPECT_EQ(&c.op, &CompOp::instance(c.op.getComp()));
        EXPECT_EQ(c.oneTwo, c.op.compare(1, 2)) << c.text;
        EXPECT_EQ(c.twoTwo, c.op.compare(2.0, 2)) << c.text;
        EXPECT_EQ(c.threeTwo, c.op.compare(3, 2)) << c.text;
        EXPECT_EQ(c.op.getComp() == CompOp::NE, c.op.compare(std::nan(""), 30)) << c.text;
        // The truth stays the same with the operands and the operator swapped.
        EXPECT_EQ(c.op.compare(1, 2), c.op.swap().compare(2, 1));
    }
}

TEST(SetplayGrammar, ArithmeticOperators) {
    EXPECT_STREQ("+", ArithOp::plus().getStr());
    EXPECT_STREQ("/", ArithOp::div().getStr());
    EXPECT_EQ(&ArithOp::mult(), &ArithOp::instance(ArithOp::MULT));
    EXPECT_DOUBLE_EQ(-1.0, ArithOp::minus().operate(1.0, 2.0));
}

TEST(SetplayGrammar, AngleBetweenDirections) {
    using rcss::geom::Vector2D;
    const double pi = 3.141592653589793;
    EXPECT_DOUBLE_EQ(pi, rcss::geom::angle(Vector2D(1, 0), Vector2D(-1, 0)));
    EXPECT_DOUBLE_EQ(-pi / 2, rcss::geom::angle(Vector2D(1, 0), Vector2D(0, -1)));
    EXPECT_DOUBLE_EQ(pi / 2, rcss::geom::angle(Vector2D(0, -1), Vector2D(1, 0)));
    EXPECT_NEAR(-pi / 2, rcss::geom::angle(Vector2D(-1, 0.001), Vector2D(0.001, 1)), 1e-3);
    const Vector2D d = Vector2D(3, 4) - Vector2D(1, 1);
    EXPECT_DOUBLE_EQ(2, d.M_data[Vector2D::X]);
    EXPECT_DOUBLE_EQ(3, d.M_data[Vector2D::Y]);
}

TEST(SetplayGrammar, Exceptions) {
    const int line = 12;
    rcss::util::NullErr err("cond.cpp", line, "Null condition in CondAnd\n");
    EXPECT_STREQ("cond.cpp: 12: Null condition in CondAnd\n", err.what());
    SetplayException e("Bad team name");
    EXPECT_STREQ("Bad team name", e.what());
}

TEST(SetplayGrammar, ScanNumbersKeepTheirLimits) {
    struct Case {
        const char* text;
        bool isInt, isReal;
        double value;
    } cases[] = {
        {"2147483647", true, true, 2147483647.0},
        {"2147483648", false, true, 2147483648.0},
        {"-7", true, true, -7},
        {".5", false, true, 0.5},
        {"5.", true, true, 5},
        {"1e3", true, true, 1000},
        {"1e", true, false, 0},
        {".", false, false, 0},
        {"1e400", true, false, 0},
        {"nan", false, false, 0},
        {"inf", false, false, 0},
    };
    for (const Case& c : cases) {
        const std::string t(c.text);
        Scan a(t), b(t);
        int i = 0;
        double r = 0;
        EXPECT_EQ(c.isInt, a.integer(i)) << c.text;
        EXPECT_EQ(c.isReal, b.real(r)) << c.text;
        if (c.isReal) {
            EXPECT_DOUBLE_EQ(c.value, r) << c.text;
        }
    }
}

}  // namespace
