#include "math/TFSOscillator.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

// aKnee, t1Knee, t2Kknee, cKnee, aArm, aHipY, aHip, bHip, cHip, halfPeriod
TFSOscillator loaded(double t, double aHip, double bHip, double aHipY = 0, double aKnee = 0,
                     double t1 = 0.2, double t2 = 0.6, double cKnee = 0)
{
    TFSOscillator osc(t);
    double p[10] = {aKnee, t1, t2, cKnee, 0, aHipY, aHip, bHip, 0, 1};
    osc.setOscParameters(p);
    return osc;
}

TEST(TFSOscillatorTest, ConstructorDefaults)
{
    TFSOscillator osc(0.7);
    EXPECT_EQ(osc.time, 0.7);
    const double ratios[] = {osc.rM, osc.rS, osc.rMS, osc.rSS, osc.rMaArm, osc.rSaArm,
                             osc.rMaRot, osc.rSaRot, osc.rMaFWRot, osc.rSaFWRot, osc.rMaHip,
                             osc.rSaHip, osc.rMbHip, osc.rSbHip, osc.rMaHipY, osc.rSaHipY,
                             osc.rMaknee, osc.rSaknee};
    for (double r : ratios)
        EXPECT_EQ(r, 1);
    EXPECT_EQ(osc.t1Knee, 0);
    EXPECT_EQ(osc.aArm, 0);
    EXPECT_EQ(osc.cArm, 0);
    EXPECT_EQ(osc.aRot, 0);
    EXPECT_EQ(osc.aFWRot, 0);
}

