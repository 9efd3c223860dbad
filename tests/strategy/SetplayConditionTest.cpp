#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "setplay/Cond.h"
#include "setplay/ProblemContext.h"
#include "strategy/Pass.h"
#include "strategy/setplays/SetplayCondition.h"
#include "world/QueryWorld.h"

using namespace ostrevanda::setplay;

namespace {

PointSimple* at(double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); }

class SetplayConditionTest : public QueryWorld {
protected:
    void SetUp() override {
        QueryWorld::SetUp();
        ws.conditions->fieldLength = 30;
        ws.conditions->fieldWidth = 20;
        ws.conditions->penaltyAreaLength = 1.8f;
        ws.conditions->penaltyAreaWidth = 4;
        ws.setplayPasser = nullptr;
        context.reset(new SetplayCondition());
    }
    std::unique_ptr<SetplayCondition> context;

    bool inside(const char* name, double x, double y) {
        const Region* r = context->nameSubstitutions().getSubstitutionRegion(name);
        EXPECT_TRUE(r) << name;
        std::unique_ptr<PointSimple> p(at(x, y));
        return r && r->includesPoint(p.get(), *context);
    }
    unsigned countIn(const char* const names[], unsigned n, double x, double y) {
        unsigned c = 0;
        for (unsigned i = 0; i < n; ++i) c += inside(names[i], x, y);
        return c;
    }
};

TEST_F(SetplayConditionTest, PlayModes) {
    struct Row {
        int agent;
        rcss::clang::PlayMode mode;
    } rows[] = {
        {BEFORE_KICKOFF, rcss::clang::BeforeKickOff},       {QUORVEL_KICKOFF, rcss::clang::KickOff_Our},
        {OPPONENT_KICKOFF, rcss::clang::KickOff_Opp},       {QUORVEL_KICKIN, rcss::clang::KickIn_Our},
        {OPPONENT_KICKIN, rcss::clang::KickIn_Opp},         {QUORVEL_CORNER_KICK, rcss::clang::CornerKick_Our},
        {OPPONENT_CORNER_KICK, rcss::clang::CornerKick_Opp}, {QUORVEL_FREE_KICK, rcss::clang::FreeKick_Our},
        {OPPONENT_FREE_KICK, rcss::clang::FreeKick_Opp},    {QUORVEL_GOAL_KICK, rcss::clang::GoalKick_Our},
        {OPPONENT_GOAL_KICK, rcss::clang::GoalKick_Opp},    {QUORVEL_GOAL, rcss::clang::AfterGoal_Our},
        {OPPONENT_GOAL, rcss::clang::AfterGoal_Opp},        {PLAY_ON, rcss::clang::PlayOn},
        {PASS_QUORVEL, rcss::clang::PlayOn},                {PASS_OPPONENT, rcss::clang::Invalid},
        {OTHER_PLAYMODE, rcss::clang::Invalid},             {-1, rcss::clang::Invalid},
        {99, rcss::clang::Invalid},
    };
    for (const Row& r : rows) {
        ws.game->playmode = r.agent;
        EXPECT_EQ(r.mode, context->playMode()) << r.agent;
    }
}

TEST_F(SetplayConditionTest, NamedRegions) {
    struct Row {
        const char* name;
        double x, y;
        bool in;
    } rows[] = {
        {"field", 15, 10, true},           {"field", 15.1, 0, false},
        {"our_middle_field", -1, 9, true}, {"our_middle_field", 1, 9, false},
        {"their_middle_field", 1, -9, true},
        {"their_penalty_box", 13.25, -2, true}, {"their_penalty_box", 15, 2, true},
        {"their_penalty_box", 13.1, 0, false},
        {"our_penalty_box", -13.25, 2, true}, {"our_penalty_box", -13.1, 0, false},
        {"left", -16, -11, true},          {"left", 16, -0.5, true},          {"left", 0, 0.5, false},
        {"right", -16, 11, true},          {"right", 16.1, 1, false},
        {"far_left", 0, -11, true},        {"far_left", 15.5, -11, false},   {"far_left", 0, -6.5, false},
        {"mid_left", 0, -5, true},         {"centre_left", 0, -1, true},      {"centre_right", 0, 1, true},
        {"mid_right", 0, 5, true},         {"far_right", 0, 11, true},        {"far_right", 0, 11.1, false},
        {"our_back", -15, -10, true},      {"our_back", -10, 10, true},      {"our_back", -9.9, 0, false},
        {"our_middle", -7, 0, true},       {"our_front", -2, 0, true},        {"their_front", 2, 0, true},
        {"their_middle", 7, 0, true},      {"their_back", 12, 0, true},
        {"sl_1", 14, -9, true},            {"sl_3", 2, -9.5, true},           {"sl_6", -14, -9.9, true},
        {"sl_7", -14.9, -8, true},         {"sl_9", -14.9, -1, true},         {"sr_9", -14.9, 1, true},
        {"sr_6", -14, 9.9, true},          {"sr_1", 14, 9, true},             {"sr_1", 14, -9, false},
    };
    for (const Row& r : rows) EXPECT_EQ(r.in, inside(r.name, r.x, r.y)) << r.name << " " << r.x << "," << r.y;

    // Every point well inside the field lies in one strip of each axis and one sector of the fan.
    for (double x = -14.65; x < 15; x += 1.3)
        for (double y = -9.7; y < 10; y += 1.1) {
            EXPECT_EQ(1u, countIn(RegNamed::LONGITUDINAL_REGION_NAMES, RegNamed::NUM_LONGITUDINAL_REGIONS, x, y));
            EXPECT_EQ(1u, countIn(RegNamed::TRANSVERSE_REGION_NAMES, RegNamed::NUM_TRANSVERSE_REGIONS, x, y));
            EXPECT_EQ(1u, countIn(RegNamed::RADIAL_REGION_NAMES, RegNamed::NUM_RADIAL_REGIONS, x, y)) << x << "," << y;
        }
}

