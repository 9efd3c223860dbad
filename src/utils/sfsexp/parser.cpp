#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "utils/sfsexp/sexp.h"
#include "utils/sfsexp/sexp_internal.h"

size_t sexp_val_start_size = 256;
size_t sexp_val_grow_size = 64;

namespace {

struct ByteTable {
  bool atom[256];   // bytes that continue a basic atom
  bool plain[256];  // the same without the backslash
  bool text[256];   // bytes of a string other than the quote, backslash and NUL
  constexpr ByteTable() : atom(), plain(), text() {
    for (int c = 0; c < 256; ++c) {
      atom[c] = c == '!' || c == '#' || c == '$' || c == '%' || c == '&' ||
                (c >= 0x2A && c <= 0x7E) || c >= 0x80;
      plain[c] = atom[c] && c != '\\';
      text[c] = c != '"' && c != '\\' && c != 0;
    }
  }
};
constexpr ByteTable kBytes;

inline bool escapable(unsigned char c) {
  return c == '"' || c == '(' || c == ')' || c == '\'' || c == '\\';
}

inline bool blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Makes sure an empty atom buffer exists. The buffer stays with the
// continuation; a finished atom's text is copied into the tree's block.
bool buf_start(sexp_continuation* cc, size_t start) {
  if (!cc->val) {
    cc->val = static_cast<char*>(std::malloc(start));
    if (!cc->val) return false;
    cc->val_allocated = start;
  }
  cc->val_used = 0;
  cc->vcur = cc->val;
  return true;
}

// Appends one byte, always leaving room for the NUL.
inline bool buf_add(sexp_continuation* cc, char c, size_t grow) {
  if (cc->val_used + 1 >= cc->val_allocated) {
    size_t cap = cc->val_allocated + grow;
    if (cap < cc->val_allocated) return false;
    char* v = static_cast<char*>(std::realloc(cc->val, cap));
    if (!v) return false;
    cc->val = v;
    cc->val_allocated = cap;
  }
  cc->val[cc->val_used++] = c;
  cc->vcur = cc->val + cc->val_used;
  return true;
}

// Appends n bytes at once, always leaving room for the NUL.
inline bool buf_append(sexp_continuation* cc, const char* p, size_t n, size_t grow) {
  if (cc->val_used + n >= cc->val_allocated) {
    size_t need = cc->val_used + n + 1;
    size_t cap = cc->val_allocated;
    while (cap < need) {
      if (cap + grow < cap) return false;
      cap += grow;
    }
    char* v = static_cast<char*>(std::realloc(cc->val, cap));
    if (!v) return false;
    cc->val = v;
    cc->val_allocated = cap;
  }
  std::memcpy(cc->val + cc->val_used, p, n);
  cc->val_used += n;
  cc->vcur = cc->val + cc->val_used;
  return true;
}

// Length of the run of bytes from s[i] on that the table accepts.
inline size_t run(const char* s, size_t i, size_t len, const bool* accept) {
  size_t j = i;
  while (j < len && accept[static_cast<unsigned char>(s[j])]) ++j;
  return j - i;
}

// Hangs a finished node on the open list (never called at depth 0).
void append(sexp_continuation* cc, sexp_t* node) {
  parse_data_t* lvl = static_cast<parse_data_t*>(top_data(cc->stack));
  if (lvl->lst)
    lvl->lst->next = node;
  else
    lvl->fst = node;
  lvl->lst = node;
}

// The continuation's block for the next node, opened on first use.
sexp_t* new_node(sexp_continuation* cc) {
  if (!cc->arena) {
    cc->arena = arena_open();
    if (!cc->arena) return nullptr;
  }
  return arena_node(cc->arena);
}

// A top-level expression is complete: its block is the tree's now.
void complete(sexp_continuation* cc, sexp_t* node) {
  cc->last_sexp = node;
  arena_close(cc->arena);
  cc->arena = nullptr;
}

void place(sexp_continuation* cc, sexp_t* node) {
  if (cc->depth == 0)
    complete(cc, node);
  else
    append(cc, node);
}

// Capacity the atom would have had in a buffer of its own: the start size
// grown by whole steps until the text and its NUL fit.
size_t atom_capacity(size_t used, size_t start, size_t grow) {
  if (used + 1 <= start) return start;
  return start + (used + 1 - start + grow - 1) / grow * grow;
}

// Ends the atom in the buffer. A quoted list counts no NUL in val_used.
bool finish_atom(sexp_continuation* cc, atom_t aty, bool build, bool qlist, size_t start,
                 size_t grow) {
  cc->val[cc->val_used] = '\0';
  size_t used = qlist ? cc->val_used : cc->val_used + 1;
  if (cc->event_handlers && cc->event_handlers->characters)
    cc->event_handlers->characters(cc->val, used, aty);
  if (build) {
    sexp_t* node = new_node(cc);
    if (!node) return false;
    size_t cap = atom_capacity(cc->val_used, start, grow);
    char* text = arena_text(cc->arena, cap);
    if (!text) {
      arena_release(node);
      return false;
    }
    std::memcpy(text, cc->val, cc->val_used + 1);
    node->ty = SEXP_VALUE;
    node->aty = aty;
    node->val = text;
    node->val_allocated = cap;
    node->val_used = used;
    place(cc, node);
  }
  cc->val_used = 0;
  cc->vcur = cc->val;
  cc->squoted = 0;
  cc->esc = 0;
  return true;
}

bool finish_binary(sexp_continuation* cc, bool build) {
  if (cc->event_handlers && cc->event_handlers->binary)
    cc->event_handlers->binary(cc->bindata, cc->binexpected);
  if (build) {
    sexp_t* node = new_node(cc);
    if (!node) return false;
    node->ty = SEXP_VALUE;
    node->aty = SEXP_BINARY;
    node->bindata = cc->bindata;
    node->binlength = cc->binexpected;
    place(cc, node);
  } else {
    std::free(cc->bindata);
  }
  cc->bindata = nullptr;
  cc->binexpected = cc->binread = 0;
  cc->val_used = 0;
  cc->vcur = cc->val;
  return true;
}

bool open_list(sexp_continuation* cc, bool build) {
  if (cc->event_handlers && cc->event_handlers->start_sexpr) cc->event_handlers->start_sexpr();
  if (build) {
    sexp_t* node = new_node(cc);
    if (!node) return false;
    node->ty = SEXP_LIST;
    if (cc->depth == 0) {
      parse_data_t* top = static_cast<parse_data_t*>(pd_allocate());
      if (!top || !push(cc->stack, top)) {
        pd_deallocate(top);
        arena_release(node);
        return false;
      }
      top->fst = top->lst = node;
    } else {
      append(cc, node);
    }
    parse_data_t* lvl = static_cast<parse_data_t*>(pd_allocate());
    if (!lvl || !push(cc->stack, lvl)) {
      // the list node is already hung on its level and freed with it
      pd_deallocate(lvl);
      return false;
    }
  }
  cc->depth++;
  return true;
}

void close_list(sexp_continuation* cc, bool build) {
  if (build) {
    parse_data_t* lvl = static_cast<parse_data_t*>(pop(cc->stack)->data);
    parse_data_t* parent = static_cast<parse_data_t*>(top_data(cc->stack));
    parent->lst->list = lvl->fst;
    pd_deallocate(lvl);
  }
  if (cc->event_handlers && cc->event_handlers->end_sexpr) cc->event_handlers->end_sexpr();
  cc->depth--;
  if (build && cc->depth == 0) {
    parse_data_t* top = static_cast<parse_data_t*>(pop(cc->stack)->data);
    complete(cc, top->fst);
    pd_deallocate(top);
  }
}

}  // namespace

