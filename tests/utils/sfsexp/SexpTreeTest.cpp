#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "utils/sfsexp/sexp.h"

namespace {

elt* parseText(const std::string& text) {
  std::vector<char> buf(text.begin(), text.end());
  return parse_sexp(buf.data(), buf.size());
}

std::string show(const elt* sx) {
  char out[4096];
  int n = print_sexp(out, sizeof out, sx);
  return n < 0 ? "<print failed>" : std::string(out, static_cast<size_t>(n));
}

void collect(elt* sx, std::set<elt*>& nodes) {
  for (; sx; sx = sx->next) {
    nodes.insert(sx);
    if (sx->ty == SEXP_LIST) collect(sx->list, nodes);
  }
}

TEST(SexpPrint, CutsOutputThatDoesNotFit) {
  elt* t = parseText("(abc (de) \"f g\")");
  char out[64];
  EXPECT_EQ(print_sexp(out, sizeof out, t), 16);
  EXPECT_STREQ(out, "(abc (de) \"f g\")");

  reset_sexp_errno();
  std::memset(out, 'Z', sizeof out);
  EXPECT_EQ(print_sexp(out, 6, t), -1);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BUFFER_FULL);
  EXPECT_STREQ(out, "(abc ");  // cut and still terminated
  EXPECT_EQ(out[6], 'Z');      // nothing written past the given size

  out[0] = 'Z';
  EXPECT_EQ(print_sexp(out, 0, t), -1);
  EXPECT_EQ(out[0], 'Z');
  destroy_sexp(t);
}

TEST(SexpPrint, RejectsNodesOfUnknownType) {
  elt* t = parseText("(a b)");
  t->list->next->ty = static_cast<elt_t>(7);
  char out[64];
  reset_sexp_errno();
  EXPECT_EQ(print_sexp(out, sizeof out, t), -1);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BADCONTENT);
  t->list->next->ty = SEXP_VALUE;
  destroy_sexp(t);
}

TEST(SexpPrint, GrowableStringOutput) {
  sexp_string* s = nullptr;
  elt* t = parseText("(msg (say \"a \\\"q\\\"\") 'x)");
  ASSERT_EQ(print_sexp_cstr(&s, t, 1), 24);
  EXPECT_STREQ(toCharPtr(s), "(msg (say \"a \\\"q\\\"\") 'x)");
  // printing again reuses the string
  ASSERT_EQ(print_sexp_cstr(&s, t->list, 1), 3);
  EXPECT_STREQ(toCharPtr(s), "msg");
  destroy_sexp(t);

  // a binary atom is followed by a blank of its own there
  elt* bin = new_sexp_atom("", 0, SEXP_BINARY);
  std::free(bin->val);
  bin->val = nullptr;
  bin->bindata = static_cast<char*>(std::malloc(2));
  std::memcpy(bin->bindata, "xy", 2);
  bin->binlength = 2;
  elt* list = new_sexp_list(bin);
  EXPECT_EQ(print_sexp_cstr(&s, list, 1), 10);
  EXPECT_STREQ(toCharPtr(s), "(#b#2#xy )");
  EXPECT_EQ(show(list), "(#b#2#xy)");
  destroy_sexp(list);
  sdestroy(s);
}

TEST(SexpBuild, NewAtomsAndListsPrintBack) {
  elt* say = new_sexp_atom("say", 3, SEXP_BASIC);
  elt* text = new_sexp_atom("a b", 3, SEXP_DQUOTE);
  say->next = text;
  elt* list = new_sexp_list(say);
  EXPECT_EQ(say->val_allocated, 4u);
  EXPECT_EQ(say->val_used, 4u);
  EXPECT_EQ(show(list), "(say \"a b\")");
  EXPECT_EQ(sexp_list_length(list), 2);
  EXPECT_EQ(sexp_list_length(say), 1);
  EXPECT_EQ(sexp_list_length(nullptr), 0);
  elt* empty = new_sexp_list(nullptr);
  EXPECT_EQ(sexp_list_length(empty), 0);
  destroy_sexp(empty);
  destroy_sexp(list);
}

