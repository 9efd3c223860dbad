#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skills/SequenceBehavior.h"
#include "skills/SkillsManager.h"
#include "skills/TimedBehavior.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Finishes after n executions, or after `seconds` of world clock when given.
class Counted : public Behavior {
public:
    explicit Counted(int n, float seconds = 0) : Behavior("counted"), n(n), seconds(seconds) {}
    void init() override
    {
        ++inits;
        runs = 0;
        start = Singleton<WorldState>::getInstance().cTime;
    }
    void execute() override
    {
        ++runs;
        ++executions;
    }
    bool finished() override
    {
        if (seconds > 0)
            return Singleton<WorldState>::getInstance().cTime - start >= seconds - 0.005f;
        return runs >= n;
    }

    int n;
    float seconds;
    float start = 0;
    int inits = 0, runs = 0, executions = 0;
};

SkillsManager& registry() { return Singleton<SkillsManager>::getInstance(); }

} // namespace

TEST(SkillsManager, BuildsItsTableFromTheMotionFiles)
{
    SkillsManager& r = registry();
    for (const char* name : {"RotateLeft", "RotateRight", "FrontWalkF", "FrontWalk", "FrontWalkS",
                             "FrontF", "Front", "FrontS", "Kick3m", "SideRight", "SideWalkRight",
                             "SideLeft", "SideWalkLeft", "BackWalk", "Back"})
        EXPECT_NE(r.getBehavior(name), nullptr) << name;
    EXPECT_EQ(r.getBehavior("RotRight"), r.getBehavior("RotateRight"));
    EXPECT_EQ(r.getBehavior("RotLeft"), r.getBehavior("RotateLeft"));
    for (const char* name : {"Kick4m", "Kick5m", "Kick6m"})
        EXPECT_EQ(r.getBehavior(name), r.getBehavior("Kick3m"));
    // The timed repetition holds its own copy of the forward walk and bears its name.
    EXPECT_NE(r.getBehavior("Front"), r.getBehavior("FrontWalk"));
    EXPECT_EQ(r.getBehavior("Front")->getName(), "FrontWalk");
    EXPECT_EQ(r.getBehavior("FrontF")->getName(), "FrontF");
    EXPECT_EQ(r.getBehavior("NoSuchSkill"), nullptr);
}

TEST(SkillsManager, RegisteringAgainReplacesTheEntry)
{
    Counted a(1), b(1);
    registry().addBehavior("Replaced", &a);
    registry().addBehavior("Replaced", &b);
    EXPECT_EQ(registry().getBehavior("Replaced"), &b);
    registry().addBehavior(&a);
    EXPECT_EQ(registry().getBehavior("counted"), &a);
    registry().addBehavior("Replaced", nullptr);
    registry().addBehavior("counted", nullptr);
}

TEST(SequenceBehavior, RunsNamesOneAfterAnother)
{
    struct Row {
        const char* what;
        std::vector<std::string> names;
        int n;
        int cycles;  // executions until finished; 0: never within 50
        int inits;   // of the registered behaviour
    } rows[] = {
        {"three equal names", {"SeqStep", "SeqStep", "SeqStep"}, 2, 7, 3},
        {"one name", {"SeqStep"}, 4, 5, 1},
        {"an unknown name is skipped", {"SeqStep", "NoSuchSkill", "SeqStep"}, 1, 4, 2},
        {"empty never finishes", {}, 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Counted step(r.n);
        registry().addBehavior("SeqStep", &step);
        SequenceBehavior seq("seq");
        std::vector<std::string> names = r.names;
        seq.setSequence(names);
        int cycles = 0;
        while (!seq.finished() && cycles < 50) {
            seq.execute();
            ++cycles;
        }
        EXPECT_EQ(seq.finished() ? cycles : 0, r.cycles);
        EXPECT_EQ(step.inits, r.inits);
        // Replayable.
        seq.init();
        EXPECT_EQ(seq.finished(), false);
    }
    registry().addBehavior("SeqStep", nullptr);
}

TEST(SequenceBehavior, StopTakesEffectAtTheNextBoundary)
{
    Counted step(2);
    registry().addBehavior("SeqStep", &step);
    SequenceBehavior seq("seq");
    std::vector<std::string> names(3, "SeqStep");
    seq.setSequence(names);
    seq.execute();
    seq.stop();
    seq.execute();
    EXPECT_FALSE(seq.finished());
    // At the boundary the next run is initialised, not executed.
    seq.execute();
    EXPECT_TRUE(seq.finished());
    EXPECT_EQ(step.inits, 2);
    EXPECT_EQ(step.executions, 2);
    EXPECT_EQ(seq.getCurrentAction(), &step);
    // Executing again resumes until the next boundary.
    seq.execute();
    EXPECT_FALSE(seq.finished());
    seq.execute();
    seq.execute();
    EXPECT_TRUE(seq.finished());
    EXPECT_EQ(step.inits, 3);
    EXPECT_EQ(step.executions, 4);
    registry().addBehavior("SeqStep", nullptr);
}

TEST(TimedBehavior, RepeatsUntilItsDurationAndCompletesTheLastRun)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    struct Row {
        float duration, motion;
        int inits;
        int cycles;
    } rows[] = {{1.0f, 0.4f, 3, 60}, {0.4f, 0.4f, 1, 20}, {0.41f, 0.4f, 2, 40}, {0, 0.2f, 1, 10}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.duration);
        Counted motion(0, r.motion);
        TimedBehavior timed("timed");
        timed.setBehavior(&motion);
        timed.setDuration(r.duration);
        int cycle = 0;
        ws.cTime = 100;
        timed.init();
        while (!timed.finished() && cycle < 200) {
            timed.execute();
            ++cycle;
            ws.cTime = 100 + cycle * 0.02f;
        }
        EXPECT_EQ(cycle, r.cycles);
        EXPECT_EQ(motion.inits, r.inits);
    }
}

TEST(TimedBehavior, WithoutABehaviourOnlyStampsItsTime)
{
    TimedBehavior timed("timed");
    timed.init();
    EXPECT_TRUE(timed.finished());
    timed.execute();
    EXPECT_TRUE(timed.finished());
}
