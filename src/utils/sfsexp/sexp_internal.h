#ifndef SFSEXP_SEXP_INTERNAL_H
#define SFSEXP_SEXP_INTERNAL_H

// Shared between the tree-building parser and the event parser.

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

// The block of one parsed tree: its nodes and atom texts are cut from chunks
// in order, and the block is reused once its last node is released and no
// continuation is adding to it.
sexp_arena* arena_open();
// The continuation is done adding (the tree is complete or abandoned).
void arena_close(sexp_arena* a);
// A cleared node of the block, or null (no memory).
sexp_t* arena_node(sexp_arena* a);
// n bytes of the block for an atom's text, or null.
char* arena_text(sexp_arena* a, size_t n);
// Releases a node of a block (not its bindata).
void arena_release(sexp_t* node);

// Runs the grammar over the data. With build false no nodes are made and only
// the event handlers run. start and grow size the atom buffer.
// Returns false when the state is outside the grammar.
bool sexp_parse_run(char* s, size_t len, sexp_continuation* cc, bool build,
                    size_t start, size_t grow);

#endif
