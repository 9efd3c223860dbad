#include <string>

#include <gtest/gtest.h>

#include "utils/util.h"

namespace {

TEST(ConvertTo, IntegerToDecimalText) {
    EXPECT_EQ(convert_to<std::string>(0), "0");
    EXPECT_EQ(convert_to<std::string>(9), "9");
    EXPECT_EQ(convert_to<std::string>(-42), "-42");
    EXPECT_EQ(convert_to<int>(std::string("17")), 17);
}

TEST(ConvertTo, UnreadableTextThrowsBadParameter) {
    try {
        convert_to<int>(std::string("abc"));
        FAIL() << "no exception";
    } catch (const BadParameter& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Error converting abc to ", 0), 0u) << e.what();
    }
}

}  // namespace
