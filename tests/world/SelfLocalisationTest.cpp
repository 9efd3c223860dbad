#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"
#include "world/PoseScene.h"

using scene::Pose;
using scene::Scene;

namespace {

// Landmarks by their place relative to the agent's side.
enum Seen : unsigned {
    FLAG_FL = 1, FLAG_FR = 2, FLAG_BL = 4, FLAG_BR = 8,
    GOAL_FL = 16, GOAL_FR = 32, GOAL_BL = 64, GOAL_BR = 128,
    BALL = 256,
};
const unsigned ALL_FLAGS = FLAG_FL | FLAG_FR | FLAG_BL | FLAG_BR;

// Localizers in run order.
enum Loc : unsigned { XB = 1, FB = 2, XY = 4, YB = 8, YO = 16, ME = 32, XME = 64 };
const char* const LOC_NAMES[7] = {"LocXB", "Loc2FlB", "LocXY", "LocYB", "LocYO", "LocMe", "LocXMe"};

const double POS_TOL = 0.01;    // metres
const double ANGLE_TOL = 0.5;   // degrees
const double AXIS_TOL = 0.005;  // matrix entries, about 0.3 degrees

WorldState& freshWorld(const char* side)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentModel& body = Singleton<AgentModel>::getInstance();
    if (body.getJoint(Types::ijHj1) == nullptr)
        body.initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    ws.setSide(side);
    ws.resetSeenFlags();
    ws.localizers = {&ws.locXXBall, &ws.loc2FlBall, &ws.locXXYY, &ws.locYYBall,
                     &ws.locYYOther, &ws.locHeight, &ws.locXXHeight};
    Player* me = ws.me;
    me->position = me->speed = Vector3f(0, 0, 0);
    me->prevPosition.clear();
    me->filtered.clear();
    me->conf = 0;
    me->positionUpdateCycle = 0;
    me->orientation = me->headAbsXYDir = me->vertInclinFront = me->vertInclinSide = 0;
    ws.headToFieldTransf = ws.fieldToHeadTransf = Matrix4D();
    ws.game->simCycle = ws.cycle = 1;
    return ws;
}

std::string nameAt(WorldState& ws, bool goal, int key)
{
    return goal ? ws.goals[key]->name : ws.flags[key]->name;
}

// Feeds one message: the landmarks of the mask and, if asked, the ball
// 1.2 m ahead of the torso.
void perceive(WorldState& ws, const Scene& sc, unsigned mask)
{
    ws.resetSeenFlags();
    const int keys[4] = {ws.front_left, ws.front_right, ws.back_left, ws.back_right};
    for (int k = 0; k < 4; ++k) {
        if (mask & (FLAG_FL << k))
            sc.see(ws, nameAt(ws, false, keys[k]));
        if (mask & (GOAL_FL << k))
            sc.see(ws, nameAt(ws, true, keys[k]));
    }
    const Pose& p = sc.pose();
    if (mask & BALL)
        sc.seeBall(ws, p.x + 1.2 * std::cos(scene::rad(p.heading)),
                   p.y + 1.2 * std::sin(scene::rad(p.heading)));
    sc.setHead();
}

void expectPosition(const Vector3f& got, const Pose& p, const std::string& what)
{
    EXPECT_NEAR(got.x, p.x, POS_TOL) << what;
    EXPECT_NEAR(got.y, p.y, POS_TOL) << what;
    EXPECT_NEAR(got.z, p.z, POS_TOL) << what;
}

void expectAxes(const Matrix4D& m, const Scene& sc, const std::string& what)
{
    scene::M3 truth = sc.headToField();
    for (unsigned i = 0; i < 3; ++i)
        for (unsigned j = 0; j < 3; ++j)
            EXPECT_NEAR(m.get(i, j), truth.a[i][j], AXIS_TOL) << what << " (" << i << "," << j << ")";
    EXPECT_EQ(m.get(0, 3), 0.0f) << what;
}

