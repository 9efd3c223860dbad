#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Action.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

Action* read(const std::string& in, std::string* rest = nullptr, const PlayerList& players = {},
             const PlayerList& opponents = {}) {
    std::string out;
    Action* a = Action::parse(in, out, {}, players, opponents);
    if (rest) *rest = out;
    return a;
}

// Records which operation the action chose.
struct Recorder : Action::Executor {
    int called = 0;
    void execute(const ActPos&) override { called = 1; }
    void execute(const ActLongKick&) override { called = 2; }
    void execute(const ActPass&) override { called = 3; }
    void execute(const ActMark&) override { called = 4; }
    void execute(const ActMarkLinePlayer&) override { called = 5; }
    void execute(const ActMarkLineReg&) override { called = 6; }
    void execute(const ActDribble&) override { called = 7; }
    void execute(const ActOffsideLine&) override { called = 8; }
    void execute(const ActClear&) override { called = 9; }
    void execute(const ActShoot&) override { called = 10; }
    void execute(const ActHold&) override { called = 11; }
    void execute(const ActIntercept&) override { called = 12; }
    void execute(const ActTackle&) override { called = 13; }
    void execute(const ActStop&) override { called = 14; }
    void execute(const ActAttentionToReg&) override { called = 15; }
    void execute(const ActAttentionToObj&) override { called = 16; }
    void execute(const ActMarkGoal&) override { called = 17; }
    void execute(const ActReceiveBall&) override { called = 18; }
    void execute(const ActMoveToOffsideLine&) override { called = 19; }
    void execute(const ActPasstoBestPlayer&) override { called = 20; }
    void execute(const ActOfeMark&) override { called = 21; }
    void execute(const ActMov&) override { called = 22; }
    void execute(const ActDefMark&) override { called = 23; }
    void execute(const ActBecomeOwner&) override { called = 24; }
};

TEST(SetplayActions, TwentyFourKinds) {
    // The ball at (0, 0), nobody owning it, this player at (50, 50) and every
    // other player far away.
    FakeContext ctx;
    ctx.setPlayer("our", 7, 50, 50);
    ctx.setMoving("our", 7, 50, 50);
    struct Case {
        const char* text;
        const char* printed;
        char code;
        const char* label;
        int executor;
        bool accomplished;
    } cases[] = {
        {"(pos :region (pt :x 1 :y 1))", "(pos :region (pt :x 1 :y 1))", 'p', "pos", 1, false},
        {"(lki :region (pt :x 0 :y 0))", "(lki :region (pt :x 0 :y 0) :type normal)", 'f', "longkick", 2, true},
        {"(lki :region (pt :x 0 :y 0) :type fast)", "(lki :region (pt :x 0 :y 0) :type fast)", 'f', "longkick", 2,
         true},
        {"(bto :players (list 2 3))",
         "(bto :players (list (player :team our :number 2) (player :team our :number 3) ) :type slow)", 'y',
         "ballToPlayer", 3, false},
        {"(bto :players 2 :type normal)", "(bto :players (list (player :team our :number 2) ) :type normal)", 'y',
         "ballToPlayer", 3, false},
        {"(mark :players 4)", "(mark :players (list (player :team our :number 4) ))", 'm', "mark", 4, false},
        {"(markl :players 4)", "(markl :players (list (player :team our :number 4) ))", 'l', "markLinePlayer", 5,
         false},
        {"(markl :region (pt ball))", "(markl :region (pt ball))", 'r', "markLineReg", 6, false},
        {"(dribble :region (pt ball))", "(dribble :region (pt ball))", 'd', "dribble", 7, true},
        {"(oline :region (pt ball))", "(oline :region (pt ball))", 'o', "offsideLine", 8, false},
        {"(clear :region (pt ball))", "(clear :region (pt ball))", 'c', "clear", 9, false},
        {"(shoot )", "(shoot)", 's', "shoot", 10, false},
        {"(hold)", "(hold)", 'h', "hold", 11, false},
        {"(intercept :region (pt ball))", "(intercept :region (pt ball))", 'i', "intercept", 12, false},
        {"(tackle :players 5)", "(tackle :players (list (player :team our :number 5) ))", 't', "tackle", 13, false},
        {"(stop)", "(stop)", '0', "stop", 14, false},
        {"(attentionTo :region (pt ball))", "(attentionTo :region (pt ball))", 'a', "attentionToReg", 15, true},
        {"(attentionTo :object (ball))", "(attentionTo :object (ball))", 'b', "attentionToObj", 16, true},
        {"(markGoal)", "(markGoal)", 'g', "markGoal", 17, true},
        {"(receiveBall)", "(receiveBall)", 'v', "receiveBall", 18, false},
        {"(moveToOffSideLine :y 3.5)", "(moveToOffSideLine :y 3.5)", 'e', "moveToOffSideLine", 19, false},
        {"(pbplayer :players 6 :type fast)", "(pbplayer :players (list (player :team our :number 6) ) :type fast)",
         'j', "ballToPlayer", 20, false},
        {"(ofeMark :destPlayer 3 :relTo (goalPostOur))",
         "(ofeMark :destPlayer (player :team opp :number 3) :relTo (goalPostOur) )", 'u', "ofeMark", 21, false},
        {"(mov :region (pt ball))", "(mov :region (pt ball))", 'z', "mov", 22, false},
        {"(defMark :destPlayer (list 2 3))",
         "(defMark :destPlayer (list (player :team opp :number 2) (player :team opp :number 3) ))", '9', "defmark",
         23, false},
        {"(becomeOwner)", "(becomeOwner)", 'v', "becomeOwner", 24, false},
    };
    for (const Case& c : cases) {
        std::string rest;
        std::unique_ptr<Action> a(read(c.text, &rest));
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ("", rest) << c.text;
        EXPECT_EQ(c.printed, text(*a)) << c.text;
        EXPECT_EQ(c.code, a->actionType()) << c.text;
        EXPECT_EQ(c.label, a->label()) << c.text;
        EXPECT_TRUE(a->active);
        EXPECT_FALSE(a->done);
        Recorder r;
        a->getExecuted(r);
        EXPECT_EQ(c.executor, r.called) << c.text;
        EXPECT_EQ(c.accomplished, a->isAccomplished(ctx.me(), ctx)) << c.text;
        EXPECT_EQ(c.accomplished ? nullptr : a.get(), a->necessaryAction(ctx.me(), ctx)) << c.text;
        // Opponents print in the own players' long form, which the opponent
        // readers do not take.
        if (text(*a).find(":team opp") == std::string::npos) {
            std::unique_ptr<Action> again(read(text(*a)));
            ASSERT_TRUE(again) << c.text;
            EXPECT_EQ(text(*a), text(*again));
        }
        std::unique_ptr<Action> copy(a->deepCopy({}, {}, {}));
        EXPECT_EQ(c.printed, text(*copy));
    }
}

