#include "skills/KickChain.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "utils/util.h"

const char* const KickChain::PATH = "skills/kickchain.txt";

namespace {

// A key of the file: where its values go and the range they must lie in.
// A flag takes 0 or 1.
struct Key {
    const char* name;
    float KickChain::*real;
    int KickChain::*whole;
    bool KickChain::*flag;
    float min, max;
};

const Key KEYS[] = {
    {"kick_deviation", &KickChain::kickDeviation, nullptr, nullptr, -90, 90},
    {"omni_kick_turn", &KickChain::omniKickTurn, nullptr, nullptr, 0, 180},
    {"omni_kick_behind", &KickChain::omniKickBehind, nullptr, nullptr, 0, 0.5f},
    {"omni_kick_side", &KickChain::omniKickSide, nullptr, nullptr, -0.3f, 0.3f},
    {"omni_kick_near", &KickChain::omniKickNear, nullptr, nullptr, 0, 0.5f},
    {"omni_kick_reach", &KickChain::omniKickReach, nullptr, nullptr, 0, 0.5f},
    {"omni_kick_ahead", &KickChain::omniKickAhead, nullptr, nullptr, 0, 0.5f},
    {"omni_kick_right_min", &KickChain::omniKickRightMin, nullptr, nullptr, -0.3f, 0.3f},
    {"omni_kick_right_max", &KickChain::omniKickRightMax, nullptr, nullptr, -0.3f, 0.3f},
    {"omni_kick_after_step_on", nullptr, &KickChain::omniKickAfterStepOn, nullptr, 0, 1},
    {"omni_last_from", &KickChain::omniLastFrom, nullptr, nullptr, 0, 2},
    {"omni_last_turn", &KickChain::omniLastTurn, nullptr, nullptr, 0, 180},
    {"omni_last_speed", &KickChain::omniLastSpeed, nullptr, nullptr, 0, 1},
    {"keyframe_kick_ahead_min", &KickChain::keyframeKickAheadMin, nullptr, nullptr, 0, 0.5f},
    {"keyframe_kick_ahead_max", &KickChain::keyframeKickAheadMax, nullptr, nullptr, 0, 0.5f},
    {"keyframe_kick_right_min", &KickChain::keyframeKickRightMin, nullptr, nullptr, -0.3f, 0.3f},
    {"keyframe_kick_right_max", &KickChain::keyframeKickRightMax, nullptr, nullptr, -0.3f, 0.3f},
    {"keyframe_approach_side", &KickChain::keyframeApproachSide, nullptr, nullptr, -0.1f, 0.1f},
    {"kick_restance_s", &KickChain::kickRestanceS, nullptr, nullptr, 0.02f, 2},
    {"kick_catch_step", nullptr, nullptr, &KickChain::kickCatchStep, 0, 1},
    {"kick_catch_behind", &KickChain::kickCatchBehind, nullptr, nullptr, -0.3f, 0.3f},
    {"kick_catch_s", &KickChain::kickCatchS, nullptr, nullptr, 0.02f, 2},
    {"kick_entry_s", &KickChain::kickEntryS, nullptr, nullptr, 0.02f, 2},
};
const int KEY_COUNT = sizeof(KEYS) / sizeof(KEYS[0]);

// The bands whose least must not lie beyond their most.
const char* const BANDS[][2] = {{"omni_kick_near", "omni_kick_reach"},
                                {"omni_kick_right_min", "omni_kick_right_max"},
                                {"keyframe_kick_ahead_min", "keyframe_kick_ahead_max"},
                                {"keyframe_kick_right_min", "keyframe_kick_right_max"}};

int keyIndex(const std::string& name)
{
    for (int k = 0; k < KEY_COUNT; ++k)
        if (name == KEYS[k].name)
            return k;
    return -1;
}

} // namespace

bool KickChain::read(const std::string& path, KickChain (&out)[ROBOT_TYPES], std::string& error)
{
    std::ifstream in(path.c_str());
    if (!in) {
        error = path + ": cannot open the kick chain file";
        return false;
    }
    float values[KEY_COUNT][ROBOT_TYPES] = {};
    bool seen[KEY_COUNT] = {};
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name[0] == '#')
            continue;
        const std::string at = path + ": line " + std::to_string(lineNo) + ": ";
        int k = keyIndex(name);
        if (k < 0) {
            error = at + "unknown key '" + name + "'";
            return false;
        }
        if (seen[k]) {
            error = at + "'" + name + "' is given twice";
            return false;
        }
        seen[k] = true;
        std::string token;
        int n = 0;
        for (; words >> token; ++n) {
            if (n == ROBOT_TYPES) {
                error = at + "'" + name + "' has more than " + std::to_string(ROBOT_TYPES) + " values";
                return false;
            }
            double d = 0;
            if (!parseFinite(token, d)) {
                error = at + "'" + name + "': '" + token + "' is not a number";
                return false;
            }
            const float v = static_cast<float>(d);
            const Key& key = KEYS[k];
            bool whole = key.whole || key.flag;
            if (!(v >= key.min && v <= key.max) || (whole && v != std::floor(v))) {
                std::ostringstream range;
                range << key.min << (whole ? " or " : " to ") << key.max;
                error = at + "'" + name + "' " + token + " is not " + range.str();
                return false;
            }
            values[k][n] = v;
        }
        if (n < ROBOT_TYPES) {
            error = at + "'" + name + "' has " + std::to_string(n) + " values, one per robot type (" +
                    std::to_string(ROBOT_TYPES) + ") are needed";
            return false;
        }
    }
    for (int k = 0; k < KEY_COUNT; ++k) {
        if (!seen[k]) {
            error = path + ": '" + KEYS[k].name + "' is missing";
            return false;
        }
    }
    for (const auto& band : BANDS) {
        const int lo = keyIndex(band[0]), hi = keyIndex(band[1]);
        for (int t = 0; t < ROBOT_TYPES; ++t) {
            if (values[lo][t] > values[hi][t]) {
                error = path + ": robot type " + std::to_string(t) + ": '" + band[0] + "' lies beyond '" +
                        band[1] + "'";
                return false;
            }
        }
    }
    // Every check has passed: only now is out written.
    for (int t = 0; t < ROBOT_TYPES; ++t) {
        for (int k = 0; k < KEY_COUNT; ++k) {
            const Key& key = KEYS[k];
            if (key.real)
                out[t].*key.real = values[k][t];
            else if (key.whole)
                out[t].*key.whole = static_cast<int>(values[k][t]);
            else
                out[t].*key.flag = values[k][t] != 0;
        }
    }
    return true;
}
