#include "setplay/clang/PlayMode.h"

namespace rcss {
namespace clang {

const char* MODE_STRINGS[MODE_STRINGS_LENGTH] = {
    "",           "bko",          "time_over",     "play_on",     "ko_our",        "ko_our_after", "ko_opp",
    "ko_opp_after", "ki_our",     "ki_our_after",  "ki_opp",      "ki_opp_after",  "fk_our",       "fk_our_after",
    "fk_opp",     "fk_opp_after", "ifk_our",       "ifk_our_after", "ifk_opp",     "ifk_opp_after", "ck_our",
    "ck_our_after", "ck_opp",     "ck_opp_after",  "gk_our",      "gk_our_after",  "gk_opp",       "gk_opp_after",
    "gc_our",     "gc_opp",       "ag_our",        "ag_opp",      "invalid"};

}  // namespace clang
}  // namespace rcss
