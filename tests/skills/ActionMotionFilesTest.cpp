#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "ZeroPose.h"
#include "physics/AgentModel.h"
#include "physics/BodyObject.h"
#include "skills/AgentActions.h"
#include "skills/SlotBehavior.h"
#include "utils/Singleton.h"

namespace {

std::string data(const std::string& rel) { return std::string(QV_DATA_DIR) + "/" + rel; }

std::map<int, float> lastPosture(const SlotBehavior& b)
{
    std::map<int, float> last;
    for (const auto& t : b.slots.back().targets)
        last[t.first] = t.second;
    return last;
}

} // namespace

TEST(ActionMotionFiles, EveryFileIsSoundForTheBody)
{
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(data("nao.xml"));
    SlotBehavior ready;
    ready.parse(data("movs/zero/ZeroWalkPosition.xml"), true);
    std::map<int, float> stance = lastPosture(ready);

    std::set<std::string> files;
    for (const auto& l : AgentActions::motionLoads())
        files.insert(l.file);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        // Read raw: the reader would clamp what lies outside a joint's range.
        std::ifstream in(data(f));
        ASSERT_TRUE(in.good());
        SlotBehavior b;
        b.parse(data(f), true);
        ASSERT_FALSE(b.slots.empty());
        std::stringstream text;
        text << in.rdbuf();
        for (const SlotBehavior::Slot& s : b.slots) {
            EXPECT_GT(s.delta, 0);
            EXPECT_LT(s.delta, 3);
            for (const auto& t : s.targets) {
                EXPECT_GE(t.first, 2) << "no head moves";
                EXPECT_LE(t.first, 21);
            }
        }
        // The clamped file is the file: nothing lay outside a range.
        std::string::size_type pos = 0;
        int moves = 0;
        while ((pos = text.str().find("<move ", pos)) != std::string::npos) {
            ++moves;
            ++pos;
        }
        int parsed = 0;
        for (const SlotBehavior::Slot& s : b.slots)
            parsed += static_cast<int>(s.targets.size());
        EXPECT_EQ(parsed, moves);
        for (const SlotBehavior::Slot& s : b.slots)
            for (const auto& t : s.targets) {
                Joint* j = model.getJoint(t.first);
                ASSERT_NE(j, nullptr);
                EXPECT_GE(t.second, j->getMin());
                EXPECT_LE(t.second, j->getMax());
            }
        // Get-ups end where the walk starts.
        if (f.find("movs/getup/") == 0) {
            std::map<int, float> last = lastPosture(b);
            for (int id = 2; id <= 13; ++id)
                EXPECT_NEAR(last[id], stance[id], 1.5f) << id;
        }
    }
}

TEST(ActionMotionFiles, WalkReadyPostureIsTheWalksFirstStance)
{
    std::string error;
    std::string computed = zeroWalkPositionFile(data("skills/p0"), error);
    ASSERT_FALSE(computed.empty()) << error;
    std::ifstream in(data("movs/zero/ZeroWalkPosition.xml"));
    std::stringstream stored;
    stored << in.rdbuf();
    EXPECT_EQ(stored.str(), computed);
}

TEST(ActionMotionFiles, MissingOrEmptyFileStopsTheStartWithItsName)
{
    namespace fs = std::filesystem;
    struct Row {
        const char* file;
        const char* content;
    } rows[] = {{"movs/getup/GetupBackT3.xml", nullptr},
                {"movs/kick/SuperKickLeftT2.xml", "<behavior name=\"x\" type=\"SlotBehavior\"></behavior>"},
                {"skills/kickchain.txt", nullptr},
                {"skills/kickchain.txt", "kick_deviation 0 18 0 0 25\n"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        fs::path dir = fs::temp_directory_path() / ("actions-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::copy(QV_DATA_DIR, dir, fs::copy_options::recursive);
        fs::remove(dir / r.file);
        if (r.content)
            std::ofstream(dir / r.file) << r.content;
        EXPECT_EXIT(
            {
                if (chdir(dir.c_str()) != 0)
                    _exit(2);
                new AgentActions();
                _exit(0);
            },
            ::testing::ExitedWithCode(1), r.file);
        fs::remove_all(dir);
    }
}
