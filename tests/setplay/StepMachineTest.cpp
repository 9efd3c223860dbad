#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Setplay.h"
#include "setplay/SetplayException.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

// Roles a and b; a leads steps 0 and 2, b leads step 1 and is told to shoot on
// the way from step 0 to step 1.
const char* const PLAY =
    "(setplay :name t :id 5 :players (list (playerRole :roleName a) (playerRole :roleName b)) "
    ":playersOpponents (list) :steps (seq "
    "(step :id 0 :waitTime 2 :abortTime 5 :participants (list (at a (pt :x 0 :y 0)) (at b (pt :x 10 :y 0))) "
    ":leadPlayer a :ballHolder a :transitions (list (nextStep :id 1 :condition (time > 100)) "
    "(nextStep :id 1 :directives (list (do :players b :actions (shoot)))) (nextStep :id 2))) "
    "(step :id 1 :participants (list a (at b (pt :x 3 :y 4))) :leadPlayer b :ballHolder b :transitions (list "
    "(nextStep :id 2) (abort :condition (time > 50)) (finish :condition (time > 50)))) "
    "(step :id 2 :participants (list a b) :leadPlayer a :ballHolder a :transitions (list "
    "(finish :condition (time > 50)) (abort :condition (time > 70))))))";

// A started copy of PLAY in which I (number 7) am role a or role b.
struct Play {
    FakeContext w;
    std::unique_ptr<Setplay> sp;

    explicit Play(bool meLeading, double start = 10) {
        std::string rest;
        testing::internal::CaptureStderr();
        std::unique_ptr<Setplay> tpl(Setplay::parse(PLAY, rest, true, true, 1.6f));
        EXPECT_TRUE(tpl);
        sp.reset(tpl->deepCopy());
        std::vector<std::string> args{meLeading ? "7" : "8", meLeading ? "8" : "7"};
        EXPECT_TRUE(sp->instantiate(&args, 11));
        w.now = start;
        sp->start(w);
        testing::internal::GetCapturedStderr();
    }
    void at(double t) {
        w.now = t;
        testing::internal::CaptureStderr();
        sp->updateInternalState(w);
        testing::internal::GetCapturedStderr();
    }
    void choose(unsigned n) {
        testing::internal::CaptureStderr();
        sp->chosenTransition(n, w);
        testing::internal::GetCapturedStderr();
    }
    void hear(const char* text) {
        testing::internal::CaptureStderr();
        sp->processReceivedMessage(StepMessage(w.now, text), w);
        testing::internal::GetCapturedStderr();
    }
    std::string said() { return sp->messageToSend(w)->toString(); }
};

TEST(SetplayStepMachine, AbortAndWaitTimes) {
    Play p(true);
    p.at(15);
    EXPECT_FALSE(p.sp->isDone());
    p.w.now = 11.9;
    EXPECT_FALSE(p.sp->waitTimeHasElapsed(p.w));
    p.w.now = 12;
    EXPECT_TRUE(p.sp->waitTimeHasElapsed(p.w));
    p.at(15.01);
    EXPECT_TRUE(p.sp->isDone());
    EXPECT_FALSE(p.sp->isSuccessful());

    // A non-lead times out the same way; a step without an abort time never does.
    Play q(false);
    q.at(15.01);
    EXPECT_TRUE(q.sp->isDone());
    Play r(false);
    r.hear("1 -1");
    r.at(1000);
    EXPECT_FALSE(r.sp->isDone());
    EXPECT_EQ(1, r.sp->currentStepNumber());
}

TEST(SetplayStepMachine, TransitionsInOrder) {
    Play p(true);
    std::vector<const Transition*> options = p.sp->possibleTransitions(p.w);
    ASSERT_EQ(3u, options.size());
    EXPECT_EQ(nullptr, options[0]);
    EXPECT_TRUE(options[1] && options[2]);
    p.choose(1);
    EXPECT_EQ(1, p.sp->nextStepNumber());
    EXPECT_EQ(2u, p.sp->possibleTransitions(p.w).size());  // both ways to step 1
    p.at(11.9);
    EXPECT_EQ(0, p.sp->currentStepNumber());
    p.at(12);
    EXPECT_EQ(1, p.sp->currentStepNumber());
    EXPECT_EQ(-1, p.sp->nextStepNumber());
    EXPECT_FALSE(p.sp->amLeadPlayer(p.w));
    EXPECT_TRUE(p.sp->possibleTransitions(p.w).empty());

    // b chooses step 2, which I lead; I take it only once I own the ball.
    p.hear("1 2");
    EXPECT_EQ(2, p.sp->nextStepNumber());
    p.at(13);
    EXPECT_EQ(1, p.sp->currentStepNumber());
    p.w.ballOwner = true;
    p.at(14);
    EXPECT_EQ(2, p.sp->currentStepNumber());
    EXPECT_TRUE(p.sp->amLeadPlayer(p.w));
    EXPECT_EQ(std::vector<const Transition*>(2, nullptr), p.sp->possibleTransitions(p.w));
    p.w.now = 60;
    p.choose(0);
    EXPECT_TRUE(p.sp->isDone());
    EXPECT_TRUE(p.sp->isSuccessful());
    EXPECT_EQ("-1 1", p.said());
}

TEST(SetplayStepMachine, EndOnEntryTakesTheLastTransitionThatHolds) {
    struct Case {
        double start;
        unsigned choice;
        bool done, successful;
    } cases[] = {
        {10, 2, false, false},  // step 2, nothing holds
        {60, 2, true, true},    // step 2, finish only
        {80, 2, true, false},   // step 2, finish then abort
        {55, 1, true, true},    // step 1, abort then finish
    };
    for (const Case& c : cases) {
        Play p(true, c.start);
        p.choose(c.choice);
        p.at(c.start + 2);
        EXPECT_EQ(c.done, p.sp->isDone()) << c.start;
        EXPECT_EQ(c.successful, p.sp->isSuccessful()) << c.start;
    }
}