TEST(SexpCopy, DeepCopyIsIndependent) {
  elt* t = parseText("(msg (GS (t 0.00)) \"s t\" '(q (r)) x)");
  t->next = new_sexp_atom("sibling", 7, SEXP_BASIC);
  elt* c = copy_sexp(t);
  ASSERT_NE(c, nullptr);
  std::set<elt*> a, b;
  collect(t, a);
  collect(c, b);
  for (elt* n : b) EXPECT_EQ(a.count(n), 0u);
  EXPECT_EQ(a.size(), b.size());
  std::string original = show(t);
  destroy_sexp(t);  // the copy must not lean on the original
  EXPECT_EQ(show(c), original);
  ASSERT_NE(c->next, nullptr);
  EXPECT_STREQ(c->next->val, "sibling");
  // the quoted list carries no NUL in val_used; its copy is still terminated
  elt* ql = c->list->next->next->next;
  EXPECT_EQ(ql->val_used, 7u);
  EXPECT_EQ(std::strlen(ql->val), 7u);
  EXPECT_EQ(ql->val_allocated, 8u);
  destroy_sexp(c);
}

TEST(SexpCopy, RejectsAtomsWithoutTheirData) {
  elt* broken = new_sexp_atom("abc", 3, SEXP_BASIC);
  std::free(broken->val);
  broken->val = nullptr;  // size says 4
  reset_sexp_errno();
  EXPECT_EQ(copy_sexp(broken), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BADCONTENT);
  broken->aty = SEXP_BINARY;
  broken->binlength = 3;
  reset_sexp_errno();
  EXPECT_EQ(copy_sexp(broken), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BADCONTENT);
  destroy_sexp(broken);
}

TEST(SexpFind, DepthFirstAndChainFirst) {
  // t sits deep inside the first element and directly in the root list
  elt* t = parseText("((x (t)) t (y))");
  elt* deep = t->list->list->next->list;
  elt* shallow = t->list->next;
  EXPECT_EQ(find_sexp("t", t), deep);
  EXPECT_EQ(bfs_find_sexp("t", t), shallow);
  EXPECT_EQ(find_sexp("y", t), t->list->next->next->list);
  EXPECT_EQ(find_sexp("nothing", t), nullptr);
  EXPECT_EQ(bfs_find_sexp("nothing", t), nullptr);
  EXPECT_EQ(find_sexp("t", nullptr), nullptr);
  destroy_sexp(t);
}

TEST(SexpCache, ReleasedNodesAreReused) {
  elt* t = parseText("(a (b c) d)");
  std::set<elt*> first;
  collect(t, first);
  destroy_sexp(t);
  t = parseText("(e (f g) h)");
  std::set<elt*> second;
  collect(t, second);
  for (elt* n : second) EXPECT_EQ(first.count(n), 1u) << "a node was not taken from the cache";
  destroy_sexp(t);

  destroy_sexp(nullptr);
  sexp_cleanup();  // frees the caches; parsing still works afterwards
  t = parseText("(z)");
  EXPECT_EQ(show(t), "(z)");
  destroy_sexp(t);
}

