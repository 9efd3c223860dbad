#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/SetplayManager.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

// A set play with one role k, leading step 0 (at 5,0); step 0 goes on to step 1
// led by 9 and ends with success there once the time passes 50.
std::string play(int id, const std::string& extra = "", const std::string& cond0 = "", const std::string& steps = "",
                 const std::string& abortCond = "") {
    return "(setplay :name p" + std::to_string(id) + " :id " + std::to_string(id) + extra +
           " :players (list (playerRole :roleName k) 9) :playersOpponents (list (playerRole :roleName o)) " +
           abortCond +
           " :steps "
           "(seq (step :id 0 :participants (list (at k (pt :x 5 :y 0)) 9) :participantsOpponents (list o) " +
           cond0 + " :leadPlayer k :ballHolder k :transitions (list (nextStep :id 1)))" +
           (steps.empty() ? " (step :id 1 :participants (list k 9) :leadPlayer 9 :ballHolder 9 :transitions "
                            "(list (finish :condition (time > 50))))"
                          : steps) +
           "))\n";
}

struct Files {
    std::string dir;
    Files() {
        char tmpl[] = "/tmp/setplaymanagerXXXXXX";
        dir = mkdtemp(tmpl);
    }
    ~Files() {
        std::remove((dir + "/setplay.conf").c_str());
        std::remove((dir + "/cbr.conf").c_str());
        rmdir(dir.c_str());
    }
    std::string conf(const std::string& text) {
        std::ofstream(dir + "/setplay.conf") << text;
        return dir + "/setplay.conf";
    }
    std::string cases() const { return dir + "/cbr.conf"; }
    std::string read(const std::string& name) const {
        std::ifstream in(dir + "/" + name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

// The ids of the templates, in order.
std::string ids(const SetplayManager& m) {
    std::string s;
    for (unsigned i = 0; i < m.numberOfSetplays(); ++i) {
        std::ostringstream os;
        m.writeSetplayNum(os, i);
        std::istringstream is(os.str());
        std::string word, name;
        int id = 0;
        is >> word >> word >> name >> word >> id;
        s += std::to_string(id) + ";";
    }
    return s;
}

TEST(SetplayManager, LoadsDefinitionsWithMirrors) {
    Files f;
    FakeContext w;
    struct Case {
        const char* what;
        std::string text;
        std::string ids;
        std::vector<const char*> lines;
    } cases[] = {
        {"duplicate",
         play(1) + play(2, " :invertible true") + play(1),
         "1;2;-2;",
         {"SP: duplicate id in setplay file!"}},
        {"remainder", play(1) + " junk", "1;", {"Remainder of Setplay Config file(5 chars): junk"}},
        {"no step 0",
         "(setplay :name p3 :id 3 :players (list 9) :playersOpponents (list) :steps (seq (step :id 1 "
         ":participants (list 9) :leadPlayer 9 :ballHolder 9 :transitions (list))))" +
             play(4),
         "4;",
         {"set play p3 (id 3) dropped: no step 0"}},
        {"missing step",
         play(3, " :invertible true", "",
              " (step :id 1 :participants (list k) :leadPlayer k :ballHolder k :transitions "
              "(list (nextStep :id 7)))") +
             play(4),
         "4;",
         {"set play p3 (id 3) dropped: step 1 leads to step 7, which it lacks"}},
        {"unknown region",
         play(3, " :invertible true", ":condition (bpos :region (regNamed :name nowhere))") + play(4),
         "4;",
         {"set play p3 (id 3) dropped: SP: Area name not found in NameSubstitutions:nowhere"}},
        {"undeclared role",
         play(3, "", "",
              " (step :id 1 :participants (list (playerRole :roleName z)) :leadPlayer 9 :ballHolder 9 "
              ":transitions (list (finish)))") +
             play(4),
         "4;",
         {"set play p3 (id 3) dropped: Player Role not found in players list!"}},
        {"parameters",
         play(5, " :parameters (list (decimal :name d))") + play(4),
         "5;4;",
         {"set play p5 (id 5) has parameters"}},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        SetplayManager m("us", f.conf(c.text), true, true, 1.6f, w);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.ids, ids(m)) << c.what;
        for (const char* line : c.lines) EXPECT_NE(std::string::npos, err.find(line)) << c.what << "\n" << err;
    }
    testing::internal::CaptureStderr();
    SetplayManager none("us", f.dir + "/absent.conf", true, true, 1.6f, w);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(0u, none.numberOfSetplays());
}

TEST(SetplayManager, FeasibleSetplays) {
    Files f;
    FakeContext w;
    w.now = 10;
    testing::internal::CaptureStderr();
    SetplayManager m(
        "us",
        f.conf(play(1) + play(2, "", "", "", ":abortCond (time > 5)") + play(3, "", ":condition (time > 20)") +
               play(4, "", ":condition (time > 5)") + play(5, " :parameters (list (decimal :name d))")),
        true, true, 1.6f, w);
    std::string feasible;
    for (const Setplay* sp : m.feasibleSetplays(w)) feasible += std::to_string(sp->id()) + ";";
    EXPECT_EQ("1;4;", feasible);
    // An opponent number that does not read makes the opponents unbindable.
    w.oppHolder = 3000000000u;
    EXPECT_TRUE(m.feasibleSetplays(w).empty());
    testing::internal::GetCapturedStderr();
}

struct Game {
    Files f;
    FakeContext w;
    std::unique_ptr<SetplayManagerWithCBR> m;
    explicit Game(const std::string& text) {
        testing::internal::CaptureStderr();
        m.reset(new SetplayManagerWithCBR("us", f.conf(text), true, true, 1.6f, w, f.cases(), true));
        testing::internal::GetCapturedStderr();
    }
    template <typename F>
    void quiet(F f) {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        f();
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
};

TEST(SetplayManager, LeadStartsRunsAndLearns) {
    Game g(play(1, "", ":condition (playm ko_our)"));
    g.w.now = 10;
    g.w.mode = rcss::clang::KickOff_Our;
    g.quiet([&] { g.m->autoActivateSetplay(g.w, 2); });
    ASSERT_TRUE(g.m->isSetplayActive());
    EXPECT_TRUE(g.w.isKickOffSetplay());
    EXPECT_TRUE(g.m->amLeadPlayer(g.w));
    EXPECT_EQ(2u, g.m->getProblemContext()->getNOpps_nearBall());
    EXPECT_TRUE(g.m->willCommunicate(g.w));
    EXPECT_EQ("S1 7", g.m->messageToSend(g.w)->toString());

    g.quiet([&] { g.m->chosenTransition(0, g.w); });
    g.w.now = 60;
    g.quiet([&] { g.m->updateInternalState(g.w); });
    EXPECT_FALSE(g.m->isSetplayActive());
    EXPECT_FALSE(g.w.isKickOffSetplay());
    EXPECT_TRUE(g.m->wasLastSetplaySuccessful());
    EXPECT_EQ(1u, g.m->getCaseBase()->numberOfCases());
    EXPECT_NE(std::string::npos, g.f.read("cbr.conf").find("(case :setplayId 1 "));

    // The end is told for the repeat time by those who took part.
    g.w.now = 61.5;
    EXPECT_TRUE(g.m->willCommunicate(g.w));
    std::unique_ptr<SetplayMessage> end;
    g.quiet([&] { end = g.m->messageToSend(g.w); });
    EXPECT_EQ("-1 1", end->toString());
    g.w.now = 61.7;
    EXPECT_FALSE(g.m->willCommunicate(g.w));
}

TEST(SetplayManager, KickOffFlagAndTheSituation) {
    struct Case {
        const char* cond0;
        double now;
        bool started, kickOff;
    } cases[] = {
        {":condition (playm ko_our)", 10, true, true},
        {":condition (and (playm ko_our) (time > 0))", 10, true, false},
        {":condition (time > 20)", 10, false, false},
    };
    for (const Case& c : cases) {
        Game g(play(1, "", c.cond0));
        g.w.now = c.now;
        g.w.mode = rcss::clang::KickOff_Our;
        g.quiet([&] { g.m->autoActivateSetplay(g.w, 3); });
        EXPECT_EQ(c.started, g.m->isSetplayActive()) << c.cond0;
        EXPECT_EQ(c.kickOff, g.w.isKickOffSetplay()) << c.cond0;
        ASSERT_TRUE(g.m->getProblemContext()) << c.cond0;
        EXPECT_EQ(3u, g.m->getProblemContext()->getNOpps_nearBall());
    }
    // A player that joins by an init message counts no opponents near the ball.
    Game g(play(1));
    g.quiet([&] { g.m->processReceivedMessage("S1 8", g.w); });
    ASSERT_TRUE(g.m->isSetplayActive());
    EXPECT_EQ(0u, g.m->getProblemContext()->getNOpps_nearBall());
}

TEST(SetplayManager, HeardMessages) {
    struct Case {
        const char* what;
        std::vector<const char*> heard;
        bool active;
        int step;
    } cases[] = {
        {"init starts", {"S1 7"}, true, 0},
        {"too many arguments", {"S1 7 3"}, false, -1},
        {"no role argument", {"S1"}, false, -1},
        {"not our number", {"S1 12"}, false, -1},
        {"unknown set play", {"S8 7"}, false, -1},
        {"repeated at step 0", {"S1 7", "S1 7"}, true, 0},
        {"step message", {"S1 7", "0 1"}, true, 1},
        {"init past step 0", {"S1 8", "1 -1", "S1 8"}, false, -1},
        {"other set play", {"S1 7", "S2 7"}, false, -1},
        {"end heard", {"S1 7", "-1 1"}, false, -1},
        {"forged steps", {"S1 7", "14 3", "-5 2", "2 1", "0 9"}, true, 0},
    };
    for (const Case& c : cases) {
        Game g(play(1) + play(2));
        g.w.now = 5;
        g.quiet([&] {
            for (const char* m : c.heard) g.m->processReceivedMessage(m, g.w);
            g.m->updateInternalState(g.w);
        });
        EXPECT_EQ(c.active, g.m->isSetplayActive()) << c.what;
        if (g.m->isSetplayActive()) {
            EXPECT_EQ(c.step, g.m->getCurrentSetplay()->currentStepNumber()) << c.what;
        }
    }
    // A success heard after the end.
    Game g(play(1));
    g.quiet([&] { g.m->processReceivedMessage("-1 1", g.w); });
    EXPECT_TRUE(g.m->wasLastSetplaySuccessful());
}

}  // namespace