void expectAngle(double got, double want, const std::string& what)
{
    EXPECT_NEAR(scene::angleDiff(got, want), 0, ANGLE_TOL) << what << ": " << got << " vs " << want;
}

// Heading, head heading and inclinations of me against the pose.
void expectMyPose(const WorldState& ws, const Scene& sc, const std::string& what)
{
    const Pose& p = sc.pose();
    expectPosition(ws.me->position, p, what);
    expectAngle(ws.me->orientation, p.heading, what + " orientation");
    expectAngle(ws.me->headAbsXYDir, sc.headDir(), what + " headAbsXYDir");
    expectAngle(ws.me->vertInclinFront, p.leanFront, what + " vertInclinFront");
    expectAngle(ws.me->vertInclinSide, p.leanSide, what + " vertInclinSide");
}

const Pose POSES[] = {
    {-5, 2, 0.52, 0, 0, 0, 0, 0},
    {3, -4, 0.52, 135, 30, -20, 0, 0},
    {-10, 6, 0.52, -60, -45, 10, 0, 0},
    {7, 1, 0.52, 170, 0, 0, 15, 0},
    {0, -7, 0.52, -120, 20, -30, 0, 10},
};

std::string describe(const char* side, const Pose& p)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "side %s pose (%g, %g, %g) heading %g pan %g tilt %g lean %g/%g",
                  side, p.x, p.y, p.z, p.heading, p.pan, p.tilt, p.leanFront, p.leanSide);
    return buf;
}

// Leaves the process's world without seen landmarks and with its own
// localizers for whatever runs next.
class WorldFixture : public ::testing::Test {
protected:
    void TearDown() override
    {
        WorldState& ws = Singleton<WorldState>::getInstance();
        ws.resetSeenFlags();
        ws.localizers = {&ws.locXXBall, &ws.loc2FlBall, &ws.locXXYY, &ws.locYYBall,
                         &ws.locYYOther, &ws.locHeight, &ws.locXXHeight};
    }
};

} // namespace

class SelfLocalisation : public WorldFixture {};
class SelfLocalisationFrames : public WorldFixture {};
class OlderLocalisation : public WorldFixture {};

// Every localizer that can work with a view recovers the pose; the valid
// set and the winner follow from the view.
TEST_F(SelfLocalisation, EveryApplicableLocalizerRecoversThePose)
{
    struct Case {
        const char* view;
        unsigned seen;
        unsigned validLeft;
        unsigned validRight;
        int winner;
    };
    const Case cases[] = {
        {"all corner flags and the ball", ALL_FLAGS | BALL, XB | FB | XY | YB | ME | XME,
         XB | FB | XY | YB | ME | XME, 0},
        {"front flags, front posts and the ball", FLAG_FL | FLAG_FR | GOAL_FL | GOAL_FR | BALL,
         FB | YB | YO | ME, FB | YB | YO | ME, 1},
        {"front posts and the ball", GOAL_FL | GOAL_FR | BALL, FB | YB | ME, FB | YB | ME, 1},
        {"back posts and one back flag", GOAL_BL | GOAL_BR | FLAG_BR, YO | ME, YO | ME, 5},
        {"one side line and the ball", FLAG_FR | FLAG_BR | BALL, XB | XME, XB | XME, 0},
        // The third landmark of the end line depends on the index order,
        // which differs between the sides.
        {"a side line and the back posts", FLAG_FR | FLAG_BR | GOAL_BL | GOAL_BR,
         XY | YO | ME | XME, XY | ME | XME, 2},
    };
    for (const char* side : {"left", "right"}) {
        for (const Case& c : cases) {
            for (const Pose& p : POSES) {
                std::string what = std::string(c.view) + ", " + describe(side, p);
                WorldState& ws = freshWorld(side);
                Scene sc(ws.game->side, p);
                perceive(ws, sc, c.seen);
                ws.setMyPosition2();

                unsigned expected = ws.game->side == 1 ? c.validLeft : c.validRight;
                for (unsigned i = 0; i < 7; ++i) {
                    Localizer* loc = ws.localizers[i];
                    std::string name = what + ", " + LOC_NAMES[i];
                    ASSERT_EQ(loc->isValid(), (expected & (1u << i)) != 0) << name;
                    if (!loc->isValid())
                        continue;
                    expectPosition(loc->estimatedPos(), p, name);
                    expectAxes(loc->headToFieldTransf(), sc, name);
                }
                expectMyPose(ws, sc, what);
                expectAxes(ws.headToFieldTransf, sc, what + ", world");
                EXPECT_EQ(ws.fieldToHeadTransf, ws.headToFieldTransf.transpose());
                EXPECT_EQ(ws.me->conf, 1.0f);
                EXPECT_EQ(ws.me->positionUpdateCycle, 1u);
                Vector3f winner = ws.localizers[c.winner]->estimatedPos();
                EXPECT_EQ(ws.me->position, winner) << what;
            }
        }
    }
}

