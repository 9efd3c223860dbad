#include <gtest/gtest.h>

#include "world/BallMovementPrediction.h"

TEST(BallMovementPrediction, StepsWithDrag)
{
    Vector p0(1, 2), v0(1, 0), a0(10, 0);
    EXPECT_EQ(BallMovementPrediction::positionInNCycles(p0, v0, a0, 0), p0);
    // P1 = P0 + 0.02 V0; V1 = V0 + 0.02 A0 = 1.2; P2 = P1 + 0.02 * 1.2.
    Vector p1 = BallMovementPrediction::positionInNCycles(p0, v0, a0, 1);
    EXPECT_FLOAT_EQ(p1.x, 1.02f);
    Vector p2 = BallMovementPrediction::positionInNCycles(p0, v0, a0, 2);
    EXPECT_FLOAT_EQ(p2.x, 1.044f);
    // A1 = -1.05 * V0 acts on V2: V2 = 1.2 - 0.021; P3 = P2 + 0.02 * V2.
    Vector p3 = BallMovementPrediction::positionInNCycles(p0, v0, a0, 3);
    EXPECT_FLOAT_EQ(p3.x, 1.044f + 0.02f * 1.179f);
    EXPECT_FLOAT_EQ(p3.y, 2);
}

TEST(BallMovementPrediction, CyclesToPosition)
{
    struct Case {
        Vector velocity;
        Vector target;
        float error;
        unsigned long cycles;
    };
    const Case cases[] = {
        {Vector(0, 0), Vector(0.05f, 0), 0.1f, 1},   // already there
        {Vector(1, 0), Vector(0.1f, 0), 0.01f, 6},   // P5 = 0.0975
        {Vector(0, 0), Vector(5, 0), 0.1f, 51},      // never reached
    };
    for (const Case& c : cases)
        EXPECT_EQ(BallMovementPrediction::nCyclesToPosition(Vector(0, 0), c.velocity, Vector(0, 0),
                                                            c.target, c.error),
                  c.cycles)
            << c.target;
}
