#include <fstream>
#include <string>
#include <vector>

#include "physics/LegPose.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/WalkSupport.h"

namespace {

class PrevCtrlTest : public WalkTest {
protected:
    OmniWalkPrevCtrl walk;

    void SetUp() override {
        WalkTest::SetUp();
        ws.game->playmode = PLAY_ON;
        ws.me->position = Vector3f(0, 0, 0);
        ws.me->orientation = 0;
        ws.me->vertInclinFront = 0;
        ws.ballPos = Vector(0.6f, -0.05f);
        ws.ballRelDir = -5;
        walk.init();
    }

    Footstep seeded(int i) { return walk.currPlanner->GetFootstep(i); }

    // Control steps of the footstep under way, counting the call that
    // began it; ends with the call that begins the next one.
    int controlSteps() {
        int n = carried;
        for (int i = 0; i < 200; i++) {
            float before = walk.currTime;
            walk.execute();
            if (walk.currTime < before) {
                carried = 1;
                return n;
            }
            n++;
        }
        return -1;
    }

    int carried = 0;
};

TEST_F(PrevCtrlTest, StartSeedsThePauseAndTheFirstStep) {
    struct Case {
        int mode;
        int support;
        float pause;
        int feet[4];
    } cases[] = {
        {PLAY_ON, 1, 0.3f, {1, 0, 4, 1}},
        {PLAY_ON, 0, 0.3f, {0, 1, 4, 0}},
        {QUORVEL_KICKOFF, 1, 0.6f, {1, 0, 4, 1}},
        {QUORVEL_KICKIN, 0, 0.6f, {0, 1, 4, 0}},
        {QUORVEL_GOAL_KICK, 0, 0.6f, {0, 1, 4, 0}},
        {QUORVEL_CORNER_KICK, 0, 0.3f, {0, 1, 4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ws.game->playmode = c.mode;
        walk.SetPlanner(OmniWalkPrevCtrl::FREE_WALK);
        walk.Start(c.support);
        ASSERT_GE(walk.currPlanner->GetNumberOfSteps(), 5);
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(seeded(i).foot, c.feet[i]) << i;
        }
        EXPECT_FLOAT_EQ(seeded(2).duration, c.pause);
        EXPECT_FLOAT_EQ(seeded(3).duration, 0.4f);
        EXPECT_FLOAT_EQ(seeded(c.feet[0] == 1 ? 0 : 1).position.y, 0.055f);
        EXPECT_FALSE(walk.finished());
    }
}

TEST_F(PrevCtrlTest, StepsAreControlledForTheirWholeDuration) {
    walk.SetPlanner(OmniWalkPrevCtrl::FREE_WALK);
    walk.Start(0);
    EXPECT_EQ(controlSteps(), 15);  // the 0.3 s pause
    EXPECT_EQ(controlSteps(), 20);  // a 0.4 s step
    EXPECT_EQ(controlSteps(), 20);
    EXPECT_FALSE(walk.finished());
    expectFinite(server.messages());
}

TEST_F(PrevCtrlTest, LastStepFinishesOnItsTwentyFourthControlStep) {
    walk.SetPlanner(OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
    walk.Start(0);
    FootstepPlanner& q = *walk.currPlanner;
    q.Clear();
    q.Add(Footstep(Vector3f(0, -0.055f, 0), std::make_pair(0.0f, 0.0f), 0, 0));
    q.Add(Footstep(Vector3f(0, 0.055f, 0), std::make_pair(0.0f, 0.0f), 0, 1));
    q.Add(Footstep(Vector3f(0, -0.055f, 0), std::make_pair(0.0f, 0.0f), 0.5f, 0));
    walk.pWAKPlanner->isLastStep(true);
    for (int i = 1; i <= 24; i++) {
        walk.execute();
        EXPECT_EQ(walk.finished(), i == 24) << i;
    }
    // Going on re-plans at the boundary and clears the flag.
    walk.execute();
    walk.execute();
    EXPECT_FALSE(walk.finished());
}

TEST_F(PrevCtrlTest, ShortQueuesFinishAndHoldThePose) {
    walk.SetPlanner(OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
    walk.currPlanner->Clear();
    walk.currPlanner->Add(Footstep());
    EXPECT_NO_THROW(walk.execute());
    EXPECT_TRUE(walk.finished());
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(commands(sent[0]).size(), 16u);
}

TEST_F(PrevCtrlTest, ReplanFallsBackToTheLatestSingleSupportFoot) {
    walk.SetPlanner(OmniWalkPrevCtrl::FREE_WALK);
    FootstepPlanner& q = *walk.currPlanner;
    q.Add(Footstep(Vector3f(0, 0.055f, 0), std::make_pair(0.0f, 0.0f), 0, 1));
    q.Add(Footstep(Vector3f(0, 0, 0), std::make_pair(0.0f, 0.0f), 0, 4));
    q.Add(Footstep(Vector3f(0, 0, 0), std::make_pair(0.0f, 0.0f), 0.3f, 4));
    walk.Replan();
    ASSERT_GE(q.GetNumberOfSteps(), 3);
    EXPECT_EQ(seeded(2).foot, 1);
    EXPECT_FLOAT_EQ(seeded(2).duration, 0.4f);
    EXPECT_NE(walk.GetRFoot().y, walk.GetLFoot().y);
}

TEST_F(PrevCtrlTest, MatrixFileIsReadWholeOrNotAtAll) {
    OmniWalkPrevCtrl fresh;
    EXPECT_EQ(fresh.mA.Get(0, 1), 0);
    EXPECT_EQ(fresh.mKp.Get(0, 0), 0);
    std::string good;
    {
        std::ifstream in("skills/OmniWalk/matrices.txt");
        good.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_TRUE(fresh.load("skills/OmniWalk/matrices.txt"));
    EXPECT_FLOAT_EQ(fresh.mA.Get(0, 1), 0.02f);
    EXPECT_NE(fresh.mKp.Get(0, 3), 0);
    EXPECT_NE(fresh.mGp.Get(0, 49), 0);

    std::string path = std::string(::testing::TempDir()) + "/prevctrl-matrices.txt";
    struct Case {
        const char* what;
        std::string text;
        bool ok;
    } cases[] = {
        {"no feedback gains", good.substr(0, good.find("Kp")), false},
        {"blanks for separators", "A\n1 2 3\n0, 1, 0\n0, 0, 1\n" + good.substr(good.find("B")), false},
        {"A ends early at the B label", "A\n9, 9, 9\n8, 8, 8\n" + good.substr(good.find("B")), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OmniWalkPrevCtrl w;
        ASSERT_TRUE(w.load("skills/OmniWalk/matrices.txt"));
        std::ofstream(path.c_str()) << c.text;
        std::string error;
        EXPECT_EQ(w.load(path, error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok);
        // Row 2 of A keeps its value from the good file either way.
        EXPECT_FLOAT_EQ(w.mA.Get(2, 2), 1);
        EXPECT_FLOAT_EQ(w.mA.Get(0, 0), c.ok ? 9 : 1);
        EXPECT_FLOAT_EQ(w.mA.Get(1, 1), c.ok ? 8 : 1);
        EXPECT_NE(w.mKp.Get(0, 0), 0);
    }
    std::remove(path.c_str());
    EXPECT_FALSE(fresh.load("no/such/file"));
    EXPECT_FLOAT_EQ(fresh.mA.Get(0, 1), 0.02f);
}

// The planner places steps from where the feet stand now: the engine
// measures both feet from this cycle's joint angles before it plans.
TEST_F(PrevCtrlTest, PlansFromTheFeetTheJointsMeasure) {
    // Turned feet move the hip yaw-pitch joints as well.
    const Vector3f left(-0.02f, 0.06f, -0.2f), right(0.04f, -0.05f, -0.2f);
    for (int foot : {1, 0}) {
        std::vector<float> a = LegPose::joints(foot, foot == 1 ? left : right, Vector3f(0, 0, foot == 1 ? 0.2f : -0.15f));
        for (int k = 0; k < 6; k++) {
            model().setHingeJointAngle((foot == 1 ? Types::ijLlj1 : Types::ijRlj1) + 2 * k, a[k]);
        }
    }
    // Stale poses from an earlier cycle.
    model().setLFootPosition(Vector3f(9, 9, 9));
    model().setRFootPosition(Vector3f(9, 9, 9));
    walk.SetTarget(Vector(5, 0));
    walk.SetPlanner(OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
    walk.Start(0);
    const WalkKickPlanner& p = *walk.pWAKPlanner;
    // The right foot carries the first step; the left one steps next.
    EXPECT_NEAR(p.lastSupport.position.x, right.x, 2e-3);
    EXPECT_NEAR(p.lastSupport.position.y, right.y, 2e-3);
    EXPECT_NEAR(p.nextFoot.position.x, left.x, 2e-3);
    EXPECT_NEAR(p.nextFoot.position.y, left.y, 2e-3);

    model().setRFootPosition(Vector3f(9, 9, 9));
    walk.execute();
    EXPECT_NEAR(model().getRFootPositionFK().z, -0.2f - 0.04f, 2e-3);
}

TEST_F(PrevCtrlTest, AKickApproachSendsOnlyFiniteCommands) {
    walk.SetTarget(Vector(5, 0));
    walk.SetPlanner(OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
    walk.Start(0);
    ws.timeStep = 0;
    for (int i = 0; i < 150; i++) {
        walk.execute();
        tick();
    }
    std::vector<std::string> sent = server.messages();
    EXPECT_EQ(sent.size(), 150u);
    expectFinite(sent);
    EXPECT_EQ(walk.getKickFoot(), 0);
    EXPECT_EQ(walk.ChooseFoot(), 1);
}

}  // namespace