// With the head above 0.6 m the ball localizers' confidence drops below
// that of the two landmark lines.
TEST_F(SelfLocalisation, HighHeadLeavesTheBallLocalizersBehind)
{
    for (double z : {0.61, 0.7}) {
        Pose p{-4, 3, z, 40, 10, -15, 0, 0};
        WorldState& ws = freshWorld("left");
        Scene sc(1, p);
        perceive(ws, sc, ALL_FLAGS | BALL);
        ws.setMyPosition2();
        ASSERT_TRUE(ws.locXXBall.isValid());
        ASSERT_TRUE(ws.loc2FlBall.isValid());
        EXPECT_FLOAT_EQ(ws.locXXBall.confidence(), 0.3f);
        EXPECT_FLOAT_EQ(ws.loc2FlBall.confidence(), 0.2f);
        EXPECT_EQ(ws.me->position, ws.locXXYY.estimatedPos());
        expectMyPose(ws, sc, "high head");
    }
}

namespace {

// A localizer whose answer is given: an upright head looking along +x.
class Given : public Localizer {
public:
    float conf = 1;
    bool succeed = true;
    Vector3f axisX = Vector3f(1, 0, 0);
    LandMark* a = nullptr;
    LandMark* b = nullptr;
    float confidence() override { return conf; }
    bool determineRefXXYYZZ() override
    {
        xx = axisX;
        yy = Vector3f(0, -1, 0);
        zz = Vector3f(0, 0, 1);
        refLm1 = a;
        refLm2 = b;
        return succeed;
    }
};

// Readings of the two front flags for an upright head along +x at a field point.
void seeFrontFlagsFrom(WorldState& ws, const Vector3f& at)
{
    for (int key : {ws.front_left, ws.front_right}) {
        LandMark* lm = ws.flags[key];
        Vector3f field(lm->position.x, -lm->position.y, lm->position.z);
        Vector3f cam = field - at;
        lm->relPosition = Vector3f(cam.x, -cam.y, cam.z).toPolar();
        lm->seen = true;
    }
}

} // namespace

TEST_F(SelfLocalisation, EqualConfidenceKeepsTheEarlierAndStrictlyHigherWins)
{
    struct Case {
        float conf1, conf2;
        bool secondWins;
    };
    const Case cases[] = {{0.5f, 0.5f, false}, {0.5f, 0.6f, true}, {0.7f, 0.6f, false}};
    for (const Case& c : cases) {
        WorldState& ws = freshWorld("left");
        Given first, second;
        for (Given* g : {&first, &second}) {
            g->a = ws.flags[ws.front_left];
            g->b = ws.flags[ws.front_right];
        }
        first.conf = c.conf1;
        second.conf = c.conf2;
        // The second sees the flags as from 1 m further along +x.
        seeFrontFlagsFrom(ws, Vector3f(2, 1, 0.5f));
        ws.localizers = {&first, &second};
        ws.setMyPosition2();
        EXPECT_EQ(ws.me->position, (c.secondWins ? second : first).estimatedPos());
    }
}

