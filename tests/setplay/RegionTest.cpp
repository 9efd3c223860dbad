#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Region.h"
#include "setplay/SetplayException.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

Region* read(const std::string& textIn, std::string* rest = nullptr,
             const std::vector<SetplayParameter*>& params = {}) {
    std::string out;
    Region* r = Region::parse(textIn, out, params, {});
    if (rest) *rest = out;
    return r;
}

TEST(SetplayRegions, Forms) {
    OwnedList<SetplayParameter> params;
    params.items = {new RegVar("g"), new Decimal("d")};
    struct Case {
        const char* text;
        const char* printed;  // empty: no region
        const char* rest;
    } cases[] = {
        {"(pt :x 1 :y 2) x", "(pt :x 1 :y 2)", " x"},
        {"(regNamed :name far_left))", "(regNamed :name far_left)", ")"},
        {"(arc :center (pt ball) :radius_large 5)", "(arc :center (pt ball) :radius_small 0 :radius_large 5 "
                                                    ":angle_begin 0 :angle_span 360)", ""},
        {"(arc :center (pt ball))", "(arc :center (pt ball) :radius_small 0 :radius_large -1 :angle_begin 0 "
                                    ":angle_span 360)", ""},
        {"(arc :center (pt ball) :radius_small 1 :radius_large 2 :angle_begin -90 :angle_span d)",
         "(arc :center (pt ball) :radius_small 1 :radius_large 2 :angle_begin -90 :angle_span (decimal :name d))", ""},
        {"(arc :center (pt ball) :radius_large 2 :radius_small 1)", "", ""},
        {"(arc :center (pt ball) :radius_small)", "", ""},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 4 :y 0) (pt :x 0 :y 4)))",
         "(triang :points (list (pt :x 0 :y 0) (pt :x 4 :y 0) (pt :x 0 :y 4) ))", ""},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 4 :y 0)))", "", ""},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)) )", "(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5) ))",
         ""},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5))", "", ""},
        {"(rec :points(list(pt :x 10 :y 5)(pt :x 0 :y -5)))", "(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5) ))",
         ""},
        {"(regVar :name h)", "(regVar :name h)", ""},
        {" g )", "(regVar :name g)", ")"},
        {"(g", "", ""},
    };
    for (const Case& c : cases) {
        std::string rest;
        Owned<Region> r(read(c.text, &rest, params.items));
        EXPECT_EQ(c.printed, r ? text(*r) : std::string()) << c.text;
        EXPECT_EQ(*c.printed ? c.rest : c.text, rest) << c.text;
        if (!r) continue;
        Owned<Region> again(read(text(*r), &rest, params.items));
        ASSERT_TRUE(again) << c.text;
        EXPECT_EQ(text(*r), text(*again));
    }
}

TEST(SetplayRegions, Inclusion) {
    FakeContext ctx;
    struct Case {
        const char* region;
        double x, y;
        bool inside;
    } cases[] = {
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", 0, -5, true},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", 10, 5, true},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", 5, 0, true},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", 10.5, 0, false},
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", NAN, 0, false},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 6 :y 0) (pt :x 0 :y 6)))", 2, 2, true},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 6 :y 0) (pt :x 0 :y 6)))", 5, 5, false},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 6 :y 0) (pt :x 0 :y 6)))", -1, 1, false},
        {"(arc :center (pt :x 0 :y 0) :radius_large 5)", 3, -4, true},
        {"(arc :center (pt :x 0 :y 0) :radius_large 5)", 3, -4.1, false},
        {"(arc :center (pt :x 0 :y 0) :radius_small 2)", 300, 0, true},
        {"(arc :center (pt :x 0 :y 0) :radius_small 2)", 1, 0, false},
        {"(arc :center (pt :x 0 :y 0) :radius_small 2 :radius_large -1)", 1e6, 1e6, true},
        {"(arc :center (pt :x 0 :y 0) :radius_large 5 :angle_begin 0 :angle_span 90)", 1, 1, true},
        {"(arc :center (pt :x 0 :y 0) :radius_large 5 :angle_begin 0 :angle_span 90)", 1, -1, false},
        {"(pt :x 1 :y 2)", 1, 2, true},
        {"(pt :x 1 :y 2)", 1, 2.0001, false},
    };
    for (const Case& c : cases) {
        Owned<Region> r(read(c.region));
        ASSERT_TRUE(r) << c.region;
        std::unique_ptr<PointSimple> p(pt(c.x, c.y));
        EXPECT_EQ(c.inside, r->includesPoint(p.get(), ctx)) << c.region << " " << c.x << "," << c.y;
    }
    Owned<Region> any(read("(pt :x 1 :y 2)"));
    EXPECT_FALSE(any->includesPoint(nullptr, ctx));
}

