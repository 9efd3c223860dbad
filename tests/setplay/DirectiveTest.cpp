#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Directive.h"
#include "setplay/Step.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

Directive* read(const std::string& in, std::string* rest = nullptr, const PlayerList& players = {}) {
    std::string out;
    Directive* d = Directive::parse(in, out, {}, players, {});
    if (rest) *rest = out;
    return d;
}

TEST(SetplayDirectives, Forms) {
    struct Case {
        const char* text;
        int kind;  // 0 none, 1 do, 2 dont
        const char* printed;
        const char* rest;
    } cases[] = {
        {"(do:players 3 :actions (hold)) x", 1,
         "(do  :players (list (player :team our :number 3) ) :actions (list (hold) ))", " x"},
        {"(dont :players (list 3 4) :actions (list (shoot) (stop)))", 2,
         "(dont  :players (list (player :team our :number 3) (player :team our :number 4) ) :actions (list (shoot) "
         "(stop) ))",
         ""},
        {"(do :players (list) :actions (hold))", 0, "", ""},
        {"(do :players 3 (hold))", 0, "", ""},
        {"(do :players 3 :actions (hold) x)", 0, "", ""},
        {"(do :players 3 :actions)", 0, "", ""},
        {"(do :players 3 :actions (list))", 0, "", ""},
    };
    for (const Case& c : cases) {
        std::string rest;
        std::unique_ptr<Directive> d(read(c.text, &rest));
        EXPECT_EQ(c.kind, d ? (d->isDo() ? 1 : 2) : 0) << c.text;
        EXPECT_EQ(c.kind ? c.rest : c.text, rest) << c.text;
        if (!d) continue;
        EXPECT_EQ(c.printed, text(*d)) << c.text;
        std::unique_ptr<Directive> again(read(text(*d)));
        ASSERT_TRUE(again) << c.text;
        EXPECT_EQ(text(*d), text(*again));
        std::unique_ptr<Directive> copy(d->deepCopy({}, {}, {}));
        std::unique_ptr<Directive> mirror(d->inversion({}, {}, {}));
        EXPECT_EQ(d->isDo(), copy->isDo());
        EXPECT_EQ(d->isDo(), mirror->isDo());
        EXPECT_EQ(text(*d), text(*copy));
    }
}

TEST(SetplayDirectives, IndentedForms) {
    std::unique_ptr<Directive> d(read("(do :players 3 :actions (hold))"));
    std::unique_ptr<Directive> n(read("(dont :players 3 :actions (hold))"));
    unsigned depth = 2;
    std::ostringstream a, b;
    d->print2(a, depth);
    EXPECT_EQ(2u, depth);
    EXPECT_EQ("\t\t(do \t:players (list (player :team our :number 3) )\n\t\t\t:actions (list (hold) )\n\t\t)\n", a.str());
    n->print2(b, depth);
    EXPECT_EQ("(dont \t:players (list (player :team our :number 3) )\n\t\t\t:actions (list (hold) )\n\t\t)", b.str());
}

TEST(SetplayDirectives, ActionsOfAPlayer) {
    std::string out;
    std::unique_ptr<Transition> t(Transition::parse(
        "(finish :directives (list (do :players (list 3 3) :actions (hold)) (dont :players 4 :actions (shoot)) "
        "(do :players 4 :actions (list (stop) (markGoal)))))",
        out, {}, {}, {}));
    ASSERT_TRUE(t);
    EXPECT_EQ(2u, t->getDoActionsForPlayer(PlayerID("our", 3)).size());
    std::vector<Action*> four = t->getDoActionsForPlayer(PlayerID("our", 4));
    ASSERT_EQ(2u, four.size());
    EXPECT_EQ("stop", four[0]->label());
    EXPECT_TRUE(t->getDoActionsForPlayer(PlayerID("opp", 3)).empty());
}

TEST(SetplayDirectives, MirrorKeepsPlayersAndMirrorsActions) {
    std::unique_ptr<Directive> d(read("(do :players 3 :actions (list (pos :region (pt :x 1 :y 2)) (hold)))"));
    std::unique_ptr<Directive> m(d->inversion({}, {}, {}));
    EXPECT_EQ("(do  :players (list (player :team our :number 3) ) :actions (list (pos :region (pt :x 1 :y -2)) (hold) ))",
              text(*m));
}

}  // namespace