TEST(SetplayStepMachine, StepMessages) {
    struct Case {
        std::vector<const char*> heard;
        int current, next;
        bool done, successful;
    } cases[] = {
        {{"-1 1"}, 0, -1, true, true},
        {{"-1 5"}, 0, -1, true, false},
        {{"-1 -1"}, 0, -1, true, false},
        {{"0 1"}, 0, 1, false, false},
        {{"0 1", "0 -1", "0 1"}, 0, 1, false, false},
        {{"0 1", "0 2"}, 0, 2, false, false},
        {{"2 -1"}, 2, -1, false, false},
        {{"1 2"}, 1, 2, false, false},
        {{"0 1", "2 -1"}, 0, 1, false, false},
        {{"0 1", "1 2"}, 1, 2, false, false},
        // Steps the set play lacks name nothing to follow.
        {{"9 1"}, 0, -1, false, false},
        {{"0 9"}, 0, -1, false, false},
        {{"0 1", "1 9"}, 0, 1, false, false},
        {{"-7 1"}, 0, -1, false, false},
        {{"0 -7"}, 0, -1, false, false},
    };
    for (const Case& c : cases) {
        Play p(false);
        p.w.now = 11;
        for (const char* m : c.heard) p.hear(m);
        EXPECT_EQ(c.current, p.sp->currentStepNumber()) << c.heard.back();
        EXPECT_EQ(c.next, p.sp->nextStepNumber()) << c.heard.back();
        EXPECT_EQ(c.done, p.sp->isDone()) << c.heard.back();
        EXPECT_EQ(c.successful, p.sp->isSuccessful()) << c.heard.back();
    }
    // A jump restarts the step's clock.
    Play p(false);
    p.w.now = 13;
    p.hear("2 -1");
    EXPECT_EQ(13, p.sp->currentStepInitTime());
}

TEST(SetplayStepMachine, ActionsOnTheWayToTheNextStep) {
    Play p(false);
    EXPECT_EQ(nullptr, p.sp->currentAction(p.w));
    p.hear("0 1");
    p.at(11);
    const Action* a = p.sp->currentAction(p.w);
    ASSERT_TRUE(a);
    EXPECT_EQ("shoot", a->label());
    EXPECT_FALSE(a->active);
    p.w.now = 12;
    EXPECT_TRUE(p.sp->currentAction(p.w)->active);
    // The actions stay after the advance, until a next step is chosen.
    p.w.ballOwner = true;
    p.at(12);
    EXPECT_EQ(1, p.sp->currentStepNumber());
    EXPECT_EQ(a, p.sp->currentAction(p.w));
    // A heard step message that moves me on drops them.
    p.hear("2 -1");
    EXPECT_EQ(nullptr, p.sp->currentAction(p.w));

    Play lead(true);
    lead.choose(1);
    lead.at(11);
    EXPECT_EQ(nullptr, lead.sp->currentAction(lead.w));
    std::vector<std::unique_ptr<std::vector<Action*>>> options = lead.sp->possibleActions(lead.w);
    ASSERT_EQ(2u, options.size());
    EXPECT_TRUE(options[0]->empty() && options[1]->empty());
}

TEST(SetplayStepMachine, CommitsAndTheirErrors) {
    Play p(true);
    p.choose(1);
    testing::internal::CaptureStderr();
    p.sp->chosenAction(0, p.w);
    EXPECT_EQ(1, p.sp->nextStepNumber());
    p.sp->chosenAction(2, p.w);
    EXPECT_EQ(2, p.sp->nextStepNumber());
    testing::internal::GetCapturedStderr();
    struct Case {
        unsigned n;
        bool fromAction;
        const char* error;
    } cases[] = {
        {3, false, " Invalid transition number: outside of range"},
        {3, true, "SP: Invalid transition number: outside of range"},
        {0, false, "Invalid transition: not currently verified"},
        {0, true, " Invalid transition: not currently verified"},
    };
    for (const Case& c : cases) {
        Play q(true);
        try {
            c.fromAction ? q.sp->chosenAction(c.n, q.w) : q.sp->chosenTransition(c.n, q.w);
            ADD_FAILURE() << c.n;
        } catch (const SetplayException& e) {
            EXPECT_EQ(c.error, e.message);
        }
        EXPECT_EQ(-1, q.sp->nextStepNumber());
    }
}

TEST(SetplayStepMachine, WhoSpeaksAndWhat) {
    Play lead(true);
    EXPECT_TRUE(lead.sp->willCommunicate(lead.w));
    EXPECT_EQ("S5 7 8", lead.said());
    lead.w.now = 20;
    EXPECT_EQ("S5 7 8", lead.said());  // still in step 0 without a choice
    lead.w.now = 10;
    lead.choose(1);
    lead.w.now = 11;
    EXPECT_EQ("S5 7 8", lead.said());
    lead.w.now = 11.7;
    EXPECT_EQ("0 1", lead.said());
    lead.at(12);
    EXPECT_EQ("1 -1", lead.said());
    EXPECT_TRUE(lead.sp->willCommunicate(lead.w));  // the step it just left was its own
    lead.w.now = 13.7;
    EXPECT_FALSE(lead.sp->willCommunicate(lead.w));

    Play other(false, 0);
    EXPECT_TRUE(other.sp->willCommunicate(other.w));  // time 0
    other.w.now = 1;
    EXPECT_FALSE(other.sp->willCommunicate(other.w));
    other.hear("-1 -1");
    EXPECT_EQ("-1 -1", other.said());
}

}  // namespace