// A localizer whose arithmetic gives a NaN axis is not valid: a NaN pose
// never wins, even with the highest confidence.
TEST_F(SelfLocalisation, NonFinitePoseIsNeverValid)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf}) {
        WorldState& ws = freshWorld("right");
        seeFrontFlagsFrom(ws, Vector3f(-3, 2, 0.5f));
        Given broken, sound;
        for (Given* g : {&broken, &sound}) {
            g->a = ws.flags[ws.front_left];
            g->b = ws.flags[ws.front_right];
        }
        broken.conf = 5;
        broken.axisX = Vector3f(bad, 0, 0);
        sound.conf = 0.1f;
        ws.localizers = {&broken, &sound};
        ws.setMyPosition2();
        EXPECT_FALSE(broken.isValid());
        EXPECT_EQ(broken.headToFieldTransf(), Matrix4D());
        ASSERT_TRUE(sound.isValid());
        EXPECT_NEAR(ws.me->position.x, -3, 1e-4);
        EXPECT_NEAR(ws.me->position.y, 2, 1e-4);
        EXPECT_TRUE(std::isfinite(ws.me->orientation));
    }
}

// Two landmarks read at the same spot make zero vectors of the real
// localizers: none is valid and the last pose stays.
TEST_F(SelfLocalisation, DegenerateReadingsKeepTheLastPose)
{
    WorldState& ws = freshWorld("left");
    Pose p{-2, 1, 0.52, 30, 0, 0, 0, 0};
    Scene sc(1, p);
    perceive(ws, sc, FLAG_FL | FLAG_FR | GOAL_FL | BALL);
    ws.setMyPosition2();
    ASSERT_EQ(ws.me->conf, 1.0f);

    // Both front flags and the post read where the front-left flag is.
    ws.resetSeenFlags();
    perceive(ws, sc, FLAG_FL | BALL);
    LandMark* fl = ws.flags[ws.front_left];
    for (LandMark* lm : {ws.flags[ws.front_right], ws.goals[ws.front_left]}) {
        lm->relPosition = fl->relPosition;
        lm->seen = true;
    }
    ws.game->simCycle = 2;
    ws.setMyPosition2();
    for (Localizer* loc : ws.localizers)
        EXPECT_FALSE(loc->isValid()) << loc->name;
    EXPECT_FLOAT_EQ(ws.me->conf, 0.95f);
    EXPECT_EQ(ws.me->positionUpdateCycle, 1u);
    expectMyPose(ws, sc, "kept");
    for (unsigned i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(ws.headToFieldTransf[i]));
}

TEST_F(SelfLocalisation, NothingHappensBeforeTheLandmarksArePlaced)
{
    WorldState ws;  // no side yet: landmarks at the origin
    ws.me->conf = 0.5f;
    ws.me->position = Vector3f(1, 2, 0.5f);
    ws.setMyPosition2();
    EXPECT_EQ(ws.me->conf, 0.5f);
    EXPECT_EQ(ws.me->position, Vector3f(1, 2, 0.5f));
    EXPECT_TRUE(ws.me->prevPosition.empty());
    EXPECT_EQ(ws.headToFieldTransf, Matrix4D());
}

TEST_F(SelfLocalisation, ConfidenceDecaysWithoutVisionAndThePoseStays)
{
    WorldState& ws = freshWorld("right");
    Pose p{5, -3, 0.52, -100, 25, 0, 0, 0};
    Scene sc(2, p);
    perceive(ws, sc, ALL_FLAGS | BALL);
    ws.setMyPosition2();
    ASSERT_EQ(ws.me->conf, 1.0f);
    for (int n = 1; n <= 2; ++n) {
        ws.resetSeenFlags();
        ws.setMyPosition2();
        EXPECT_FLOAT_EQ(ws.me->conf, std::pow(0.95f, n));
        expectMyPose(ws, sc, "after a message without vision");
    }
}

