#ifndef SFSEXP_FASTSTACK_H
#define SFSEXP_FASTSTACK_H

// Stack of data pointers over doubly linked cells. Popped cells stay linked
// above the top and are reused by later pushes; only destroy_stack frees cells,
// never the data they point to.

struct stack_lvl_t {
  stack_lvl_t* above;
  stack_lvl_t* below;
  void* data;
};

struct sexp_stack {
  stack_lvl_t* top;     // null when the stack is empty
  stack_lvl_t* bottom;  // first cell ever made, null before the first push
  int height;
};

typedef sexp_stack faststack_t;

sexp_stack* make_stack();
void destroy_stack(sexp_stack* s);
// Returns the stack, or null (null stack or no memory).
sexp_stack* push(sexp_stack* s, void* data);
// Returns the former top cell (its data still readable), or null when empty.
stack_lvl_t* pop(sexp_stack* s);

// Data of the top cell, or null when the stack is empty.
inline void* top_data(const sexp_stack* s) {
  return (s && s->top) ? s->top->data : nullptr;
}

#endif
