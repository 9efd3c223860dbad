#ifndef SFSEXP_SEXP_H
#define SFSEXP_SEXP_H

// S-expression trees: parsing (whole, incremental, event driven, from a file
// descriptor), printing, copying and freeing. Plain functions; failures are
// reported through sexp_errno.

#include <cstddef>

#include "utils/sfsexp/cstring.h"
#include "utils/sfsexp/faststack.h"

enum elt_t : int { SEXP_VALUE = 0, SEXP_LIST = 1 };

enum atom_t : int { SEXP_BASIC = 0, SEXP_SQUOTE = 1, SEXP_DQUOTE = 2, SEXP_BINARY = 3 };

enum sexp_errcode_t {
  SEXP_ERR_OK = 0,
  SEXP_ERR_MEMORY = 1,
  SEXP_ERR_BADFORM = 2,
  SEXP_ERR_BADCONTENT = 3,
  SEXP_ERR_NULLSTRING = 4,
  SEXP_ERR_IO = 5,
  SEXP_ERR_IO_EMPTY = 6,
  SEXP_ERR_MEM_LIMIT = 7,
  SEXP_ERR_BUFFER_FULL = 8,
  SEXP_ERR_BAD_PARAM = 9,
  SEXP_ERR_BAD_STACK = 10,
  SEXP_ERR_UNKNOWN_STATE = 11
};

enum parsermode_t { PARSER_NORMAL = 0, PARSER_INLINE_BINARY = 1, PARSER_EVENTS_ONLY = 2 };

struct sexp_arena;

// One node: an atom (ty SEXP_VALUE) or a list (ty SEXP_LIST).
// A parsed tree's nodes and atom texts live in one block of the parser (arena
// not null): such a node's val belongs to that block and is never freed or
// replaced by the caller; it is released with the node. Nodes made by
// new_sexp_atom, new_sexp_list, copy_sexp and sexp_t_allocate own a malloc'd val.
struct elt {
  elt_t ty;
  char* val;             // atom text, NUL-terminated; null for lists
  size_t val_allocated;  // capacity of val
  size_t val_used;       // bytes of val in use (text and NUL)
  elt* list;             // first element of a list
  elt* next;             // next element of the enclosing list
  atom_t aty;
  char* bindata;         // raw bytes of a binary atom, owned (malloc'd)
  size_t binlength;
  sexp_arena* arena;     // block of the parsed tree, or null
};

typedef elt sexp_t;

// Last failure of the module; reset_sexp_errno() clears it.
extern int sexp_errno;
void reset_sexp_errno();

// Tuning of the atom buffer of the tree-building parser.
extern size_t sexp_val_start_size;
extern size_t sexp_val_grow_size;

struct sexp_event_handlers {
  void (*start_sexpr)();
  void (*end_sexpr)();
  void (*characters)(const char* data, size_t len, atom_t aty);
  void (*binary)(const char* data, size_t len);
};

// Parser state between calls, so that a text may arrive in pieces.
struct sexp_continuation {
  sexp_stack* stack;      // one level record per open list
  sexp_t* last_sexp;      // expression completed by the last call, or null
  char* val;              // atom buffer being filled
  size_t val_allocated;
  size_t val_used;        // bytes in the atom buffer
  char* vcur;             // write position in the atom buffer
  char* lastPos;          // where to resume; null: at the start of the next data
  char* sbuffer;          // start of the current data
  unsigned int depth;     // open lists
  unsigned int qdepth;    // open parentheses inside a quoted list
  unsigned int state;
  unsigned int esc;       // previous byte was a backslash
  unsigned int squoted;   // the atom was introduced by a quote
  sexp_errcode_t error;
  parsermode_t mode;
  size_t binexpected;
  size_t binread;
  char* bindata;
  sexp_event_handlers* event_handlers;
  sexp_arena* arena;      // block of the expression being built, or null
};

typedef sexp_continuation pcont_t;

// Reads expressions from a file descriptor.
enum { SEXP_IOWRAP_BUFSIZE = 8192 };
struct sexp_iowrap {
  sexp_continuation* cc;
  int fd;
  char buf[SEXP_IOWRAP_BUFSIZE];
  size_t cnt;  // bytes in buf
};

// The first complete expression of s (at most len bytes, up to the first NUL),
// or null. The tree belongs to the caller (destroy_sexp).
elt* parse_sexp(char* s, size_t len);
// Frees a node, its elements and its following siblings; null is allowed.
void destroy_sexp(elt* sx);

sexp_continuation* cparse_sexp(char* s, size_t len, sexp_continuation* cc);
elt* iparse_sexp(char* s, size_t len, sexp_continuation* cc);
sexp_continuation* eparse_sexp(char* s, size_t len, sexp_continuation* cc);
sexp_continuation* init_continuation(char* s);
void destroy_continuation(sexp_continuation* cc);
int set_parser_buffer_params(size_t start, size_t grow);

sexp_iowrap* init_iowrap(int fd);
void destroy_iowrap(sexp_iowrap* iow);
elt* read_one_sexp(sexp_iowrap* iow);

int print_sexp(char* buf, size_t size, const elt* sx);
int print_sexp_cstr(sexp_string** s, const elt* sx, size_t size);

elt* new_sexp_list(elt* first);
elt* new_sexp_atom(const char* text, size_t len, atom_t aty);
elt* copy_sexp(const elt* sx);

// Node and level-record caches. sexp_t_deallocate takes a node of either
// kind (a parsed node goes back to its tree's block).
sexp_t* sexp_t_allocate();
void sexp_t_deallocate(sexp_t* sx);
void* pd_allocate();
void pd_deallocate(void* pd);
// Frees the caches and the spare blocks of parsed trees.
void sexp_cleanup();

#include "utils/sfsexp/sexp_ops.h"
#include "utils/sfsexp/sexp_vis.h"

#endif