TEST(SetplayActions, RejectedTexts) {
    const char* cases[] = {
        "(lki :region (pt ball) :type hard)", "(bto :players 2 :type quick)", "(bto :players (list) )",
        "(seq)",                              "(becomeOwner )",               "(pos :region)",
        "(mark :players)",                    "(lki :region (pt ball)",       "(moveToOffSideLine :y)",
        "(ofeMark :destPlayer 3 :relTo (ball)", "(attentionTo :object)",      "(unknown)",
    };
    for (const char* c : cases) {
        std::string rest;
        std::unique_ptr<Action> a(read(c, &rest));
        EXPECT_EQ(nullptr, a) << c;
        EXPECT_EQ(c, rest) << c;
    }
}

TEST(SetplayActions, Lists) {
    struct Case {
        const char* text;
        int count;  // -1: no list
        const char* rest;
    } cases[] = {
        {"(list (hold) (shoot)) x", 2, " x"},
        {"(hold) (shoot)", 1, " (shoot)"},
        {"(list)", -1, "(list)"},
        {"(list (hold) (shoot)", -1, "(list (hold) (shoot)"},
        {"(list (hold) (bad))", -1, "(list (hold) (bad))"},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<std::vector<Action*>> list(Action::parseActionList(c.text, out, {}, {}, {}));
        EXPECT_EQ(c.count, list ? static_cast<int>(list->size()) : -1) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
        if (list)
            for (Action* a : *list) delete a;
    }
}

TEST(SetplayActions, Completion) {
    FakeContext ctx;
    std::unique_ptr<Action> clear(read("(clear :region (rec :points (list (pt :x -1 :y -1) (pt :x 1 :y 1))))"));
    EXPECT_FALSE(clear->isAccomplished(ctx.me(), ctx));
    ctx.setBall(5, 5);
    EXPECT_TRUE(clear->isAccomplished(ctx.me(), ctx));

    std::unique_ptr<Action> mark(read("(mark :players (list 2 3))"));
    ctx.setPlayer("our", 3, 10, 0);
    ctx.setPlayer("our", 7, 12.9, 0);
    EXPECT_TRUE(mark->isAccomplished(ctx.me(), ctx));
    ctx.setPlayer("our", 7, 13.1, 0);
    EXPECT_FALSE(mark->isAccomplished(ctx.me(), ctx));

    std::unique_ptr<Action> pos(read("(pos :region (pt :x 1 :y 1))"));
    ctx.setPlayer("our", 7, 1, 1);
    EXPECT_TRUE(pos->isAccomplished(ctx.me(), ctx));

    std::unique_ptr<Action> mov(read("(mov :region (arc :center (pt :x 0 :y 0) :radius_large 2))"));
    EXPECT_FALSE(mov->isAccomplished(ctx.me(), ctx));
    ctx.setMoving("our", 7, 1, 0);
    EXPECT_TRUE(mov->isAccomplished(ctx.me(), ctx));

    std::unique_ptr<Action> hold(read("(hold)"));
    ctx.ballOwner = true;
    EXPECT_TRUE(hold->isAccomplished(ctx.me(), ctx));

    std::unique_ptr<Action> ofe(read("(ofeMark :destPlayer 3 :relTo (ball))"));
    ctx.target.reset(pt(2, 2));
    ctx.setMoving("our", 7, 3, 3);
    EXPECT_TRUE(ofe->isAccomplished(ctx.me(), ctx));
    ctx.target.reset(pt(20, 2));
    EXPECT_FALSE(ofe->isAccomplished(ctx.me(), ctx));
}