bool sexp_parse_run(char* s, size_t len, sexp_continuation* cc, bool build, size_t start,
                    size_t grow) {
  size_t i = 0;
  if (cc->lastPos && cc->sbuffer == s && cc->lastPos >= s &&
      static_cast<size_t>(cc->lastPos - s) <= len)
    i = static_cast<size_t>(cc->lastPos - s);
  cc->sbuffer = s;
  cc->lastPos = nullptr;
  cc->last_sexp = nullptr;
  cc->error = SEXP_ERR_OK;
  if (start < 2) start = 2;
  if (grow < 1) grow = 1;
  const bool binmode = cc->mode == PARSER_INLINE_BINARY;

// Stops the call; the next one resumes at byte i.
#define SEXP_STOP(err)        \
  do {                        \
    cc->error = (err);        \
    cc->lastPos = s + i;      \
    return true;              \
  } while (0)
#define SEXP_ADD(ch)                                             \
  do {                                                           \
    if (!buf_add(cc, (ch), grow)) SEXP_STOP(SEXP_ERR_MEMORY);    \
  } while (0)

  while (i < len) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0 && cc->state != PS_BIN_DATA) break;  // a NUL ends the data
    switch (cc->state) {
      case PS_BETWEEN:
        if (blank(c)) {
          ++i;
        } else if (c == '(') {
          if (!open_list(cc, build)) SEXP_STOP(SEXP_ERR_MEMORY);
          ++i;
        } else if (c == ')') {
          ++i;
          if (cc->depth == 0) SEXP_STOP(SEXP_ERR_BADFORM);
          close_list(cc, build);
          if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);
        } else if (c == ';') {
          cc->state = PS_COMMENT;
          ++i;
        } else {
          if (!buf_start(cc, start)) SEXP_STOP(SEXP_ERR_MEMORY);
          cc->esc = 0;
          cc->squoted = 0;
          if (c == '"') {
            cc->state = PS_STRING;
          } else if (c == '\'') {
            cc->squoted = 1;
            cc->state = PS_SQUOTE;
          } else if (binmode && c == '#') {
            SEXP_ADD('#');
            cc->state = PS_BIN_HASH;
          } else {
            SEXP_ADD(static_cast<char>(c));
            cc->esc = c == '\\';
            cc->state = PS_ATOM;
          }
          ++i;
        }
        break;

      case PS_ATOM:
        if (cc->esc) {
          cc->esc = 0;
          if (escapable(c)) {
            cc->val[cc->val_used - 1] = static_cast<char>(c);
            ++i;
            break;
          }
        }
        if (kBytes.plain[c]) {
          size_t n = run(s, i, len, kBytes.plain);
          if (!buf_append(cc, s + i, n, grow)) SEXP_STOP(SEXP_ERR_MEMORY);
          i += n;
          break;
        }
        if (kBytes.atom[c]) {
          SEXP_ADD(static_cast<char>(c));
          cc->esc = c == '\\';
          ++i;
          break;
        }
        if (!finish_atom(cc, cc->squoted ? SEXP_SQUOTE : SEXP_BASIC, build, false, start, grow))
          SEXP_STOP(SEXP_ERR_MEMORY);
        cc->state = PS_BETWEEN;
        if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);  // resume at the ending byte
        if (blank(c)) ++i;
        break;

      case PS_STRING:
        if (cc->esc) {
          cc->esc = 0;
          if (escapable(c)) {
            cc->val[cc->val_used - 1] = static_cast<char>(c);
            ++i;
            break;
          }
        }
        if (kBytes.text[c]) {
          size_t n = run(s, i, len, kBytes.text);
          if (!buf_append(cc, s + i, n, grow)) SEXP_STOP(SEXP_ERR_MEMORY);
          i += n;
          break;
        }
        if (c == '"') {
          if (cc->squoted) SEXP_ADD('"');
          if (!finish_atom(cc, cc->squoted ? SEXP_SQUOTE : SEXP_DQUOTE, build, false, start, grow))
            SEXP_STOP(SEXP_ERR_MEMORY);
          cc->state = PS_BETWEEN;
          ++i;
          if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);
          break;
        }
        SEXP_ADD(static_cast<char>(c));
        cc->esc = c == '\\';
        ++i;
        break;

      case PS_SQUOTE:
        if (c == '"') {
          SEXP_ADD('"');
          cc->state = PS_STRING;
          ++i;
        } else if (c == '(') {
          SEXP_ADD('(');
          cc->qdepth = 1;
          cc->state = PS_QLIST;
          ++i;
        } else {
          cc->state = PS_ATOM;  // the byte is read again as part of the atom
        }
        break;

      case PS_QLIST:
        SEXP_ADD(static_cast<char>(c));
        ++i;
        if (cc->esc) {
          cc->esc = 0;
        } else if (c == '\\') {
          cc->esc = 1;
        } else if (c == '"') {
          cc->state = PS_QLIST_STR;
        } else if (c == '(') {
          cc->qdepth++;
        } else if (c == ')' && --cc->qdepth == 0) {
          if (!finish_atom(cc, SEXP_SQUOTE, build, true, start, grow)) {
            cc->qdepth = 1;
            cc->val_used--;
            --i;
            SEXP_STOP(SEXP_ERR_MEMORY);
          }
          cc->state = PS_BETWEEN;
          if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);
        }
        break;

      case PS_QLIST_STR:
        SEXP_ADD(static_cast<char>(c));
        ++i;
        if (cc->esc)
          cc->esc = 0;
        else if (c == '\\')
          cc->esc = 1;
        else if (c == '"')
          cc->state = PS_QLIST;
        break;

      case PS_COMMENT:
        if (c == '\n') cc->state = PS_BETWEEN;
        ++i;
        break;

      case PS_BIN_HASH:
        if (c == 'b') {
          SEXP_ADD('b');
          cc->state = PS_BIN_B;
          ++i;
        } else {
          cc->state = PS_ATOM;  // "#..." is a basic atom
        }
        break;

      case PS_BIN_B:
        if (c == '#') {
          SEXP_ADD('#');
          cc->binexpected = 0;
          cc->state = PS_BIN_LEN;
          ++i;
        } else {
          cc->state = PS_ATOM;
        }
        break;

      case PS_BIN_LEN:
        if (c >= '0' && c <= '9') {
          if (cc->binexpected > (SIZE_MAX - 9) / 10) SEXP_STOP(SEXP_ERR_BADCONTENT);
          SEXP_ADD(static_cast<char>(c));
          cc->binexpected = cc->binexpected * 10 + (c - '0');
          ++i;
        } else if (c == '#') {
          ++i;
          cc->binread = 0;
          if (cc->binexpected == 0) {
            cc->bindata = nullptr;
            if (!finish_binary(cc, build)) {
              --i;
              SEXP_STOP(SEXP_ERR_MEMORY);
            }
            cc->state = PS_BETWEEN;
            if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);
          } else {
            cc->bindata = nullptr;  // grows with the bytes that really arrive
            cc->state = PS_BIN_DATA;
          }
        } else {
          cc->state = PS_ATOM;  // not a binary atom after all
        }
        break;

      case PS_BIN_DATA: {
        size_t n = cc->binexpected - cc->binread;
        if (n > len - i) n = len - i;
        char* grown = static_cast<char*>(std::realloc(cc->bindata, cc->binread + n));
        if (!grown) SEXP_STOP(SEXP_ERR_MEMORY);
        cc->bindata = grown;
        std::memcpy(cc->bindata + cc->binread, s + i, n);
        cc->binread += n;
        i += n;
        if (cc->binread == cc->binexpected) {
          if (!finish_binary(cc, build)) SEXP_STOP(SEXP_ERR_MEMORY);
          cc->state = PS_BETWEEN;
          if (cc->depth == 0) SEXP_STOP(SEXP_ERR_OK);
        }
        break;
      }

      default:
        cc->error = SEXP_ERR_UNKNOWN_STATE;
        cc->lastPos = s + i;
        return false;
    }
  }