// The speed is the step between the two previous localisations; the first
// one has no step.
TEST_F(SelfLocalisation, SpeedStartsAtZero)
{
    WorldState& ws = freshWorld("left");
    const Pose poses[] = {{-5, 2, 0.52, 0, 0, 0, 0, 0},
                          {-4.99, 2.01, 0.52, 0, 0, 0, 0, 0},
                          {-4.97, 2.0, 0.52, 0, 0, 0, 0, 0}};
    std::vector<Vector3f> speeds;
    for (const Pose& p : poses) {
        Scene sc(1, p);
        perceive(ws, sc, ALL_FLAGS | BALL);
        ws.setMyPosition2();
        speeds.push_back(ws.me->speed);
    }
    EXPECT_EQ(speeds[0], Vector3f(0, 0, 0));
    // The second message measures from the position held before any
    // localisation (the origin).
    EXPECT_NEAR(speeds[1].x, -5 / 0.02, 0.5);
    EXPECT_NEAR(speeds[2].x, 0.01 / 0.02, 0.05);
    EXPECT_NEAR(speeds[2].y, 0.01 / 0.02, 0.05);
    EXPECT_EQ(ws.me->prevPosition.size(), 3u);
}

// A head panned left by 30 degrees with the torso along +x: the camera
// heading turns the other way in the mirrored field frame.
TEST_F(SelfLocalisationFrames, PannedHeadTurnsOppositeInTheFieldFrame)
{
    for (const char* side : {"left", "right"}) {
        WorldState& ws = freshWorld(side);
        Pose p{-3, 0, 0.52, 0, 30, 0, 0, 0};
        Scene sc(ws.game->side, p);
        perceive(ws, sc, ALL_FLAGS | BALL);
        ws.setMyPosition2();
        expectAngle(ws.me->orientation, 0, side);
        expectAngle(ws.me->headAbsXYDir, -30, side);
        EXPECT_NEAR(ws.TorsoZ.z, 1, 1e-3);
        // Determinant -1: the map from the camera to the field is a reflection.
        const Matrix4D& m = ws.headToFieldTransf;
        float det = m.get(0, 0) * (m.get(1, 1) * m.get(2, 2) - m.get(1, 2) * m.get(2, 1)) -
                    m.get(0, 1) * (m.get(1, 0) * m.get(2, 2) - m.get(1, 2) * m.get(2, 0)) +
                    m.get(0, 2) * (m.get(1, 0) * m.get(2, 1) - m.get(1, 1) * m.get(2, 0));
        EXPECT_NEAR(det, -1, 1e-3) << side;
    }
}

TEST_F(SelfLocalisationFrames, ConversionsBetweenCameraAndField)
{
    for (const char* side : {"left", "right"}) {
        for (const Pose& p : POSES) {
            std::string what = describe(side, p);
            WorldState& ws = freshWorld(side);
            Scene sc(ws.game->side, p);
            perceive(ws, sc, ALL_FLAGS | GOAL_FL | BALL);
            ws.setMyPosition2();

            // The seen post goes to its mirrored stored position and back.
            LandMark* post = ws.goals[ws.front_left];
            Vector3f cam = post->relPosition.toCartesian();
            Vector3f field = ws.relativeToAbsoluteCoordinates(cam);
            EXPECT_NEAR(field.x, post->position.x, POS_TOL) << what;
            EXPECT_NEAR(field.y, -post->position.y, POS_TOL) << what;
            EXPECT_NEAR(field.z, post->position.z, POS_TOL) << what;
            Vector3f back = ws.absoluteToRelativeCoordinates(field);
            EXPECT_NEAR((back - cam).length(), 0, 1e-4) << what;
            // The ball lies on the ground 1.2 m ahead of the torso.
            Vector3f ballField = ws.relativeToAbsoluteCoordinates(ws.ball->relPosition);
            ws.myPos = ws.me->position.to2d();
            EXPECT_NEAR(ballField.z, 0.042, POS_TOL) << what;
            EXPECT_NEAR(ws.getRelDir(ballField.to2d()), 0, ANGLE_TOL) << what;

            // With the current head angles nothing changes; with others the
            // point is where that head would see it.
            Vector3f same = ws.absoluteTorelativeCoordinatesPanTilt(
                static_cast<float>(p.pan), static_cast<float>(p.tilt), field);
            EXPECT_NEAR((same - back).length(), 0, 1e-4) << what;
            Pose turned = p;
            turned.pan = p.pan - 50;
            turned.tilt = p.tilt + 25;
            Scene other(ws.game->side, turned);
            WorldState probe;
            probe.setSide(side);
            other.see(probe, post->name);
            Vector3f expected = probe.goals[ws.front_left]->relPosition.toCartesian();
            Vector3f got = ws.absoluteTorelativeCoordinatesPanTilt(
                static_cast<float>(turned.pan), static_cast<float>(turned.tilt), field);
            EXPECT_NEAR((got - expected).length(), 0, POS_TOL) << what;
        }
    }
}