TEST(SetplayRegions, ArcWrappingPast180MovesWithTheCentre) {
    FakeContext ctx;
    const double pi = 3.141592653589793;
    for (double cx : {4.0, -11.0}) {
        for (double cy : {2.0, 7.5}) {
            std::ostringstream os;
            os << "(arc :center (pt :x " << cx << " :y " << cy << ") :radius_large 5 :angle_begin 170 :angle_span 20)";
            Owned<Region> r(read(os.str()));
            ASSERT_TRUE(r);
            std::unique_ptr<PointSimple> in(pt(cx + 3 * std::cos(-175 * pi / 180), cy + 3 * std::sin(-175 * pi / 180)));
            std::unique_ptr<PointSimple> out(pt(cx + 3 * std::cos(-165 * pi / 180), cy + 3 * std::sin(-165 * pi / 180)));
            EXPECT_TRUE(r->includesPoint(in.get(), ctx)) << os.str();
            EXPECT_FALSE(r->includesPoint(out.get(), ctx)) << os.str();
        }
    }
}

TEST(SetplayRegions, Centres) {
    FakeContext ctx;
    struct Case {
        const char* region;
        double x, y;
    } cases[] = {
        {"(rec :points (list (pt :x 10 :y 5) (pt :x 0 :y -5)))", 5, 0},
        {"(triang :points (list (pt :x 0 :y 0) (pt :x 6 :y 0) (pt :x 0 :y 3)))", 2, 1},
        {"(arc :center (pt :x 1 :y 1) :radius_large 4 :angle_span 180)", 1, 1},
        {"(arc :center (pt :x 1 :y 1) :radius_small 2 :radius_large 4 :angle_begin 0 :angle_span 180)", 1, 4},
        {"(pt :x 3 :y -2)", 3, -2},
    };
    for (const Case& c : cases) {
        Owned<Region> r(read(c.region));
        ASSERT_TRUE(r) << c.region;
        std::unique_ptr<const PointSimple> p(r->getCentralPoint(ctx));
        EXPECT_NEAR(c.x, p->getX()->value(), 1e-9) << c.region;
        EXPECT_NEAR(c.y, p->getY()->value(), 1e-9) << c.region;
    }
}

TEST(SetplayRegions, Mirrors) {
    struct Case {
        const char* region;
        const char* mirrored;
    } cases[] = {
        {"(regNamed :name far_left)", "(regNamed :name far_right)"},
        {"(regNamed :name right)", "(regNamed :name left)"},
        {"(regNamed :name centre_right)", "(regNamed :name centre_left)"},
        {"(regNamed :name sl_3)", "(regNamed :name sr_3)"},
        {"(regNamed :name sr_9)", "(regNamed :name sl_9)"},
        {"(regNamed :name sl_0)", "(regNamed :name Inv_sl_0)"},
        {"(regNamed :name our_penalty_box)", "(regNamed :name our_penalty_box)"},
        {"(regNamed :name their_back)", "(regNamed :name their_back)"},
        {"(regNamed :name corner)", "(regNamed :name Inv_corner)"},
        {"(rec :points (list (pt :x 1 :y 2) (pt :x 3 :y -4)))", "(rec :points (list (pt :x 1 :y -2) (pt :x 3 :y 4) ))"},
        // The sector is mirrored with its centre.
        {"(arc :center (pt :x 1 :y 2) :radius_large 3 :angle_begin 10 :angle_span 30)",
         "(arc :center (pt :x 1 :y -2) :radius_small 0 :radius_large 3 :angle_begin -40 :angle_span 30)"},
        {"(arc :center (pt :x 0 :y 0) :angle_begin 170 :angle_span 20)",
         "(arc :center (pt :x 0 :y -0) :radius_small 0 :radius_large -1 :angle_begin 170 :angle_span 20)"},
        {"(arc :center (pt :x 0 :y 1))",
         "(arc :center (pt :x 0 :y -1) :radius_small 0 :radius_large -1 :angle_begin 0 :angle_span 360)"},
    };
    for (const Case& c : cases) {
        Owned<Region> r(read(c.region));
        ASSERT_TRUE(r) << c.region;
        Owned<Region> m(r->inversion({}, {}));
        EXPECT_EQ(c.mirrored, text(*m)) << c.region;
    }
}