// A parsed tree lives in one block that is reused once its last node is
// released: nodes kept from a destroyed tree, and trees released in any
// order, must keep their contents while later trees are parsed.
TEST(SexpCache, KeptNodesOutliveTheirTree) {
  elt* t = parseText("(msg (keep (x 1) \"y z\") (drop 2) rest)");
  elt* keep = t->list->next;
  t->list->next = keep->next;  // detach (keep ...) and destroy the rest
  keep->next = nullptr;
  elt* atom = t->list->next->next;  // rest
  t->list->next->next = nullptr;
  destroy_sexp(t);

  std::vector<elt*> later;
  for (int i = 0; i < 8; ++i) later.push_back(parseText("(other (tree " + std::to_string(i) + "))"));
  EXPECT_EQ(show(keep), "(keep (x 1) \"y z\")");
  EXPECT_STREQ(atom->val, "rest");
  sexp_t_deallocate(atom);  // one parsed node on its own
  destroy_sexp(keep);

  // released out of order, each remaining tree intact
  for (int i : {3, 0, 7, 5}) {
    destroy_sexp(later[i]);
    later[i] = nullptr;
    elt* fresh = parseText("(fresh " + std::string(300, 'f') + ")");
    for (int j = 0; j < 8; ++j)
      if (later[j]) {
        EXPECT_EQ(show(later[j]), "(other (tree " + std::to_string(j) + "))");
      }
    destroy_sexp(fresh);
  }
  for (elt* e : later) destroy_sexp(e);

  // a copy of a parsed tree owns its own texts
  t = parseText("(a bc)");
  elt* c = copy_sexp(t);
  destroy_sexp(t);
  EXPECT_EQ(c->list->next->arena, nullptr);
  std::free(c->list->next->val);
  c->list->next->val = nullptr;
  c->list->next->val_used = 0;
  EXPECT_EQ(show(c), "(a )");
  destroy_sexp(c);
}

TEST(SexpCache, LongAndDeepTreesAreFreed) {
  std::string deep(20000, '(');
  deep += std::string(20000, ')');
  elt* t = parseText(deep);
  ASSERT_NE(t, nullptr);
  destroy_sexp(t);
  std::string wide = "(";
  for (int i = 0; i < 20000; ++i) wide += "a ";
  wide += ")";
  t = parseText(wide);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(sexp_list_length(t), 20000);
  destroy_sexp(t);
}

TEST(SexpStack, PushPopAndCellReuse) {
  sexp_stack* s = make_stack();
  int a = 1, b = 2;
  ASSERT_EQ(push(s, &a), s);
  ASSERT_EQ(push(s, &b), s);
  EXPECT_EQ(s->height, 2);
  EXPECT_EQ(top_data(s), &b);
  stack_lvl_t* cell = pop(s);
  EXPECT_EQ(cell->data, &b);
  EXPECT_EQ(push(s, &a), s);
  EXPECT_EQ(s->top, cell);  // the popped cell came back
  EXPECT_EQ(pop(s)->data, &a);
  EXPECT_EQ(pop(s)->data, &a);
  EXPECT_EQ(pop(s), nullptr);
  EXPECT_EQ(s->height, 0);
  destroy_stack(s);

  reset_sexp_errno();
  EXPECT_EQ(push(nullptr, &a), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BAD_STACK);
  reset_sexp_errno();
  EXPECT_EQ(pop(nullptr), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BAD_STACK);
}

TEST(SexpString, GrowsTrimsAndEmpties) {
  sgrowsize(0);
  EXPECT_EQ(cstring_growsize, 8192u);
  sgrowsize(4);
  sexp_string* s = snew(0);
  for (char c : std::string("abcdefghij")) ASSERT_EQ(saddch(s, c), s);
  ASSERT_EQ(sadd(s, "klmnopqrstuvwxyz"), s);
  EXPECT_STREQ(toCharPtr(s), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(s->curlen, 26u);
  EXPECT_GT(s->len, s->curlen);
  ASSERT_EQ(strim(s), s);
  EXPECT_EQ(s->len, 27u);
  EXPECT_STREQ(toCharPtr(s), "abcdefghijklmnopqrstuvwxyz");
  sempty(s);
  EXPECT_STREQ(toCharPtr(s), "");
  sadd(s, "x");
  EXPECT_STREQ(toCharPtr(s), "x");
  sdestroy(s);
  sgrowsize(8192);
  EXPECT_EQ(toCharPtr(nullptr), nullptr);
  EXPECT_EQ(sadd(nullptr, "x"), nullptr);
}

TEST(SexpIo, ReadsExpressionsFromADescriptor) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  // more than one read buffer's worth, expressions split across reads
  std::string text;
  for (int i = 0; i < 600; ++i) text += "(item " + std::to_string(i) + " (pad xxxxxxxxxx))\n";
  text += "(last) (open";
  ASSERT_LT(text.size(), 60000u);
  ASSERT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fds[1]);

  sexp_iowrap* iow = init_iowrap(fds[0]);
  for (int i = 0; i < 600; ++i) {
    elt* sx = read_one_sexp(iow);
    ASSERT_NE(sx, nullptr) << i;
    EXPECT_EQ(show(sx), "(item " + std::to_string(i) + " (pad xxxxxxxxxx))");
    destroy_sexp(sx);
  }
  elt* last = read_one_sexp(iow);
  EXPECT_EQ(show(last), "(last)");
  destroy_sexp(last);
  reset_sexp_errno();
  EXPECT_EQ(read_one_sexp(iow), nullptr);  // "(open" never closes
  EXPECT_EQ(sexp_errno, SEXP_ERR_IO_EMPTY);
  destroy_iowrap(iow);
  close(fds[0]);
}

