#include <cstdlib>
#include <cstring>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "utils/sfsexp/sexp.h"

namespace {

// Parses text held in a buffer of exactly its size (no NUL after it), so that
// AddressSanitizer sees any read past the end.
elt* parseExact(const std::string& text) {
  std::vector<char> buf(text.begin(), text.end());
  if (buf.empty()) return nullptr;
  return parse_sexp(buf.data(), buf.size());
}

std::string show(const elt* sx) {
  if (!sx) return "<null>";
  char out[8192];
  int n = print_sexp(out, sizeof out, sx);
  return n < 0 ? "<print failed>" : std::string(out, static_cast<size_t>(n));
}

struct Tree {
  explicit Tree(elt* t) : sx(t) {}
  ~Tree() { destroy_sexp(sx); }
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;
  elt* sx;
};

struct ParseCase {
  const char* name;
  std::string text;
  std::string printed;  // "<null>" when no result
  int err;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, GivesTheExpectedTree) {
  const ParseCase& c = GetParam();
  sexp_errno = -1;
  Tree t(parseExact(c.text));
  EXPECT_EQ(show(t.sx), c.printed);
  EXPECT_EQ(sexp_errno, c.err);
}

// Feeding the same text in pieces through a continuation gives the same tree.
TEST_P(ParseTable, SameTreeWhenFedInPieces) {
  const ParseCase& c = GetParam();
  for (size_t piece : {1u, 2u, 3u, 7u}) {
    sexp_continuation* cc = init_continuation(nullptr);
    elt* got = nullptr;
    for (size_t at = 0; at < c.text.size() && !got; at += piece) {
      std::vector<char> chunk(c.text.begin() + at,
                              c.text.begin() + std::min(c.text.size(), at + piece));
      got = iparse_sexp(chunk.data(), chunk.size(), cc);
      if (cc->error != SEXP_ERR_OK) break;
    }
    Tree t(got);
    EXPECT_EQ(show(t.sx), c.printed) << "pieces of " << piece;
    destroy_continuation(cc);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseTable,
    ::testing::Values(
        ParseCase{"nested", "(msg (time (now 12.3)))", "(msg (time (now 12.3)))", 0},
        ParseCase{"no_blank_needed", "(a(b)c)", "(a (b) c)", 0},
        ParseCase{"blanks_and_newlines", " \t\r\n(a\n\tb\r\n)", "(a b)", 0},
        ParseCase{"string", "(say \"hi there\")", "(say \"hi there\")", 0},
        ParseCase{"string_escapes", "(\"a\\\"b\\\\c\\n\")", "(\"a\\\"b\\\\c\\\\n\")", 0},
        ParseCase{"string_then_atom", "(\"x\"y)", "(\"x\" y)", 0},
        ParseCase{"escaped_paren_in_atom", "(a\\)b c)", "(a)b c)", 0},
        ParseCase{"backslash_kept", "(a\\b)", "(a\\b)", 0},
        ParseCase{"empty_list", "()", "()", 0},
        ParseCase{"deep", "((((a))))", "((((a))))", 0},
        ParseCase{"quoted_atoms", "('abc 'x)", "('abc 'x)", 0},
        ParseCase{"quoted_string", "('\"q r\")", "('\"q r\")", 0},
        ParseCase{"quoted_list", "('(x \"(\" y) z)", "('(x \"(\" y) z)", 0},
        ParseCase{"quoted_list_escape", "('(a \\) b) z)", "('(a \\) b) z)", 0},
        ParseCase{"comment", "(a ; note\n b)", "(a b)", 0},
        ParseCase{"high_bytes", "(\xC3\xA9t\xC3\xA9 x)", "(\xC3\xA9t\xC3\xA9 x)", 0},
        ParseCase{"semicolon_inside_atom", "(say B1~opp.msg*0123456;:)",
                  "(say B1~opp.msg*0123456;:)", 0},
        ParseCase{"first_expression_only", "(a) (b)", "(a)", 0},
        ParseCase{"top_atom_with_blank", "abc ", "abc", 0},
        ParseCase{"top_string", "\"s t\"(x)", "\"s t\"", 0},
        ParseCase{"top_atom_at_end", "abc", "<null>", 0},
        ParseCase{"close_before_open", ")", "<null>", SEXP_ERR_BADFORM},
        ParseCase{"close_after_blank", "  ) (a)", "<null>", SEXP_ERR_BADFORM},
        ParseCase{"unclosed", "(a (b)", "<null>", 0},
        ParseCase{"unclosed_string", "(a \"b)", "<null>", 0},
        ParseCase{"unclosed_quoted_list", "('(a b) c", "<null>", 0},
        ParseCase{"blank_only", "   ", "<null>", 0}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(SexpParse, NulEndsTheData) {
  char text[] = "(a\0 b) (c)";
  EXPECT_EQ(parse_sexp(text, sizeof text), nullptr);
  char first[] = "(a)\0(b)";
  elt* t = parse_sexp(first, sizeof first);
  EXPECT_EQ(show(t), "(a)");
  destroy_sexp(t);
  char atom[] = "abc\0 ";
  EXPECT_EQ(parse_sexp(atom, sizeof atom), nullptr);
}

TEST(SexpParse, AtomKindsAndSizes) {
  Tree t(parseExact("(msg (time (now 12.3)) (say \"hi there\") 'q '(a b))"));
  ASSERT_NE(t.sx, nullptr);
  elt* msg = t.sx->list;
  EXPECT_EQ(msg->ty, SEXP_VALUE);
  EXPECT_EQ(msg->aty, SEXP_BASIC);
  EXPECT_STREQ(msg->val, "msg");
  EXPECT_EQ(msg->val_used, 4u);
  EXPECT_LE(msg->val_used, msg->val_allocated);

  elt* now = msg->next->list->next->list;
  EXPECT_STREQ(now->val, "now");
  EXPECT_STREQ(now->next->val, "12.3");
  EXPECT_EQ(now->next->aty, SEXP_BASIC);

  elt* hi = msg->next->next->list->next;
  EXPECT_EQ(hi->aty, SEXP_DQUOTE);
  EXPECT_STREQ(hi->val, "hi there");
  EXPECT_EQ(hi->val_used, 9u);

  elt* q = msg->next->next->next;
  EXPECT_EQ(q->aty, SEXP_SQUOTE);
  EXPECT_STREQ(q->val, "q");

  elt* ql = q->next;
  EXPECT_EQ(ql->ty, SEXP_VALUE);
  EXPECT_EQ(ql->aty, SEXP_SQUOTE);
  EXPECT_STREQ(ql->val, "(a b)");
  EXPECT_EQ(ql->val_used, 5u);  // a quoted list counts no NUL
  EXPECT_EQ(ql->next, nullptr);

  Tree e(parseExact("()"));
  EXPECT_EQ(e.sx->ty, SEXP_LIST);
  EXPECT_EQ(e.sx->list, nullptr);
}

TEST(SexpParse, LongAtomsGrowTheBuffer) {
  std::string big(5000, 'x');
  Tree t(parseExact("(" + big + " \"" + big + "\")"));
  ASSERT_NE(t.sx, nullptr);
  EXPECT_EQ(std::string(t.sx->list->val), big);
  EXPECT_EQ(t.sx->list->val_used, big.size() + 1);
  EXPECT_EQ(std::string(t.sx->list->next->val), big);
}

TEST(SexpParse, BufferParamsAreChecked) {
  EXPECT_EQ(set_parser_buffer_params(0, 8), SEXP_ERR_BAD_PARAM);
  EXPECT_EQ(set_parser_buffer_params(16, 0), SEXP_ERR_BAD_PARAM);
  EXPECT_EQ(sexp_val_start_size, 16u);  // the start size was still taken
  ASSERT_EQ(set_parser_buffer_params(4, 3), SEXP_ERR_OK);
  Tree t(parseExact("(abcdefghijklmnop q)"));
  EXPECT_EQ(set_parser_buffer_params(256, 64), SEXP_ERR_OK);
  ASSERT_NE(t.sx, nullptr);
  EXPECT_STREQ(t.sx->list->val, "abcdefghijklmnop");
  EXPECT_EQ(t.sx->list->val_allocated, 19u);  // 4 grown by 3 until the text and NUL fit
  EXPECT_EQ(t.sx->list->next->val_allocated, 4u);
}

TEST(SexpParse, ContinuationYieldsSuccessiveExpressions) {
  std::string text = "(a b)(c) d \"e\"(f";
  std::vector<char> buf(text.begin(), text.end());
  sexp_continuation* cc = init_continuation(buf.data());
  std::vector<std::string> got;
  for (int i = 0; i < 10; ++i) {
    elt* sx = iparse_sexp(buf.data(), buf.size(), cc);
    if (!sx) {
      if (!cc->lastPos) break;
      continue;
    }
    got.push_back(show(sx));
    destroy_sexp(sx);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"(a b)", "(c)", "d", "\"e\""}));
  // the open "(f" waits for more data
  std::string rest = " g)";
  std::vector<char> more(rest.begin(), rest.end());
  Tree t(iparse_sexp(more.data(), more.size(), cc));
  EXPECT_EQ(show(t.sx), "(f g)");
  destroy_continuation(cc);
}

TEST(SexpParse, ContinuationFreesPartialTrees) {
  std::string text = "(a (b (c \"d";
  std::vector<char> buf(text.begin(), text.end());
  sexp_continuation* cc = cparse_sexp(buf.data(), buf.size(), nullptr);
  ASSERT_NE(cc, nullptr);
  EXPECT_EQ(cc->last_sexp, nullptr);
  EXPECT_EQ(cc->depth, 3u);
  destroy_continuation(cc);  // the leak checker of the sanitizer build sees the rest
}

TEST(SexpParse, NullAndBadArguments) {
  EXPECT_EQ(parse_sexp(nullptr, 10), nullptr);
  char one[] = "(a)";
  EXPECT_EQ(parse_sexp(one, 0), nullptr);
  reset_sexp_errno();
  EXPECT_EQ(cparse_sexp(nullptr, 3, nullptr), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_NULLSTRING);
  reset_sexp_errno();
  EXPECT_EQ(iparse_sexp(one, 3, nullptr), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BAD_PARAM);
}

// Every proper prefix of a text is incomplete input: no result, nothing read
// past its end, nothing leaked.
TEST(SexpParse, TruncatedInputStaysInBounds) {
  const std::string text = "(msg (say \"h\\\"i\") 'x '(q \"(\" \\)) a\\)b ; c\n #b#3#xyz)";
  for (size_t n = 1; n < text.size(); ++n) {
    Tree t(parseExact(text.substr(0, n)));
    EXPECT_EQ(t.sx, nullptr) << n;
  }
}

TEST(SexpParse, RandomBytesNeverCrash) {
  std::mt19937 rng(12345);
  const char alphabet[] = "()\"'\\;# ab\n#b0123456789\x7f\x01\xff";
  for (int round = 0; round < 3000; ++round) {
    size_t n = 1 + rng() % 40;
    std::vector<char> buf(n);
    for (char& c : buf) c = (rng() % 4 == 0) ? static_cast<char>(rng()) : alphabet[rng() % (sizeof alphabet - 1)];
    destroy_sexp(parse_sexp(buf.data(), buf.size()));
    sexp_continuation* cc = init_continuation(buf.data());
    cc->mode = PARSER_INLINE_BINARY;
    for (int k = 0; k < 4; ++k) destroy_sexp(iparse_sexp(buf.data(), buf.size(), cc));
    destroy_continuation(cc);
  }
}

TEST(SexpParse, InlineBinaryAtoms) {
  const std::string text = std::string("(data #b#5#a)\0\"d x #b#0# #x #bz #b#1x)", 38);
  for (size_t piece : {text.size(), size_t{1}, size_t{4}}) {
    sexp_continuation* cc = init_continuation(nullptr);
    cc->mode = PARSER_INLINE_BINARY;
    elt* got = nullptr;
    for (size_t at = 0; at < text.size() && !got; at += piece) {
      std::vector<char> chunk(text.begin() + at, text.begin() + std::min(text.size(), at + piece));
      got = iparse_sexp(chunk.data(), chunk.size(), cc);
    }
    Tree t(got);
    ASSERT_NE(t.sx, nullptr) << piece;
    elt* bin = t.sx->list->next;
    EXPECT_EQ(bin->aty, SEXP_BINARY);
    ASSERT_EQ(bin->binlength, 5u);
    EXPECT_EQ(std::string(bin->bindata, 5), std::string("a)\0\"d", 5));
    elt* empty = bin->next->next;
    EXPECT_EQ(empty->aty, SEXP_BINARY);
    EXPECT_EQ(empty->binlength, 0u);
    EXPECT_STREQ(empty->next->val, "#x");
    EXPECT_STREQ(empty->next->next->val, "#bz");
    EXPECT_STREQ(empty->next->next->next->val, "#b#1x");
    char out[128];
    int n = print_sexp(out, sizeof out, t.sx);  // printing gives the text back
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), text);
    destroy_continuation(cc);
  }
}

