#ifndef SFSEXP_CSTRING_H
#define SFSEXP_CSTRING_H

#include <cstddef>

// Growable, always NUL-terminated character string.
struct sexp_string {
  char* base;     // the text
  size_t len;     // capacity of base in bytes
  size_t curlen;  // length of the text, without the NUL
};

typedef sexp_string CSTRING;

// Growth step of the growable strings (bytes).
extern size_t cstring_growsize;

sexp_string* snew(size_t size);
sexp_string* sadd(sexp_string* s, const char* text);
sexp_string* saddch(sexp_string* s, char c);
sexp_string* strim(sexp_string* s);
sexp_string* sempty(sexp_string* s);
void sdestroy(sexp_string* s);
char* toCharPtr(sexp_string* s);
void sgrowsize(size_t s);

#endif
