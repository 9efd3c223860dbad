#include <cerrno>
#include <cstdlib>

#include <unistd.h>

#include "utils/sfsexp/sexp.h"

sexp_iowrap* init_iowrap(int fd) {
  sexp_iowrap* iow = static_cast<sexp_iowrap*>(std::calloc(1, sizeof(sexp_iowrap)));
  if (!iow) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  iow->fd = fd;
  return iow;
}

void destroy_iowrap(sexp_iowrap* iow) {
  if (!iow) return;
  destroy_continuation(iow->cc);
  std::free(iow);
}

namespace {

// Parses the buffered bytes; forgets them once the parser has used them all.
elt* parse_buffered(sexp_iowrap* iow) {
  sexp_continuation* cc = cparse_sexp(iow->buf, iow->cnt, iow->cc);
  if (!cc) return nullptr;
  iow->cc = cc;
  if (!cc->lastPos) iow->cnt = 0;
  elt* r = cc->last_sexp;
  cc->last_sexp = nullptr;
  return r;
}

}  // namespace

elt* read_one_sexp(sexp_iowrap* iow) {
  if (!iow) {
    sexp_errno = SEXP_ERR_BAD_PARAM;
    return nullptr;
  }
  if (iow->cnt > 0) {
    elt* r = parse_buffered(iow);
    if (r) return r;
    if (!iow->cc || iow->cc->error != SEXP_ERR_OK) return nullptr;
  }
  for (;;) {
    ssize_t n = read(iow->fd, iow->buf, SEXP_IOWRAP_BUFSIZE);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      sexp_errno = SEXP_ERR_IO;
      return nullptr;
    }
    if (n == 0) {
      sexp_errno = SEXP_ERR_IO_EMPTY;
      return nullptr;
    }
    iow->cnt = static_cast<size_t>(n);
    elt* r = parse_buffered(iow);
    if (r) return r;
    if (!iow->cc || iow->cc->error != SEXP_ERR_OK) return nullptr;
  }
}
