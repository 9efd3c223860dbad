// Every message recorded from a real simulation server parses, and printing a
// parsed message gives back an equivalent tree.

#include <dirent.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "utils/TestPaths.h"
#include "utils/sfsexp/sexp.h"

namespace {

std::vector<std::string> captureLogs() {
  std::vector<std::string> files;
  std::string dir = testpaths::capturesDir();
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0 &&
          name.find(".sent.") == std::string::npos && name != "monitor_commands.log")
        files.push_back(dir + "/" + name);
    }
    closedir(d);
  }
  return files;
}

bool sameTree(const elt* a, const elt* b) {
  for (; a && b; a = a->next, b = b->next) {
    if (a->ty != b->ty) return false;
    if (a->ty == SEXP_LIST) {
      if (!sameTree(a->list, b->list)) return false;
    } else if (a->aty != b->aty || std::strcmp(a->val, b->val) != 0) {
      return false;
    }
  }
  return a == nullptr && b == nullptr;
}

// Number of lists at the top level of a message (the perceptors).
int topLevelLists(const std::string& line) {
  int depth = 0, n = 0;
  for (char c : line) {
    if (c == '(' && depth++ == 0) ++n;
    if (c == ')') --depth;
  }
  return n;
}

TEST(SexpCaptures, EveryRecordedMessageParsesAndPrintsBack) {
  std::vector<std::string> files = captureLogs();
  ASSERT_GE(files.size(), 15u) << "no captures under " << testpaths::capturesDir();
  size_t messages = 0;
  std::vector<char> printed(70000);
  for (const std::string& file : files) {
    std::ifstream in(file);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
      ++lineNo;
      if (line.empty()) continue;
      ++messages;
      // wrapped in one list, as the perceptor parser does
      std::string text = "(msg " + line + ")";
      std::vector<char> buf(text.begin(), text.end());
      reset_sexp_errno();
      elt* tree = parse_sexp(buf.data(), buf.size());
      ASSERT_NE(tree, nullptr) << file << ":" << lineNo;
      EXPECT_EQ(sexp_errno, SEXP_ERR_OK);
      ASSERT_EQ(tree->ty, SEXP_LIST);
      EXPECT_STREQ(tree->list->val, "msg");
      EXPECT_EQ(sexp_list_length(tree) - 1, topLevelLists(line)) << file << ":" << lineNo;
      ASSERT_NE(tree->list->next, nullptr);
      EXPECT_STREQ(tree->list->next->list->val, "time") << file << ":" << lineNo;

      int n = print_sexp(printed.data(), printed.size(), tree);
      ASSERT_GT(n, 0) << file << ":" << lineNo;
      elt* again = parse_sexp(printed.data(), static_cast<size_t>(n));
      EXPECT_TRUE(sameTree(tree, again)) << file << ":" << lineNo;
      destroy_sexp(again);
      destroy_sexp(tree);
    }
  }
  EXPECT_GT(messages, 4800u);
}

}  // namespace
