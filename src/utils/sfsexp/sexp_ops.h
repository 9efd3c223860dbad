#ifndef SFSEXP_SEXP_OPS_H
#define SFSEXP_SEXP_OPS_H

#include "utils/sfsexp/sexp.h"

// Number of elements of a list; 1 for an atom, 0 for null.
int sexp_list_length(const elt* sx);
// Depth first, in document order: the first atom whose text is name.
elt* find_sexp(const char* name, elt* start);
// The atoms of the chain first, then each list of the chain by the same rule.
elt* bfs_find_sexp(const char* name, elt* start);

#endif
