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

std::unique_ptr<Setplay> read(const std::string& text) {
    std::string rest;
    testing::internal::CaptureStderr();
    std::unique_ptr<Setplay> sp(Setplay::parse(text, rest, true, true, 1.6f));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(sp) << text;
    return sp;
}

// Roles: lead (leads step 0, placed far away), near (placed at 10,0),
// free (no place), and opponents hold (step 0's first) and mark (at 0,5).
const char* const ROLES =
    "(setplay :name r :id 2 :players (list (playerRole :roleName lead) (playerRole :roleName near) 4 "
    "(playerRole :roleName free)) :playersOpponents (list (playerRole :roleName hold) "
    "(playerRole :roleName mark)) :steps (seq (step :id 0 :participants (list (at lead (pt :x 50 :y 50)) "
    "(at near (pt :x 10 :y 0)) 4 free) :participantsOpponents (list hold (at mark (pt :x 0 :y 5))) "
    ":leadPlayer lead :ballHolder lead :transitions (list))))";

TEST(SetplayInstantiation, TeamMatesByDistance) {
    struct Case {
        const char* what;
        std::vector<std::pair<unsigned, double>> xs;  // team-mates on the line y = 0
        std::vector<unsigned> chosen;
        double sum;
    } cases[] = {
        {"tie to the lower number", {{5, 12}, {3, 8}, {9, 12}}, {7, 3, 2}, 2},
        {"my number is never given", {{7, 10}, {6, 11}}, {7, 6, 2}, 1},
        {"2000 m or more away",
         {{2, 2010}, {3, 2010}, {4, 2010}, {5, 2010}, {6, 2010}, {8, 2010}, {9, 2010}, {10, 2010}, {11, 2010}},
         {7, 1, 2},
         0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Setplay> sp = read(ROLES);
        FakeContext w;
        for (unsigned n = 2; n <= 11; ++n) w.setPlayer("our", n, 5000, 0);
        for (const auto& p : c.xs) w.setPlayer("our", p.first, p.second, 0);
        EXPECT_EQ(c.chosen, sp->participatingPlayersDistanceFromPositions(w)) << c.what;
        EXPECT_DOUBLE_EQ(c.sum, sp->SumParticipatingPlayersDistanceFromPos(w)) << c.what;
        EXPECT_EQ(c.chosen, sp->getParticipatingPlayers()) << c.what;
    }

    std::unique_ptr<Setplay> alone = read(
        "(setplay :name a :id 1 :players (list (playerRole :roleName k)) :playersOpponents (list) :steps "
        "(seq (step :id 0 :participants (list (at k (pt :x 0 :y 0))) :leadPlayer k :ballHolder k "
        ":transitions (list))))");
    FakeContext w;
    EXPECT_EQ(std::vector<unsigned>{7}, alone->participatingPlayersDistanceFromPositions(w));
    EXPECT_EQ(0, alone->SumParticipatingPlayersDistanceFromPos(w));
}

TEST(SetplayInstantiation, OpponentsByDistance) {
    std::unique_ptr<Setplay> sp = read(ROLES);
    FakeContext w;
    w.setMoving("opp", 3, 0, 5);
    w.setMoving("opp", 9, 0, 5.5);
    EXPECT_EQ((std::vector<unsigned>{2, 3}), sp->participatingPlayersOpp(w));  // hold has no place
    w.oppHolder = 3;
    EXPECT_EQ((std::vector<unsigned>{3, 9}), sp->participatingPlayersOpp(w));
}

const char* const ONE_EACH =
    "(setplay :name p :id 3 :parameters (list (decimal :name d)) :players (list (playerRole :roleName k) 9) "
    ":playersOpponents (list (playerRole :roleName o)) :steps (seq (step :id 0 :participants "
    "(list (at k (pt :x d :y 0))) :leadPlayer k :ballHolder k :transitions (list))))";

TEST(SetplayInstantiation, Arguments) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        const char* error;
    } cases[] = {
        {{"2.5", "3"}, true, nullptr},
        {{"2.5", "(player :team our :number 11)"}, true, nullptr},
        {{"-1e1", "3"}, true, nullptr},
        {{"2.5x", "3"}, false, nullptr},
        {{"2.5", "x"}, false, nullptr},
        // Own roles take own shirt numbers only, and none stays unbound.
        {{"2.5", "12"}, false, nullptr},
        {{"2.5", "0"}, false, nullptr},
        {{"2.5", "(player :team opp :number 3)"}, false, nullptr},
        {{"2.5"}, false, nullptr},
        {{"2.5", "3", "4"}, false, "SP: bad or wrong number of parameters in instantiate: 3 expected: 3"},
        {{"2.5", "x", "4"}, false, "SP: bad or wrong number of parameters in instantiate: 3 expected: 3"},
        {{}, false, "SP: bad amount of parameters in instantiation! Got 0"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Setplay> tpl = read(ONE_EACH);
        std::unique_ptr<Setplay> sp(tpl->deepCopy());
        const Decimal* d = static_cast<const Decimal*>(sp->getParameters()[0]);
        const PlayerRole* k = sp->roleWithName("k");
        bool ok = false;
        std::string error;
        testing::internal::CaptureStderr();
        try {
            ok = sp->instantiate(&c.args, 11);
        } catch (const SetplayException& e) {
            error = e.message;
        }
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.ok, ok) << c.args.size();
        EXPECT_EQ(c.error ? c.error : "", error);
        EXPECT_EQ(c.ok, sp->instantiated());
        EXPECT_EQ(c.ok, d->instantiated());
        EXPECT_EQ(c.ok, k->instantiated());
    }
    std::unique_ptr<Setplay> sp(read(ONE_EACH)->deepCopy());
    testing::internal::CaptureStderr();
    EXPECT_THROW(sp->instantiate(nullptr, 11), SetplayException);
    FakeContext w;
    EXPECT_TRUE(sp->instantiate(InitMessage(0, "S3 2.5 4"), w));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(2.5, static_cast<const Decimal*>(sp->getParameters()[0])->value());
    EXPECT_EQ(4u, sp->roleWithName("k")->value()->number);
    EXPECT_EQ(nullptr, sp->getSetplayParameterWithName("e"));
    EXPECT_THROW(sp->roleWithName("z"), SetplayException);
}

TEST(SetplayInstantiation, Opponents) {
    std::unique_ptr<Setplay> sp(read(ONE_EACH)->deepCopy());
    const PlayerRole* o = dynamic_cast<const PlayerRole*>(sp->getPlayersOpponent()[0]);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const std::vector<unsigned> none, one{5}, two{5, 6};
    EXPECT_FALSE(sp->instantiateOpp(&none));
    EXPECT_FALSE(sp->instantiateOpp(&two));
    EXPECT_FALSE(sp->instantiateOpp(nullptr));
    EXPECT_FALSE(o->instantiated());
    EXPECT_TRUE(sp->instantiateOpp(&one));
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ("opp", o->value()->team);
    EXPECT_EQ(5u, o->value()->number);
}

}  // namespace
