#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalkZMP.h"
#include "skills/WalkSupport.h"

namespace {

// A record whose field i holds value(i).
template <typename F>
std::string record(F value) {
    std::ostringstream out;
    for (int i = 0; i < 100; i++) {
        out << (i ? " " : "") << value(i);
    }
    return out.str();
}

class KickTest : public WalkTest {
protected:
    std::string dir;
    char cwd[4096] = {0};
    OmniDirectionalKick kick;

    void SetUp() override {
        WalkTest::SetUp();
        char tmpl[] = "/tmp/kicktestXXXXXX";
        dir = mkdtemp(tmpl);
        mkdir((dir + "/movs").c_str(), 0700);
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    }
    void TearDown() override {
        if (chdir(cwd) != 0) {
            ADD_FAILURE() << "cannot return to " << cwd;
        }
        std::remove((dir + "/movs/parametrosOmnikick.txt").c_str());
        std::remove((dir + "/movs/parametrosOmnikickT0.txt").c_str());
        std::remove((dir + "/movs/parametrosOmnikickT1.txt").c_str());
        std::remove((dir + "/movs/p.txt").c_str());
        rmdir((dir + "/movs").c_str());
        rmdir(dir.c_str());
    }
    std::string write(const std::string& name, const std::string& text) {
        std::string path = dir + "/movs/" + name;
        std::ofstream(path.c_str()) << text;
        return path;
    }
    // Runs the kick from the data in text, in the scratch folder.
    void startWith(const std::string& text) {
        write("parametrosOmnikick.txt", text);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        kick.init();
        ASSERT_EQ(chdir(cwd), 0);
    }
};

TEST_F(KickTest, ReadingRules) {
    std::string full = record([](int i) { return i + 1; });
    std::string other = record([](int) { return 7; });
    std::string spaced;
    for (char c : full) {
        spaced += c == ' ' ? std::string("  ") : std::string(1, c);
    }
    struct Case {
        const char* what;
        std::string text;
        size_t records;
        double first;
    } cases[] = {
        {"last line without newline", full, 0, 0},
        {"comment and empty lines", "# a comment\n\n" + full + "\n", 1, 1},
        {"double spaces", "  " + spaced + "  \n", 1, 1},
        {"tab inside a word", "5\t6 " + full + "\n", 1, 5},
        {"short line skipped", "1 2 3\n" + full + "\n", 1, 1},
        {"two records in order", full + "\n" + other + "\n", 2, 1},
        {"not a number reads as 0", "x" + full + "\n", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kick.parametros.clear();
        kick.readParamsFromFile(write("p.txt", c.text));
        ASSERT_EQ(kick.parametros.size(), c.records);
        if (c.records) {
            EXPECT_EQ(kick.parametros[0].field(0), c.first);
        }
    }
    kick.parametros.clear();
    kick.readParamsFromFile(write("p.txt", full + "\n"));
    for (int i = 0; i < 100; i++) {
        EXPECT_EQ(kick.parametros[0].field(i), i + 1) << i;
    }
    EXPECT_EQ(kick.parametros[0].phase[1].time, 26);
    EXPECT_EQ(kick.parametros[0].phase[3].RLV[5], 100);
}

TEST_F(KickTest, NoRecordFinishesAtInitAndSendsNothing) {
    for (const char* text : {"", "# only a comment\n", "1 2 3\n"}) {
        SCOPED_TRACE(text);
        startWith(text);
        EXPECT_TRUE(kick.finished());
        kick.execute();
        EXPECT_TRUE(server.messages().empty());
    }
}

TEST_F(KickTest, PhaseTimingAndTheBatches) {
    double times[4] = {0.11, 0.10, 0.05, 0.20};
    startWith(record([&](int i) {
                  int k = i % 25;
                  if (k == 0) {
                      return times[i / 25];
                  }
                  // Targets 10 * phase, limits 1.
                  return k <= 12 ? 10.0 * (i / 25 + 1) : 1.0;
              }) +
              "\n" + record([](int) { return 3; }) + "\n");
    EXPECT_FALSE(kick.finished());
    // The phase of the batch sent at each call, 0 for none.
    std::vector<int> phases;
    for (int call = 0; call < 16 && !kick.finished(); call++) {
        kick.execute();
        std::vector<std::string> sent = server.messages();
        phases.push_back(sent.empty() ? 0 : kick.phase);
        if (!sent.empty()) {
            auto cmds = commands(sent[0]);
            ASSERT_EQ(cmds.size(), 20u);
            const char* order[20] = {"lae1", "lae2", "lae3", "lae4", "rae1", "rae2", "rae3",
                                     "rae4", "lle1", "lle2", "lle3", "lle4", "lle5", "lle6",
                                     "rle1", "rle2", "rle3", "rle4", "rle5", "rle6"};
            for (int i = 0; i < 20; i++) {
                EXPECT_EQ(cmds[i].first, order[i]);
            }
            double shoulder = kick.phase == 4 ? -90 : -80;
            EXPECT_NEAR(command(sent[0], "lae1"), std::max(-6.1395447, shoulder * 0.25), 1e-4);
            EXPECT_NEAR(command(sent[0], "rae1"), std::max(-6.1395447, shoulder * 0.25), 1e-4);
            EXPECT_NEAR(command(sent[0], "lae2"), 0, 1e-6);
            // Targets of the current record's phase, clamped to its limit 1.
            EXPECT_NEAR(command(sent[0], "rle6"), 1, 1e-6);
        }
        tick();
    }
    std::vector<int> expected = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 4, 0};
    EXPECT_EQ(phases, expected);
    EXPECT_TRUE(kick.finished());
}

// "settle S": the last phase's stance on both feet for S seconds, then the
// phases as without it.
TEST_F(KickTest, SettleHoldsTheLastPhaseFirst) {
    double times[4] = {0.12, 0.10, 0.05, 0.20};
    std::string kickRecord = record([&](int i) {
        int k = i % 25;
        if (k == 0) {
            return times[i / 25];
        }
        // Targets 10 * phase, limits far above the commands.
        return k <= 12 ? 10.0 * (i / 25 + 1) : 100.0;
    });
    startWith("settle 0.09\n" + kickRecord + "\n");
    EXPECT_FLOAT_EQ(kick.settleTime, 0.09f);
    // The phase whose targets each call sends, from lle3 = target / 4.
    std::vector<int> phases;
    for (int call = 0; call < 24 && !kick.finished(); call++) {
        kick.execute();
        std::vector<std::string> sent = server.messages();
        phases.push_back(sent.empty() ? 0 : static_cast<int>(std::lround(command(sent[0], "lle3") / 2.5)));
        tick();
    }
    std::vector<int> expected = {4, 4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 4, 0};
    EXPECT_EQ(phases, expected);

    struct Case {
        const char* line;
        float settle;
    } cases[] = {{"", 0}, {"settle 0.3\n", 0.3f}, {"settle -1\n", 0}, {"settle\n", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        startWith(c.line + kickRecord + "\n");
        EXPECT_FLOAT_EQ(kick.settleTime, c.settle);
        EXPECT_EQ(kick.parametros.size(), 1u);
    }
}

// A robot type's own file, when it holds a record, replaces the shared one,
// settle line and all; the body here is type 0.
TEST_F(KickTest, TheRobotTypesOwnRecordComesFirst) {
    std::string shared = "settle 0.2\n" + record([](int) { return 1; }) + "\n";
    std::string own = record([](int) { return 2; }) + "\n";
    struct Case {
        const char* what;
        const char* file;
        std::string text;
        double first;
        float settle;
    } cases[] = {
        {"own record", "parametrosOmnikickT0.txt", own, 2, 0},
        {"own file with its settle", "parametrosOmnikickT0.txt", "settle 0.1\n" + own, 2, 0.1f},
        {"own file without a record", "parametrosOmnikickT0.txt", "settle 0.1\n1 2 3\n", 1, 0.2f},
        {"another type's file", "parametrosOmnikickT1.txt", own, 1, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(c.file, c.text);
        startWith(shared);
        ASSERT_EQ(kick.parametros.size(), 1u);
        EXPECT_EQ(kick.parametros[0].field(0), c.first);
        EXPECT_FLOAT_EQ(kick.settleTime, c.settle);
        std::remove((dir + "/movs/" + c.file).c_str());
    }
}

TEST_F(KickTest, RecordsReadLaterLeaveTheFirstInUse) {
    startWith(record([](int i) { return i % 25 == 0 ? 1.0 : 2.0; }) + "\n");
    std::string more;
    for (int i = 0; i < 20; i++) {
        more += record([](int) { return 9; }) + "\n";
    }
    kick.readParamsFromFile(write("p.txt", more));
    ASSERT_EQ(kick.parametros.size(), 21u);
    kick.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    // Target 2, limit 2: 0.5 from a joint at 0.
    EXPECT_NEAR(command(sent[0], "lle3"), 0.5, 1e-6);
}

TEST_F(KickTest, SpeedsAreFiniteAndClampedToTheLimit) {
    ws.timeStep = 0;
    model().setHingeJointAngle(Types::ijRlj3, 5);
    struct Case {
        double setpoint, limit, expected;
    } cases[] = {{5, 3, 0}, {9, 3, 1}, {100, 3, 3}, {-100, 3, -3}, {NAN, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setpoint);
        EXPECT_NEAR(kick.predictEffector(Types::ijRlj3, 5, c.setpoint, c.limit), c.expected, 1e-6);
    }
}

TEST_F(KickTest, HandOverIsTheNominalStanceOnTheLeftFoot) {
    startWith(record([](int) { return 0; }) + "\n");
    EXPECT_FLOAT_EQ(kick.GetLFoot().y, 0.055f);
    EXPECT_FLOAT_EQ(kick.GetRFoot().y, -0.055f);
    EXPECT_EQ(kick.GetLFoot().x, 0);
    EXPECT_EQ(kick.GetPrevSupport(), 1);
    EXPECT_EQ(kick.GetComPosX().x, 0);
    EXPECT_EQ(kick.GetComPosY().y, 0);
}

// The walk's start state alone holds a generic stance: its first cycle after
// the kick must already run on the walk's own height, swing and period.
TEST_F(KickTest, HandBackStartsTheWalkOnItsOwnStanceAndPeriod) {
    startWith(record([](int) { return 0; }) + "\n");
    OmniWalkZMP walk;
    walk.params.heightCoM = 0.23;
    walk.params.swingHeight = 0.07;
    walk.params.period = 0.3;
    kick.handBack(walk);
    EXPECT_DOUBLE_EQ(walk.legExtention, 0.23);
    EXPECT_DOUBLE_EQ(walk.swingHeight, 0.07);
    EXPECT_DOUBLE_EQ(walk.stepTime, 0.3);
    EXPECT_TRUE(walk.inicialLeftLeg.support);
    EXPECT_FALSE(walk.inicialRightLeg.support);
    EXPECT_FLOAT_EQ(walk.inicialLeftLeg.Position.y, 0.055f);
    EXPECT_FLOAT_EQ(walk.inicialRightLeg.Position.y, -0.055f);
    walk.execute();
    EXPECT_DOUBLE_EQ(walk.stepSizeX, 0);
    EXPECT_DOUBLE_EQ(walk.stepSizeY, 0);
}

TEST_F(KickTest, ChooseFoot) {
    kick.lFootPos = Vector3f(0, 0.055f, -0.35f);
    kick.rFootPos = Vector3f(0, -0.055f, -0.35f);
    kick.targetPos = Vector3f(3, 0, 0);
    struct Case {
        Vector3f ball;
        int foot;
    } cases[] = {
        {Vector3f(0.4f, 0, -0.35f), -1},
        {Vector3f(0.1f, 0.2f, -0.35f), 1},
        {Vector3f(0.1f, -0.2f, -0.35f), 0},
        // On the left foot: no direction from it, taken as a right angle.
        {Vector3f(0, 0.055f, -0.35f), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.foot);
        kick.ballPos = c.ball;
        EXPECT_EQ(kick.chooseFoot(Vector3f()), c.foot);
    }
    kick.targetPos = kick.lFootPos;
    kick.ballPos = Vector3f(0.05f, 0, -0.35f);
    int f = kick.chooseFoot(Vector3f());
    EXPECT_TRUE(f == 0 || f == 1);
}

}  // namespace
