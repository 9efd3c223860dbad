#ifndef TESTS_UTILS_TESTPATHS_H
#define TESTS_UTILS_TESTPATHS_H

#include <string>

namespace testpaths {

// The recorded server messages.
inline std::string capturesDir() { return QV_CAPTURES_DIR; }

}  // namespace testpaths

#endif
