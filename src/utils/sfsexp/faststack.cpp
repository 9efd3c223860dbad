#include "utils/sfsexp/faststack.h"

#include <cstdlib>

#include "utils/sfsexp/sexp.h"

sexp_stack* make_stack() {
  sexp_stack* s = static_cast<sexp_stack*>(std::calloc(1, sizeof(sexp_stack)));
  if (!s) sexp_errno = SEXP_ERR_MEMORY;
  return s;
}

void destroy_stack(sexp_stack* s) {
  if (!s) {
    sexp_errno = SEXP_ERR_BAD_STACK;
    return;
  }
  stack_lvl_t* cell = s->bottom;
  while (cell) {
    stack_lvl_t* above = cell->above;
    std::free(cell);
    cell = above;
  }
  std::free(s);
}

sexp_stack* push(sexp_stack* s, void* data) {
  if (!s) {
    sexp_errno = SEXP_ERR_BAD_STACK;
    return nullptr;
  }
  stack_lvl_t* cell = s->top ? s->top->above : s->bottom;
  if (!cell) {
    cell = static_cast<stack_lvl_t*>(std::calloc(1, sizeof(stack_lvl_t)));
    if (!cell) {
      sexp_errno = SEXP_ERR_MEMORY;
      return nullptr;
    }
    cell->below = s->top;
    if (s->top)
      s->top->above = cell;
    else
      s->bottom = cell;
  }
  cell->data = data;
  s->top = cell;
  s->height++;
  return s;
}

stack_lvl_t* pop(sexp_stack* s) {
  if (!s) {
    sexp_errno = SEXP_ERR_BAD_STACK;
    return nullptr;
  }
  stack_lvl_t* cell = s->top;
  if (!cell) return nullptr;
  s->top = cell->below;
  s->height--;
  return cell;
}
