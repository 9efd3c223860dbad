#include <stdexcept>

#include "planning/FreeWalkPlanner.h"
#include "planning/PlanningFixture.h"

namespace {

class Queue : public PlanningTest {
protected:
    FreeWalkPlanner planner{nullptr};

    void durations(std::initializer_list<float> list) {
        planner.Clear();
        for (float d : list) {
            planner.Add(step(0, 0, d, Footstep::DOUBLE));
        }
    }
};

TEST(FootstepTest, DefaultIsADoubleSupportAtTheOriginAndEqualityIsIdentity) {
    Footstep a;
    EXPECT_EQ(a.foot, Footstep::DOUBLE);
    EXPECT_EQ(a.duration, 0);
    EXPECT_EQ(a.dblSuppPerc, 0);
    EXPECT_EQ(a.position.x, 0);
    Footstep b;
    EXPECT_TRUE(a == a);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
}

TEST(FootstepTest, SupportFootAndPhaseOverTheStep) {
    Footstep s(Vector3f(0, 0, 0), std::make_pair(0.0f, 0.0f), 0.4f, Footstep::LEFT);
    struct Case {
        float t;
        int foot;
        int phase;
    } cases[] = {{-0.006f, 4, 2}, {-0.004f, 1, 3}, {0.2f, 1, 3}, {0.404f, 1, 3}, {0.406f, 4, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        EXPECT_EQ(s.GetSupportFoot(c.t), c.foot);
        EXPECT_EQ(s.GetSupportPhase(c.t), c.phase);
    }
}

TEST_F(Queue, FootstepUnderWayAndTotalDuration) {
    durations({0, 0, 0.3f, 0.4f, 0});
    struct Case {
        float t;
        int index;
    } cases[] = {{0.0f, 2}, {-0.00005f, 2}, {0.29f, 2}, {0.35f, 3}, {5, 4}, {-0.01f, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        EXPECT_EQ(planner.GetFootstepPosT(c.t, 2), c.index);
    }
    EXPECT_FLOAT_EQ(planner.GetTotalDuration(2), 0.7f);
    EXPECT_EQ(planner.GetFootstepT(0.35f, 2).duration, 0.4f);
}

TEST_F(Queue, InsertRemoveAndAccessors) {
    durations({0.1f, 0.2f, 0.3f});
    planner.Insert(step(0, 0, 0.9f, 1), 17);
    EXPECT_EQ(planner.GetLast().duration, 0.9f);
    planner.Insert(step(0, 0, 0.05f, 0), 0);
    EXPECT_EQ(planner.GetFootstep(0).duration, 0.05f);
    EXPECT_EQ(planner.GetNumberOfSteps(), 5);
    planner.Remove(5);
    EXPECT_EQ(planner.GetNumberOfSteps(), 5);
    planner.Remove(1);
    EXPECT_EQ(planner.GetPrevious().duration, 0.2f);
    planner.Remove(0, 1);
    EXPECT_EQ(planner.GetNumberOfSteps(), 2);
    EXPECT_EQ(planner.GetFootstep(0).duration, 0.3f);
    EXPECT_THROW(planner.GetCurrent(), std::out_of_range);
    planner.Remove(1, 40);
    EXPECT_EQ(planner.GetNumberOfSteps(), 1);
    planner.Remove();
    EXPECT_TRUE(planner.IsEmpty());
    // An empty queue takes both without harm.
    planner.Remove();
    EXPECT_EQ(planner.GetLast().foot, Footstep::DOUBLE);
    EXPECT_TRUE(planner.IsEmpty());
    EXPECT_EQ(planner.GetPreviousLeft(2), nullptr);
}

TEST_F(Queue, LatestPlacementOfEachFoot) {
    seedStart(planner, Footstep::RIGHT, 0.3f, 0.4f);
    ASSERT_NE(planner.GetPreviousLeft(2), nullptr);
    EXPECT_EQ(planner.GetPreviousLeft(2), &planner.GetFootstep(1));
    EXPECT_EQ(planner.GetPreviousRight(2), &planner.GetFootstep(0));
    EXPECT_EQ(planner.GetPreviousRight(3), &planner.GetFootstep(3));
    EXPECT_EQ(planner.GetPreviousRight(30), &planner.GetFootstep(3));
    EXPECT_TRUE(planner.GetLast() == planner.GetFootstep(3));
}

}  // namespace
