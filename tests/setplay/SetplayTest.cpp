#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Setplay.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

const std::string STEPS =
    " :steps (seq (step :id 0 :participants (list (at kicker (pt :x 1 :y 2)) 9) :condition (playm ko_our) "
    ":leadPlayer kicker :ballHolder kicker :transitions (list (finish :directives (list (do :players kicker "
    ":actions (pos :region (pt :x d :y 3)))))))))";

const std::string FULL = "(setplay :name corner :id 3 :invertible true :version 1.2 :comment (free text) "
                         ":parameters (list (decimal :name d) (integer :name n)) :players (list (playerRole "
                         ":roleName kicker) 9) :playersOpponents (list 4) :abortCond (time > 300)" +
                         STEPS;

Setplay* read(const std::string& in, std::string* rest = nullptr, std::string* errors = nullptr) {
    std::string out = "untouched";
    testing::internal::CaptureStderr();
    Setplay* s = Setplay::parse(in, out, true, false, 1.6f);
    std::string err = testing::internal::GetCapturedStderr();
    if (rest) *rest = out;
    if (errors) *errors = err;
    return s;
}

TEST(SetplayDefinitions, Reading) {
    std::string rest;
    std::unique_ptr<Setplay> s(read(FULL + " next", &rest));
    ASSERT_TRUE(s);
    EXPECT_EQ(" next", rest);
    EXPECT_EQ(3, s->id());
    EXPECT_EQ("corner", s->getName());
    EXPECT_TRUE(s->isInvertible());
    EXPECT_EQ(2u, s->getParameters().size());
    EXPECT_EQ(2u, s->getPlayers().size());
    EXPECT_EQ(1u, s->getPlayersOpponent().size());
    EXPECT_TRUE(s->getAbortCond());
    EXPECT_EQ(1u, s->getSteps().size());
    EXPECT_FLOAT_EQ(1.6f, s->getMessageRepeatTime());

    std::unique_ptr<Setplay> bare(read("(setplay :name a :id 1 :players 1 :playersOpponents (list)" + STEPS.substr(0, 0) +
                                       " :steps (seq (step :id 5 :participants (list 1) :leadPlayer 1 :ballHolder (NULL) "
                                       ":transitions (list))))"));
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->isInvertible());
    EXPECT_TRUE(bare->getParameters().empty());

    EXPECT_EQ(nullptr, read(" \t\n ", &rest));
    EXPECT_EQ("", rest);
}

TEST(SetplayDefinitions, Errors) {
    const std::string players = " :players 1 :playersOpponents (list)";
    const std::string step =
        " :steps (seq (step :id 0 :participants (list 1) :leadPlayer 1 :ballHolder (NULL) :transitions (list))))";
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {"(setplay :name a :id x" + players + step, "Invalid Setplay header"},
        {"(setplay :name a :id 2147483648" + players + step, "Invalid Setplay header"},
        {"(setplay :name a :id 1 :invertible maybe" + players + step, "Illegal value in invertible!"},
        {"(setplay :name a :id 1 :parameters (list (integer :name n) (pt :x 1 :y 2))" + players + step,
         "error parsing parameters! ')' expected"},
        {"(setplay :name a :id 1 :parameters (list (rec :points (list (pt ball) (pt ball))))" + players + step,
         "error parsing parameters! ')' expected"},
        {"(setplay :name a :id 1" + step, "':players' expected"},
        // Keywords are prefixes: ":players" is found at ":playersOpponents".
        {"(setplay :name a :id 1 :playersOpponents (list)" + step, "Parsed an empty player list"},
        {"(setplay :name a :id 1 :players (list) :playersOpponents (list)" + step, "Parsed an empty player list"},
        {"(setplay :name a :id 1 :players (list" + step, "')' esperado"},
        {"(setplay :name a :id 1 :players 1" + step, "':playersOpponents' expected"},
        {"(setplay :name a :id 1" + players + " :abortCond (nonsense)" + step,
         "Failed parsing abort condition, ':abortCond' found without Condition"},
        {"(setplay :name a :id 1" + players + " :steps (list))", "':steps (seq' expected"},
        {"(setplay :name a :id 1" + players + " :steps (seq (bad)))", "step 0 nao encontrado"},
        {"(setplay :name a :id 1" + players + step.substr(0, step.size() - 1), "error parsing steps! ')' expected"},
    };
    for (const Case& c : cases) {
        std::string errors;
        std::unique_ptr<Setplay> s(read(c.text, nullptr, &errors));
        EXPECT_EQ(nullptr, s) << c.text;
        EXPECT_NE(std::string::npos, errors.find(std::string("SetplayException\n") + c.message + "\n"))
            << c.text << "\n" << errors;
    }
    std::string rest, errors;
    read("(setplay :name a :id 1" + players + step.substr(0, step.size() - 1) + " x", &rest, &errors);
    EXPECT_EQ(0u, errors.find("input =  x\n"));
    EXPECT_EQ(step.substr(0, step.size() - 1) + " x", rest);
    read("(setplay :id 1" + players + step, &rest);
    EXPECT_EQ("untouched", rest);
}

