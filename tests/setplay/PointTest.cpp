#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Point.h"
#include "setplay/SetplayException.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

// The set play's lists: a point variable p, a decimal d, a role r.
struct Lists {
    OwnedList<SetplayParameter> params;
    OwnedList<PlayerReference> players;
    Lists() {
        params.items = {new PointVar("p"), new Decimal("d"), new PointVar("pq")};
        players.items = {new PlayerRole("r")};
    }
};

TEST(SetplayPoints, Kinds) {
    Lists lists;
    FakeContext ctx;
    ctx.setBall(4, -2);
    ctx.setPlayer("our", 9, 1, 1);
    struct Case {
        const char* text;
        const char* printed;  // empty: no point
        const char* rest;
        const char* mirrored;
        double x, y;  // position
    } cases[] = {
        {"(pt :x 3 :y 4)", "(pt :x 3 :y 4)", "", "(pt :x 3 :y -4)", 3, 4},
        {"(pt:x 1:y 2) z", "(pt :x 1 :y 2)", " z", "(pt :x 1 :y -2)", 1, 2},
        {"( pt :x 1 :y 2)", "", "( pt :x 1 :y 2)", "", 0, 0},
        {"(pt :x 1 :y )", "", "(pt :x 1 :y )", "", 0, 0},
        {"(pt :x 1)", "", "(pt :x 1)", "", 0, 0},
        {" (pt ball ) ", "(pt ball)", " ", "(pt ball)", 4, -2},
        {"(pt :player 9)", "(pt :player (player :team our :number 9))", "",
         "(pt :player (player :team our :number 9))", 1, 1},
        {"(ptRel :x 1 :y 2 :pt (pt ball))", "(ptRel :x 1 :y 2 :pt (pt ball))", "",
         "(ptRel :x 1 :y -2 :pt (pt ball))", 5, 0},
        {"(+ (pt :x 1 :y 1) (pt ball))", "(+ (pt :x 1 :y 1) (pt ball))", "", "(+ (pt :x 1 :y -1) (pt ball))", 5,
         -1},
        {"(- (pt :x 1 :y 1) (pt ball))", "", "(- (pt :x 1 :y 1) (pt ball))", "", 0, 0},
        {"(ptVar :name v)", "(ptVar :name v)", "", "", 0, 0},
        {"(pt :x d :y 2)", "(pt :x (decimal :name d) :y 2)", "", "(pt :x (decimal :name d) :y -2)", 0, 0},
    };
    for (const Case& c : cases) {
        std::string out;
        Owned<Point> p(Point::parse(c.text, out, lists.params.items, lists.players.items));
        EXPECT_EQ(c.printed, p ? text(*p) : std::string()) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
        if (!p || !*c.mirrored) continue;
        Owned<Point> m(p->inversion(lists.params.items, lists.players.items));
        EXPECT_EQ(c.mirrored, text(*m)) << c.text;
        Owned<Point> copy(p->deepCopy(lists.params.items, lists.players.items));
        EXPECT_EQ(c.printed, text(*copy)) << c.text;
        if (std::string(c.text).find(" d ") != std::string::npos) continue;
        std::unique_ptr<PointSimple> pos(p->asPointSimple(ctx));
        EXPECT_DOUBLE_EQ(c.x, pos->getX()->value()) << c.text;
        EXPECT_DOUBLE_EQ(c.y, pos->getY()->value()) << c.text;
    }
}

TEST(SetplayPoints, VariablesAreTheSetPlaysOwn) {
    Lists lists;
    std::string out;
    // A bare name that starts with a point parameter's name is that parameter.
    Owned<Point> p(Point::parse("p2)", out, lists.params.items, {}));
    EXPECT_EQ(lists.params.items[0], dynamic_cast<SetplayParameter*>(p.get()));
    EXPECT_EQ("2)", out);
    Owned<Point> dec(Point::parse("d", out, lists.params.items, {}));
    EXPECT_EQ(nullptr, dec);
    EXPECT_EQ(nullptr, Point::parse("(p", out, lists.params.items, {}));

    PointVar v("v");
    try {
        v.deepCopy(lists.params.items, {});
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Point parameter not found in parameter list:v", e.what());
    }
    FakeContext ctx;
    EXPECT_THROW(v.instantiationText(ctx, true), SetplayException);
    v.set(pt(2, 3));
    EXPECT_EQ("(ptVar :name v :value (pt :x 2 :y 3))", text(v));
    EXPECT_EQ("2;3", v.instantiationText(ctx, true));
    std::ostringstream pretty;
    v.printPretty(pretty, "> ");
    EXPECT_EQ("> Point(2, 3)\n", pretty.str());
    std::unique_ptr<PointVar> detached(v.deepCopy());
    EXPECT_FALSE(detached->instantiated());
    v.uninstantiate();
    EXPECT_EQ("(ptVar :name v)", text(v));
}

TEST(SetplayPoints, InstantiationTexts) {
    FakeContext ctx;
    ctx.setBall(2.5, -0.4);
    PointSimple p(new Decimal(1.5), new Decimal(-2.5));
    EXPECT_EQ("2;-3", p.instantiationText(ctx, true));
    EXPECT_EQ("(pt :x 1.5 :y -2.5)", p.instantiationText(ctx, false));
    PointBall ball;
    EXPECT_EQ("3;0", ball.instantiationText(ctx, true));
    PointRel rel(new PointBall(), new Decimal(1), new Decimal(1));
    EXPECT_EQ("(pt :x 3.5 :y 0.6)", rel.instantiationText(ctx, false));
    PointPlayer role(new PlayerRole("r"));
    try {
        role.getUNum();
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Accessing not instantiated player in PlayerPos!", e.what());
    }
    PointPlayer opp(new PlayerID("opp", 4));
    EXPECT_TRUE(opp.isTheirSide());
    EXPECT_FALSE(opp.isOurSide());
    EXPECT_EQ(4u, opp.getUNum());
}

TEST(SetplayPoints, PrettyForms) {
    PointRel rel(new PointBall(), new Decimal(1), new Decimal(2));
    std::ostringstream a;
    rel.printPretty(a, "H");
    EXPECT_EQ("HPoint-Relative(1, 2 H Point-Ball\n)\n", a.str());
    PointArith sum(pt(1, 1), nullptr, rcss::util::ArithOp::plus());
    std::ostringstream b;
    sum.printPretty(b, "H");
    EXPECT_EQ("HPoint-Arith\nH Point(1, 1)\nH (null)\nH operation: +\n", b.str());
    EXPECT_EQ("(+ (pt :x 1 :y 1) (null))", text(sum));
    EXPECT_FALSE(sum.setPoint(2, nullptr));
    PointRel orphan(nullptr, new Decimal(1), new Decimal(2));
    std::ostringstream c;
    EXPECT_THROW(orphan.print(c), SetplayException);
    EXPECT_EQ("(ptRel :x 1 :y 2 :pt ", c.str());
}

// A world that knows nobody's place.
struct NobodyKnown : FakeContext {
    const PointSimple* playerPos(const PlayerID&) const override { return nullptr; }
};

TEST(SetplayPoints, APlayerWithoutAPlaceHasNoPoint) {
    NobodyKnown world;
    std::string out;
    std::unique_ptr<Point> p(Point::parse("(pt :player (player :team opp :number 30))", out, {}, {}));
    ASSERT_TRUE(p);
    EXPECT_THROW(std::unique_ptr<PointSimple>(p->asPointSimple(world)), SetplayException);
    EXPECT_THROW(p->instantiationText(world, true), SetplayException);
}

}  // namespace
