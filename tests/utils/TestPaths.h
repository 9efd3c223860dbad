#ifndef TESTS_UTILS_TESTPATHS_H
#define TESTS_UTILS_TESTPATHS_H

#include <string>

#include <sys/stat.h>

namespace testpaths {

inline bool isDir(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The recorded server messages: beside the repository, or beside one of its
// parent folders (a worktree kept below the main checkout's parent).
inline std::string capturesDir() {
  if (isDir(QV_CAPTURES_DIR)) return QV_CAPTURES_DIR;
  std::string dir = QV_TEST_DIR;
  for (int up = 0; up < 4; ++up) {
    std::string::size_type slash = dir.find_last_of('/');
    if (slash == std::string::npos || slash == 0) break;
    dir.erase(slash);
    if (isDir(dir + "/shared/captures")) return dir + "/shared/captures";
  }
  return QV_CAPTURES_DIR;
}

}  // namespace testpaths

#endif
