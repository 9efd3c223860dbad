#include "skills/SkillBase.h"

const std::string SkillBase::skillsName[SKILL_COUNT] = {
    "SKILL_NOTHING",
    "SKILL_AIR_KICK",
    "SKILL_BESIDE_RESTART",
    "SKILL_BESIDE_WALK",
    "SKILL_DRIBBLE",
    "SKILL_KICK",
    "SKILL_RESTART",
    "SKILL_ROTATE",
    "SKILL_WALK",
    "SKILL_STANDUP",
    "SKILL_DIRECTED_KICK",
    "SKILL_DIVE",
    "SKILL_PATTERN_ALIGNER",
    "SKILL_HUMAN_STANDUP",
    "SKILL_REVERSEBODY",
    "SKILL_DOING_STANDUP",
    "SKILL_STABLE_WALK",
    "SKILL_WALK_NEU",
    "SKILL_NAO_STANDUP",
    "SKILL_TFS_WALK",
    "SKILL_NAO_KICK",
    "SKILL_NAO_BESIDE_WALKING",
    "SKILL_TFS_TURN",
    "SKILL_TFS_FAST_WALK",
    "SKILL_TFS_BACK_WALK",
    "SKILL_TFS_RWB",
    "SKILL_NAO_KICK2",
    "SKILL_TFS_ROTATE",
};

std::string SkillBase::getName()
{
    int id = getSkillID();
    if (id < 0 || id >= SKILL_COUNT)
        return "";
    return skillsName[id];
}
