#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setplay/SetplayException.h"
#include "setplay/SetplayMessage.h"

using namespace ostrevanda::setplay;

namespace {

TEST(SetplayMessages, InitTexts) {
    struct Case {
        std::string text;
        int id;
        std::vector<std::string> args;
    } cases[] = {
        {"S12", 12, {}},      {"S12 3 7", 12, {"3", "7"}},
        {"S12 ", 12, {""}},   {"S12 3  7", 12, {"3", "", "7"}},
        {"S-5 2", -5, {"2"}}, {"S", 0, {}},
        {"Sx 2", 0, {"2"}},   {"S99999999999 1", 0, {"1"}},
    };
    for (const Case& c : cases) {
        InitMessage m(4.5, c.text);
        EXPECT_TRUE(m.isInit());
        EXPECT_EQ(4.5, m.emissionTime());
        EXPECT_EQ(c.id, m.setplayNumber) << c.text;
        EXPECT_EQ(c.args, m.arguments) << c.text;
    }
    EXPECT_EQ("S12 3 7", InitMessage(0, "S12 3 7").toString());
    EXPECT_EQ("S12", InitMessage(0, "S12").toString());
    for (const char* bad : {"", "12 3", " S12", "s12"}) {
        try {
            InitMessage m(0, bad);
            ADD_FAILURE() << bad;
        } catch (const SetplayException& e) {
            EXPECT_EQ("SP:Invalid Init message!", e.message);
        }
    }
}

TEST(SetplayMessages, InitFromShirtNumbers) {
    const std::vector<unsigned> own{3, 7}, opp{4};
    EXPECT_EQ("S5 3 7", InitMessage(0, 5, &own).toString());
    EXPECT_EQ("S5 3 7 4", InitMessage(0, 5, &own, &opp).toString());
    EXPECT_EQ("S-5", InitMessage(0, -5, nullptr).toString());
    const std::vector<unsigned> none;
    EXPECT_TRUE(InitMessage(0, 5, &none).arguments.empty());
}

TEST(SetplayMessages, StepTexts) {
    struct Case {
        const char* text;
        int current, next;
    } cases[] = {
        {"4 5", 4, 5}, {"-1 -1", -1, -1}, {"-1 1", -1, 1},         {" 2\t3", 2, 3}, {"7", 7, 0},
        {"abc", 0, 0}, {"S12 3", 0, 0},   {"99999999999 3", 0, 0}, {"", 0, 0},
    };
    for (const Case& c : cases) {
        StepMessage m(2.0, c.text);
        EXPECT_FALSE(m.isInit());
        EXPECT_EQ(c.current, m.currentStepNumber) << c.text;
        EXPECT_EQ(c.next, m.nextStepNumber) << c.text;
    }
    EXPECT_EQ("4 5", StepMessage(0, "4 5").toString());
    EXPECT_EQ("-1 1", StepMessage(0, -1, 1).toString());
    EXPECT_EQ("-1 -1", StepMessage(0, -1, -1).toString());
}

}  // namespace
