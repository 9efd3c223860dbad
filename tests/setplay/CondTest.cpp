#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Cond.h"
#include "setplay/SetplayException.h"
#include "setplay/clang/NullErr.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

Cond* read(const std::string& in, std::string* rest = nullptr, const PlayerList& players = {},
           const ParamList& params = {}) {
    std::string out;
    Cond* c = Cond::parse(in, out, params, players);
    if (rest) *rest = out;
    return c;
}

const char* const REC = "(rec :points (list (pt :x 0 :y 0) (pt :x 10 :y 10) ))";

TEST(SetplayConditions, SeventeenKinds) {
    struct Case {
        const char* text;
        const char* printed;  // empty: not read
        const char* rest;
    } cases[] = {
        {"(ppos :players (list 1 2) :region (pt ball)) x",
         "(ppos :players (list (player :team our :number 1) (player :team our :number 2) ) :min 1 :max 11 :region "
         "(pt ball))",
         " x"},
        {"(ppos :players 3 :max 2 :region (pt ball))",
         "(ppos :players (list (player :team our :number 3) ) :min 1 :max 2 :region (pt ball))", ""},
        {"(ppos :players 3 :max 2 :min 1 :region (pt ball))", "", ""},
        {"(ppos :players 3 :min x :region (pt ball))", "", ""},
        {"(ppos :players 3 :max :region (pt ball))", "", ""},
        {"(bpos :region (pt :x 1 :y 2))", "(bpos :region (pt :x 1 :y 2))", ""},
        {"(bowner :players (list 4))", "(bowner :players  (list (player :team our :number 4) ))", ""},
        {"(bowner :players (list))", "", ""},
        {"(canShoot :players (list))", "(canShoot :players  (list ))", ""},
        {"(canPassPl :from 1 :to (list 2))",
         "(canPassPl :from  (list (player :team our :number 1) ) :to (list (player :team our :number 2) ))", ""},
        {"(canPassPl :from (list) :to 2)", "", ""},
        {"(canPassReg :from 1 :to (regNamed :name a))",
         "(canPassReg :from  (list (player :team our :number 1) ) :to (regNamed :name a))", ""},
        {"(and (time > 3))", "(and (time > 3))", ""},
        {"(and)", "", ""},
        {"(or (time > 3) (passfailed))", "(or (time > 3) (passfailed))", ""},
        {"(not (playm ko_our))", "(not (playm ko_our))", ""},
        {"(playm ck_opp_after)", "(playm ck_opp_after)", ""},
        {"(playm corner)", "", ""},
        {"(time>=30)", "(time >= 30)", ""},
        {"(our_goals != -1)", "(our_goals != -1)", ""},
        {"(opp_goals == 2)", "(opp_goals == 2)", ""},
        {"(goal_diff < 0)", "(goal_diff < 0)", ""},
        {"(goal_diff =< 0)", "", ""},
        {"(time > 99999999999)", "", ""},
        {"(nearOffsideLine :players (list))", "(nearOffsideLine :players (list ))", ""},
        {"(pmov :players (player :team opp :number 2) :region (pt ball))",
         "(pmov :players (list (player :team opp :number 2) ) :min 1 :max 11 :region (pt ball))", ""},
        {"(passfailed)  x", "(passfailed)", "x"},
        {"(passfailed )", "", ""},
        {"(andx (time > 3))", "", ""},
    };
    for (const Case& c : cases) {
        std::string rest;
        std::unique_ptr<Cond> cond(read(c.text, &rest));
        EXPECT_EQ(c.printed, cond ? text(*cond) : std::string()) << c.text;
        EXPECT_EQ(*c.printed ? c.rest : c.text, rest) << c.text;
        if (!cond) continue;
        std::unique_ptr<Cond> again(read(text(*cond)));
        ASSERT_TRUE(again) << c.text;
        EXPECT_EQ(text(*cond), text(*again));
        std::unique_ptr<Cond> copy(cond->deepCopy({}, {}));
        EXPECT_EQ(text(*cond), text(*copy));
    }
}

TEST(SetplayConditions, PlayerCountsBetweenBounds) {
    FakeContext ctx;
    std::string t = std::string("(ppos :players (list 1 2 3 4) :min 2 :max 3 :region ") + REC + ")";
    std::unique_ptr<Cond> c(read(t));
    ASSERT_TRUE(c);
    const bool expected[] = {false, false, true, true, false};
    for (unsigned inside = 0; inside <= 4; ++inside) {
        for (unsigned n = 1; n <= 4; ++n) ctx.setPlayer("our", n, n <= inside ? 5 : 50, 5);
        EXPECT_EQ(expected[inside], c->eval(ctx)) << inside;
    }
}