// Every field of two trees, node by node.
void expectSameNodes(const elt* a, const elt* b, const std::string& text) {
  for (; a && b; a = a->next, b = b->next) {
    ASSERT_EQ(a->ty, b->ty) << text;
    if (a->ty == SEXP_LIST) {
      EXPECT_EQ(a->val, nullptr) << text;
      expectSameNodes(a->list, b->list, text);
      continue;
    }
    EXPECT_EQ(a->aty, b->aty) << text;
    EXPECT_STREQ(a->val, b->val) << text;
    EXPECT_EQ(a->val_used, b->val_used) << text;
    EXPECT_EQ(a->val_allocated, b->val_allocated) << text;
    EXPECT_EQ(a->bindata, nullptr) << text;
    EXPECT_EQ(a->binlength, b->binlength) << text;
  }
  EXPECT_EQ(a == nullptr, b == nullptr) << text;
}

// parse_sexp takes plain lists in one pass and everything else through the
// continuation: both ways give the same tree and the same error.
void expectSameAsContinuation(const std::string& text) {
  std::vector<char> one(text.begin(), text.end());
  std::vector<char> two = one;
  sexp_errno = -1;
  Tree direct(parse_sexp(one.data(), one.size()));
  const int directErr = sexp_errno;
  sexp_errno = -1;
  sexp_continuation* cc = cparse_sexp(two.data(), two.size(), nullptr);
  ASSERT_NE(cc, nullptr);
  Tree general(cc->last_sexp);
  const int generalErr = cc->error;
  cc->last_sexp = nullptr;
  destroy_continuation(cc);
  EXPECT_EQ(directErr, generalErr) << text;
  EXPECT_EQ(show(direct.sx), show(general.sx)) << text;
  expectSameNodes(direct.sx, general.sx, text);
}

