// Event-driven parsing: the grammar of the tree parser, but only the handlers
// of the continuation run and no nodes are built.

#include <cstdio>

#include "utils/sfsexp/sexp.h"
#include "utils/sfsexp/sexp_internal.h"

namespace {
// Its own atom buffer sizes, not changed by set_parser_buffer_params.
size_t event_val_start_size = 256;
size_t event_val_grow_size = 64;
}  // namespace

sexp_continuation* eparse_sexp(char* s, size_t len, sexp_continuation* cc) {
  if (!s) {
    sexp_errno = SEXP_ERR_NULLSTRING;
    if (cc) cc->error = SEXP_ERR_NULLSTRING;
    return cc;
  }
  if (!cc) {
    cc = init_continuation(s);
    if (!cc) return nullptr;
    cc->mode = PARSER_EVENTS_ONLY;
  }
  if (!sexp_parse_run(s, len, cc, false, event_val_start_size, event_val_grow_size)) {
    std::fprintf(stderr, "eparse_sexp: unknown parser state %d.\n", static_cast<int>(cc->state));
    cc->error = SEXP_ERR_UNKNOWN_STATE;
  }
  if (cc->error != SEXP_ERR_OK) sexp_errno = cc->error;
  return cc;
}
