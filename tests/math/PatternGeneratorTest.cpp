#include <gtest/gtest.h>

#include <vector>

#include "math/PatternGenerator.h"
#include "math/Sine.h"

namespace {

TEST(PatternGenerator, GivesEveryComponentInOrderAndCopiesShareThem) {
    Sine constant(0, 0, 0, 4);
    Sine wave(2, 1, 0, 1);
    PatternGenerator<float, float> g;
    EXPECT_TRUE(g(0.5f, 1).empty());
    g.addFunction(&wave);
    g.addFunction(&constant);
    std::vector<float> v = g(0.25f, 3);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_FLOAT_EQ(v[0], 1 + 2 * 3);  // offset + amplitude * amp at a quarter period
    EXPECT_FLOAT_EQ(v[1], 4);          // a zero period holds the offset

    PatternGenerator<float, float> copy(g);
    wave.offset = -1;
    EXPECT_FLOAT_EQ(copy(0.25f, 1)[0], -1 + 2);
}

}  // namespace
