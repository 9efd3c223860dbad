#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Action.h"
#include "setplay/Cond.h"
#include "setplay/Setplay.h"
#include "setplay/SetplayException.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

std::string repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// Hand-edited text that must be refused, never crash the reader.
TEST(SetplayHostileText, RefusedWithTheInputLeftWhole) {
    const std::string nul("(pt :x 1\0 :y 2)", 15);
    struct Case {
        std::string text;
        int reader;  // 0 point, 1 region, 2 condition, 3 action
    } cases[] = {
        {nul, 0},
        {"(pt :x 1 :y 2\xc3\xa9)", 0},
        {"(pt :x 1e999 :y 2)", 0},
        {"(pt :x " + repeat("9", 400) + " :y 2)", 0},
        {repeat("(ptRel :x 1 :y 1 :pt ", 5000) + "(pt ball)" + repeat(")", 5000), 0},
        {repeat("(+ (pt ball) ", 5000) + "(pt ball)" + repeat(")", 5000), 1},
        {"(regNamed :name caf\xc3\xa9)", 1},
        {"(playm ko_our\xff)", 2},
        {"(time > 99999999999)", 2},
        {repeat("(not ", 20000) + "(passfailed)" + repeat(")", 20000), 2},
        {repeat("(and ", 3000) + "(passfailed)" + repeat(")", 3000), 2},
        {"(bowner :players (list 1\0", 2},
        {repeat("(seq ", 5000) + "(hold)" + repeat(")", 5000), 3},
        {"(moveToOffSideLine :y -1e400)", 3},
    };
    for (const Case& c : cases) {
        std::string out;
        bool read = false;
        switch (c.reader) {
        case 0: read = Owned<Point>(Point::parse(c.text, out, {}, {})) != nullptr; break;
        case 1: read = Owned<Region>(Region::parse(c.text, out, {}, {})) != nullptr; break;
        case 2: read = std::unique_ptr<Cond>(Cond::parse(c.text, out, {}, {})) != nullptr; break;
        default: read = std::unique_ptr<Action>(Action::parse(c.text, out, {}, {}, {})) != nullptr; break;
        }
        EXPECT_FALSE(read) << c.text.substr(0, 40);
        EXPECT_EQ(c.text, out) << c.text.substr(0, 40);
    }
}

TEST(SetplayHostileText, ModerateNestingStillReads) {
    std::string out;
    std::unique_ptr<Cond> c(Cond::parse(repeat("(not ", 40) + "(passfailed)" + repeat(")", 40), out, {}, {}));
    EXPECT_TRUE(c);
    Owned<Point> p(Point::parse(repeat("(ptRel :x 1 :y 1 :pt ", 40) + "(pt ball)" + repeat(")", 40), out, {}, {}));
    ASSERT_TRUE(p);
    FakeContext ctx;
    std::unique_ptr<PointSimple> at(p->asPointSimple(ctx));
    EXPECT_DOUBLE_EQ(40, at->getX()->value());
}

TEST(SetplayHostileText, DefinitionsWithBadBytes) {
    const std::string good =
        "(setplay :name a :id 1 :players 1 :playersOpponents (list) :steps (seq (step :id 0 :participants (list 1) "
        ":leadPlayer 1 :ballHolder (NULL) :transitions (list))))";
    for (const std::string& bad : {std::string("(setplay :name \xc3\xa9 :id 1"), std::string("(setplay\0", 9),
                                   good.substr(0, 40) + std::string(1, '\0') + good.substr(40),
                                   std::string("(setplay :name a :id 99999999999999")}) {
        std::string out;
        testing::internal::CaptureStderr();
        std::unique_ptr<Setplay> s(Setplay::parse(bad, out, true, false, 1.6f));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(nullptr, s);
    }
}

}  // namespace

namespace {

// A player list that opens and never closes raises its error from deep inside
// a sequence or a conjunction; what was read before it is released.
TEST(SetplayHostileText, ListErrorInsideACompositeReleasesWhatWasRead) {
    std::string out;
    EXPECT_THROW(Action::parse("(seq (hold) (tackle :players (list (pos", out, {}, {}, {}), SetplayException);
    EXPECT_THROW(Cond::parse("(and (passfailed) (bowner :players (list (x", out, {}, {}), SetplayException);
    EXPECT_THROW(Action::parseActionList("(list (hold) (seq (stop) (mark :players (list", out, {}, {}, {}),
                 SetplayException);
}

}  // namespace
