#include <gtest/gtest.h>

#include <vector>

#include "physics/LegJointSigns.h"

TEST(LegJointSigns, PitchesTurnOnBothLegsRollsOnTheLeftOnly) {
    struct Row {
        bool left;
        std::vector<float> joints;
    } rows[] = {
        {false, {1, 2, -3, -4, -5, 6}},
        {true, {1, -2, -3, -4, -5, -6}},
    };
    for (const Row& r : rows) {
        std::vector<float> angles = {1, 2, 3, 4, 5, 6};
        legSolverToJoints(angles, r.left);
        EXPECT_EQ(angles, r.joints) << r.left;
    }
}