TEST(SetplayRegions, MirroredArcHoldsTheMirroredPoints) {
    FakeContext ctx;
    Owned<Region> r(read("(arc :center (pt :x 1 :y 2) :radius_large 4 :angle_begin 20 :angle_span 50)"));
    Owned<Region> m(r->inversion({}, {}));
    const double pi = 3.141592653589793;
    for (double deg = -180; deg < 180; deg += 7.5) {
        std::unique_ptr<PointSimple> p(pt(1 + 2 * std::cos(deg * pi / 180), 2 + 2 * std::sin(deg * pi / 180)));
        std::unique_ptr<PointSimple> q(pt(1 + 2 * std::cos(deg * pi / 180), -2 - 2 * std::sin(deg * pi / 180)));
        EXPECT_EQ(r->includesPoint(p.get(), ctx), m->includesPoint(q.get(), ctx)) << deg;
    }
}

TEST(SetplayRegions, NamedRegionsAndSubstitution) {
    FakeContext ctx;
    Owned<Region> host(read("(rec :points (list (pt :x -15 :y 10) (pt :x 15 :y 6)))"));
    ctx.names.addSubstitution("far_left", host.get());
    Owned<Region> first(read("(pt :x 0 :y 0)"));
    ctx.names.addSubstitution("twice", first.get());
    ctx.names.addSubstitution("twice", host.get());
    EXPECT_EQ(host.get(), ctx.names.getSubstitutionRegion("twice"));
    EXPECT_EQ(nullptr, ctx.names.getSubstitutionRegion("none"));

    Owned<Region> named(read("(regNamed :name far_left)"));
    std::unique_ptr<PointSimple> p(pt(0, 8));
    try {
        named->includesPoint(p.get(), ctx);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ(
            "Trying to check if a named region(far_left) includes a point, but this region has not yet been defined.",
            e.what());
    }
    named->substituteNamedRegions(ctx);
    EXPECT_TRUE(named->includesPoint(p.get(), ctx));
    EXPECT_EQ("(regNamed :name far_left->value:(rec :points (list (pt :x -15 :y 10) (pt :x 15 :y 6) )))", text(*named));
    Owned<Region> mirrored(named->inversion({}, {}));
    EXPECT_EQ("(regNamed :name far_right->value:(rec :points (list (pt :x -15 :y -10) (pt :x 15 :y -6) )))",
              text(*mirrored));
    Owned<Region> unknown(read("(regNamed :name nowhere)"));
    try {
        unknown->substituteNamedRegions(ctx);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("SP: Area name not found in NameSubstitutions:nowhere", e.what());
    }
    std::ostringstream table;
    ctx.names.print(table);
    EXPECT_EQ(0u, table.str().find("# regions: 2\nfar_left (rec"));
    std::unique_ptr<NameSubstitutions> copy(ctx.names.deepCopy());
    EXPECT_NE(host.get(), copy->getSubstitutionRegion("far_left"));
    EXPECT_EQ(text(*host), text(*copy->getSubstitutionRegion("far_left")));
    EXPECT_EQ("far_left", RegNamed::getLongitudinalRegion(p.get(), ctx));
    EXPECT_THROW(RegNamed::getTransversalRegion(p.get(), ctx), SetplayException);
    try {
        RegNamed::getRadialRegion(p.get(), ctx);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("SP: no RadialRegion found for point:(pt :x 0 :y 8), considering 18 regions.", e.what());
    }
}

