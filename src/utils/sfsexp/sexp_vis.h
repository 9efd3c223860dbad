#ifndef SFSEXP_SEXP_VIS_H
#define SFSEXP_SEXP_VIS_H

#include "utils/sfsexp/sexp.h"

// Writes the tree as a graph description ("digraph sexp { ... }") to fname.
// Returns SEXP_ERR_OK, SEXP_ERR_NULLSTRING or SEXP_ERR_IO.
int sexp_to_dotfile(const elt* sx, const char* fname);

#endif
