#include <string>
#include <vector>

#include "physics/LegPose.h"
#include "skills/IKPose.h"
#include "skills/WalkSupport.h"

namespace {

class IKPoseTest : public WalkTest {
protected:
    IKPose ik;
};

TEST_F(IKPoseTest, NothingIsSentBeforeTheFirstMotion) {
    ik.init();
    ik.execute();
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(IKPoseTest, InterpolatingStepsPerDuration) {
    struct Case {
        float duration;
        int steps;
    } cases[] = {{0.02f, 1}, {0.1f, 5}, {0.2f, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        ik.init(Vector3f(0, 0.055f, -0.2f), Vector3f(0, -0.055f, -0.2f), c.duration, Vector3f(), Vector3f());
        int steps = 0;
        while (!ik.finished() && steps < 100) {
            ik.execute();
            steps++;
        }
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(IKPoseTest, SixteenCommandsLegsFirstWithTheSignsOfEachLeg) {
    ik.init(Vector3f(0.01f, 0.06f, -0.25f), Vector3f(0.02f, -0.05f, -0.26f), 0.1f, Vector3f(0.02f, 0.03f, 0.1f),
            Vector3f(0, -0.02f, -0.1f));
    ik.execute();
    ik.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 2u);
    auto cmds = commands(sent[1]);
    const char* order[16] = {"lle1", "lle2", "lle3", "lle4", "lle5", "lle6", "rle1", "rle2",
                             "rle3", "rle4", "rle5", "rle6", "lae1", "lae2", "rae1", "rae2"};
    ASSERT_EQ(cmds.size(), 16u);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(cmds[i].first, order[i]);
    }
    // The second step stands at weight 0.2 between start and target.
    Vector3f l = ik.LinearInterpolation(ik.lFInitPos, ik.lFTargetPos, 0.02f, 0.1f);
    Vector3f lo = ik.LinearInterpolation(ik.lFInitOri, ik.lFTargetOri, 0.02f, 0.1f);
    std::vector<float> left = LegPose::joints(1, l, lo);
    for (int i = 0; i < 6; i++) {
        EXPECT_FLOAT_EQ(ik.pose[Types::ijLlj1 + 2 * i], left[i]);
    }
    // Arms: -90 with the shoulders at 0 saturates; 15 and -15 for the rolls.
    EXPECT_NEAR(command(sent[1], "lae1"), -16.1395447, 1e-4);
    EXPECT_NEAR(command(sent[1], "lae2"), 15 * 0.25, 1e-4);
    EXPECT_NEAR(command(sent[1], "rae2"), -15 * 0.25, 1e-4);
    expectFinite(sent);
}

}  // namespace
