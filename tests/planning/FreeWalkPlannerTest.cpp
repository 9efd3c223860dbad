#include "planning/FreeWalkPlanner.h"
#include "planning/PlanningFixture.h"

namespace {

class FreeWalk : public PlanningTest {
protected:
    FreeWalkPlanner planner{nullptr};
};

TEST_F(FreeWalk, AfterAStartOneLeftStepIsAppended) {
    seedStart(planner, Footstep::RIGHT, 0.3f, 0.4f);
    planner.Update();
    ASSERT_EQ(planner.GetNumberOfSteps(), 5);
    const Footstep& s = planner.GetLast();
    EXPECT_EQ(s.foot, Footstep::LEFT);
    EXPECT_FLOAT_EQ(s.position.x, 0.1f);
    EXPECT_FLOAT_EQ(s.position.y, 0.055f);
    EXPECT_FLOAT_EQ(s.duration, 0.4f);
    EXPECT_FALSE(planner.Finished());
    EXPECT_FLOAT_EQ(planner.GetPeriod(), 0.4f);
}

TEST_F(FreeWalk, AfterAReplanTwoStepsAlternateAndKeepTheFeetApart) {
    planner.Clear();
    planner.Add(step(0, 0.02f, 0, Footstep::LEFT));
    planner.Add(step(0, -0.03f, 0, Footstep::RIGHT));
    planner.Add(step(0, 0.02f, 0.4f, Footstep::LEFT));
    planner.Update();
    ASSERT_EQ(planner.GetNumberOfSteps(), 5);
    const Footstep& a = planner.GetFootstep(3);
    const Footstep& b = planner.GetFootstep(4);
    EXPECT_EQ(a.foot, Footstep::RIGHT);
    EXPECT_FLOAT_EQ(a.position.x, 0.1f);
    // -0.03 lies too near the left foot at 0.02: pushed to 0.11 from it.
    EXPECT_FLOAT_EQ(a.position.y, 0.02f - 0.11f);
    EXPECT_EQ(b.foot, Footstep::LEFT);
    EXPECT_FLOAT_EQ(b.position.x, 0.2f);
    EXPECT_FLOAT_EQ(b.position.y, 0.02f);
}

TEST_F(FreeWalk, UpdateEndsOnQueuesThatNameNoFoot) {
    planner.Clear();
    planner.Update();
    EXPECT_TRUE(planner.IsEmpty());
    for (int i = 0; i < 3; i++) {
        planner.Add(step(0, 0, 0.1f, Footstep::DOUBLE));
    }
    planner.Update();
    EXPECT_EQ(planner.GetNumberOfSteps(), 3);
    planner.Add(step(0, 0, 0.1f, 7));
    planner.Update();
    EXPECT_EQ(planner.GetNumberOfSteps(), 4);
}

TEST_F(FreeWalk, SwingRisesOnlyInTheSecondHalfAndCurvesBetweenPlacements) {
    seedStart(planner, Footstep::RIGHT, 0.3f, 0.4f);
    planner.Remove();
    planner.Update();
    // Current: the right foot's 0.4 s step; the left swings from 0.055 to (0.1, 0.055).
    Vector3f start = planner.GetLastSwing(0);
    EXPECT_EQ(planner.GetLastSwing(0.19f).z, start.z);
    EXPECT_NEAR(planner.GetLastSwing(0.38f).z, 0.07f, 1e-5);
    Vector3f mid = planner.GetSwingPosition(0.2f);
    EXPECT_NEAR(mid.x, 0.05f, 1e-6);
    EXPECT_NEAR(mid.z, 0.035f, 1e-6);
    EXPECT_NEAR(planner.GetSwingPosition(1).x, 0.1f, 1e-6);
    EXPECT_FLOAT_EQ(planner.GetZMP(0.1f, 2).y, -0.055f);
    EXPECT_FLOAT_EQ(planner.GetZMP(0.5f, 2).y, 0.055f);
}

}  // namespace
