#ifndef RCSS_CLANG_PLAYMODE_H
#define RCSS_CLANG_PLAYMODE_H

namespace rcss {
namespace clang {

enum PlayMode {
    None = 0,
    BeforeKickOff,
    TimeOver,
    PlayOn,
    KickOff_Our,
    KickOff_Our_After,
    KickOff_Opp,
    KickOff_Opp_After,
    KickIn_Our,
    KickIn_Our_After,
    KickIn_Opp,
    KickIn_Opp_After,
    FreeKick_Our,
    FreeKick_Our_After,
    FreeKick_Opp,
    FreeKick_Opp_After,
    Ind_FreeKick_Our,
    Ind_FreeKick_Our_After,
    Ind_FreeKick_Opp,
    Ind_FreeKick_Opp_After,
    CornerKick_Our,
    CornerKick_Our_After,
    CornerKick_Opp,
    CornerKick_Opp_After,
    GoalKick_Our,
    GoalKick_Our_After,
    GoalKick_Opp,
    GoalKick_Opp_After,
    GoalieCatch_Our,
    GoalieCatch_Opp,
    AfterGoal_Our,
    AfterGoal_Opp,
    Invalid
};

const int MODE_STRINGS_LENGTH = 33;
extern const char* MODE_STRINGS[MODE_STRINGS_LENGTH];

}  // namespace clang
}  // namespace rcss

#endif