TEST(TFSOscillatorTest, Setters)
{
    TFSOscillator osc(0);
    osc.setR(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
    EXPECT_EQ(osc.rMaArm, 1);
    EXPECT_EQ(osc.rSaRot, 4);
    EXPECT_EQ(osc.rMaHip, 7);
    EXPECT_EQ(osc.rSbHip, 10);
    EXPECT_EQ(osc.rSaHipY, 12);
    EXPECT_EQ(osc.rSaknee, 14);
    osc.setR(21, 22, 23, 24);
    EXPECT_EQ(osc.rM, 21);
    EXPECT_EQ(osc.rSS, 24);

    double p[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    osc.setOscParameters(p);
    EXPECT_EQ(osc.aKnee, 1);
    EXPECT_EQ(osc.t2Kknee, 3);
    EXPECT_EQ(osc.aArm, 5);
    EXPECT_EQ(osc.aHipY, 6);
    EXPECT_EQ(osc.cHip, 9);
    EXPECT_EQ(osc.halfPeriod, 10);

    osc.setOscParameters(31, 32, 33, 34, 35, 36, 37, 38);
    EXPECT_EQ(osc.aKnee, 31);
    EXPECT_EQ(osc.t1Knee, 32);
    EXPECT_EQ(osc.cKnee, 34);
    EXPECT_EQ(osc.aHip, 35);
    EXPECT_EQ(osc.cHip, 37);
    EXPECT_EQ(osc.halfPeriod, 38);

    osc.setOscParameters(0.5, 0.25, 41, 42, 43, 44, 45, 46, 47);
    EXPECT_EQ(osc.rM, 0.5);
    EXPECT_EQ(osc.rS, 0.25);
    EXPECT_EQ(osc.aKnee, 41);
    EXPECT_EQ(osc.t1Knee, 0);
    EXPECT_EQ(osc.t2Kknee, 42);
    EXPECT_EQ(osc.bHip, 45);
    EXPECT_EQ(osc.halfPeriod, 47);

    osc.setArm(3);
    osc.setRotAmp(-2);
    osc.setaFWRot(0.5);
    EXPECT_EQ(osc.aArm, 3);
    EXPECT_EQ(osc.aRot, -2);
    EXPECT_EQ(osc.aFWRot, 0.5);
}

TEST(TFSOscillatorTest, HipXBumpsOfBothHalfWaves)
{
    const struct { double t, master, slave; } cases[] = {
        {1, 15, 9},     // master in its first half-wave, slave half a period behind
        {0, 9, 15},     // first wave below the offset: the second wave of height 4
        {2, 9, 15},
        {0.5, 5, 5},    // both waves cross the offset
    };
    for (const auto& c : cases) {
        TFSOscillator osc = loaded(c.t, 10, 4);
        osc.calcOSC();
        EXPECT_NEAR(osc.masterHipXGEN(), c.master, 1e-5) << c.t;
        EXPECT_NEAR(osc.slaveHipXGEN(), c.slave, 1e-5) << c.t;
    }
}

TEST(TFSOscillatorTest, HipYKeepsOneSignPerLeg)
{
    const struct { double t, master, slave; } cases[] = {
        {0.5, 0, 2}, {1.5, -2, 0}, {0, 0, 0},
    };
    for (const auto& c : cases) {
        TFSOscillator osc = loaded(c.t, 0, 0, 3);
        osc.calcOSC();
        EXPECT_NEAR(osc.masterHipYGEN(), c.master, 1e-5) << c.t;
        EXPECT_NEAR(osc.slaveHipYGEN(), c.slave, 1e-5) << c.t;
        EXPECT_EQ(osc.masterAnkleYGEN(), osc.slaveHipYGEN());
        EXPECT_EQ(osc.slaveAnkleYGEN(), osc.masterHipYGEN());
    }
}

TEST(TFSOscillatorTest, KneeHoldsInsideItsWindow)
{
    // Hold window [0.2, 0.6] of a period of 2; outside it one half sine of
    // length 1.6 with its peak at 1.4.
    const struct { double t, master; } cases[] = {
        {0.4, 1},
        {0.2, 1},
        {0.6, 1},
        {2.4, 1},                                 // same phase one period later
        {1.4, 11},
        {-0.6, 11},                               // negative time: 1.4 of the period before
        {0.1, 10 * std::sin(3.1415927 / 16) + 1},  // wave argument uses 0.1 + 2
    };
    for (const auto& c : cases) {
        TFSOscillator osc = loaded(c.t, 0, 0, 0, 10, 0.2, 0.6, 1);
        EXPECT_NEAR(osc.masterKneeOSC(c.t), c.master, 1e-5) << c.t;
    }
    TFSOscillator osc = loaded(1.4, 0, 0, 0, 10, 0.2, 0.6, 1);
    EXPECT_NEAR(osc.slaveKneeOSC(1.4), 1, 1e-5);  // the slave is half a period behind
    EXPECT_NEAR(osc.slaveKneeOSC(2.4), 11, 1e-5);
}

TEST(TFSOscillatorTest, AnkleCompletesEachLegToSeven)
{
    const double times[] = {0, 0.1, 0.33, 0.9, 1.7, 3.2};
    for (double t : times) {
        TFSOscillator osc = loaded(t, 10, 4, 3, 10, 0.2, 0.6, 1);
        osc.calcOSC();
        EXPECT_TRUE(osc.avoidFalling);
        EXPECT_NEAR(osc.masterAnkleGEN() + osc.masterHipXGEN() + osc.masterKneeGEN(), 7, 1e-9) << t;
        EXPECT_NEAR(osc.slaveAnkleGEN() + osc.slaveHipXGEN() + osc.slaveKneeGEN(), 7, 1e-9) << t;
    }
}

TEST(TFSOscillatorTest, Arms)
{
    TFSOscillator osc = loaded(1, 0, 0);
    osc.setArm(2);
    osc.cArm = 1;
    osc.calcOSC();
    EXPECT_NEAR(osc.masterArmGEN(), 3, 1e-5);
    EXPECT_NEAR(osc.slaveArmGEN(), -1, 1e-5);
}

TEST(TFSOscillatorTest, Rotations)
{
    TFSOscillator osc = loaded(1, 0, 0);
    EXPECT_EQ(osc.calcHeapRot(0.3), 0);
    osc.setRotAmp(2);
    EXPECT_NEAR(osc.calcHeapRot(0), 0, 1e-6);
    EXPECT_NEAR(osc.calcHeapRot(1), -4, 1e-6);
    osc.setRotAmp(-2);
    EXPECT_NEAR(osc.calcHeapRot(0), -4, 1e-6);
    EXPECT_NEAR(osc.calcHeapRot(1), 0, 1e-6);

    osc.setRotAmp(2);
    osc.calcOSC();  // at t = 1
    EXPECT_NEAR(osc.masterRotGEN(), -4, 1e-6);
    EXPECT_EQ(osc.slaveRotGEN(), osc.masterRotGEN());

    EXPECT_NEAR(osc.masterRotOSC(1), -2, 1e-6);
    EXPECT_NEAR(osc.masterRotOSC(3), -2, 1e-6);
    EXPECT_NEAR(osc.masterRotOSC(0), 0, 1e-6);
    EXPECT_EQ(osc.slaveRotOSC(3), osc.masterRotOSC(3));
}

TEST(TFSOscillatorTest, ForwardHipRotation)
{
    TFSOscillator osc = loaded(1, 0, 0);
    osc.setaFWRot(1);
    EXPECT_NEAR(osc.getRHipRotate(), 2, 1e-6);
    EXPECT_NEAR(osc.getLHipRotate(), 0, 1e-6);
    TFSOscillator later = loaded(2, 0, 0);
    later.setaFWRot(1);
    EXPECT_NEAR(later.getRHipRotate(), 0, 1e-6);
    EXPECT_NEAR(later.getLHipRotate(), 2, 1e-6);
}

TEST(TFSOscillatorTest, NormalizeTimeAndPeriodChange)
{
    TFSOscillator osc = loaded(0, 0, 0);
    const struct { double t, n; } cases[] = {{2.5, 0.5}, {-2.5, -0.5}, {4, 0}, {1.5, 1.5}};
    for (const auto& c : cases)
        EXPECT_NEAR(osc.normalizeTime(c.t), c.n, 1e-12) << c.t;

    osc.changeTFSfPeriods(2);  // window [0.2, 0.6] of half period 1
    EXPECT_NEAR(osc.t2Kknee, 1.0, 1e-12);
    EXPECT_EQ(osc.t1Knee, 0.2);
    EXPECT_EQ(osc.halfPeriod, 2);
}

}  // namespace