TEST(SetplayRegions, CaseBaseDistances) {
    struct Case {
        unsigned (*distance)(const std::string&, const std::string&);
        const char* a;
        const char* b;
        unsigned value;
    } cases[] = {
        {&RegNamed::radialRegionDistance, "sl_1", "sr_1", 70},
        {&RegNamed::radialRegionDistance, "sr_1", "sl_1", 70},
        {&RegNamed::radialRegionDistance, "sl_2", "sl_4", 2},
        {&RegNamed::radialRegionDistance, "sl_1", "unknown", 76},
        {&RegNamed::longitudinalRegionDistance, "far_left", "far_right", 25},
        {&RegNamed::longitudinalRegionDistance, "far_left", "elsewhere", 36},
        {&RegNamed::transverseRegionDistance, "our_back", "their_front", 9},
        {&RegNamed::transverseRegionDistance, "their_back", "unknown", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, c.distance(c.a, c.b)) << c.a << " " << c.b;
    EXPECT_EQ(6u, RegNamed::longitudinalRegionIndex("nowhere"));
    EXPECT_EQ(18u, RegNamed::radialRegionIndex("nowhere"));
    EXPECT_EQ(9u, RegNamed::radialRegionIndex("sr_9"));
}

TEST(SetplayRegions, InstantiationTextsAndVariables) {
    FakeContext ctx;
    struct Case {
        const char* region;
        const char* shortText;
        const char* longText;
    } cases[] = {
        {"(rec :points (list (pt :x 1 :y 2) (pt :x 3.5 :y 4)))", "1;2;4;4", "(rec (pt :x 1 :y 2) (pt :x 3.5 :y 4))"},
        {"(triang :points (list (pt :x 1 :y 2) (pt :x 3 :y 4) (pt :x 5 :y 6)))", "1;2;3;4;5;6",
         "(triang :points (list (pt :x 1 :y 2) (pt :x 3 :y 4) (pt :x 5 :y 6)))"},
        {"(arc :center (pt :x 1 :y 2) :radius_large 3)", "1;2;0;3;0;360",
         "(arc :center (pt :x 1 :y 2) :radius_small 0 :radius_large 3 :angle_begin 0 :angle_span 360)"},
    };
    for (const Case& c : cases) {
        Owned<Region> r(read(c.region));
        ASSERT_TRUE(r) << c.region;
        EXPECT_EQ(c.shortText, r->instantiationText(ctx, true));
        EXPECT_EQ(c.longText, r->instantiationText(ctx, false));
    }
    RegRec broken(pt(1, 1), nullptr);
    EXPECT_THROW(broken.instantiationText(ctx, true), SetplayException);

    RegVar v("g");
    std::unique_ptr<PointSimple> p(pt(0, 0));
    EXPECT_THROW(v.includesPoint(p.get(), ctx), SetplayException);
    EXPECT_THROW(v.getCentralPoint(ctx), SetplayException);
    EXPECT_THROW(v.instantiationText(ctx, true), SetplayException);
    try {
        v.deepCopy({}, {});
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Region parameter not found in parameter list:g", e.what());
    }
    v.set(read("(rec :points (list (pt :x -1 :y -1) (pt :x 1 :y 1)))"));
    EXPECT_TRUE(v.includesPoint(p.get(), ctx));
    EXPECT_EQ("(rec :points (list (pt :x -1 :y -1) (pt :x 1 :y 1) ))", text(v));
    RegVar subst("subst");
    subst.set(read("(pt :x 1 :y 2)"));
    Owned<Region> m(subst.inversion({}, {}));
    EXPECT_EQ("(pt :x 1 :y -2)", text(*m));
}

}  // namespace
