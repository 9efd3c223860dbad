#include "utils/sfsexp/sexp_ops.h"

#include <cstring>

int sexp_list_length(const elt* sx) {
  if (!sx) return 0;
  if (sx->ty == SEXP_VALUE) return 1;
  int n = 0;
  for (const elt* e = sx->list; e; e = e->next) ++n;
  return n;
}

namespace {
bool named(const elt* e, const char* name) {
  return e->ty == SEXP_VALUE && e->val && std::strcmp(e->val, name) == 0;
}
}  // namespace

elt* find_sexp(const char* name, elt* start) {
  if (!name) return nullptr;
  for (elt* e = start; e; e = e->next) {
    if (e->ty == SEXP_LIST) {
      if (elt* r = find_sexp(name, e->list)) return r;
    } else if (named(e, name)) {
      return e;
    }
  }
  return nullptr;
}

elt* bfs_find_sexp(const char* name, elt* start) {
  if (!name) return nullptr;
  for (elt* e = start; e; e = e->next)
    if (named(e, name)) return e;
  for (elt* e = start; e; e = e->next) {
    if (e->ty == SEXP_LIST) {
      if (elt* r = bfs_find_sexp(name, e->list)) return r;
    }
  }
  return nullptr;
}
