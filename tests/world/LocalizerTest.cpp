#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "world/LandMark.h"
#include "world/Localizer2FlBall.h"
#include "world/LocalizerHeight.h"
#include "world/LocalizerXXBall.h"
#include "world/LocalizerXXHeight.h"
#include "world/LocalizerXXYY.h"
#include "world/LocalizerYYBall.h"
#include "world/LocalizerYYOther.h"

namespace {

// A localizer whose axes are given: the field frame seen from an upright
// head looking along +x (a reflection of the stored landmark frame in y).
class FixedAxes : public Localizer {
public:
    bool succeed = true;
    float confidence() override { return 1; }
    bool determineRefXXYYZZ() override
    {
        xx = Vector3f(1, 0, 0);
        yy = Vector3f(0, -1, 0);
        zz = Vector3f(0, 0, 1);
        return succeed;
    }
};

} // namespace

TEST(Localizer, ConfidenceTable)
{
    LocalizerXXBall xb;
    Localizer2FlBall fb;
    LocalizerXXYY xy;
    LocalizerYYBall yb;
    LocalizerYYOther yo;
    LocalizerHeight h;
    LocalizerXXHeight xh;
    struct Case {
        Localizer* loc;
        const char* name;
        float z;
        float expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {&xb, "LocXB", 0.5f, 1.1f},  {&xb, "LocXB", 0.6f, 0.3f},  {&xb, "LocXB", -0.1f, 0.3f},
        {&fb, "Loc2FlB", 0, 1.0f},   {&fb, "Loc2FlB", nan, 0.2f},
        {&xy, "LocXY", 5, 0.6f},
        {&yb, "LocYB", 0.3f, 0.55f}, {&yb, "LocYB", 1, 0.15f},
        {&yo, "LocYO", 1.9f, 0.45f}, {&yo, "LocYO", -1, 0.1f},   {&yo, "LocYO", 2, 0.1f},
        {&h, "LocMe", 0, 0.5f},      {&xh, "LocXMe", 0, 0.4f},
    };
    for (const Case& c : cases) {
        c.loc->position.z = c.z;
        EXPECT_EQ(c.loc->name, c.name);
        EXPECT_FLOAT_EQ(c.loc->confidence(), c.expected) << c.name << " z " << c.z;
        c.loc->run();
        EXPECT_FALSE(c.loc->isValid()) << c.name;
    }
}

TEST(Localizer, RunPlacesTheHeadFromTwoLandmarks)
{
    LandMark a(1), b(2);
    a.position = Vector3f(15, -10, 0);  // stored frame: at (15, 10) in the field frame
    b.position = Vector3f(15, 10, 0);   // at (15, -10)
    // Head at (5, 2, 0.5) in the field frame, looking along +x.
    Vector3f head(5, 2, 0.5f);
    Vector3f relA = Vector3f(10, -8, -0.5f).toPolar();
    Vector3f relB = Vector3f(10, 12, -0.5f).toPolar();
    a.relPosition = relA;
    b.relPosition = relB;

    FixedAxes loc;
    loc.refLm1 = &a;
    loc.refLm2 = &b;
    loc.run();
    ASSERT_TRUE(loc.isValid());
    Vector3f p = loc.estimatedPos();
    EXPECT_NEAR(p.x, head.x, 1e-4);
    EXPECT_NEAR(p.y, head.y, 1e-4);
    EXPECT_NEAR(p.z, head.z, 1e-4);
    Matrix4D m = loc.headToFieldTransf();
    EXPECT_EQ(m.get(1, 1), -1.0f);
    EXPECT_EQ(loc.fieldToHeadTransf(), m.transpose());

    loc.succeed = false;
    loc.run();
    EXPECT_FALSE(loc.isValid());
}
