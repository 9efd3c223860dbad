#include <gtest/gtest.h>

#include "physics/Accelerometer.h"
#include "physics/GyroRate.h"

namespace {

template <typename History>
void add(History& h, double cycle, double x, double y, double z);

template <>
void add(GyroRate& h, double cycle, double x, double y, double z) {
    h.setAngles(cycle, x, y, z);
}

template <>
void add(Accelerometer& h, double cycle, double x, double y, double z) {
    h.setValues(cycle, x, y, z);
}

template <typename History>
class SensorHistoryTest : public ::testing::Test {};

typedef ::testing::Types<GyroRate, Accelerometer> Histories;
TYPED_TEST_SUITE(SensorHistoryTest, Histories);

TYPED_TEST(SensorHistoryTest, EmptyHistoryReadsNoSample) {
    TypeParam h;
    EXPECT_EQ(h.mName, "torso");
    EXPECT_EQ(h.getSize(), 0);
    for (int pos : {-1, 0, 3}) {
        EXPECT_EQ(h.getX(pos), 99999);
        EXPECT_EQ(h.getY(pos), 99999);
        EXPECT_EQ(h.getZ(pos), 99999);
        EXPECT_EQ(h.getCycle(pos), 99999);
    }
}

TYPED_TEST(SensorHistoryTest, KeepsTheLastFiveOldestFirst) {
    TypeParam h;
    for (int i = 1; i <= 6; ++i) {
        add(h, 10 + i, i, 10 * i, 100 * i);
    }
    ASSERT_EQ(h.getSize(), 5);
    EXPECT_EQ(h.getX(0), 2);
    EXPECT_EQ(h.getCycle(0), 12);
    EXPECT_EQ(h.getX(4), 6);
    EXPECT_EQ(h.getY(4), 60);
    EXPECT_EQ(h.getZ(4), 600);
    for (int pos : {-1, 5, 7}) {
        EXPECT_EQ(h.getX(pos), 6) << pos;
        EXPECT_EQ(h.getCycle(pos), 16) << pos;
    }
}

TYPED_TEST(SensorHistoryTest, OutOfRangeIndexOnPartialHistoryIsNewest) {
    TypeParam h;
    add(h, 1, 1.5, 0, 0);
    add(h, 2, 2.5, 0, 0);
    EXPECT_EQ(h.getX(2), 2.5);
    EXPECT_EQ(h.getX(0), 1.5);
}

TEST(GyroRateTest, LengthOfNewestSample) {
    GyroRate g("gyro");
    EXPECT_EQ(g.mName, "gyro");
    g.setAngles(0, 9, 9, 9);
    g.setAngles(1, 3, 4, 12);
    EXPECT_NEAR(g.getLength(), 13, 1e-6);
}

}  // namespace
