#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "logger/TempDir.h"
#include "skills/KickChain.h"

namespace {

// The shipped file with the lines of the given keys replaced (an empty text
// drops the line); keys it does not have are added at the end.
std::string shippedWith(std::map<std::string, std::string> lines)
{
    std::ifstream in(KickChain::PATH);
    std::ostringstream out;
    std::string l;
    while (std::getline(in, l)) {
        std::istringstream words(l);
        std::string key;
        words >> key;
        auto it = lines.find(key);
        if (it == lines.end()) {
            out << l << "\n";
            continue;
        }
        if (!it->second.empty())
            out << it->second << "\n";
        lines.erase(it);
    }
    for (const auto& added : lines)
        out << added.second << "\n";
    return out.str();
}

bool readText(const std::string& path, const std::string& text, KickChain (&out)[KickChain::ROBOT_TYPES],
              std::string& error)
{
    std::ofstream(path.c_str()) << text;
    return KickChain::read(path, out, error);
}

} // namespace

TEST(KickChainFile, ValuesGoToTheirRobotTypeWhateverTheLayout)
{
    TempDir dir;
    // Tabs, a carriage return, a comment and a blank line first.
    std::string text = "# first\n\n   # indented\n" +
                       shippedWith({{"kick_deviation", "\tkick_deviation  1 -2\t3 4 5.5\r"},
                                    {"kick_catch_step", "kick_catch_step 1 0 1 0 0"},
                                    {"omni_kick_after_step_on", "omni_kick_after_step_on 0 1 0 1 1"},
                                    {"keyframe_approach_side", "keyframe_approach_side 0 0.01 0 -0.02 0.05"}});
    KickChain chain[KickChain::ROBOT_TYPES];
    std::string error;
    ASSERT_TRUE(readText(dir.file("k"), text, chain, error)) << error;
    const float deviation[] = {1, -2, 3, 4, 5.5f};
    const bool catchStep[] = {true, false, true, false, false};
    const int afterStepOn[] = {0, 1, 0, 1, 1};
    const float side[] = {0, 0.01f, 0, -0.02f, 0.05f};
    for (int t = 0; t < KickChain::ROBOT_TYPES; ++t) {
        SCOPED_TRACE(t);
        EXPECT_FLOAT_EQ(chain[t].kickDeviation, deviation[t]);
        EXPECT_EQ(chain[t].kickCatchStep, catchStep[t]);
        EXPECT_EQ(chain[t].omniKickAfterStepOn, afterStepOn[t]);
        EXPECT_FLOAT_EQ(chain[t].keyframeApproachSide, side[t]);
    }
}

TEST(KickChainFile, AFaultIsOneLineNamingTheFileAndNothingIsRead)
{
    struct Row {
        const char* what;
        const char* key;   // the line replaced; nullptr: no file at all
        const char* line;  // its new text; "" drops it
        const char* message;
    } rows[] = {
        {"no file", nullptr, nullptr, "cannot open"},
        {"unknown key", "kick_speed", "kick_speed 1 1 1 1 1", "unknown key 'kick_speed'"},
        {"missing key", "kick_entry_s", "", "'kick_entry_s' is missing"},
        {"four values", "kick_entry_s", "kick_entry_s 0.2 0.3 0.2 0.3", "has 4 values"},
        {"six values", "kick_entry_s", "kick_entry_s 0.2 0.3 0.2 0.3 0.3 0.3", "more than 5 values"},
        {"not a number", "kick_entry_s", "kick_entry_s 0.2 0.3 fast 0.3 0.3", "'fast' is not a number"},
        {"trailing text", "kick_entry_s", "kick_entry_s 0.2 0.3 0.2s 0.3 0.3", "'0.2s' is not a number"},
        {"nan", "omni_kick_behind", "omni_kick_behind 0.1 nan 0.1 0.1 0.1", "'nan' is not a number"},
        {"inf", "omni_kick_behind", "omni_kick_behind 0.1 0.1 inf 0.1 0.1", "'inf' is not a number"},
        {"negative distance", "omni_kick_behind", "omni_kick_behind 0.1 0.1 0.1 -0.1 0.1", "-0.1 is not 0 to 0.5"},
        {"side shift beyond a foot", "keyframe_approach_side", "keyframe_approach_side 0 0 0 0 0.2",
         "0.2 is not -0.1 to 0.1"},
        {"zero time", "kick_catch_s", "kick_catch_s 0.2 0 0.2 0.2 0.2", "0 is not 0.02 to 2"},
        {"flag 2", "kick_catch_step", "kick_catch_step 0 2 0 1 0", "2 is not 0 or 1"},
        {"foot 0.5", "omni_kick_after_step_on", "omni_kick_after_step_on 1 1 0.5 1 0", "0.5 is not 0 or 1"},
        {"band turned over", "keyframe_kick_right_min", "keyframe_kick_right_min 0.06 0.065 0.06 0.13 0.02",
         "robot type 3: 'keyframe_kick_right_min' lies beyond 'keyframe_kick_right_max'"},
        {"twice", "kick_deviation_again", "kick_deviation 0 18 0 0 25", "'kick_deviation' is given twice"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TempDir dir;
        const std::string path = dir.file("kickchain.txt");
        KickChain chain[KickChain::ROBOT_TYPES];
        chain[3].kickEntryS = 7;
        std::string error;
        bool ok = r.key ? readText(path, shippedWith({{r.key, r.line}}), chain, error)
                        : KickChain::read(path, chain, error);
        EXPECT_FALSE(ok);
        EXPECT_EQ(chain[3].kickEntryS, 7);
        EXPECT_EQ(error.find(path + ": "), 0u) << error;
        EXPECT_NE(error.find(r.message), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}
