#include <gtest/gtest.h>

#include <cmath>

#include "world/Vision.h"

TEST(Gaze, TiltCentresTheBallInsideTheUsableRange)
{
    struct Row {
        float vertical, tilt, decided;
    } rows[] = {{30, -30, 0}, {30, 20, 45}, {-30, -20, -40}, {10, 5, 15}, {NAN, 0, 0}};
    for (const Row& r : rows)
        EXPECT_FLOAT_EQ(Vision::centringTilt(r.vertical, r.tilt), r.decided) << r.vertical << " " << r.tilt;
}

TEST(Gaze, SearchSweepsPanAndTilt)
{
    for (float t : {0.0f, 0.1f, 0.7f, 3.3f}) {
        EXPECT_FLOAT_EQ(Vision::searchPan(t), 120 * std::sin(5 * t));
        EXPECT_FLOAT_EQ(Vision::searchTilt(t), 45 * std::sin(1.23 * t));
        EXPECT_LE(std::fabs(Vision::searchPan(t)), 120);
    }
}

TEST(Gaze, ViewsRankBallWithTwoLandmarksFirst)
{
    const float two[] = {10, 20};
    const float three[] = {5, 10, 30};
    struct Row {
        const char* what;
        bool ball;
        float ballPan;
        const float* marks;
        int count;
        float util;
    } rows[] = {
        {"ball and two landmarks", true, 5, two, 2, 40},
        {"ball, landmarks wider than the ball", true, 30, two, 2, 30},
        {"ball alone", true, 30, two, 1, 30.0f / 150},
        {"three landmarks, no ball", false, 80, three, 3, 1},
        {"two landmarks, no ball", false, 80, two, 2, 0},
    };
    for (const Row& r : rows)
        EXPECT_FLOAT_EQ(Vision::viewUtility(r.ball, r.ballPan, r.marks, r.count), r.util) << r.what;
}
