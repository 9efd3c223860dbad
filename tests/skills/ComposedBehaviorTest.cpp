#include <gtest/gtest.h>

#include <string>

#include "skills/BeamBehavior.h"
#include "skills/ComposedBehavior.h"
#include "skills/WalkSupport.h"

namespace {

// Finishes after n executions; counts its inits and its deletion.
class Counted : public Behavior {
public:
    Counted(int n, int* deleted = nullptr) : Behavior("counted"), n(n), deleted(deleted) {}
    ~Counted() override
    {
        if (deleted)
            ++*deleted;
    }
    void init() override
    {
        ++inits;
        runs = 0;
    }
    void execute() override { ++runs; }
    bool finished() override { return runs >= n; }

    int n;
    int* deleted;
    int inits = 0;
    int runs = 0;
};

} // namespace

TEST(ComposedBehavior, CyclesPerSubBehaviour)
{
    struct Row {
        int slots;
        int n;
        int cycles;
    } rows[] = {{0, 3, 0}, {1, 1, 3}, {2, 3, 10}, {2, 0, 4}, {3, 2, 12}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.slots) + " slots of " + std::to_string(r.n));
        ComposedBehavior composed("composed", r.slots);
        for (int i = 0; i < r.slots; ++i)
            composed.assignSubBehavior(new Counted(r.n), i);
        int cycles = 0;
        while (!composed.finished() && cycles < 100) {
            composed.execute();
            ++cycles;
        }
        EXPECT_EQ(cycles, r.cycles);
        EXPECT_TRUE(composed.finished());
    }
}

TEST(ComposedBehavior, EmptySlotHoldsTheRun)
{
    ComposedBehavior composed("composed", 2);
    composed.assignSubBehavior(new Counted(1), 0);
    for (int i = 0; i < 20; ++i)
        composed.execute();
    EXPECT_FALSE(composed.finished());
    EXPECT_EQ(composed.currSubBehaviorIndex, 1);
}

TEST(ComposedBehavior, AssignmentOwnsAndReplaces)
{
    int deleted = 0;
    {
        ComposedBehavior composed("composed", 2);
        Counted* first = new Counted(1, &deleted);
        composed.assignSubBehavior(first, 0);
        // Outside the slots: ignored (and still the caller's).
        Counted outside(1);
        composed.assignSubBehavior(&outside, -1);
        composed.assignSubBehavior(&outside, 2);
        // The same object again: kept alive and in place.
        composed.assignSubBehavior(first, 0);
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(composed.subBehaviors[0], first);
        composed.execute();
        EXPECT_EQ(first->inits, 1);
        // Another object: the held one is deleted.
        composed.assignSubBehavior(new Counted(1, &deleted), 0);
        EXPECT_EQ(deleted, 1);
        composed.assignSubBehavior(new Counted(1, &deleted), 1);
    }
    EXPECT_EQ(deleted, 3);
}

TEST_F(WalkTest, BeamBehaviourBeamsAndRelaxesEveryJoint)
{
    struct Row {
        Vector3f pose;
        const char* beam;
    } rows[] = {{Vector3f(0, 0, 0), "(beam 0 -0 0)(syn)"}, {Vector3f(-3, 2, 90), "(beam -3 -2 90)(syn)"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.beam);
        BeamBehavior beam("beam");
        if (r.pose.x != 0)
            beam.setBeamPos(r.pose);
        beam.init();
        model().setHingeJointAngle(Types::ijLlj4, -60);
        beam.execute();
        EXPECT_TRUE(beam.finished());
        std::vector<std::string> sent = server.messages();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], r.beam);
        // The knee moves back towards 0, at most at the speed limit 0.5.
        EXPECT_GT(command(sent[1], "lle4"), 0);
        EXPECT_LE(command(sent[1], "lle4"), 0.5);
        EXPECT_EQ(command(sent[1], "rle4"), 0);
    }
}
