// Reading agent text and cutting length-prefixed frames.
#include <gtest/gtest.h>

#include "Server.h"
#include "Sexp.h"

namespace practice::test {
namespace {

std::string heads(const std::vector<SNode>& nodes) {
  std::string s;
  for (const SNode& n : nodes) s += "[" + n.head() + (n.items.size() > 1 && !n.items[1].isList ? " " + n.items[1].atom : "") + "]";
  return s;
}

TEST(PracticeReader, ReadsLikeTheServer) {
  struct Case {
    std::string text, expected;
  };
  const std::vector<Case> cases = {
      {"(he1 1.0)(he2 -2)(syn)", "[he1 1.0][he2 -2][syn]"},
      {"  (init (unum 1)(teamname A))\n(syn) ", "[init][syn]"},
      {"(say B1~opp.msg*0123456;:)", "[say B1~opp.msg*0123456;:]"},
      {"(say \"a b\")", "[say a b]"},
      {"(say a\\(b)", "[say a(b]"},
      {"(say 'x)", "[say x]"},
      {"(he1 1);(syn)\n(he2 2)", "[he1 1][he2 2]"},  // ';' at a token start: comment to the line end
      {"(he1 1)(he2", "[he1 1]"},                    // incomplete list: dropped
      {"(say \"open", ""},
      {"))(syn)", ""},                               // malformed: reading stops
      {"junk (syn) junk", "[syn]"},
      {std::string(1000, '(') + "(syn)", ""},          // never closed
      {std::string(200, '(') + std::string(200, ')') + "(syn)", "[syn]"},  // too deep: skipped
      {std::string("(say \0x)(syn)", 13), ""},       // a NUL ends the text
  };
  for (const Case& c : cases) EXPECT_EQ(heads(readSexps(c.text)), c.expected) << c.text;
}

TEST(PracticeReader, NumbersMustBeWholeAndFinite) {
  double v = 0;
  for (const char* bad : {"", "1.0x", "nan", "inf", "-inf", "1e999", "abc"})
    EXPECT_FALSE(toNumber(SNode{false, bad, {}}, v)) << bad;
  EXPECT_TRUE(toNumber(SNode{false, "-3.25", {}}, v));
  EXPECT_EQ(v, -3.25);
}

TEST(PracticeFraming, CutsFramesAcrossReadsAndSkipsOversizedOnes) {
  std::string buffer;
  uint64_t discard = 0;
  const std::string stream = frame("(syn)") + frame("(he1 1)") + frame(std::string(300, 'x')) + frame("(say hi)") +
                             frame("");
  // Fed one byte at a time, then all at once: the same frames come out.
  std::vector<std::string> got;
  for (char c : stream) {
    buffer += c;
    for (auto& f : cutFrames(buffer, discard, 100)) got.push_back(f);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"(syn)", "(he1 1)", "(say hi)", ""}));
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(discard, 0u);

  buffer = stream;
  EXPECT_EQ(cutFrames(buffer, discard, 100), got);

  // A huge announced length swallows what follows until that many bytes passed.
  buffer = std::string("\xff\xff\xff\xff", 4) + frame("(syn)");
  EXPECT_TRUE(cutFrames(buffer, discard, 100).empty());
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(discard, 0xffffffffu - 9);

  EXPECT_EQ(frame("ab"), std::string("\0\0\0\2ab", 6));
}

}  // namespace
}  // namespace practice::test
