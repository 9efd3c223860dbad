// The walk-to-point controllers steering a robot of the practice world, whose
// body steps as its joints say: each decision plays one of the registry's
// keyframe steps (a turn, a forward, backward or sideways step), chosen from
// the controller's turn and speed commands, until the controller declares
// its point reached.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "MidLevelSkills.h"
#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "skills/SlotBehavior.h"
#include "tools/practice_server/Support.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

using Controller = std::function<bool(MidLevelSkills&, float& angle, float& sx, float& sy)>;

struct Case {
    const char* name;
    Controller c;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Vector DEST(-1, 0.5f);
const float DIRECTION = 90;
const float DIR_THR = 15;

class PracticeWalk : public ::testing::TestWithParam<Case> {
protected:
    WorldState& ws = Singleton<WorldState>::getInstance();
    MessageParser parser;
    ServerCapture link;
    practice::test::Rig rig;
    int id = 0;
    std::map<std::string, std::unique_ptr<SlotBehavior>> steps;

    void SetUp() override
    {
        Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        ws.setTeam("Lefts");
        ws.setUnum(3);
        Singleton<JointControl>::getInstance() = JointControl();
        MidLevelSkills::resetState();
        for (const char* name : {"RotateLeft", "RotateRight", "FrontWalkS", "BackWalk", "SideLeft", "SideRight"}) {
            steps[name] = std::make_unique<SlotBehavior>();
            steps[name]->parse(std::string("movs/prepkick/") + name + ".xml", true);
        }
        id = rig.join("Lefts", 3, 0, "-2.5 -1 0");
        cycle();
    }

    // One cycle of the world; the agent knows its true pose (left team: the
    // field frame is the global one mirrored in y).
    void cycle()
    {
        parser.parseMessage(rig.step(id));
        const practice::Agent& a = rig.agent(id);
        ws.myPos = Vector(a.pos.x, -a.pos.y);
        ws.me->position = Vector3f(a.pos.x, -a.pos.y, a.pos.z);
        ws.me->orientation = GetNormalizeAngleDeg(-(a.yaw * 180 / M_PI + 90));
    }

    void play(SlotBehavior& step)
    {
        step.init();
        for (int i = 0; i < 100 && !step.finished(); ++i) {
            step.execute();
            for (const std::string& sent : link.messages())
                rig.send(id, sent);
            cycle();
        }
    }

    // Strides until the controller declares arrival; -1 after 200.
    int walk(const Controller& c)
    {
        MidLevelSkills skills;
        for (int stride = 0; stride < 200; ++stride) {
            float angle = 0, sx = 0, sy = 0;
            if (c(skills, angle, sx, sy))
                return stride;
            // A creep (below a tenth of full speed) is no step.
            if (std::fabs(sx) < 0.1f)
                sx = 0;
            if (std::fabs(sy) < 0.1f)
                sy = 0;
            const char* name;
            // Turn while standing or while far off course; else step.
            if (std::fabs(angle) > 3 && ((sx == 0 && sy == 0) || std::fabs(angle) > 25))
                name = angle < 0 ? "RotateRight" : "RotateLeft";
            else if (sy != 0)
                name = sy > 0 ? "SideRight" : "SideLeft";
            else if (sx != 0)
                name = sx > 0 ? "FrontWalkS" : "BackWalk";
            else
                name = angle < 0 ? "RotateRight" : "RotateLeft";
            play(*steps[name]);
            EXPECT_EQ(rig.agent(id).lying, practice::LIE_NONE) << name;
        }
        return -1;
    }
};

TEST_P(PracticeWalk, ReachesItsPointAndHeading)
{
    int strides = walk(GetParam().c);
    EXPECT_GE(strides, 0);
    EXPECT_LT(ws.myPos.getDistanceTo(DEST), 0.2f);
    EXPECT_LT(std::fabs(GetNormalizeAngleDeg(DIRECTION - ws.me->orientation)), DIR_THR);
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, PracticeWalk,
    ::testing::Values(
        Case{"forward",
             [](MidLevelSkills& s, float& a, float& x, float&) {
                 return s.goToPointForwardWalk(a, x, DIR_THR, DIRECTION, DEST, 0);
             }},
        Case{"sideRight",
             [](MidLevelSkills& s, float& a, float&, float& y) {
                 return s.goToPointSideWalkRight(a, y, DIR_THR, DIRECTION, DEST, 0);
             }},
        Case{"sideLeft",
             [](MidLevelSkills& s, float& a, float&, float& y) {
                 return s.goToPointSideWalkLeft(a, y, DIR_THR, DIRECTION, DEST, 0);
             }},
        Case{"back",
             [](MidLevelSkills& s, float& a, float& x, float&) {
                 return s.goToPointBackWalk(a, x, DIR_THR, DIRECTION, DEST, 0);
             }},
        Case{"omnidirectional",
             [](MidLevelSkills& s, float& a, float& x, float& y) {
                 return s.goToPointOmniDirectional(a, x, y, DIR_THR, DIRECTION, DEST, 0);
             }},
        Case{"genericForwards",
             [](MidLevelSkills& s, float& a, float& x, float&) {
                 return s.goToPoint(a, x, DIR_THR, DIRECTION, DEST, 0, false);
             }},
        Case{"genericBackwardsAllowed",
             [](MidLevelSkills& s, float& a, float& x, float&) {
                 return s.goToPoint(a, x, DIR_THR, DIRECTION, DEST, 0, true);
             }},
        Case{"toTheBall",
             [](MidLevelSkills& s, float& a, float& x, float&) {
                 return s.goToBall(a, x, DIR_THR, DIRECTION, DEST);
             }}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
