#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Point.h"
#include "setplay/Region.h"
#include "setplay/SetplayException.h"
#include "setplay/SetplayParameter.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

const std::vector<PlayerReference*> noPlayers;

TEST(SetplayParameters, IntegerForms) {
    OwnedList<SetplayParameter> params;
    params.items = {new Integer("a"), new Integer("ab"), new Decimal("d")};
    struct Case {
        const char* text;
        bool read;
        const char* printed;  // after reading
        const char* rest;
    } cases[] = {
        {"(integer:name n)x", true, "(integer :name n)", "x"},
        {"  (integer  :name   n  )  x", true, "(integer :name n)", "  x"},
        {"-7 y", true, "-7", " y"},
        {"+7", true, "7", ""},
        {"2147483648", false, "", "2147483648"},
        {"2.5", true, "2", ".5"},
        {"ab", true, "(integer :name a)", "b"},
        {" a  )", true, "(integer :name a)", ")"},
        {"d", false, "", "d"},
        {"(decimal :name n)", false, "", "(decimal :name n)"},
        {"x", false, "", "x"},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<Integer> i(Integer::parse(c.text, out, params.items));
        ASSERT_EQ(c.read, i != nullptr) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
        if (i) {
            EXPECT_EQ(c.printed, text(*i)) << c.text;
        }
    }
    std::string out;
    EXPECT_EQ(nullptr, Integer::parse("a", out, {}));
}

TEST(SetplayParameters, DecimalForms) {
    OwnedList<SetplayParameter> params;
    params.items = {new Integer("i"), new Decimal("d")};
    struct Case {
        const char* text;
        bool read;
        const char* printed;
        const char* rest;
    } cases[] = {
        {"(decimal :name x)", true, "(decimal :name x)", ""},
        {".5)", true, "0.5", ")"},
        {"3.)", true, "3", ")"},
        {"1e3", true, "1000", ""},
        {"-2.25e-1 ", true, "-0.225", " "},
        {".", false, "", "."},
        {"1e", false, "", "1e"},
        {"1e999", false, "", "1e999"},
        // Found by fuzzing: a subnormal number read back as another.
        {"9e-321)", true, "9.00188e-321", ")"},
        {"9.00188e-321", true, "9.00188e-321", ""},
        {"d z", true, "(decimal :name d)", "z"},
        {"i", false, "", "i"},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<Decimal> d(Decimal::parse(c.text, out, params.items));
        ASSERT_EQ(c.read, d != nullptr) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
        if (d) {
            EXPECT_EQ(c.printed, text(*d)) << c.text;
        }
    }
}

TEST(SetplayParameters, ValueTexts) {
    FakeContext ctx;
    struct Case {
        double value;
        const char* shortText;
        const char* longText;
    } cases[] = {
        {2.5, "3", "2.5"}, {-2.5, "-3", "-2.5"}, {2.4, "2", "2.4"}, {-0.4, "0", "-0.4"}, {0.25, "0", "0.25"},
    };
    for (const Case& c : cases) {
        Decimal d(c.value);
        EXPECT_EQ(c.shortText, d.instantiationText(ctx, true)) << c.value;
        EXPECT_EQ(c.longText, d.instantiationText(ctx, false)) << c.value;
    }
    EXPECT_EQ("-4", Integer(-4).instantiationText(ctx, true));
    Integer unbound("n");
    EXPECT_THROW(unbound.instantiationText(ctx, true), SetplayException);
    Decimal unboundD("n");
    EXPECT_THROW(unboundD.instantiationText(ctx, false), SetplayException);
}

TEST(SetplayParameters, BindingAndDetachedCopies) {
    Decimal d("d");
    EXPECT_EQ("(decimal :name d)", text(d));
    double v = 0.25;
    d.set(v);
    EXPECT_EQ("0.25", text(d));
    Integer i("n");
    i.set(4);
    std::unique_ptr<Integer> copy(i.deepCopy());
    EXPECT_FALSE(copy->instantiated());
    EXPECT_EQ(4, copy->value());
    EXPECT_EQ("(integer :name n)", text(*copy));
    i.uninstantiate();
    EXPECT_FALSE(i.instantiated());
    EXPECT_EQ(4, i.value());
    std::unique_ptr<Integer> lit(Integer(5).deepCopy());
    EXPECT_TRUE(lit->instantiated());
    EXPECT_EQ("UNNAMED", lit->name());
}

TEST(SetplayParameters, CopyAndMirrorIntoASetPlay) {
    OwnedList<SetplayParameter> params;
    params.items = {new Decimal("y"), new Integer("n")};
    Decimal literal(3.5), named("y"), missing("q");
    std::unique_ptr<Decimal> mirrored(literal.inversion(params.items, noPlayers));
    EXPECT_EQ(-3.5, mirrored->value());
    std::unique_ptr<Decimal> copied(literal.deepCopy(params.items, noPlayers));
    EXPECT_EQ(3.5, copied->value());
    EXPECT_EQ(params.items[0], named.inversion(params.items, noPlayers));
    EXPECT_EQ(params.items[0], named.deepCopy(params.items, noPlayers));
    Integer n("n"), m("m");
    EXPECT_EQ(params.items[1], n.deepCopy(params.items, noPlayers));
    try {
        m.deepCopy(params.items, noPlayers);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Integer parameter not found in parameter list!", e.what());
    }
    try {
        missing.inversion(params.items, noPlayers);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Decimal parameter not found in parameter list!", e.what());
    }
}

TEST(SetplayParameters, ParameterListElements) {
    struct Case {
        const char* text;
        char type;  // 0: nothing read
        const char* rest;
    } cases[] = {
        {"(integer :name a) x", 'i', " x"},
        {"2.5", 'i', ".5"},
        {"(decimal :name b)", 'd', ""},
        {"(ptVar :name p))", 'p', ")"},
        {"(regVar :name r) )", 'g', " )"},
        // A plain point or region is no parameter.
        {"(pt :x 1 :y 2))", 0, "(pt :x 1 :y 2))"},
        {"(rec :points (list (pt :x 1 :y 2) (pt ball)))", 0, "(rec :points (list (pt :x 1 :y 2) (pt ball)))"},
        {")", 0, ")"},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<SetplayParameter> p(SetplayParameter::parse(c.text, out, {}, noPlayers));
        EXPECT_EQ(c.type, p ? p->type() : 0) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
    }
}

TEST(SetplayParameters, NamesSortByBytes) {
    Integer a("a"), b("B");
    EXPECT_TRUE(nameBefore(&b, &a));
    EXPECT_FALSE(nameBefore(&a, &b));
}

}  // namespace