TEST(SexpParse, PlainListsGiveTheContinuationsTree) {
  for (const char* text :
       {"(a)", " \n(a b)", "(a(b)c)", "(msg (time (now 12.3)) (HJ (n hj1) (ax -0.00)))",
        "(a) (b)", "(a", "((a)", "(a b", "(a\\b)", "(a\\)b)",
        "(a\"b\")", "(a 'b)", "(a ;c\n b)", "(a;b)", "(\x01 a)", "(a\x01b)", "(a\x7f)",
        "(\xc3\xa9 #x)", "()", "(()())", "x", "(#b#1#z)", ")"})
    expectSameAsContinuation(text);
  expectSameAsContinuation(std::string("(a)\0(b)", 7));
  expectSameAsContinuation(std::string("(a\0 b)", 6));
  expectSameAsContinuation(std::string("(a (b\0", 7));
  expectSameAsContinuation(std::string("(a (b\0))", 8));  // the data ends at the NUL
  expectSameAsContinuation(std::string(200, '(') + "a" + std::string(200, ')'));
  expectSameAsContinuation("(" + std::string(300, 'x') + " y)");
  ASSERT_EQ(set_parser_buffer_params(4, 3), SEXP_ERR_OK);
  expectSameAsContinuation("(abcdefghijklmnop q)");
  ASSERT_EQ(set_parser_buffer_params(256, 64), SEXP_ERR_OK);

  std::mt19937 rng(777);
  const char* const tokens[] = {"(", ")", " ", "\n", "a", "12.5", "-0.00", ";", "\"", "'",
                                "\\", "#", "\x01", "\xe9", "pol", "\t"};
  for (int round = 0; round < 4000; ++round) {
    std::string text = "(";
    const size_t n = rng() % 24;
    for (size_t k = 0; k < n; ++k) text += tokens[rng() % (sizeof tokens / sizeof *tokens)];
    if (rng() % 2) text += ")";
    expectSameAsContinuation(text);
  }
}