TEST_F(SelfLocalisationFrames, DirectionsRelativeToTheTorso)
{
    WorldState& ws = freshWorld("left");
    Pose p{2, -1, 0.52, 60, -40, 0, 0, 0};
    Scene sc(1, p);
    perceive(ws, sc, ALL_FLAGS | BALL);
    ws.setMyPosition2();
    ws.myPos = ws.me->position.to2d();
    Vector ahead = ws.myPos + Vector(2, 60, POLAR);
    Vector behind = ws.myPos + Vector(2, 240, POLAR);
    Vector right = ws.myPos + Vector(2, 150, POLAR);
    EXPECT_NEAR(ws.getRelDir(ahead), 0, ANGLE_TOL);
    EXPECT_NEAR(std::fabs(ws.getRelDir(behind)), 180, ANGLE_TOL);
    EXPECT_NEAR(ws.getRelDir(right), 90, ANGLE_TOL);
    EXPECT_NEAR(ws.getGlobalDir(right), 150, ANGLE_TOL);

    // Exactly behind normalises to -180.
    ws.me->orientation = 0;
    EXPECT_EQ(ws.getRelDir(ws.myPos + Vector(-3, 0)), -180.0f);
}

// The body model places its parts through the world state: the head at my
// position, the feet below the torso, side by side across its heading.
TEST_F(SelfLocalisationFrames, BodyModelPlacesItsPartsOnTheField)
{
    bool first = true;
    float along = 0;
    for (const char* side : {"left", "right"}) {
        for (const Pose& p : POSES) {
            if (p.leanFront != 0 || p.leanSide != 0)
                continue;
            std::string what = describe(side, p);
            WorldState& ws = freshWorld(side);
            AgentModel& body = Singleton<AgentModel>::getInstance();
            for (int j = 2; j < Types::NJOINTS; ++j)
                body.setHingeJointAngle(j, 0);
            Scene sc(ws.game->side, p);
            perceive(ws, sc, ALL_FLAGS | BALL);
            ws.setMyPosition2();
            body.update();

            Vector3f head = body.getBodyPart(Types::ilHead)->position;
            EXPECT_NEAR((head - ws.me->position).length(), 0, 1e-5) << what;
            Vector3f left = body.getBodyPart(Types::ilLFoot)->position;
            Vector3f right = body.getBodyPart(Types::ilRFoot)->position;
            Vector3f mid = (left + right) / 2;
            // The feet keep one offset from the camera in the torso's frame,
            // whatever the heading and the head angles.
            Vector offset = (mid - Vector3f(p.x, p.y, p.z)).to2d();
            offset.rotate(static_cast<float>(-p.heading));
            if (first) {
                along = offset.getX();
                first = false;
            }
            EXPECT_NEAR(offset.getX(), along, 0.004) << what;
            EXPECT_NEAR(offset.getY(), 0, 0.004) << what;
            EXPECT_LT(mid.z, p.z - 0.3) << what;
            Vector across = (left - right).to2d();
            EXPECT_NEAR(across.length(), 0.11, 1e-3) << what;
            // The robot's left lies clockwise of its heading in this frame.
            expectAngle(across.getDirection(), p.heading - 90, what + " feet");
        }
    }
}

