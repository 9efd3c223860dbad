#include "Sexp.h"

#include <cmath>
#include <cstdlib>

#include "utils/sfsexp/sexp.h"

namespace practice {
namespace {

constexpr int kMaxDepth = 64;

// Copies a parsed expression; false when it nests deeper than anything sensible.
bool convert(const elt* e, SNode& out, int depth) {
  if (depth > kMaxDepth) return false;
  if (e->ty != SEXP_LIST) {
    out.atom = e->val ? std::string(e->val) : std::string();
    return true;
  }
  out.isList = true;
  for (const elt* c = e->list; c; c = c->next) {
    out.items.emplace_back();
    if (!convert(c, out.items.back(), depth + 1)) return false;
  }
  return true;
}

}  // namespace

const std::string& SNode::head() const {
  static const std::string empty;
  if (!isList || items.empty() || items.front().isList) return empty;
  return items.front().atom;
}

const SNode* SNode::find(const std::string& name) const {
  for (const SNode& n : items)
    if (n.isList && n.head() == name) return &n;
  return nullptr;
}

std::vector<SNode> readSexps(std::string_view text) {
  std::vector<SNode> result;
  if (text.empty()) return result;
  std::string buffer(text);  // the parser wants writable text
  sexp_continuation* cc = init_continuation(buffer.data());
  if (!cc) return result;
  // One top-level expression per call; the parser stops at malformed text.
  while (elt* e = iparse_sexp(buffer.data(), buffer.size(), cc)) {
    SNode node;
    if (e->ty == SEXP_LIST && convert(e, node, 0)) result.push_back(std::move(node));
    destroy_sexp(e);
  }
  destroy_continuation(cc);
  return result;
}

bool toNumber(const SNode& node, double& out) {
  if (node.isList || node.atom.empty()) return false;
  const char* s = node.atom.c_str();
  char* end = nullptr;
  double v = std::strtod(s, &end);
  if (end == s || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace practice
