#include <gtest/gtest.h>

#include "skills/GaitGenerator.h"
#include "skills/SkillBase.h"

namespace {

class FixedSkill : public SkillBase {
public:
    explicit FixedSkill(int id) : id(id) {}
    void run() override { finished = true; }
    SkillID getSkillID() override { return static_cast<SkillID>(id); }

private:
    int id;
};

} // namespace

TEST(SkillBase, NamesComeFromTheSharedTable)
{
    struct Row {
        int id;
        const char* name;
    } rows[] = {
        {SKILL_NOTHING, "SKILL_NOTHING"},
        {SKILL_WALK, "SKILL_WALK"},
        {SKILL_TFS_WALK, "SKILL_TFS_WALK"},
        {SKILL_TFS_ROTATE, "SKILL_TFS_ROTATE"},
        {SKILL_COUNT, ""},
        {-1, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        FixedSkill skill(r.id);
        EXPECT_EQ(skill.getName(), r.name);
    }
    EXPECT_EQ(SKILL_COUNT, 28);
}

TEST(SkillBase, FinishedFlagStartsLowAndIsReported)
{
    FixedSkill skill(SKILL_KICK);
    EXPECT_FALSE(skill.isFinished());
    skill.run();
    EXPECT_TRUE(skill.isFinished());
}

TEST(GaitGenerator, KeepsItsName)
{
    GaitGenerator gait("gait");
    EXPECT_EQ(gait.getName(), "gait");
    gait.setName("other");
    EXPECT_EQ(gait.getName(), "other");
    gait.init();
    gait.execute(nullptr);
    EXPECT_TRUE(gait.finished());
}
