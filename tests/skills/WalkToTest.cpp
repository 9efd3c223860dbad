#include <gtest/gtest.h>

#include <cmath>

#include "physics/AgentModel.h"
#include "physics/ServerCapture.h"
#include "skills/CPGBehavior.h"
#include "skills/WalkTo.h"
#include "world/QueryWorld.h"

namespace {

// 0.3 x (1 - 1 / (1 + e^4)): the amplitude far from the target.
const double FAR_AMPLITUDE = 0.3 * (1 - 1 / (1 + std::exp(4.0)));

} // namespace

class SteeredWalk : public QueryWorld {
protected:
    ServerCapture link;

    void SetUp() override
    {
        QueryWorld::SetUp();
        Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        placeMe(Vector(0, 0), 0);
        ws.cFootPos = Vector(0, 0);
        ws.cTime = 20;
    }

    // One cycle with the target d metres straight ahead.
    void stepAt(WalkTo& w, float d)
    {
        w.setVar("PosX", d);
        w.setVar("PosY", 0);
        w.execute();
        ws.cTime += 0.02f;
    }
    static float amplitude(WalkTo& w) { return w.walk->getVar("AmpMod", -1); }
};

TEST_F(SteeredWalk, BrakesOnlyInsideTheBrakingDistance)
{
    WalkTo w;
    ASSERT_NE(w.walk, nullptr);
    EXPECT_EQ(w.getName(), "WalkTo");
    w.init();
    struct Row {
        float distance;
        float brake;
    } rows[] = {{1, 0}, {0.1f, 0.7507f}, {0.3f, 0.7507f}, {0.35f, 0.7507f}, {0.41f, 0}, {0.2f, 0.5015f}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.distance);
        stepAt(w, r.distance);
        EXPECT_NEAR(w.brake_fact, r.brake, 1e-3);
        EXPECT_NEAR(amplitude(w), 0.3 * (1 - 1 / (1 + std::exp((0.5 - r.brake) * 8))), 1e-4);
        EXPECT_FLOAT_EQ(w.walk->getVar("Strength", -1), 2.5f);
    }
    EXPECT_NEAR(FAR_AMPLITUDE, 0.2946, 1e-4);
}

TEST_F(SteeredWalk, DivisorAndBrakingDistanceOfZero)
{
    struct Row {
        const char* what;
        float divFactor, brakeDistance, distance;
        double amplitude;
    } rows[] = {
        {"far, divided by 2", 2, 0.4012f, 1, FAR_AMPLITUDE / 2},
        {"divisor 0 leaves the amplitude", 0, 0.4012f, 1, FAR_AMPLITUDE},
        {"braking distance 0 never brakes", 1, 0, 0, FAR_AMPLITUDE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WalkTo w;
        w.init();
        w.setVar("DivFactor", r.divFactor);
        w.setVar("BrakeDistance", r.brakeDistance);
        stepAt(w, r.distance);
        EXPECT_TRUE(std::isfinite(amplitude(w)));
        EXPECT_NEAR(amplitude(w), r.amplitude, 1e-5);
    }
}

TEST_F(SteeredWalk, SteersTowardsTheTargetAndRestartsTheWalk)
{
    WalkTo w;
    w.init();
    struct Row {
        float x, y;
        float steer;
    } rows[] = {{0, 2, 1.5707963f}, {0, -2, -1.5707963f}, {2, 0, 0}, {-2, 0.001f, 3.1410925f}};
    for (const Row& r : rows) {
        w.setVar("PosX", r.x);
        w.setVar("PosY", r.y);
        w.execute();
        EXPECT_NEAR(w.walk->getVar("SteerAngle", -9), r.steer, 1e-4);
    }
    // The target defaults to the ball.
    WalkTo toBall;
    toBall.init();
    setBall(Vector(0, 3));
    toBall.execute();
    EXPECT_NEAR(toBall.walk->getVar("SteerAngle", -9), 1.5707963f, 1e-4);

    // Every finished gait cycle restarts the walk and counts a step.
    w.init();
    int cycles = 0;
    while (w.curStep < 2 && cycles < 200) {
        stepAt(w, 3);
        ++cycles;
    }
    EXPECT_EQ(w.curStep, 2);
    EXPECT_FALSE(link.messages().empty());
}
