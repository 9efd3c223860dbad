#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "skills/AgentActions.h"
#include "skills/IKPose.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"
#include "skills/SlotBehavior.h"
#include "utils/communication/Actions.h"
#include "world/QueryWorld.h"

namespace {

int countPasses(const std::string& batch)
{
    int n = 0;
    for (std::string::size_type at = batch.find("(pass)"); at != std::string::npos;
         at = batch.find("(pass)", at + 1))
        ++n;
    return n;
}

// A keyframe motion run to its end.
void finish(SlotBehavior* b) { b->currSlot = static_cast<int>(b->slots.size()); }

} // namespace

class ActionLibrary : public QueryWorld {
protected:
    AgentActions& actions = Singleton<AgentActions>::getInstance();
    Actions& effectors = Singleton<Actions>::getInstance();
    AgentState& posture = *actions.aState;

    int robotType = 0;

    void SetUp() override
    {
        QueryWorld::SetUp();
        effectors.ss.str("");
        actions.currBehavior = actions.prevBehavior = actions.bZeroWalk;
        actions.bZeroWalk->init();
        robotType = actions.mod->robotType;
    }

    // Tests may switch the robot type; the model is shared.
    void TearDown() override
    {
        actions.mod->robotType = robotType;
        QueryWorld::TearDown();
    }

    // Current behaviour b, started now.
    void run(Behavior* b)
    {
        actions.currBehavior = b;
        b->init();
    }

    // The ball at the origin, me at `me` facing `heading`, the walk current
    // and between two steps: where every kick may start.
    void betweenStepsAt(Vector me, float heading)
    {
        setBall(Vector(0, 0));
        placeMe(me, heading);
        run(actions.bOmniWalkZmp);
        actions.bOmniWalkZmp->isStepFinished = true;
    }

