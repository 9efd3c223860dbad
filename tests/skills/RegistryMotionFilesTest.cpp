#include <gtest/gtest.h>

#include <libxml/parser.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/XMLNode.h"

namespace {

struct Move {
    int id;
    float angle;
};
struct Slot {
    float delta;
    std::vector<Move> moves;
};

// The slots of a keyframe file, with its root's name and type.
struct Keyframes {
    std::string name, type;
    std::vector<Slot> slots;
};

Keyframes read(const std::string& file)
{
    Keyframes k;
    xmlDoc* doc = xmlReadFile((std::string(QV_DATA_DIR) + "/" + file).c_str(), nullptr, 0);
    EXPECT_NE(doc, nullptr) << file;
    if (!doc)
        return k;
    XMLNode root(xmlDocGetRootElement(doc));
    EXPECT_EQ(root.getName(), "behavior");
    k.name = root.getAttributeValue("name");
    k.type = root.getAttributeValue("type");
    std::vector<XMLNode> slots;
    root.findAllLocal("slot", slots);
    for (const XMLNode& s : slots) {
        Slot slot{static_cast<float>(std::atof(s.getAttributeValue("delta").c_str())), {}};
        std::vector<XMLNode> moves;
        s.findAllLocal("move", moves);
        for (const XMLNode& m : moves)
            slot.moves.push_back({std::atoi(m.getAttributeValue("id").c_str()),
                                  static_cast<float>(std::atof(m.getAttributeValue("angle").c_str()))});
        k.slots.push_back(slot);
    }
    xmlFreeDoc(doc);
    return k;
}

// Left and right joints trade places; roll joints change sign.
int mirrorId(int id) { return id % 2 == 0 ? id + 1 : id - 1; }
float mirrorAngle(int id, float a)
{
    switch (id) {
    case 4: case 5: case 12: case 13: case 16: case 17: case 18: case 19: case 20: case 21:
        return -a;
    default:
        return a;
    }
}

} // namespace

TEST(RegistryMotionFiles, KeyframesAreSoundForTheBody)
{
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    struct Row {
        const char* file;
        const char* name;
    } rows[] = {
        {"movs/prepkick/RotateLeft.xml", "RotateLeft"},
        {"movs/prepkick/RotateRight.xml", "RotateRight"},
        {"movs/prepkick/FrontWalkF.xml", "FrontWalkF"},
        {"movs/prepkick/FrontWalk.xml", "FrontWalk"},
        {"movs/prepkick/FrontWalkS.xml", "FrontWalkS"},
        {"movs/kick/ThreeMeterKickRight.xml", "ThreeMeterKickRight"},
        {"movs/prepkick/SideRight.xml", "SideRight"},
        {"movs/prepkick/SideLeft.xml", "SideLeft"},
        {"movs/prepkick/BackWalk.xml", "BackWalk"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        Keyframes k = read(r.file);
        EXPECT_EQ(k.name, r.name);
        EXPECT_EQ(k.type, "SlotBehavior");
        ASSERT_FALSE(k.slots.empty());
        float total = 0;
        for (const Slot& s : k.slots) {
            EXPECT_GT(s.delta, 0);
            total += s.delta;
            for (const Move& m : s.moves) {
                // No head moves; every target inside the joint's range.
                ASSERT_GE(m.id, 2);
                ASSERT_LE(m.id, 21);
                Joint* j = model.getJoint(m.id);
                EXPECT_GE(m.angle, j->getMin()) << m.id;
                EXPECT_LE(m.angle, j->getMax()) << m.id;
            }
        }
        // Every motion ends where the next one starts: both legs level.
        std::map<int, float> last;
        for (const Move& m : k.slots.back().moves)
            last[m.id] = m.angle;
        for (int id : {2, 3, 4, 5, 12, 13}) {
            EXPECT_TRUE(last.count(id)) << id;
            EXPECT_EQ(last[id], 0) << id;
        }
        EXPECT_EQ(last[6] + last[8] + last[10], 0);
        EXPECT_EQ(last[7] + last[9] + last[11], 0);
        EXPECT_LT(total, 2);
    }
}

TEST(RegistryMotionFiles, LeftAndRightMirrorEachOther)
{
    const char* pairs[][2] = {{"movs/prepkick/SideLeft.xml", "movs/prepkick/SideRight.xml"},
                              {"movs/prepkick/RotateLeft.xml", "movs/prepkick/RotateRight.xml"}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(p[0]);
        Keyframes left = read(p[0]), right = read(p[1]);
        ASSERT_EQ(left.slots.size(), right.slots.size());
        for (size_t i = 0; i < left.slots.size(); ++i) {
            EXPECT_EQ(left.slots[i].delta, right.slots[i].delta);
            std::map<int, float> r;
            for (const Move& m : right.slots[i].moves)
                r[m.id] = m.angle;
            ASSERT_EQ(left.slots[i].moves.size(), r.size());
            for (const Move& m : left.slots[i].moves) {
                ASSERT_TRUE(r.count(mirrorId(m.id))) << m.id;
                EXPECT_EQ(r[mirrorId(m.id)], mirrorAngle(m.id, m.angle)) << m.id;
            }
        }
    }
}
