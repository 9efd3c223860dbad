#include <cmath>

#include "skills/OmniWalkZMPFixture.h"

namespace {

// The step rate limiter with the start values of init.
class StepLimits : public OmniWalkZMPTest {};

TEST_F(StepLimits, ForwardStepGrowsByTheLimitPerPlannedStep) {
    double expected[] = {0.02, 0.04, 0.06, 0.08, 0.1, 0.1};
    for (double e : expected) {
        walk->setWalkParameter(0.2, 0.1, 0, 0, true);
        EXPECT_NEAR(walk->stepSizeX, e, 1e-12);
        // Only a planned step moves the base of the limit.
        walk->footGenerator2(walk->stepSizeX, walk->stepSizeY, 0, 6, 0.2, walk->inicialLeftLeg,
                             walk->inicialRightLeg);
    }
    EXPECT_DOUBLE_EQ(walk->stepTime, 0.2);
}

TEST_F(StepLimits, LowerBoundAboveUpperBoundWins) {
    walk->minDx = 0.03;
    walk->maxDx = 0.01;
    walk->setWalkParameter(0.2, 0.5, 0, 0, true);
    EXPECT_NEAR(walk->stepSizeX, 0.03, 1e-12);
}

TEST_F(StepLimits, TurnBoundShrinksWithTheDisplacement) {
    struct Row {
        double displacement;  // forward or lateral, m
        bool lateral;
        double bound;         // degrees
    } rows[] = {
        {0, false, 21}, {0.1, false, 16}, {0.2, false, 11}, {0.3, false, 11}, {-0.1, true, 16},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.displacement);
        walk->lastDX = r.lateral ? 0 : r.displacement;
        walk->lastDY = r.lateral ? r.displacement : 0;
        walk->lastTheta = 30;
        walk->setWalkParameter(0.2, walk->lastDX, walk->lastDY, 40, true);
        EXPECT_NEAR(walk->thetaStep, r.bound, 1e-9);
        walk->lastTheta = -30;
        walk->setWalkParameter(0.2, walk->lastDX, walk->lastDY, -40, true);
        EXPECT_NEAR(walk->thetaStep, -r.bound, 1e-9);
    }
}

TEST_F(StepLimits, TurnGrowsByTheIncrementLimit) {
    struct Row {
        bool pressure;
        double last, request, expected;
    } rows[] = {
        {true, 0, 40, 12},    // thetaInc
        {true, 12, 40, 21},   // 24 exceeds the bound at rest
        {true, 0, -40, -12},
        {false, 0, 40, 7},    // without pressure: 7 and 17
        {false, 7, 40, 14},
        {false, 14, 40, 17},
    };
    for (const Row& r : rows) {
        walk->lastTheta = r.last;
        walk->setWalkParameter(0.2, 0, 0, r.request, r.pressure);
        EXPECT_NEAR(walk->thetaStep, r.expected, 1e-9) << r.last << " -> " << r.request;
    }
}

TEST_F(StepLimits, CommandClampsTheTurnAndTakesTheFileLimitsFromTheSecondOn) {
    walk->params.minDx = -0.05;
    walk->params.minDy = -0.04;
    walk->params.period = 0.2;
    walk->params.dXmult = 1;
    walk->params.dYmult = 1;
    walk->params.thetaMult = 1;
    walk->params.thetaInc = 100;
    walk->params.thetaRel = 100;
    walk->params.thetaBMult = 0;

    walk->setOptParameter(10, 10, 100, true);
    EXPECT_DOUBLE_EQ(walk->maxDx, 0.02);
    EXPECT_DOUBLE_EQ(walk->maxDy, 0.02);
    EXPECT_NEAR(walk->stepSizeX, 0.02, 1e-12);
    EXPECT_NEAR(walk->thetaStep, 0.2 * 75, 1e-9);
    walk->setOptParameter(10, 10, -100, true);
    EXPECT_DOUBLE_EQ(walk->maxDx, 0.05);
    EXPECT_DOUBLE_EQ(walk->maxDy, 0.04);
    EXPECT_NEAR(walk->stepSizeX, 0.05, 1e-12);
    EXPECT_NEAR(walk->thetaStep, -0.2 * 75, 1e-9);
}

TEST_F(StepLimits, CommandThatIsNotANumberStandsStill) {
    walk->setOptParameter(NAN, INFINITY, NAN, true);
    EXPECT_EQ(walk->stepSizeX, 0);
    EXPECT_EQ(walk->stepSizeY, 0);
    EXPECT_EQ(walk->thetaStep, 0);
}