#undef SEXP_ADD
#undef SEXP_STOP
  // End of the data: everything is kept for the next call.
  cc->lastPos = nullptr;
  return true;
}

sexp_continuation* init_continuation(char* s) {
  sexp_continuation* cc =
      static_cast<sexp_continuation*>(std::calloc(1, sizeof(sexp_continuation)));
  if (!cc) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  cc->stack = make_stack();
  size_t start = sexp_val_start_size < 2 ? 2 : sexp_val_start_size;
  cc->val = static_cast<char*>(std::malloc(start));
  if (!cc->stack || !cc->val) {
    if (cc->stack) destroy_stack(cc->stack);
    std::free(cc->val);
    std::free(cc);
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  cc->val_allocated = start;
  cc->vcur = cc->val;
  cc->sbuffer = s;
  cc->state = PS_BETWEEN;
  cc->mode = PARSER_NORMAL;
  cc->error = SEXP_ERR_OK;
  return cc;
}

void destroy_continuation(sexp_continuation* cc) {
  if (!cc) return;
  if (cc->stack) {
    // partial trees: each level's chain; an open list's own list is not set yet
    while (cc->stack->height > 0) {
      parse_data_t* lvl = static_cast<parse_data_t*>(pop(cc->stack)->data);
      destroy_sexp(lvl->fst);
      pd_deallocate(lvl);
    }
    destroy_stack(cc->stack);
  }
  arena_close(cc->arena);
  std::free(cc->val);
  std::free(cc->bindata);
  std::free(cc);
}

sexp_continuation* cparse_sexp(char* s, size_t len, sexp_continuation* cc) {
  if (!s) {
    sexp_errno = SEXP_ERR_NULLSTRING;
    if (cc) {
      cc->error = SEXP_ERR_NULLSTRING;
      cc->last_sexp = nullptr;
    }
    return cc;
  }
  if (!cc) {
    cc = init_continuation(s);
    if (!cc) return nullptr;
  }
  if (cc->mode == PARSER_EVENTS_ONLY) return eparse_sexp(s, len, cc);
  if (!sexp_parse_run(s, len, cc, true, sexp_val_start_size, sexp_val_grow_size))
    cc->error = SEXP_ERR_UNKNOWN_STATE;
  if (cc->error != SEXP_ERR_OK) sexp_errno = cc->error;
  return cc;
}

elt* iparse_sexp(char* s, size_t len, sexp_continuation* cc) {
  if (!cc) {
    sexp_errno = SEXP_ERR_BAD_PARAM;
    return nullptr;
  }
  cparse_sexp(s, len, cc);
  elt* r = cc->last_sexp;
  cc->last_sexp = nullptr;
  return r;
}

namespace {

// One list made of blanks, parentheses and basic atoms without backslashes,
// the shape of every server message, parsed in one pass straight into a tree
// block. Anything else (quotes, strings, comments, escapes, a top-level
// atom, text that ends or stops before the list closes, deep nesting, no
// memory) gives up: null, and the general parser takes the text from the start.
elt* parse_plain_list(const char* s, size_t len) {
  const size_t start = sexp_val_start_size < 2 ? 2 : sexp_val_start_size;
  const size_t grow = sexp_val_grow_size < 1 ? 1 : sexp_val_grow_size;
  size_t i = 0;
  while (i < len && blank(static_cast<unsigned char>(s[i]))) ++i;
  if (i == len || s[i] != '(') return nullptr;
  // A NUL ends the data. The list can only close by the last ")" before it:
  // the data is cut after that ")", which ends every atom before it, so atoms
  // are scanned without a bound.
  len = strnlen(s, len);
  if (len <= i) return nullptr;
  while (s[len - 1] != ')') {
    if (--len == i) return nullptr;
  }

  enum { kMaxDepth = 64 };
  // levels[0] holds the top list; levels[d] the elements of the list open at depth d.
  parse_data_t levels[kMaxDepth + 1];
  int depth = 0;
  sexp_arena* arena = arena_open();
  if (!arena) return nullptr;
  levels[0].fst = levels[0].lst = nullptr;

  auto hang = [&](sexp_t* node) {
    parse_data_t& lvl = levels[depth];
    if (lvl.lst)
      lvl.lst->next = node;
    else
      lvl.fst = node;
    lvl.lst = node;
  };

  elt* result = nullptr;
  while (i < len) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (blank(c)) {
      ++i;
    } else if (c == '(') {
      if (depth == kMaxDepth) break;
      sexp_t* node = arena_node(arena);
      if (!node) break;
      node->ty = SEXP_LIST;
      hang(node);
      ++depth;
      levels[depth].fst = levels[depth].lst = nullptr;
      ++i;
    } else if (c == ')') {
      levels[depth - 1].lst->list = levels[depth].fst;
      --depth;
      ++i;
      if (depth == 0) {
        result = levels[0].fst;
        break;
      }
    } else if (kBytes.plain[c] && c != ';') {
      size_t n = 1;
      while (kBytes.plain[static_cast<unsigned char>(s[i + n])]) ++n;
      if (s[i + n] == '\\') break;
      sexp_t* node = arena_node(arena);
      if (!node) break;
      const size_t cap = atom_capacity(n, start, grow);
      char* text = arena_text(arena, cap);
      if (!text) {
        arena_release(node);
        break;
      }
      if (n < 16 && cap >= 16 && len - i >= 16)
        std::memcpy(text, s + i, 16);  // one fixed-size copy for the usual short atom
      else
        std::memcpy(text, s + i, n);
      text[n] = '\0';
      node->ty = SEXP_VALUE;
      node->aty = SEXP_BASIC;
      node->val = text;
      node->val_allocated = cap;
      node->val_used = n + 1;
      hang(node);
      i += n;  // the ending byte is read again as the next token
    } else {
      break;  // NUL, quotes, comment, backslash, control bytes
    }
  }
  if (!result) {
    // open lists have no elements hung on them yet: each level's chain once
    for (int d = depth; d >= 0; --d) destroy_sexp(levels[d].fst);
  }
  arena_close(arena);
  return result;
}

}  // namespace

elt* parse_sexp(char* s, size_t len) {
  if (!s || len == 0) return nullptr;
  if (elt* plain = parse_plain_list(s, len)) {
    sexp_errno = SEXP_ERR_OK;
    return plain;
  }
  sexp_continuation* cc = cparse_sexp(s, len, nullptr);
  if (!cc) return nullptr;
  elt* r = cc->last_sexp;
  cc->last_sexp = nullptr;
  sexp_errno = cc->error;
  destroy_continuation(cc);
  return r;
}

int set_parser_buffer_params(size_t start, size_t grow) {
  if (start != 0) {
    sexp_val_start_size = start;
    if (grow != 0) {
      sexp_val_grow_size = grow;
      return SEXP_ERR_OK;
    }
  }
  sexp_errno = SEXP_ERR_BAD_PARAM;
  return SEXP_ERR_BAD_PARAM;
}