TEST_F(SelfLocalisationFrames, BodyModelStampsWithTheWorldCycleAndClock)
{
    WorldState& ws = freshWorld("left");
    AgentModel& body = Singleton<AgentModel>::getInstance();
    ws.cTime = 12.5f;
    body.setFootTouch(Types::pLeft, false);
    body.setFootTouch(Types::pLeft, true);
    EXPECT_EQ(body.getFootLastStrike(Types::pLeft), 12.5f);
    ws.cycle = 321;
    body.setAccelerometer(Vector3f(0, 0, 9.81f));
    Accelerometer acc = body.getAccelerometer();
    EXPECT_EQ(acc.getCycle(acc.getSize() - 1), 321.0);
}

// The older routines take the same pose from an exact view; their method
// order shows when the ball reading disagrees with the landmarks.
TEST_F(OlderLocalisation, MethodOrderAndPoseRecovery)
{
    Pose p{-6, 3, 0.52, 50, 20, -10, 0, 0};
    for (const char* side : {"left", "right"}) {
        WorldState& ws = freshWorld(side);
        Scene sc(ws.game->side, p);
        perceive(ws, sc, ALL_FLAGS | BALL);
        ws.setMyPosition();
        expectMyPose(ws, sc, std::string("setMyPosition ") + side);
        ws.me->prevPosition.clear();
        ws.setMyPositionTest();
        expectMyPose(ws, sc, std::string("setMyPositionTest ") + side);

        // A ball read 0.3 m too high misleads the ball method that
        // setMyPosition tries first; setMyPositionTest uses the two lines.
        sc.seeBall(ws, p.x + 1.2 * std::cos(scene::rad(p.heading)),
                   p.y + 1.2 * std::sin(scene::rad(p.heading)), 0.342);
        ws.setMyPositionTest();
        expectMyPose(ws, sc, std::string("lines ") + side);
        ws.setMyPosition();
        EXPECT_GT(std::fabs(scene::angleDiff(ws.me->vertInclinSide, 0)) +
                      std::fabs(ws.me->position.z - 0.52f),
                  1.0f)
            << side;
    }
}

// Only the two front posts and the ball: both routines fall to the end
// line and the ball (setMyPosition refuses "G2R" after "G1R").
TEST_F(OlderLocalisation, PostsAndBallUseTheEndLine)
{
    Pose p{4, -2, 0.52, -30, -25, 15, 0, 0};
    WorldState& ws = freshWorld("left");
    Scene sc(1, p);
    perceive(ws, sc, GOAL_FL | GOAL_FR | BALL);
    ws.setMyPosition();
    expectMyPose(ws, sc, "setMyPosition");
    ws.setMyPositionTest();
    expectMyPose(ws, sc, "setMyPositionTest");
}

TEST_F(OlderLocalisation, NoMethodKeepsPoseAndTransforms)
{
    WorldState& ws = freshWorld("right");
    Pose p{1, 1, 0.52, 10, 0, 0, 0, 0};
    Scene sc(2, p);
    perceive(ws, sc, ALL_FLAGS | BALL);
    ws.setMyPosition();
    Matrix4D before = ws.headToFieldTransf;
    Vector3f pos = ws.me->position;

    // One flag alone allows no method.
    ws.resetSeenFlags();
    sc.see(ws, ws.flags[ws.front_left]->name);
    ws.setMyPosition();
    ws.setMyPositionTest();
    EXPECT_EQ(ws.headToFieldTransf, before);
    EXPECT_EQ(ws.me->position, pos);
    EXPECT_FLOAT_EQ(ws.me->conf, 0.95f * 0.95f);
}