TEST_F(SetplayConditionTest, UnknownShirtNumbersHaveNoPlace) {
    PlayerID twelve("our", 12), none("opp", 0), seven("opp", 7);
    EXPECT_EQ(nullptr, context->playerPos(twelve));
    EXPECT_EQ(nullptr, context->playerPos(none));
    EXPECT_EQ(nullptr, context->playerMov(twelve));
    place(opp(7), Vector(3, 4));
    const PointSimple* p = context->playerPos(seven);
    ASSERT_TRUE(p);
    EXPECT_EQ(3.0, p->getX()->value());
    // The same holder, now holding another player's place.
    EXPECT_EQ(p, context->playerPos(PlayerID("our", 2)));
    EXPECT_FLOAT_EQ(-10.0f, static_cast<float>(p->getX()->value()));

    // Listed but unknown players are in no region and may not kick.
    CondPlayerPos anywhere({new PlayerID("our", 12), new PlayerID("opp", 40)},
                           new RegRec(at(-100, -100), at(100, 100)), new Integer(1), new Integer(11));
    EXPECT_FALSE(context->lookup(anywhere));
    CondPlayerPos known({new PlayerID("opp", 7)}, new RegRec(at(-100, -100), at(100, 100)), new Integer(1),
                        new Integer(11));
    EXPECT_TRUE(context->lookup(known));
    ws.game->playmode = QUORVEL_KICKIN;  // any of ours may kick now
    CondClearShotAtGoal shot({new PlayerID("our", 12)});
    EXPECT_FALSE(context->lookup(shot));
    CondClearShotAtGoal mine({new PlayerID("our", 3)});
    EXPECT_TRUE(context->lookup(mine));
}

TEST_F(SetplayConditionTest, Conditions) {
    // Clear shots: always in our corner kick, goal kick and kick-off.
    CondClearShotAtGoal shot({});
    struct Mode {
        int mode;
        bool clear;
    } modes[] = {{QUORVEL_CORNER_KICK, true}, {QUORVEL_GOAL_KICK, true}, {QUORVEL_KICKOFF, true},
                 {QUORVEL_FREE_KICK, false}, {PLAY_ON, false}};
    for (const Mode& m : modes) {
        ws.game->playmode = m.mode;
        EXPECT_EQ(m.clear, context->lookup(shot)) << m.mode;
    }

    // Near the offside line: beyond 14 m from the centre line, on either half.
    struct Offside {
        float x;
        bool near;
    } lines[] = {{14.0f, false}, {14.05f, true}, {-14.05f, true}, {-14.0f, false}};
    for (const Offside& o : lines) {
        place(opp(4), Vector(o.x, 0));
        place(mate(4), Vector(o.x, 0));
        CondNearOffsideLine theirs({new PlayerID("opp", 4)}), mine({new PlayerID("our", 4)});
        EXPECT_EQ(o.near, context->lookup(theirs)) << o.x;
        EXPECT_EQ(o.near, context->lookup(mine)) << o.x;
    }

    // No set-play passer recorded: the pass has not failed.
    context->setPasser(new Pass());
    EXPECT_FALSE(context->lookup(CondPassFailed()));
}

TEST_F(SetplayConditionTest, BallRegionsForTheCaseBase) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        int mode;
        Vector ball;
        const char *lon, *trans, *rad;
    } rows[] = {
        {QUORVEL_FREE_KICK, Vector(5, 2), "centre_right", "their_front", nullptr},
        {QUORVEL_FREE_KICK, Vector(-14, -9.9f), "far_left", "our_back", "sl_6"},
        {QUORVEL_CORNER_KICK, Vector(15, 10), "far_right", "irrelevant", "irrelevant"},
        {QUORVEL_FREE_KICK, Vector(15, -10), "far_left", "their_back", nullptr},
        {QUORVEL_FREE_KICK, Vector(17, 0), "centre_left", "their_back", nullptr},
        {QUORVEL_FREE_KICK, Vector(20, 13), "far_right", "their_back", nullptr},
        {QUORVEL_FREE_KICK, Vector(inf, 0), "irrelevant", "irrelevant", "irrelevant"},
        {QUORVEL_FREE_KICK, Vector(std::nanf(""), 0), "irrelevant", "irrelevant", "irrelevant"},
    };
    for (const Row& r : rows) {
        ws.game->playmode = r.mode;
        setBall(r.ball);
        std::unique_ptr<ProblemContext> p;
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(p.reset(new ProblemContext(*context, 0))) << r.ball.x << "," << r.ball.y;
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(p);
        EXPECT_EQ(r.lon, p->getLongitudinalRegion()) << r.ball.x << "," << r.ball.y;
        EXPECT_EQ(r.trans, p->getTransverseRegion()) << r.ball.x << "," << r.ball.y;
        if (r.rad) {
            EXPECT_EQ(r.rad, p->getRadialRegion()) << r.ball.x << "," << r.ball.y;
        }
        EXPECT_FALSE(p->getRadialRegion().empty());
    }
}

}  // namespace
