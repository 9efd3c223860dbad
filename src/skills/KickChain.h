#ifndef SKILLS_KICKCHAIN_H
#define SKILLS_KICKCHAIN_H

#include <string>

// The tuned numbers of the kick chains (the walk-and-kick approach, its
// keyframe kick, the omnidirectional kick's approach) for one robot type,
// read from "skills/kickchain.txt": one line per key, the key and one value
// for each robot type 0 to 4; '#' starts a comment line.
struct KickChain {
    static constexpr int ROBOT_TYPES = 5;
    static const char* const PATH;

    // Aim correction of the keyframe kick (deg, counter-clockwise of the
    // body direction).
    float kickDeviation = 0;
    // Omnidirectional kick: the most the body may face away from the aim
    // when it starts (deg); where its approach stops, behind the ball and
    // to its left (m); the nearest and farthest ball it starts for, the
    // farthest ahead of the torso and the least and most to its right (m);
    // the foot that carried the step it starts after (0 left, 1 right).
    float omniKickTurn = 0;
    float omniKickBehind = 0;
    float omniKickSide = 0;
    float omniKickNear = 0;
    float omniKickReach = 0;
    float omniKickAhead = 0;
    float omniKickRightMin = 0;
    float omniKickRightMax = 0;
    int omniKickAfterStepOn = 0;
    // Its last steps: within this of the stance (m), facing the aim within
    // this (deg), steps shrinking from this share of the full step.
    float omniLastFrom = 0;
    float omniLastTurn = 0;
    float omniLastSpeed = 0;
    // Where the ball must lie ahead of and to the right of the torso when
    // the approach ends for the keyframe kick to start (m).
    float keyframeKickAheadMin = 0;
    float keyframeKickAheadMax = 0;
    float keyframeKickRightMin = 0;
    float keyframeKickRightMax = 0;
    // How much further left of the ball the approach sets both feet, so
    // that the ball lies that much further right of the torso (m).
    float keyframeApproachSide = 0;
    // The step back into the approach's stance when it does not (s).
    float kickRestanceS = 0;
    // The catch step after the keyframe kick's swing: whether the type
    // takes it, how far behind the hips the kicking foot goes (m), how long
    // it takes (s).
    bool kickCatchStep = false;
    float kickCatchBehind = 0;
    float kickCatchS = 0;
    // The step from the walk into the approach's stance (s).
    float kickEntryS = 0;

    // Reads the file whole into out; false, with one line naming the file in
    // error, when it cannot be opened, a key is unknown, repeated or missing,
    // a line does not hold one number per robot type, or a value is out of
    // its range. out is left alone then.
    static bool read(const std::string& path, KickChain (&out)[ROBOT_TYPES], std::string& error);
};

#endif // SKILLS_KICKCHAIN_H