class FootstepPlan : public OmniWalkZMPTest {};

TEST_F(FootstepPlan, FromRestTheRightFootStepsFirst) {
    walk->footGenerator2(0.02, 0, 0, 6, 0.2, walk->inicialLeftLeg, walk->inicialRightLeg);
    struct Row {
        int index;
        double lx, ly, rx, ry;
        bool leftSupports;
    } rows[] = {
        {1, 0, 0.055, 0.04, -0.055, true},
        {2, 0.08, 0.055, 0.04, -0.055, false},
        {3, 0.08, 0.055, 0.12, -0.055, true},
        {4, 0.16, 0.055, 0.12, -0.055, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const Foot& l = walk->planedLeftFoot[r.index];
        const Foot& rt = walk->planedRightFoot[r.index];
        EXPECT_NEAR(l.Position.x, r.lx, 1e-6);
        EXPECT_NEAR(l.Position.y, r.ly, 1e-6);
        EXPECT_NEAR(rt.Position.x, r.rx, 1e-6);
        EXPECT_NEAR(rt.Position.y, r.ry, 1e-6);
        EXPECT_EQ(l.support, r.leftSupports);
        EXPECT_EQ(rt.support, !r.leftSupports);
        EXPECT_FALSE(l.Right);
        EXPECT_TRUE(rt.Right);
        EXPECT_NEAR(l.time, 0.2 * r.index, 1e-12);
    }
    // Index 0 is the step passed in, double support kept.
    EXPECT_TRUE(walk->planedLeftFoot[0].support);
    EXPECT_TRUE(walk->planedRightFoot[0].support);
    EXPECT_DOUBLE_EQ(walk->lastDX, 0.02);
    EXPECT_DOUBLE_EQ(walk->lastStepTime, 0.2);
}

TEST_F(FootstepPlan, ReachLimitsHoldTheSwingFootNearTheSupportFoot) {
    struct Row {
        const char* what;
        double stepX, stepY;
        double rx, ry;  // right foot of step 1, relative to the left foot
    } rows[] = {
        {"sideways towards the support foot", 0, 0.02, 0, -0.08},
        {"across the support foot", 0, 0.2, 0, -0.08},
        {"too far forward", 0.3, 0, 0.2, -0.11},
        {"too far backward", -0.3, 0, -0.2, -0.11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        walk->legExtention = 0.2;
        walk->footGenerator2(r.stepX, r.stepY, 0, 2, 0.2, walk->inicialLeftLeg, walk->inicialRightLeg);
        Vector off = walk->planedRightFoot[1].Position - walk->planedLeftFoot[1].Position;
        EXPECT_NEAR(off.x, r.rx, 1e-6);
        EXPECT_NEAR(off.y, r.ry, 1e-6);
    }
}

TEST_F(FootstepPlan, ZmpReferenceLiesOnTheSupportFootOfEachStep) {
    walk->footGenerator2(0.02, 0, 0, 6, 0.2, walk->inicialLeftLeg, walk->inicialRightLeg);
    int size = 0;
    ZMP* ref = walk->zmpGenerator2(6, 0.002, 0, size);
    EXPECT_EQ(size, 600);
    struct Row {
        int sample;
        double x, y;
    } rows[] = {
        {0, 0, 0},          // double support: between the feet
        {99, 0, 0},
        {100, 0, 0.055},      // step 1 on the left foot
        {250, 0.04, -0.055},  // step 2 on the right foot
        {599, 0.16, 0.055},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sample);
        EXPECT_NEAR(ref[r.sample].Position.x, r.x, 1e-6);
        EXPECT_NEAR(ref[r.sample].Position.y, r.y, 1e-6);
    }
    EXPECT_NEAR(ref[101].time, 0.202, 1e-12);
    delete[] ref;
}

TEST_F(FootstepPlan, AccumulatedStepTimesStillGiveWholeSteps) {
    Foot l = walk->setFoot(Vector(0, 0.055), true, false, 12.4, 0);
    Foot r = walk->setFoot(Vector(0, -0.055), false, true, 12.4, 0);
    walk->footGenerator2(0, 0, 0, 6, 12.6 - 12.4, l, r);
    int size = 0;
    ZMP* ref = walk->zmpGenerator2(6, 0.002, 0, size);
    EXPECT_EQ(size, 600);
    delete[] ref;
}

}  // namespace