TEST(SexpIo, ReportsParserErrors) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], " ) ", 3), 3);
  close(fds[1]);
  sexp_iowrap* iow = init_iowrap(fds[0]);
  reset_sexp_errno();
  EXPECT_EQ(read_one_sexp(iow), nullptr);
  EXPECT_EQ(sexp_errno, SEXP_ERR_BADFORM);
  destroy_iowrap(iow);
  close(fds[0]);
  EXPECT_EQ(read_one_sexp(nullptr), nullptr);
}

TEST(SexpDot, WritesEveryNodeOnce) {
  elt* t = parseText("(a () (b))");
  std::string path = ::testing::TempDir() + "sexp_dot_test.dot";
  ASSERT_EQ(sexp_to_dotfile(t, path.c_str()), SEXP_ERR_OK);
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  std::string dot = ss.str();
  std::remove(path.c_str());

  auto id = [](const elt* e) {
    return "sx" + std::to_string(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(e)));
  };
  elt* a = t->list;
  elt* empty = a->next;
  elt* bl = empty->next;
  elt* b = bl->list;
  std::string expected = "digraph sexp {\n";
  expected += "  " + id(t) + " [shape=record,label=\"<type> SEXP_LIST| <list> list | <next> next\"];\n";
  expected += "  " + id(t) + ":list -> " + id(a) + ":type;\n";
  expected += "  " + id(a) +
              " [shape=record,label=\"{ <type> SEXP_VALUE | SEXP_BASIC }| { va=256 | vu=2 } | "
              "val=a | <next> next\"];\n";
  expected += "  " + id(a) + ":next -> " + id(empty) + ":type;\n";
  expected += "  " + id(empty) + " [shape=record,label=\"<type> SEXP_LIST| <list> list | <next> next\"];\n";
  expected += "  " + id(empty) + ":next -> " + id(bl) + ":type;\n";
  expected += "  " + id(bl) + " [shape=record,label=\"<type> SEXP_LIST| <list> list | <next> next\"];\n";
  expected += "  " + id(bl) + ":list -> " + id(b) + ":type;\n";
  expected += "  " + id(b) +
              " [shape=record,label=\"{ <type> SEXP_VALUE | SEXP_BASIC }| { va=256 | vu=2 } | "
              "val=b | <next> next\"];\n";
  expected += "}\n";
  EXPECT_EQ(dot, expected);

  EXPECT_EQ(sexp_to_dotfile(nullptr, path.c_str()), SEXP_ERR_NULLSTRING);
  EXPECT_EQ(sexp_to_dotfile(t, nullptr), SEXP_ERR_NULLSTRING);
  EXPECT_EQ(sexp_to_dotfile(t, "/nonexistent-dir/x.dot"), SEXP_ERR_IO);
  destroy_sexp(t);
}

}  // namespace