    // The walk-and-kick approach to the super kick has just ended; kickToTarget
    // toward target decides what follows.
    void approachEndsKickingTo(Vector target)
    {
        run(actions.bOmniWalkPrevCtrl);
        actions.bOmniWalkPrevCtrl->SetPlanner(OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
        actions.bOmniWalkPrevCtrl->currPlanner->SetFinished(true);
        actions.kickToTarget(target);
    }

    // Whether the omnidirectional kick starts toward (10, 0) from between two
    // steps at `me`, the last one carried by the left foot or the right.
    bool omniKickStarts(Vector me, float heading, bool leftCarried)
    {
        betweenStepsAt(me, heading);
        actions.bOmniWalkZmp->transitionLeftFoot.support = leftCarried;
        actions.bOmniWalkZmp->transitionRightFoot.support = !leftCarried;
        actions.shouldDynamickKick = true;
        actions.lastDynamickKick = ws.gTime;
        actions.dynamicKickToTarget(Vector(10, 0), false);
        return actions.currBehavior == static_cast<Behavior*>(actions.bOmniKick);
    }
};

TEST_F(ActionLibrary, HoldsTheSharedPostureState)
{
    EXPECT_EQ(actions.aState, &Singleton<AgentState>::getInstance());
}

TEST_F(ActionLibrary, LoadsFiftyMotionsFromThirtyFiveFiles)
{
    std::vector<AgentActions::MotionLoad> loads = AgentActions::motionLoads();
    EXPECT_EQ(loads.size(), 50u);
    std::set<std::string> files;
    for (const auto& l : loads)
        files.insert(l.file);
    EXPECT_EQ(files.size(), 35u);
    EXPECT_EQ(loads.front().file, "movs/zero/ZeroWalkPosition.xml");
    EXPECT_EQ(loads.back().file, "movs/zero/ZeroPosition.xml");

    struct Row {
        SlotBehavior* b;
        const char* name;
    } rows[] = {
        {actions.bGetupFront[2], "GetupFrontT0"},   {actions.bGetupBack[2], "GetupBackT0"},
        {actions.bGetupFront[3], "GetupFrontT3"},   {actions.bSKickLeft[1], "SuperKickRightT1"},
        {actions.bSKickRight[1], "SuperKickRightT1"}, {actions.bGoalKickRight[1], "SuperKickRightT1"},
        {actions.bGoalKickLeft[4], "SuperKickLeftT4"}, {actions.bGoalKickLeft[2], "SGoalKickLeftT2"},
        {actions.bStdKickLeft[2], "New5mKickLeft2ZMPH1"}, {actions.bStdKickRight[0], "New5mKickRight2ZMP"},
        {actions.bFallLeft, "FallToLeft"},          {actions.bZero, "ZeroPosition"},
        {actions.bOpenandCloseArms, "OpenandCloseArms"},
    };
    for (const Row& r : rows) {
        ASSERT_NE(r.b, nullptr) << r.name;
        EXPECT_EQ(r.b->getName(), r.name);
    }
    // Each slot has its own object, even where two name one file.
    EXPECT_NE(actions.bSKickLeft[1], actions.bSKickRight[1]);
    EXPECT_NE(actions.bGetupFront[0], actions.bGetupFront[2]);
}

TEST_F(ActionLibrary, WalkCommandSwitchesOnlyFromFinishedBehavioursOrTheApproach)
{
    struct Row {
        const char* what;
        Behavior* current;
        bool finished;
        bool switches;
    } rows[] = {
        {"a running kick keeps running", actions.bSKickRight[0], false, false},
        {"a finished kick gives way", actions.bSKickRight[0], true, true},
        {"a running get-up keeps running", actions.bGetupBack[0], false, false},
        {"the approach gives way at once", actions.bOmniWalkPrevCtrl, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        run(r.current);
        if (r.finished)
            finish(static_cast<SlotBehavior*>(r.current));
        posture.mRising = true;
        posture.setAgentState(AS_RISING_BACK);
        actions.ZMPWalkOmniCall(0.5, 0, 200);
        EXPECT_EQ(actions.currBehavior, r.switches ? static_cast<Behavior*>(actions.bOmniWalkZmp) : r.current);
        EXPECT_EQ(posture.getAgentState(), AS_WALKING);
        EXPECT_FALSE(posture.isRising());
    }
}

TEST_F(ActionLibrary, GetupFitsThePostureAndTheMotionBeforeIt)
{
    struct Row {
        const char* what;
        states state;
        Behavior* current;
        SlotBehavior* motion;
        states after;
    } rows[] = {
        {"front", AS_FALLEN_FRONT, actions.bStop, actions.bGetupFront[0], AS_RISING_FRONT},
        {"back", AS_FALLEN_BACK, actions.bStop, actions.bGetupBack[0], AS_RISING_BACK},
        {"side", AS_FALLEN_SIDE, actions.bStop, actions.bOpenandCloseArms, AS_RISING_SIDE},
        {"after a left dive", AS_FALLEN_FRONT, actions.bFallLeft, actions.bGetupFrontTurningRight, AS_FALLEN_FRONT},
        {"after a right dive", AS_FALLEN_BACK, actions.bFallRight, actions.bGetupFrontTurningLeft, AS_FALLEN_BACK},
        {"from the hockey posture", AS_FALLEN_BACK, actions.bGoalieHockey, actions.bGetupFromHockey, AS_FALLEN_BACK},
        {"standing: nothing", AS_STANDING, actions.bStop, nullptr, AS_STANDING},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        run(r.current);
        posture.mRising = false;
        posture.setAgentState(r.state);
        actions.Getup();
        EXPECT_EQ(actions.currBehavior, r.motion ? static_cast<Behavior*>(r.motion) : r.current);
        EXPECT_EQ(posture.getAgentState(), r.after);
        EXPECT_EQ(posture.isRising(), r.motion != nullptr);
    }
    run(actions.bGetupFrontTurningLeft);
    EXPECT_TRUE(actions.isGettingUpTurning());
}

TEST_F(ActionLibrary, AFallenRobotStopsThenGetsUpAfterThePause)
{
    posture.mFallen = true;
    posture.setAgentState(AS_FALLEN_BACK);
    ws.cTime = 10;
    ws.lastGetupFinishedTime = 9.5f;

    // First the stop motion, even though a get-up would be allowed later.
    actions.checkGettingUp();
    EXPECT_TRUE(actions.doGetup());
    EXPECT_EQ(actions.currBehavior, actions.bStop);
    EXPECT_EQ(posture.getAgentState(), AS_STOP);

    // The stop motion over, 0.5 s after the last get-up: free.
    finish(actions.bStop);
    posture.setAgentState(AS_FALLEN_BACK);
    actions.checkGettingUp();
    EXPECT_FALSE(actions.doGetup());

    // 0.75 s after: the get-up starts and holds the body until it ends.
    ws.cTime = 10.25f;
    actions.checkGettingUp();
    EXPECT_TRUE(actions.doGetup());
    EXPECT_EQ(actions.currBehavior, actions.bGetupBack[0]);
    EXPECT_TRUE(posture.isRising());
    EXPECT_TRUE(actions.doGetup());

    finish(actions.bGetupBack[0]);
    ws.cTime = 12;
    actions.checkGettingUp();
    EXPECT_FALSE(posture.isRising());
    EXPECT_FLOAT_EQ(ws.lastGetupFinishedTime, 12);
}

TEST_F(ActionLibrary, AbortedApproachReturnsToTheWalkOutsideSomeSetPieces)
{
    struct Row {
        int playMode;
        bool walks;
    } rows[] = {{PLAY_ON, true}, {QUORVEL_KICKIN, false}, {QUORVEL_GOAL_KICK, false}, {QUORVEL_KICKOFF, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.playMode);
        ws.game->playmode = r.playMode;
        actions.currBehavior = actions.bOmniWalkPrevCtrl;
        actions.bOmniWalkPrevCtrl->init();
        if (!actions.bOmniWalkPrevCtrl->Aborted())
            GTEST_SKIP() << "the approach does not report aborted without a plan";
        actions.doGetup();
        EXPECT_EQ(actions.currBehavior == actions.bOmniWalkZmp, r.walks);
    }
}

TEST_F(ActionLibrary, ServerPassStopsAtTheFirstOpponentOnTheBall)
{
    struct Row {
        const char* what;
        float opp2, opp4, opp6;
        int passes;
    } rows[] = {
        {"two near, none on the ball", 1.5f, 3, 1.9f, 2},
        {"one near before one on the ball", 1.5f, 0.5f, 1.9f, 1},
        {"on the ball first", 0.9f, 1.5f, 1.5f, 0},
        {"exactly 2 m is not near, exactly 1 m not on the ball", 2, 1, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        effectors.ss.str("");
        place(opp(2), Vector(r.opp2, 0));
        place(opp(4), Vector(0, r.opp4));
        place(opp(6), Vector(-r.opp6, 0));
        actions.serverPass();
        EXPECT_EQ(countPasses(effectors.ss.str()), r.passes);
    }
}

// Types 1 and 4 kick 3 and 25 degrees counter-clockwise of the body, so the
// body faces that far clockwise of the target: a positive angle in the field
// frame, whose +y lies to the robot's right.
TEST_F(ActionLibrary, KickAimAndKeyframeKickByTypePlayModeAndFoot)
{
    place(ws.me, Vector(0, 0));
    ws.me->orientation = 0;
    struct Aim {
        int type;
        float deg;
    } aims[] = {{0, 0}, {1, 3}, {2, 0}, {3, 0}, {4, -7}};
    for (const Aim& a : aims) {
        Vector t = actions.aimedTarget(Vector(5, 0), a.type);
        EXPECT_NEAR(t.getDirection(), a.deg, 1e-3) << a.type;
        EXPECT_NEAR(t.length(), 5, 1e-4) << a.type;
    }
    struct Row {
        int playMode, foot, type;
        SlotBehavior* kick;
    } rows[] = {
        {QUORVEL_GOAL_KICK, 1, 0, actions.bGoalKickLeft[0]},
        {QUORVEL_GOAL_KICK, 0, 4, actions.bGoalKickRight[4]},
        {QUORVEL_FREE_KICK, 1, 3, actions.bSKickRight[3]},
        {QUORVEL_CORNER_KICK, 1, 2, actions.bSKickRight[2]},
        {PLAY_ON, 1, 2, actions.bSKickLeft[2]},
        {PLAY_ON, 0, 1, actions.bSKickRight[1]},
    };
    for (const Row& r : rows)
        EXPECT_EQ(actions.keyframeKick(r.playMode, r.foot, r.type), r.kick) << r.playMode << " " << r.foot;
}

// The long kick starts (the one-cycle foot hold) once I stand 0.1 to 0.2 m
// from the ball, within 5 degrees of the kick direction and with the ball
// within 15 degrees of it, also when those angles straddle the half turn.
TEST_F(ActionLibrary, LongKickStartsWhenAlignedAlsoAcrossTheHalfTurn)
{
    ws.gTime = 10;
    struct Row {
        const char* what;
        Vector me;
        float heading;
        Vector target;
        bool starts;
    } rows[] = {
        {"kick along +x, aligned", Vector(-0.15f, 0), 1, Vector(10, 0), true},
        {"kick along +x, heading 8 off", Vector(-0.15f, 0), 8, Vector(10, 0), false},
        {"kick along +x, ball too far", Vector(-0.3f, 0), 0, Vector(10, 0), false},
        {"kick at -179, heading 179", Vector(0.15f, 0.0026f), 179, Vector(-10, -0.17f), true},
        {"kick at 179, heading -178", Vector(0.15f, -0.0026f), -178, Vector(-10, 0.17f), true},
        {"kick at 179, heading 170", Vector(0.15f, -0.0026f), 170, Vector(-10, 0.17f), false},
    };
    for (const Row& r : rows) {
        betweenStepsAt(r.me, r.heading);
        actions.kickToTarget(r.target);
        EXPECT_EQ(actions.currBehavior == actions.bIKPose, r.starts) << r.what;
    }
}

// Stepping from the walk into the approach's stance in one cycle throws the
// robot over: the approach starts only after several cycles of lowering.
// (Types 1 and 4 aim askew and are left out here.)
TEST_F(ActionLibrary, LongKickLowersIntoTheApproachStanceBeforeTheApproach)
{
    ws.gTime = 10;
    for (int t : {0, 2, 3}) {
        actions.mod->robotType = t;
        betweenStepsAt(Vector(-0.15f, 0), 0);
        actions.kickToTarget(Vector(10, 0));
        ASSERT_EQ(actions.currBehavior, actions.bIKPose) << t;
        int cycles = 0;
        while (actions.currBehavior == actions.bIKPose && cycles < 100) {
            actions.currBehavior->execute();
            actions.kickToTarget(Vector(10, 0));
            ++cycles;
        }
        EXPECT_EQ(actions.currBehavior, actions.bOmniWalkPrevCtrl) << t;
        EXPECT_GE(cycles, 10) << t;
    }
}

// The approach to the keyframe kick sets its feet as far aside as the robot
// type's kick chain asks.
TEST_F(ActionLibrary, ApproachToTheKeyframeKickTakesTheTypesSideShift)
{
    ws.gTime = 10;
    for (int t : {0, 4}) {
        actions.mod->robotType = t;
        const KickChain saved = actions.kickChain[t];
        actions.kickChain[t].kickDeviation = 0;
        actions.kickChain[t].keyframeApproachSide = 0.01f * (t + 1);
        betweenStepsAt(Vector(-0.15f, 0), 0);
        actions.kickToTarget(Vector(10, 0));
        for (int cycles = 0; actions.currBehavior == actions.bIKPose && cycles < 100; ++cycles) {
            actions.currBehavior->execute();
            actions.kickToTarget(Vector(10, 0));
        }
        ASSERT_EQ(actions.currBehavior, actions.bOmniWalkPrevCtrl) << t;
        EXPECT_FLOAT_EQ(actions.bOmniWalkPrevCtrl->pWAKPlanner->currKickParams.side, 0.01f * (t + 1)) << t;
        actions.kickChain[t] = saved;
    }
}

// When the walk-and-kick approach ends, the keyframe kick starts only with the
// ball ahead of the right foot, where its swing meets it; else I go back into
// the approach's stance and approach again.
TEST_F(ActionLibrary, KeyframeKickAfterTheApproachOnlyWithTheBallWithinItsReach)
{
    ws.gTime = 10;
    struct Row {
        const char* what;
        int type;
        Vector me;
        float heading;
        bool kicks;
    } rows[] = {
        // The field frame has +y to my right.
        {"ahead of the right foot", 0, Vector(-0.16f, -0.09f), 0, true},
        {"ahead of the right foot, facing +y", 0, Vector(0.09f, -0.16f), 90, true},
        {"too far ahead", 0, Vector(-0.3f, -0.09f), 0, false},
        {"too close", 0, Vector(-0.05f, -0.09f), 0, false},
        {"left of the torso", 0, Vector(-0.16f, 0.03f), 0, false},
        {"too far to the right", 0, Vector(-0.16f, -0.2f), 0, false},
        // Nearer the middle the swing only grazes the ball; how near, how
        // far out and how far ahead it still kicks well depends on the type.
        {"inside the right foot", 0, Vector(-0.16f, -0.04f), 0, false},
        {"inside the right foot, type 4", 4, Vector(-0.16f, -0.04f), 0, false},
        {"ahead of the right foot, type 4", 4, Vector(-0.16f, -0.09f), 0, false},
        {"far outside the right foot, type 4", 4, Vector(-0.16f, -0.18f), 0, true},
        // Type 1's kick veers 30 to 40 degrees off from nearer the middle.
        {"ahead of the right foot, type 1", 1, Vector(-0.16f, -0.08f), 0, false},
        {"outside the right foot, type 1", 1, Vector(-0.16f, -0.12f), 0, true},
        {"far outside the right foot, type 1", 1, Vector(-0.16f, -0.14f), 0, false},
        {"outside the right foot, type 0", 0, Vector(-0.16f, -0.12f), 0, true},
        {"near the middle, type 3", 3, Vector(-0.16f, -0.07f), 0, false},
        {"ahead of the right foot, type 3", 3, Vector(-0.16f, -0.1f), 0, true},
        {"far ahead, type 3", 3, Vector(-0.2f, -0.1f), 0, false},
        {"far ahead, type 2", 2, Vector(-0.2f, -0.1f), 0, true},
    };
    for (const Row& r : rows) {
        actions.mod->robotType = r.type;
        setBall(Vector(0, 0));
        placeMe(r.me, r.heading);
        approachEndsKickingTo(Vector(0, 0) + Vector(10, 0).rotate(r.heading));
        Behavior* kick = actions.keyframeKick(PLAY_ON, 0, actions.robotType());
        EXPECT_EQ(actions.currBehavior == kick, r.kicks) << r.what;
        EXPECT_EQ(actions.currBehavior == actions.bIKPose, !r.kicks) << r.what;
    }
}

// The ball is judged from the newest sighting taken through the body model
// while it is recent, not from the ball's field position; without one of late
// the field position decides.
TEST_F(ActionLibrary, KeyframeKickAfterTheApproachJudgesTheBallByTheNewestSighting)
{
    ws.gTime = 10;
    ws.cycle = 100;
    struct Row {
        const char* what;
        Vector me;         // where the field positions put me, the ball at the origin
        Vector sighting;   // the ball from the torso, +y to my right
        unsigned age;      // cycles since the sighting
        bool kicks;
    } rows[] = {
        {"the field position inside the foot, the sighting ahead of it", Vector(-0.16f, -0.04f),
         Vector(0.16f, 0.09f), 0, true},
        {"the field position ahead of the foot, the sighting inside it", Vector(-0.16f, -0.09f),
         Vector(0.16f, 0.04f), 3, false},
        {"an old sighting inside the foot", Vector(-0.16f, -0.09f), Vector(0.16f, 0.04f), 16, true},
        {"an old sighting ahead of the foot", Vector(-0.16f, -0.04f), Vector(0.16f, 0.09f), 16, false},
    };
    for (const Row& r : rows) {
        actions.mod->robotType = 0;
        setBall(Vector(0, 0));
        placeMe(r.me, 0);
        ws.ballFromTorsoSeen = r.sighting;
        ws.ballFromTorsoCycle = ws.cycle - r.age;
        approachEndsKickingTo(Vector(10, 0));
        Behavior* kick = actions.keyframeKick(PLAY_ON, 0, actions.robotType());
        EXPECT_EQ(actions.currBehavior == kick, r.kicks) << r.what;
    }
    ws.ballFromTorsoCycle = 0;
}

// Once the swing of the keyframe kick it started after the approach is over,
// kickToTarget sets the kicking foot down behind the hips, one stance width
// beside the support foot, for the robot types that fall backward out of the
// follow-through; the other types, and a kick it did not start, play on.
TEST_F(ActionLibrary, KeyframeKickAfterTheApproachCatchesItsFollowThroughByType)
{
    ws.gTime = 10;
    struct Row {
        const char* what;
        int type;
        bool fromApproach;
        bool swingOver;
        bool catches;
    } rows[] = {
        {"type 1, a kick not from the approach", 1, false, true, false},
        {"type 1 after the swing", 1, true, true, true},
        {"type 1 during the swing", 1, true, false, false},
        {"type 3 after the swing", 3, true, true, false},
        {"type 0 after the swing", 0, true, true, false},
        {"type 2 after the swing", 2, true, true, false},
        {"type 4 after the swing", 4, true, true, false},
    };
    for (const Row& r : rows) {
        actions.mod->robotType = r.type;
        SlotBehavior* kick = actions.keyframeKick(PLAY_ON, 0, r.type);
        if (r.fromApproach) {
            setBall(Vector(0, 0));
            placeMe(Vector(-0.16f, -0.115f), 0);
            approachEndsKickingTo(Vector(10, 0));
            ASSERT_EQ(actions.currBehavior, kick) << r.what;
        } else {
            run(kick);
            posture.setAgentState(AS_KICKING);
        }
        int lastSwing = -1;
        for (int i = 0; i < static_cast<int>(kick->slots.size()); ++i)
            if (kick->slots[i].slotname == "KICK")
                lastSwing = i;
        ASSERT_GE(lastSwing, 0) << r.what;
        kick->currSlot = r.swingOver ? lastSwing + 1 : lastSwing;
        EXPECT_TRUE(actions.doGetup()) << r.what;
        EXPECT_EQ(actions.currBehavior == actions.bIKPose, r.catches) << r.what;
        if (!r.catches)
            continue;
        const IKPose& step = *actions.bIKPose;
        EXPECT_LT(step.rFTargetPos.x, -0.03f) << r.what;
        EXPECT_NEAR(step.lFTargetPos.y - step.rFTargetPos.y, 0.11f, 1e-4f) << r.what;
        EXPECT_FLOAT_EQ(step.rFTargetPos.z, step.lFInitPos.z) << r.what;
        EXPECT_FLOAT_EQ(step.lFTargetPos.x, step.lFInitPos.x) << r.what;
        EXPECT_FLOAT_EQ(step.lFTargetPos.y, step.lFInitPos.y) << r.what;
        EXPECT_FLOAT_EQ(step.lFTargetPos.z, step.lFInitPos.z) << r.what;
    }
}

// The omnidirectional kick does not steer: it starts only with the body
// facing the aim, and from a finished step the right foot carried: at the end
// of a step the swing leg is still bent, and the kick's stance straightening
// the right one would push the ball away.
TEST_F(ActionLibrary, OmniKickStartsOnlyFacingTheAim)
{
    ws.gTime = 10;
    struct Row {
        const char* what;
        float heading;
        bool leftCarried;
        bool starts;
    } rows[] = {
        {"aligned", 0, false, true},
        {"heading 8 off", 8, false, true},
        {"heading -8 off", -8, false, true},
        {"heading 15 off", 15, false, false},
        {"heading 30 off", -30, false, false},
        {"aligned, the left foot carried", 0, true, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(omniKickStarts(Vector(-0.145f, -0.0425f), r.heading, r.leftCarried), r.starts) << r.what;
    }
}

// It starts only with the ball (type 0's window) 0.12 to 0.2 m from the
// torso, at most 0.19 m ahead of it and 0.02 to 0.065 m to its right (the
// field frame's +y): nearer it pushes the ball in its stance, farther ahead
// or off the right foot's middle the swing only grazes it.
TEST_F(ActionLibrary, OmniKickStartsOnlyWithTheBallWithinTheSwing)
{
    ws.gTime = 10;
    struct Row {
        Vector me;
        bool starts;
    } rows[] = {
        {Vector(-0.10f, -0.045f), false},
        {Vector(-0.13f, -0.045f), true},
        {Vector(-0.15f, -0.045f), true},
        {Vector(-0.16f, -0.025f), true},
        {Vector(-0.16f, -0.06f), true},
        {Vector(-0.18f, -0.045f), true},
        {Vector(-0.195f, -0.02f), false},
        {Vector(-0.20f, -0.045f), false},
        {Vector(-0.15f, -0.01f), false},
        {Vector(-0.15f, -0.08f), false},
        {Vector(-0.15f, 0.055f), false},
    };
    for (const Row& r : rows) {
        // From afar first, so that no creep step of the row before holds the kick.
        omniKickStarts(Vector(-1, 0), 0, false);
        EXPECT_EQ(omniKickStarts(r.me, 0, false), r.starts) << r.me.x << " " << r.me.y;
    }
}

// The ball is judged from the newest sighting taken through the body model,
// not from the field positions, which are a few cm off while walking.
TEST_F(ActionLibrary, OmniKickJudgesTheBallByTheNewestSighting)
{
    ws.gTime = 10;
    ws.cycle = 100;
    actions.mod->robotType = 0;
    struct Row {
        const char* what;
        Vector me;        // where the field positions put me, the ball at the origin
        Vector sighting;  // the ball from the torso, +y to my right
        bool starts;
    } rows[] = {
        {"the field position left of the torso, the sighting before the right foot", Vector(-0.15f, 0.03f),
         Vector(0.15f, 0.045f), true},
        {"the field position before the right foot, the sighting left of the torso", Vector(-0.15f, -0.045f),
         Vector(0.15f, -0.03f), false},
    };
    for (const Row& r : rows) {
        ws.ballFromTorsoSeen = r.sighting;
        ws.ballFromTorsoCycle = ws.cycle;
        EXPECT_EQ(omniKickStarts(r.me, 0, false), r.starts) << r.what;
    }
    ws.ballFromTorsoCycle = 0;
}

// The walk decelerates by a bounded amount a step and follows a command a
// step late, so it stops at the omnidirectional kick's stance (type 0's: 0.15 m
// behind the ball and 0.055 m to its left) instead of overrunning it into the
// ball only if its last steps shrink with what remains: each takes the same
// share of the way left, at most a quarter of it. (The walk's own limit on
// the change of step is lifted here to read the command.)
TEST_F(ActionLibrary, OmniKickLastStepsShrinkWithTheWayLeft)
{
    ws.gTime = 10;
    actions.mod->robotType = 0;
    OmniWalkZMP& walk = *actions.bOmniWalkZmp;
    const double limit = walk.params.minDx;
    const float behind[] = {0.28f, 0.18f, 0.12f};
    double share = -1;
    for (float d : behind) {
        SCOPED_TRACE(d);
        betweenStepsAt(Vector(-0.15f - d, -0.055f), 0);
        actions.shouldDynamickKick = false;
        walk.lastDX = 0;
        walk.minDx = walk.params.minDx = -1;
        actions.dynamicKickToTarget(Vector(10, 0), false);
        EXPECT_EQ(actions.currBehavior, actions.bOmniWalkZmp);
        EXPECT_GT(walk.stepSizeX, 0);
        EXPECT_LE(walk.stepSizeX, 0.25 * d);
        if (share < 0)
            share = walk.stepSizeX / d;
        EXPECT_NEAR(walk.stepSizeX / d, share, 0.02 * share);
    }
    walk.minDx = walk.params.minDx = limit;
}

// Arrived at the omnidirectional kick's stance (type 0's: 0.15 m behind the
// ball and 0.055 m to its left), the walk creeps toward the kick's window: on
// to a ball beyond it, back from one short of it (creeping on would push it
// away), sideways toward one beside it, as judged at the end of the step the
// kick starts after (the body sways from foot to foot), and holds that step
// until the next such judgement. (The walk's own limits on the change of step
// are lifted here to read the command; its y is to the left.)
TEST_F(ActionLibrary, OmniKickCreepStepsTowardTheWindow)
{
    ws.gTime = 10;
    ws.cycle = 100;
    actions.mod->robotType = 0;
    OmniWalkZMP& walk = *actions.bOmniWalkZmp;
    const double limitX = walk.params.minDx, limitY = walk.params.minDy;
    struct Row {
        const char* what;
        Vector sighting;  // the ball from the torso, +y to my right
        bool judged;      // the step the kick starts after has just ended
        int ahead;        // the sign of the step ahead
        int left;         // the sign of the step to the left
    } rows[] = {
        {"beyond the window, in line with it", Vector(0.24f, 0.045f), true, 1, 0},
        {"short of the window, in line with it", Vector(0.10f, 0.045f), true, -1, 0},
        {"left of the window", Vector(0.16f, -0.01f), true, 0, 1},
        {"right of the window", Vector(0.16f, 0.12f), true, 0, -1},
        {"short of it at the other foot's step, after one right of it", Vector(0.10f, 0.045f), false, 0, -1},
        {"short of it and left of it", Vector(0.10f, -0.01f), true, -1, 1},
        {"in line with it at the kick's step", Vector(0.24f, 0.045f), true, 1, 0},
    };
    auto sign = [](double v) { return (v > 1e-4) - (v < -1e-4); };
    for (const Row& r : rows) {
        betweenStepsAt(Vector(-0.15f, -0.055f), 0);
        walk.transitionLeftFoot.support = !r.judged;
        walk.transitionRightFoot.support = r.judged;
        ws.ballFromTorsoSeen = r.sighting;
        ws.ballFromTorsoCycle = ws.cycle;
        walk.lastDX = walk.lastDY = 0;
        walk.minDx = walk.params.minDx = -1;
        walk.minDy = walk.params.minDy = -1;
        actions.dynamicKickToTarget(Vector(10, 0), false);
        ASSERT_EQ(actions.currBehavior, actions.bOmniWalkZmp) << r.what;
        EXPECT_EQ(sign(walk.stepSizeX), r.ahead) << r.what;
        EXPECT_EQ(sign(walk.stepSizeY), r.left) << r.what;
    }
    walk.minDx = walk.params.minDx = limitX;
    walk.minDy = walk.params.minDy = limitY;
    ws.ballFromTorsoCycle = 0;
}

// Straight after a creep step back or to the left (away from the ball before
// the right foot) the body still moves on, and a kick started then falls: the
// creep judges once more before the kick may start, and after a step to the
// left it steps on until the ball lies near the window's middle. A step to
// the right holds nothing up.
TEST_F(ActionLibrary, OmniKickWaitsAfterCreepingBackOrLeft)
{
    ws.gTime = 10;
    ws.cycle = 100;
    actions.mod->robotType = 0;
    const Vector middle(0.16f, 0.045f), leftEdge(0.16f, 0.025f);
    struct Row {
        const char* what;
        std::vector<Vector> sightings;  // the ball from the torso at each judgement, +y to my right
        size_t startsAt;                // the judgement the kick starts at
    } rows[] = {
        {"short of the window", {Vector(0.10f, 0.045f), middle, middle}, 2},
        {"left of the window", {Vector(0.16f, -0.01f), middle, middle}, 2},
        {"left of the window, then at its left edge", {Vector(0.16f, -0.01f), leftEdge, middle, middle}, 3},
        {"right of the window", {Vector(0.16f, 0.12f), middle}, 1},
        {"right of the window, then at its left edge", {Vector(0.16f, 0.12f), leftEdge}, 1},
    };
    for (const Row& r : rows) {
        ws.ballFromTorsoSeen = Vector(0.24f, 0.045f);
        ws.ballFromTorsoCycle = ws.cycle;
        ASSERT_FALSE(omniKickStarts(Vector(-0.15f, -0.055f), 0, false)) << r.what << ": creeping on";
        for (size_t i = 0; i < r.sightings.size(); ++i) {
            ws.ballFromTorsoSeen = r.sightings[i];
            ws.ballFromTorsoCycle = ws.cycle;
            EXPECT_EQ(omniKickStarts(Vector(-0.15f, -0.055f), 0, false), i == r.startsAt)
                << r.what << ", judgement " << i;
        }
    }
    ws.ballFromTorsoCycle = 0;
}

// After which step the omnidirectional kick starts depends on the robot
// type: at a step's end the swing leg is still bent, and the kick's stance
// straightening the right one pushes the ball away, except type 4's.
TEST_F(ActionLibrary, OmniKickStartsAfterTheStepOfTheTypesFoot)
{
    ws.gTime = 10;
    struct Row {
        int type;
        bool leftCarried;
        bool starts;
    } rows[] = {
        {0, false, true}, {0, true, false}, {2, false, true}, {3, true, false}, {4, true, true}, {4, false, false},
    };
    for (const Row& r : rows) {
        actions.mod->robotType = r.type;
        EXPECT_EQ(omniKickStarts(Vector(-0.145f, -0.0425f), 0, r.leftCarried), r.starts)
            << "type " << r.type << (r.leftCarried ? ", left" : ", right") << " foot carried";
    }
}

// The walk to the shoot point 0.2 m behind the ball counts as arrived within
// 0.075 m of it and then only creeps: parked there just outside the window at
// our set piece, where the ball lies still, the kicker walks on towards the
// window's middle instead of creeping.
TEST_F(ActionLibrary, LongKickParkedJustOutsideItsWindowAtOurSetPieceWalksOn)
{
    ws.gTime = 10;
    ws.game->playmode = QUORVEL_GOAL_KICK;
    struct Row {
        const char* what;
        Vector me;
    } rows[] = {
        {"0.06 m too far behind", Vector(-0.26f, 0)},
        {"near enough but 19 degrees to the side", Vector(-0.17f, 0.06f)},
    };
    for (const Row& r : rows) {
        betweenStepsAt(r.me, 0);
        actions.shouldDynamickKick = false;
        actions.kickToTarget(Vector(10, 0));
        EXPECT_EQ(actions.currBehavior, actions.bOmniWalkZmp) << r.what;
        EXPECT_FALSE(actions.shouldDynamickKick) << r.what << ": creeping";
    }
    ws.game->playmode = PLAY_ON;
}

TEST_F(ActionLibrary, DirectKickCorridorNeedsOneToThreeOpponents)
{
    // Me at (10, 0) with the ball ahead: the corridor runs to their goal line.
    place(ws.me, Vector(10, 0));
    ws.myPos = Vector(10, 0);
    setBall(Vector(11, 0));
    ws.ballPos = Vector(11, 0);
    ws.theirGoalPos = Vector(15, 0);
    for (int count : {0, 1, 3, 4}) {
        for (int n = 1; n <= 4; ++n)
            place(opp(n), n <= count ? Vector(12 + 0.5f * n, 0.1f) : Vector(-12.0f + n, -9.5f));
        EXPECT_EQ(actions.isClearToDirectKick(4), count >= 1 && count <= 3) << count;
    }
}

TEST_F(ActionLibrary, DesperateWalkSendsFiniteTurnsAndLongKickKeepsItsState)
{
    place(ws.me, Vector(0, 0));
    ws.me->orientation = 0;
    run(actions.bOmniWalkZmp);
    actions.gotoPointDesperate(Vector(0, 0));
    EXPECT_EQ(actions.currBehavior, actions.bOmniWalkZmp);
    ws.longKickState = false;
    EXPECT_FALSE(actions.continueLongKick());
    EXPECT_FALSE(ws.longKickState);
}

TEST_F(ActionLibrary, ArrivalCreepsAndAllowsTheDynamicKickForTwoSeconds)
{
    place(ws.me, Vector(0, 0));
    ws.myPos = Vector(0, 0);
    ws.me->orientation = 0;
    run(actions.bOmniWalkZmp);
    actions.shouldDynamickKick = false;
    struct Row {
        const char* what;
        float gTime;
        Vector target;
        bool flag;
    } rows[] = {
        {"arrived, bearing 0", 10, Vector(0.05f, 0), true},
        {"not arrived 1 s later keeps it", 11, Vector(3, 0), true},
        {"not arrived 2.5 s later clears it", 12.5f, Vector(3, 0), false},
        {"close but off to the side does not arrive", 13, Vector(0.05f, 0.05f), false},
        {"a bearing below 5, even far negative, arrives", 14, Vector(0.05f, -0.05f), true},
    };
    for (const Row& r : rows) {
        ws.gTime = r.gTime;
        actions.moveToTarget(r.target, r.target, 0, true, 0, 0);
        EXPECT_EQ(actions.shouldDynamickKick, r.flag) << r.what;
        EXPECT_EQ(posture.getAgentState(), AS_WALKING) << r.what;
    }
}

// The world model's field frame is the team frame mirrored in y, so a point
// at +y lies to the robot's right. The walk's own commands are in the body's
// sense (on the server, a positive vTheta turns left and a positive vY steps
// right); its step plan scales them by the parameter file's multipliers.
TEST_F(ActionLibrary, WalkingToAPointTurnsAndStepsTowardIt)
{
    place(ws.me, Vector(0, 0));
    ws.myPos = Vector(0, 0);
    ws.me->orientation = 0;
    setBall(Vector(-10, -5));
    struct Row {
        const char* what;
        Vector target;
        bool faceIt;
        int vTheta, vY;  // signs of the commands the walk should get
    } rows[] = {
        {"facing a point on the right turns right", Vector(0.5f, 2), true, -1, 0},
        {"facing a point on the left turns left", Vector(0.5f, -2), true, 1, 0},
        {"keeping the heading steps right", Vector(0, 2), false, 0, 1},
        {"keeping the heading steps left", Vector(0, -2), false, 0, -1},
    };
    auto sign = [](double v) { return v > 1e-9 ? 1 : (v < -1e-9 ? -1 : 0); };
    OmniWalkZMP& walk = *actions.bOmniWalkZmp;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        run(actions.bOmniWalkZmp);
        actions.moveToTarget(r.target, r.target, 0, r.faceIt, 0, 0);
        if (r.vTheta != 0) {
            EXPECT_EQ(sign(walk.thetaStep), r.vTheta * sign(walk.params.thetaMult));
        }
        if (r.vY != 0) {
            EXPECT_EQ(sign(walk.stepSizeY), r.vY * sign(walk.params.dYmult));
        }
    }
}