TEST(SetplayDefinitions, TwoDefinitionsBackToBack) {
    std::string rest;
    std::unique_ptr<Setplay> first(read(FULL + "\n" + FULL, &rest));
    ASSERT_TRUE(first);
    std::unique_ptr<Setplay> second(read(rest, &rest));
    ASSERT_TRUE(second);
    EXPECT_EQ(nullptr, read(rest, &rest));
    EXPECT_EQ("", rest);
    std::string errors;
    std::unique_ptr<Setplay> good(read(FULL + "(setplay :name b :id 2 :players (list))", &rest));
    ASSERT_TRUE(good);
    EXPECT_EQ(nullptr, read(rest, &rest, &errors));
    EXPECT_NE(std::string::npos, errors.find("SetplayException\n"));
}

TEST(SetplayDefinitions, WrittenForms) {
    std::unique_ptr<Setplay> s(read(FULL));
    ASSERT_TRUE(s);
    std::ostringstream one;
    s->write(one);
    EXPECT_EQ(
        "(setplay :name corner :id 3 :invertible true :players (list (playerRole :roleName kicker) (player :team our "
        ":number 9) )  :abortCond (time > 300) :steps (seq (step :id 0 :waitTime 0 :abortTime 0 :participants (list "
        "(at (playerRole :roleName kicker) (pt :x 1 :y 2)) (player :team our :number 9) ) :condition (playm ko_our) "
        ":leadPlayer (playerRole :roleName kicker) :transitions (list (finish :directives (list(do  :players (list "
        "(playerRole :roleName kicker) ) :actions (list (pos :region (pt :x (decimal :name d) :y 3)) )))) )) ))",
        one.str());
    std::ostringstream top;
    s->write2(top, 0);
    const std::string t = top.str();
    EXPECT_EQ(0u, t.find("(setplay :name corner :id 3 :invertible true\n :players\n\t(list\n\t\t(playerRole "
                         ":roleName kicker)\n\t\t(player :team our :number 9)\n\t) \n :playersOpponents\n\t(list\n\t\t"
                         "(player :team opp :number 4)\n\t) \n :abortCond (time > 300)\n :steps\n\t(seq\n\t\t(step"));
    EXPECT_EQ("\n\t)\n)\n", t.substr(t.size() - 6));
    std::ostringstream deeper;
    s->write2(deeper, 2);
    const std::string d = deeper.str();
    EXPECT_EQ("\n\t\t\t)\n\t)\n", d.substr(d.size() - 9));
}

TEST(SetplayDefinitions, CopyAndMirror) {
    std::unique_ptr<Setplay> s(read(FULL));
    ASSERT_TRUE(s);
    std::unique_ptr<Setplay> copy(s->deepCopy());
    EXPECT_EQ("corner", copy->getName());
    EXPECT_EQ(3, copy->id());
    EXPECT_FALSE(copy->isInvertible());
    EXPECT_NE(s->getPlayers()[0], copy->getPlayers()[0]);
    // Every use of a role or a parameter in the copy is the copy's own object.
    const Step* step = copy->getSteps()[0];
    EXPECT_EQ(copy->getPlayers()[0], step->leadPlayer);
    EXPECT_EQ(copy->getPlayers()[0], step->ballHoder);
    EXPECT_EQ(copy->getPlayers()[0], (*step->participants)[0]->participant());

    std::unique_ptr<Setplay> m(s->inversion());
    ASSERT_TRUE(m);
    EXPECT_EQ("INV_corner", m->getName());
    EXPECT_EQ(-3, m->id());
    EXPECT_FALSE(m->isInvertible());
    std::ostringstream a, b;
    s->write(a);
    m->write(b);
    EXPECT_EQ(text(*s->getPlayers()[1]), text(*m->getPlayers()[1]));
    EXPECT_NE(std::string::npos, b.str().find("(at (playerRole :roleName kicker) (pt :x 1 :y -2))"));
    EXPECT_NE(std::string::npos, b.str().find("(pt :x (decimal :name d) :y -3)"));

    std::string zero = FULL;
    zero.replace(zero.find(":id 3"), 5, ":id 0");
    std::unique_ptr<Setplay> z(read(zero));
    ASSERT_TRUE(z);
    testing::internal::CaptureStderr();
    std::unique_ptr<Setplay> none(z->inversion());
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("id 0"));
    EXPECT_EQ(nullptr, none);
}

}  // namespace