TEST(SetplayConditions, WholeTeams) {
    struct Case {
        const char* text;
        size_t players;
        const char* first;
    } cases[] = {
        {"(ppos :players (player :team any :number 0) :region (pt ball))", 22, "our"},
        {"(ppos :players (player :team opp :number 0) :region (pt ball))", 11, "opp"},
        {"(ppos :players (player :team xyz :number 0) :region (pt ball))", 0, ""},
        {"(pmov :players (player :team any :number 0) :region (pt ball))", 11, "opp"},
        {"(pmov :players 0 :region (pt ball))", 0, ""},
        {"(ppos :players (list 0 1) :region (pt ball))", 2, "our"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Cond> cond(read(c.text));
        ASSERT_TRUE(cond) << c.text;
        const CondPlayerRegion* counted = dynamic_cast<const CondPlayerRegion*>(cond.get());
        ASSERT_TRUE(counted) << c.text;
        const ConstPlayerList& set = counted->getPlayerSet();
        EXPECT_EQ(c.players, set.size()) << c.text;
        if (!set.empty()) {
            EXPECT_EQ(c.first, set[0]->value()->team) << c.text;
        }
        std::unique_ptr<Cond> copy(cond->deepCopy({}, {}));
        EXPECT_EQ(text(*cond), text(*copy));
    }
    FakeContext ctx;
    std::unique_ptr<Cond> ourMov(read("(pmov :players 0 :min 0 :region (pt ball))"));
    EXPECT_TRUE(ourMov->eval(ctx));
    std::unique_ptr<Cond> ourMovOne(read("(pmov :players 0 :region (pt ball))"));
    EXPECT_FALSE(ourMovOne->eval(ctx));
    std::unique_ptr<Cond> owner(read("(bowner :players (player :team our :number 0))"));
    EXPECT_EQ(11u, dynamic_cast<CondBallOwner*>(owner.get())->getPlayerSet().size());
}

TEST(SetplayConditions, Evaluation) {
    FakeContext ctx;
    ctx.now = 30.0;
    ctx.ourGoals = 1;
    ctx.oppGoals = 2;
    ctx.mode = rcss::clang::KickOff_Our;
    ctx.setBall(1, 2);
    ctx.clearShot = true;
    struct Case {
        const char* text;
        bool value;
    } cases[] = {
        {"(time >= 30)", true},   {"(time == 30)", true},   {"(time > 30)", false},
        {"(our_goals == 1)", true}, {"(opp_goals < 2)", false}, {"(goal_diff < 0)", true},
        {"(playm ko_our)", true}, {"(playm play_on)", false}, {"(bpos :region (pt :x 1 :y 2))", true},
        {"(canShoot :players 3)", true}, {"(bowner :players 3)", false}, {"(passfailed)", false},
        {"(and (time > 3) (playm ko_our))", true}, {"(and (time > 300) (playm ko_our))", false},
        {"(or (time > 300) (playm ko_our))", true}, {"(or (time > 300) (playm play_on))", false},
        {"(not (time > 300))", true},
        {"(nearOffsideLine :players 2)", false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Cond> cond(read(c.text));
        ASSERT_TRUE(cond) << c.text;
        EXPECT_EQ(c.value, cond->eval(ctx)) << c.text;
    }
    ctx.now = 30.0001;
    std::unique_ptr<Cond> exact(read("(time == 30)"));
    EXPECT_FALSE(exact->eval(ctx));
    CondAnd broken(CondAnd::Storage{nullptr});
    try {
        broken.eval(ctx);
        FAIL();
    } catch (const rcss::util::NullErr& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(": Null condition in CondAnd\n"));
    }
}

TEST(SetplayConditions, Mirrors) {
    struct Case {
        const char* text;
        const char* mirrored;
    } cases[] = {
        {"(bpos :region (pt :x 1 :y 2))", "(bpos :region (pt :x 1 :y -2))"},
        {"(goal_diff < 3)", "(goal_diff < 3)"},
        {"(not (bpos :region (regNamed :name far_left)))", "(not (bpos :region (regNamed :name far_right)))"},
        {"(canPassReg :from 1 :to (pt :x 0 :y 5))",
         "(canPassReg :from  (list (player :team our :number 1) ) :to (pt :x 0 :y -5))"},
        {"(ppos :players 1 :region (pt :x 1 :y 2))",
         "(ppos :players (list (player :team our :number 1) ) :min 1 :max 11 :region (pt :x 1 :y -2))"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Cond> cond(read(c.text));
        ASSERT_TRUE(cond) << c.text;
        std::unique_ptr<Cond> m(cond->inversion({}, {}));
        EXPECT_EQ(c.mirrored, text(*m)) << c.text;
    }
}

TEST(SetplayConditions, RolesAndParametersBindToTheSetPlay) {
    OwnedList<PlayerReference> players;
    players.items = {new PlayerRole("kicker")};
    OwnedList<SetplayParameter> params;
    params.items = {new Integer("n")};
    std::unique_ptr<Cond> c(read("(ppos :players kicker :min n :region (pt ball))", nullptr, players.items,
                                 params.items));
    ASSERT_TRUE(c);
    std::unique_ptr<Cond> copy(c->deepCopy(params.items, players.items));
    const CondPlayerPos* pos = dynamic_cast<const CondPlayerPos*>(copy.get());
    EXPECT_EQ(players.items[0], pos->getPlayerSet()[0]);
    EXPECT_EQ(params.items[0], pos->getMinMatch());
    EXPECT_THROW(c->deepCopy({}, players.items), SetplayException);
    std::string out;
    EXPECT_THROW(Cond::parse("(bowner :players (list ", out, {}, {}), SetplayException);
}

TEST(SetplayConditions, PrettyForms) {
    struct Case {
        const char* text;
        const char* pretty;
    } cases[] = {
        {"(playm ko_our)", "> is play mode 'ko_our'\n"},
        {"(and (time > 3) (passfailed))", "> and\n>  +(time > 3)>  +passfailed\n"},
        {"(bowner :players 2)", "> is ball controlled by someone in (player :team our :number 2) \n"},
        {"(canShoot :players 2)",
         "> does someone in (player :team our :number 2) have a clear shot at goal\n"},
        {"(nearOffsideLine :players 2)", "> are (list (player :team our :number 2) ) near the Offside Line?\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Cond> cond(read(c.text));
        ASSERT_TRUE(cond) << c.text;
        std::ostringstream os;
        cond->printPretty(os, "> ");
        EXPECT_EQ(c.pretty, os.str()) << c.text;
    }
}

}  // namespace