TEST(SetplayActions, Sequences) {
    FakeContext ctx;
    std::unique_ptr<Action> seq(read("(seq (markGoal) (bto :players 2 :type fast) (shoot))"));
    ASSERT_TRUE(seq);
    EXPECT_EQ("(seq  (markGoal) (bto :players (list (player :team our :number 2) ) :type fast) (shoot) )", text(*seq));
    const ActSeq* s = dynamic_cast<const ActSeq*>(seq.get());
    EXPECT_EQ(s->getActions()[1], seq->necessaryAction(ctx.me(), ctx));
    EXPECT_FALSE(seq->isAccomplished(ctx.me(), ctx));
    EXPECT_EQ(1u, seq->relevantPlayers().size());
    Recorder r;
    seq->getExecuted(r);
    EXPECT_EQ(17, r.called);
    std::unique_ptr<Action> nested(read("(seq (seq (hold)))"));
    EXPECT_TRUE(nested);
}

TEST(SetplayActions, Mirrors) {
    OwnedList<PlayerReference> opp;
    opp.items = {new PlayerRole("o")};
    struct Case {
        const char* text;
        const char* mirrored;
    } cases[] = {
        {"(pos :region (pt :x 1 :y 2))", "(pos :region (pt :x 1 :y -2))"},
        {"(lki :region (pt :x 1 :y 2) :type slow)", "(lki :region (pt :x 1 :y -2) :type slow)"},
        {"(moveToOffSideLine :y 3)", "(moveToOffSideLine :y -3)"},
        {"(attentionTo :object (ownGoal))", "(attentionTo :object (ownGoal))"},
        {"(seq (clear :region (pt :x 0 :y 1)) (stop))", "(seq  (clear :region (pt :x 0 :y -1)) (stop) )"},
        {"(ofeMark :destPlayer o :relTo (goalPostOur))",
         "(ofeMark :destPlayer (playerRole :roleName o) :relTo (goalPostOur) )"},
        {"(ofeMark :destPlayer 2 :relTo (pt :x 1 :y 2))",
         "(ofeMark :destPlayer (player :team opp :number 2) :relTo (pt :x 1 :y -2) )"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Action> a(read(c.text, nullptr, {}, opp.items));
        ASSERT_TRUE(a) << c.text;
        std::unique_ptr<Action> m(a->inversion({}, {}, opp.items));
        EXPECT_EQ(c.mirrored, text(*m)) << c.text;
    }
    // A mirrored offensive mark holds the new set play's own role.
    std::unique_ptr<Action> a(read("(ofeMark :destPlayer o :relTo 4)", nullptr, {}, opp.items));
    std::unique_ptr<Action> m(a->inversion({}, {}, opp.items));
    const ActOfeMark* mark = dynamic_cast<const ActOfeMark*>(m.get());
    EXPECT_EQ(opp.items[0], mark->getDestPlayer());
    EXPECT_NE(dynamic_cast<const ActOfeMark*>(a.get())->getPlayerRelative(), mark->getPlayerRelative());
    EXPECT_EQ(ActOfeMark::Player, mark->getTargetType());
}

TEST(SetplayActions, PrettyForms) {
    struct Case {
        const char* text;
        const char* pretty;
    } cases[] = {
        {"(pos :region (pt ball))", "H position self at: \nH  region point\nH  Point-Ball\n"},
        {"(lki :region (pt ball))", "H ball to: use  normal to go to:\nH  region point\nH  Point-Ball\n"},
        {"(attentionTo :object (ball))", "direct attention to (ball))"},
        {"(stop)", "H stop \n"},
        {"(bto :players 2)", "H ball to players: (player :team our :number 2)  :type slow\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Action> a(read(c.text));
        ASSERT_TRUE(a) << c.text;
        std::ostringstream os;
        a->printPretty(os, "H ");
        EXPECT_EQ(c.pretty, os.str()) << c.text;
    }
}

}  // namespace
