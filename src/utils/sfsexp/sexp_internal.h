#ifndef SFSEXP_SEXP_INTERNAL_H
#define SFSEXP_SEXP_INTERNAL_H

// Shared between the tree-building parser and the event parser.

#include <cstring>

#include "utils/sfsexp/sexp.h"

// Level record: the first and the last node collected inside one open list.
struct parse_data_t {
  sexp_t* fst;
  sexp_t* lst;
};

// Parser states.
enum {
  PS_BETWEEN = 1,    // between tokens
  PS_ATOM = 2,       // basic atom
  PS_STRING = 3,     // double-quoted string
  PS_SQUOTE = 4,     // just after a single quote
  PS_QLIST = 5,      // raw quoted list
  PS_QLIST_STR = 6,  // string inside a raw quoted list
  PS_COMMENT = 7,
  PS_BIN_HASH = 8,   // "#" seen
  PS_BIN_B = 9,      // "#b" seen
  PS_BIN_LEN = 10,   // reading the length of a binary atom
  PS_BIN_DATA = 11   // reading the raw bytes
};

#if defined(__SANITIZE_ADDRESS__)
#define SEXP_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SEXP_ASAN 1
#endif
#endif
#ifdef SEXP_ASAN
#include <sanitizer/asan_interface.h>
#define SEXP_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define SEXP_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define SEXP_POISON(p, n) ((void)(p), (void)(n))
#define SEXP_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

// ------------------------------------------------------------ tree blocks
// Parts of a block that are not handed out (never used, or released) are
// poisoned for AddressSanitizer, so that a caller still holding a node of a
// destroyed tree is caught as with malloc'd nodes.

struct sexp_chunk {
  sexp_chunk* next;
  size_t size;  // bytes of data after the header
  char* data() { return reinterpret_cast<char*>(this + 1); }
};
static_assert(sizeof(sexp_chunk) % 16 == 0, "chunk data stays aligned");

// Memory cut in order from a chain of chunks; a reset block starts again at
// its first chunk.
struct sexp_strip {
  sexp_chunk* first = nullptr;
  sexp_chunk* cur = nullptr;
  char* pos = nullptr;
  char* end = nullptr;
  size_t chunkSize;

  explicit sexp_strip(size_t size) : chunkSize(size) {}

  void* take(size_t n) {
    n = (n + 7) & ~static_cast<size_t>(7);
    if (n == 0 || static_cast<size_t>(end - pos) < n) {
      if (!advance(n)) return nullptr;
    }
    void* p = pos;
    pos += n;
    SEXP_UNPOISON(p, n);
    return p;
  }

  // The next chunk with room for n bytes, made when there is none.
  bool advance(size_t n);
  // Back to the start; chunks beyond keep bytes in all are freed.
  void reset(size_t keep);
};

// The block of one parsed tree: its nodes and atom texts are cut from chunks
// in order, and the block is reused once its last node is released and no
// continuation is adding to it.
struct sexp_arena {
  size_t live = 0;     // nodes handed out and not released
  bool held = false;   // a continuation is still adding to it
  sexp_strip nodes{256 * sizeof(sexp_t)};
  sexp_strip texts{16384};
  sexp_arena* nextFree = nullptr;
};

sexp_arena* arena_open();
// The continuation is done adding (the tree is complete or abandoned).
void arena_close(sexp_arena* a);
// Releases a node of a block (not its bindata).
void arena_release(sexp_t* node);

// A cleared node of the block, or null (no memory).
inline sexp_t* arena_node(sexp_arena* a) {
  void* p = a->nodes.take(sizeof(sexp_t));
  if (!p) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  std::memset(p, 0, sizeof(sexp_t));
  sexp_t* node = static_cast<sexp_t*>(p);
  node->arena = a;
  a->live++;
  return node;
}

// n bytes of the block for an atom's text, or null.
inline char* arena_text(sexp_arena* a, size_t n) {
  char* p = static_cast<char*>(a->texts.take(n));
  if (!p) sexp_errno = SEXP_ERR_MEMORY;
  return p;
}

// Runs the grammar over the data. With build false no nodes are made and only
// the event handlers run. start and grow size the atom buffer.
// Returns false when the state is outside the grammar.
bool sexp_parse_run(char* s, size_t len, sexp_continuation* cc, bool build,
                    size_t start, size_t grow);

#endif
