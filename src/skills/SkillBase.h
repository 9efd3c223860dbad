#ifndef SKILLS_SKILLBASE_H
#define SKILLS_SKILLBASE_H

#include <string>

// The skill ids; SKILL_COUNT is the number of skills and has no name.
enum SkillID {
    SKILL_NOTHING,
    SKILL_AIR_KICK,
    SKILL_BESIDE_RESTART,
    SKILL_BESIDE_WALK,
    SKILL_DRIBBLE,
    SKILL_KICK,
    SKILL_RESTART,
    SKILL_ROTATE,
    SKILL_WALK,
    SKILL_STANDUP,
    SKILL_DIRECTED_KICK,
    SKILL_DIVE,
    SKILL_PATTERN_ALIGNER,
    SKILL_HUMAN_STANDUP,
    SKILL_REVERSEBODY,
    SKILL_DOING_STANDUP,
    SKILL_STABLE_WALK,
    SKILL_WALK_NEU,
    SKILL_NAO_STANDUP,
    SKILL_TFS_WALK,
    SKILL_NAO_KICK,
    SKILL_NAO_BESIDE_WALKING,
    SKILL_TFS_TURN,
    SKILL_TFS_FAST_WALK,
    SKILL_TFS_BACK_WALK,
    SKILL_TFS_RWB,
    SKILL_NAO_KICK2,
    SKILL_TFS_ROTATE,
    SKILL_COUNT
};

// A skill that runs and names itself by its id.
class SkillBase {
public:
    static const std::string skillsName[SKILL_COUNT];

    bool finished;

    SkillBase() : finished(false) {}
    virtual ~SkillBase() {}

    virtual void run() = 0;
    virtual SkillID getSkillID() = 0;

    // The name of getSkillID(); "" for an id outside the table.
    std::string getName();
    bool isFinished() const { return finished; }
};

#endif