// ------------------------------------------------------------ event parser

std::string g_events;
void onStart() { g_events += "( "; }
void onEnd() { g_events += ") "; }
void onAtom(const char* d, size_t len, atom_t aty) {
  g_events += "A:" + std::string(d) + ":" + std::to_string(len) + ":" + std::to_string(aty) + " ";
}
void onBinary(const char* d, size_t len) { g_events += "B:" + std::string(d, len) + " "; }

TEST(SexpEvents, HandlersSeeTheGrammar) {
  sexp_event_handlers h = {onStart, onEnd, onAtom, onBinary};
  const std::string text = "(a (\"b c\") 'd #b#2#xy)";
  const std::string expected = "( A:a:2:0 ( A:b c:4:2 ) A:d:2:1 B:xy ) ";
  for (size_t piece : {text.size(), size_t{1}}) {
    g_events.clear();
    sexp_continuation* cc = init_continuation(nullptr);
    cc->mode = PARSER_EVENTS_ONLY;
    cc->event_handlers = &h;
    for (size_t at = 0; at < text.size(); at += piece) {
      std::vector<char> chunk(text.begin() + at, text.begin() + std::min(text.size(), at + piece));
      cparse_sexp(chunk.data(), chunk.size(), cc);  // handed on to the event parser
      EXPECT_EQ(cc->last_sexp, nullptr);
    }
    // no binary atoms in events-only mode: "#b#2#xy" is a basic atom there
    EXPECT_EQ(g_events, "( A:a:2:0 ( A:b c:4:2 ) A:d:2:1 A:#b#2#xy:8:0 ) ") << piece;
    destroy_continuation(cc);
  }
  // handlers also run while a tree is built
  g_events.clear();
  sexp_continuation* cc = init_continuation(nullptr);
  cc->mode = PARSER_INLINE_BINARY;
  cc->event_handlers = &h;
  std::vector<char> buf(text.begin(), text.end());
  Tree t(iparse_sexp(buf.data(), buf.size(), cc));
  EXPECT_EQ(g_events, expected);
  EXPECT_EQ(show(t.sx), text);
  destroy_continuation(cc);
}

TEST(SexpEvents, BadCloseIsReported) {
  std::string text = ")";
  std::vector<char> buf(text.begin(), text.end());
  sexp_continuation* cc = eparse_sexp(buf.data(), buf.size(), nullptr);
  ASSERT_NE(cc, nullptr);
  EXPECT_EQ(cc->error, SEXP_ERR_BADFORM);
  destroy_continuation(cc);
}

TEST(SexpEvents, UnknownStateIsReported) {
  std::string text = "(a)";
  std::vector<char> buf(text.begin(), text.end());
  sexp_continuation* cc = init_continuation(buf.data());
  cc->state = 99;
  ::testing::internal::CaptureStderr();
  eparse_sexp(buf.data(), buf.size(), cc);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "eparse_sexp: unknown parser state 99.\n");
  EXPECT_EQ(cc->error, SEXP_ERR_UNKNOWN_STATE);
  cc->state = 99;
  cparse_sexp(buf.data(), buf.size(), cc);
  EXPECT_EQ(cc->error, SEXP_ERR_UNKNOWN_STATE);
  destroy_continuation(cc);
}

}  // namespace
