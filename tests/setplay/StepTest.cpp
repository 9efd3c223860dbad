#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Step.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

Step* read(const std::string& in, std::string* rest = nullptr, const PlayerList& players = {}) {
    std::string out;
    Step* s = Step::parse(in, out, {}, players, {});
    if (rest) *rest = out;
    return s;
}

const char* const MINIMAL = "(step :id 0 :participants (list 1) :leadPlayer 1 :ballHolder (NULL) :transitions (list))";

TEST(SetplaySteps, Forms) {
    struct Case {
        const char* text;
        bool read;
        unsigned id;
        double wait, abort;
    } cases[] = {
        {MINIMAL, true, 0, 0, 0},
        {"(step :id 65537 :waitTime 5 :abortTime 10 :participants (list (at 1 (pt ball)) 2) :leadPlayer 1 "
         ":ballHolder 2 :abortCond (time > 3) :transitions (list (finish)))",
         true, 1, 5, 10},
        {"(step :id 99999999999999999999 :participants (list 1) :leadPlayer 1 :ballHolder (NULL) :transitions (list))",
         true, 65535, 0, 0},
        {"(step :id 0 :participants (list) :leadPlayer 1 :ballHolder (NULL) :transitions (list))", false, 0, 0, 0},
        {"(step :id 0 :participants (list 1) :ballHolder (NULL) :transitions (list))", false, 0, 0, 0},
        {"(step :id 0 :participants (list 1) :leadPlayer 1 :transitions (list))", false, 0, 0, 0},
        {"(step :id 0 :participants (list (at 1)) :leadPlayer 1 :ballHolder (NULL) :transitions (list))", false, 0, 0,
         0},
        {"(step :id 0 :participants (list 1) :condition :leadPlayer 1 :ballHolder (NULL) :transitions (list))", false,
         0, 0, 0},
        {"(step :id 0 :participants (list 1) :participantsOpponents (list 2 :leadPlayer 1 :ballHolder (NULL) "
         ":transitions (list))",
         false, 0, 0, 0},
        {"(step :id 0 :participants (list 1) :leadPlayer 1 :ballHolder (NULL) :transitions (list)", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::string rest;
        std::unique_ptr<Step> s(read(c.text, &rest));
        ASSERT_EQ(c.read, s != nullptr) << c.text;
        if (!s) {
            EXPECT_EQ(c.text, rest);
            continue;
        }
        EXPECT_EQ("", rest);
        EXPECT_EQ(c.id, s->id);
        EXPECT_EQ(c.wait, s->waitTime);
        EXPECT_EQ(c.abort, s->abortTime);
        std::unique_ptr<Step> copy(s->deepCopy({}, {}, {}));
        std::unique_ptr<Step> mirror(s->inversion({}, {}, {}));
        for (const Step* x : {copy.get(), mirror.get()}) {
            EXPECT_EQ(s->id, x->id);
            EXPECT_EQ(s->waitTime, x->waitTime);
            EXPECT_EQ(s->abortTime, x->abortTime);
            EXPECT_EQ(text(*s->leadPlayer), text(*x->leadPlayer));
            EXPECT_EQ(s->ballHoder == nullptr, x->ballHoder == nullptr);
        }
    }
}

TEST(SetplaySteps, BallHolderThatIsNeitherPlayerNorNull) {
    std::unique_ptr<Step> s(
        read("(step :id 2 :participants (list 1) :leadPlayer 1 :ballHolder (ball) :transitions (list))"));
    // The step goes on without ball holder and then misses its transitions.
    EXPECT_EQ(nullptr, s);
    std::unique_ptr<Step> t(read("(step :id 2 :participants (list 1) :leadPlayer 1 :ballHolder :transitions (list))"));
    ASSERT_TRUE(t);
    EXPECT_EQ(nullptr, t->ballHoder);
}

TEST(SetplaySteps, Transitions) {
    struct Case {
        const char* text;
        const char* printed;
    } cases[] = {
        {"(nextStep :id 3 :condition (time > 2) :directives (list (do :players 1 :actions (hold))))",
         "(nextStep :id 3 :condition (time > 2) :directives (list(do  :players (list (player :team our :number 1) ) "
         ":actions (list (hold) ))))"},
        {"(finish)", "(finish :directives (list))"},
        {"(abort :condition (passfailed))", "(abort :condition (passfailed) :directives (list))"},
        {"(nextStep :id 65536)", "(nextStep :id 0 :directives (list))"},
        {"(nextStep (time > 2))", ""},
        {"(finish :condition)", ""},
        {"(finish :directives (list (bad)))", ""},
        {"(finish :directives (list)", ""},
        {"(stop)", ""},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<Transition> t(Transition::parse(c.text, out, {}, {}, {}));
        EXPECT_EQ(c.printed, t ? text(*t) : std::string()) << c.text;
        if (!t) {
            EXPECT_EQ(c.text, out);
            continue;
        }
        std::unique_ptr<Transition> again(Transition::parse(text(*t), out, {}, {}, {}));
        ASSERT_TRUE(again) << c.text;
        EXPECT_EQ(text(*t), text(*again));
    }
}

TEST(SetplaySteps, TextForms) {
    std::unique_ptr<Step> s(
        read("(step :id 4 :waitTime 5 :participants (list (at 1 (pt :x 1 :y 2)) 2) :participantsOpponents (list 3) "
             ":condition (playm ko_our) :leadPlayer 1 :ballHolder 2 :abortCond (time > 9) "
             ":transitions (list (finish)))"));
    ASSERT_TRUE(s);
    EXPECT_EQ(
        "(step :id 4 :waitTime 5 :abortTime 0 :participants (list (at (player :team our :number 1) (pt :x 1 :y 2)) "
        "(player :team our :number 2) ) :condition (playm ko_our) :leadPlayer (player :team our :number 1) "
        ":transitions (list (finish :directives (list)) ))",
        text(*s));
    unsigned depth = 1;
    std::ostringstream os;
    s->print2(os, depth);
    EXPECT_EQ(1u, depth);
    EXPECT_EQ("(step :id 4 :waitTime 5 :abortTime 0\n\t\t :participants\n\t\t\t(list\n\t\t\t\t(at (player :team our "
              ":number 1) (pt :x 1 :y 2))\n\t\t\t\t(player :team our :number 2)\n\t\t\t)\n\t\t "
              ":participantsOpponents\n\t\t\t(list\n\t\t\t\t(player :team opp :number 3)\n\t\t\t)\n\t\t :condition "
              "(playm ko_our)\n\t\t :leadPlayer (player :team our :number 1)\n\t\t :ballHolder (player :team our "
              ":number 2)\n\t\t :abortCond (time > 9)\n\t\t :transitions\n\t\t\t(list \n\t\t\t\t(finish :directives "
              "(list))\n\t\t\t)\n\t)",
              os.str());
    std::unique_ptr<Step> mirror(s->inversion({}, {}, {}));
    EXPECT_NE(std::string::npos, text(*mirror).find("(pt :x 1 :y -2)"));
}

}  // namespace
