#include "utils/sfsexp/cstring.h"

#include <cstdlib>
#include <cstring>

#include "utils/sfsexp/sexp.h"

size_t cstring_growsize = 8192;

namespace {

bool grow(sexp_string* s, size_t extra) {
  size_t cap = s->len + extra;
  if (cap < s->len) {  // overflow
    sexp_errno = SEXP_ERR_MEMORY;
    return false;
  }
  char* b = static_cast<char*>(std::realloc(s->base, cap));
  if (!b) {
    sexp_errno = SEXP_ERR_MEMORY;
    return false;
  }
  s->base = b;
  s->len = cap;
  return true;
}

}  // namespace

sexp_string* snew(size_t size) {
  sexp_string* s = static_cast<sexp_string*>(std::malloc(sizeof(sexp_string)));
  if (!s) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  if (size == 0) size = 1;  // room for the NUL
  s->base = static_cast<char*>(std::calloc(size, 1));
  if (!s->base) {
    std::free(s);
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  s->len = size;
  s->curlen = 0;
  return s;
}

sexp_string* sadd(sexp_string* s, const char* text) {
  if (!s || !text) return nullptr;
  size_t add = std::strlen(text);
  if (s->curlen + add >= s->len && !grow(s, add + cstring_growsize)) return nullptr;
  std::memcpy(s->base + s->curlen, text, add);
  s->curlen += add;
  s->base[s->curlen] = '\0';
  return s;
}

sexp_string* saddch(sexp_string* s, char c) {
  if (!s) return nullptr;
  if (s->curlen + 1 >= s->len && !grow(s, cstring_growsize + 1)) return nullptr;
  s->base[s->curlen++] = c;
  s->base[s->curlen] = '\0';
  return s;
}

sexp_string* strim(sexp_string* s) {
  if (!s) return nullptr;
  char* b = static_cast<char*>(std::realloc(s->base, s->curlen + 1));
  if (!b) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  s->base = b;
  s->len = s->curlen + 1;
  return s;
}

sexp_string* sempty(sexp_string* s) {
  if (!s) return nullptr;
  s->curlen = 0;
  s->base[0] = '\0';
  return s;
}

void sdestroy(sexp_string* s) {
  if (!s) return;
  std::free(s->base);
  std::free(s);
}

char* toCharPtr(sexp_string* s) { return s ? s->base : nullptr; }

void sgrowsize(size_t s) {
  if (s != 0) cstring_growsize = s;
}
