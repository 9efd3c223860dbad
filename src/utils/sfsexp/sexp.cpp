#include "utils/sfsexp/sexp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "utils/sfsexp/sexp_internal.h"

int sexp_errno = SEXP_ERR_OK;

void reset_sexp_errno() { sexp_errno = SEXP_ERR_OK; }

namespace {

// Released nodes and level records, kept for reuse.
sexp_stack* sexp_t_cache = nullptr;
sexp_stack* pd_cache = nullptr;

void* take_cached(sexp_stack* cache) {
  if (cache && cache->height > 0) return pop(cache)->data;
  return nullptr;
}

void release_to(sexp_stack*& cache, void* p) {
  if (!cache) cache = make_stack();
  if (!cache || !push(cache, p)) std::free(p);
}

void free_cache(sexp_stack*& cache) {
  if (!cache) return;
  while (cache->height > 0) std::free(pop(cache)->data);
  destroy_stack(cache);
  cache = nullptr;
}

}  // namespace

bool sexp_strip::advance(size_t n) {
  sexp_chunk* next = cur ? cur->next : first;
  if (!next || next->size < n) {
    size_t size = n > chunkSize ? n : chunkSize;
    next = static_cast<sexp_chunk*>(std::malloc(sizeof(sexp_chunk) + size));
    if (!next) return false;
    next->size = size;
    SEXP_POISON(next->data(), size);
    if (cur) {
      next->next = cur->next;
      cur->next = next;
    } else {
      next->next = first;
      first = next;
    }
  }
  cur = next;
  pos = next->data();
  end = pos + next->size;
  return true;
}

void sexp_strip::reset(size_t keep) {
  size_t kept = 0;
  sexp_chunk** link = &first;
  while (sexp_chunk* c = *link) {
    if (kept + c->size <= keep) {
      kept += c->size;
      SEXP_POISON(c->data(), c->size);
      link = &c->next;
    } else {
      *link = c->next;
      SEXP_UNPOISON(c->data(), c->size);
      std::free(c);
    }
  }
  cur = nullptr;
  pos = end = nullptr;
}

namespace {

// Spare blocks of this thread, reused by the next parse.
struct ArenaPool {
  sexp_arena* head = nullptr;
  int count = 0;
  ~ArenaPool() { clear(); }
  void clear() {
    while (sexp_arena* a = head) {
      head = a->nextFree;
      a->nodes.reset(0);
      a->texts.reset(0);
      delete a;
    }
    count = 0;
  }
};
thread_local ArenaPool arena_pool;

const int kSpareArenas = 4;
// Memory a spare block keeps of each strip; a huge tree's extra chunks go.
const size_t kKeepNodes = 64 * 256 * sizeof(sexp_t);
const size_t kKeepTexts = 1 << 20;

void arena_recycle(sexp_arena* a) {
  ArenaPool& pool = arena_pool;
  if (pool.count >= kSpareArenas) {
    a->nodes.reset(0);
    a->texts.reset(0);
    delete a;
    return;
  }
  a->nodes.reset(kKeepNodes);
  a->texts.reset(kKeepTexts);
  a->nextFree = pool.head;
  pool.head = a;
  pool.count++;
}

}  // namespace

sexp_arena* arena_open() {
  ArenaPool& pool = arena_pool;
  sexp_arena* a = pool.head;
  if (a) {
    pool.head = a->nextFree;
    pool.count--;
    a->nextFree = nullptr;
  } else {
    a = new (std::nothrow) sexp_arena;
    if (!a) {
      sexp_errno = SEXP_ERR_MEMORY;
      return nullptr;
    }
  }
  a->live = 0;
  a->held = true;
  return a;
}

void arena_close(sexp_arena* a) {
  if (!a) return;
  a->held = false;
  if (a->live == 0) arena_recycle(a);
}

void arena_release(sexp_t* node) {
  sexp_arena* a = node->arena;
  if (node->ty == SEXP_VALUE && node->val)
    SEXP_POISON(node->val, (node->val_allocated + 7) & ~static_cast<size_t>(7));
  SEXP_POISON(node, sizeof(sexp_t));
  if (--a->live == 0 && !a->held) arena_recycle(a);
}

sexp_t* sexp_t_allocate() {
  void* p = take_cached(sexp_t_cache);
  if (!p) p = std::malloc(sizeof(sexp_t));
  if (!p) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  std::memset(p, 0, sizeof(sexp_t));
  return static_cast<sexp_t*>(p);
}

void sexp_t_deallocate(sexp_t* sx) {
  if (!sx) return;
  if (sx->arena) {
    if (sx->ty == SEXP_VALUE && sx->bindata) std::free(sx->bindata);
    arena_release(sx);
    return;
  }
  if (sx->ty == SEXP_VALUE) {
    std::free(sx->val);
    std::free(sx->bindata);
  }
  sx->val = nullptr;
  sx->bindata = nullptr;
  sx->list = nullptr;
  sx->next = nullptr;
  release_to(sexp_t_cache, sx);
}

void* pd_allocate() {
  void* p = take_cached(pd_cache);
  if (!p) p = std::malloc(sizeof(parse_data_t));
  if (!p) {
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  std::memset(p, 0, sizeof(parse_data_t));
  return p;
}

void pd_deallocate(void* pd) {
  if (pd) release_to(pd_cache, pd);
}

void sexp_cleanup() {
  free_cache(sexp_t_cache);
  free_cache(pd_cache);
  arena_pool.clear();
}

namespace {

// Nodes released from one block, counted off its live nodes at once.
struct ReleaseBatch {
  sexp_arena* arena = nullptr;
  size_t count = 0;

  void flush() {
    if (!arena) return;
    arena->live -= count;
    if (arena->live == 0 && !arena->held) arena_recycle(arena);
    arena = nullptr;
    count = 0;
  }

  void release(elt* sx) {
    if (!sx->arena) {
      sexp_t_deallocate(sx);  // frees an atom's text or bytes
      return;
    }
    // a parsed node: its text goes with its block
    if (sx->ty == SEXP_VALUE) {
      if (sx->bindata) std::free(sx->bindata);
      if (sx->val) SEXP_POISON(sx->val, (sx->val_allocated + 7) & ~static_cast<size_t>(7));
    }
    if (sx->arena != arena) {
      flush();
      arena = sx->arena;
    }
    ++count;
    SEXP_POISON(sx, sizeof(sexp_t));
  }
};

}  // namespace

// Iterative, so deep or long trees need no recursion: a list whose elements
// are being freed waits on a stack linked through its own list field and is
// freed after them.
void destroy_sexp(elt* sx) {
  ReleaseBatch batch;
  elt* open = nullptr;
  for (;;) {
    while (sx) {
      elt* next = sx->next;
      if (sx->ty == SEXP_LIST && sx->list) {
        elt* child = sx->list;
        sx->list = open;
        open = sx;
        sx = child;
        continue;
      }
      batch.release(sx);
      sx = next;
    }
    if (!open) break;
    elt* done = open;
    open = done->list;
    sx = done->next;
    batch.release(done);
  }
  batch.flush();
}

elt* new_sexp_list(elt* first) {
  elt* sx = sexp_t_allocate();
  if (!sx) return nullptr;
  sx->ty = SEXP_LIST;
  sx->list = first;
  return sx;
}

elt* new_sexp_atom(const char* text, size_t len, atom_t aty) {
  if (!text) {
    sexp_errno = SEXP_ERR_NULLSTRING;
    return nullptr;
  }
  elt* sx = sexp_t_allocate();
  if (!sx) return nullptr;
  sx->val = static_cast<char*>(std::malloc(len + 1));
  if (!sx->val) {
    sexp_t_deallocate(sx);
    sexp_errno = SEXP_ERR_MEMORY;
    return nullptr;
  }
  std::memcpy(sx->val, text, len);
  sx->val[len] = '\0';
  sx->ty = SEXP_VALUE;
  sx->aty = aty;
  sx->val_allocated = sx->val_used = len + 1;
  return sx;
}

namespace {

// Copies one node and its list, not its siblings.
elt* copy_one(const elt* sx) {
  elt* c = sexp_t_allocate();
  if (!c) return nullptr;
  c->ty = sx->ty;
  c->aty = sx->aty;
  if (sx->ty == SEXP_LIST) {
    if (sx->list) {
      c->list = copy_sexp(sx->list);
      if (!c->list) {
        sexp_t_deallocate(c);
        return nullptr;
      }
    }
    return c;
  }
  if (sx->aty == SEXP_BINARY && (sx->bindata || sx->binlength)) {
    if (!sx->bindata) {
      sexp_t_deallocate(c);
      sexp_errno = SEXP_ERR_BADCONTENT;
      return nullptr;
    }
    c->bindata = static_cast<char*>(std::malloc(sx->binlength ? sx->binlength : 1));
    if (!c->bindata) {
      sexp_t_deallocate(c);
      sexp_errno = SEXP_ERR_MEMORY;
      return nullptr;
    }
    std::memcpy(c->bindata, sx->bindata, sx->binlength);
    c->binlength = sx->binlength;
    return c;
  }
  if (sx->val_used) {
    if (!sx->val) {
      sexp_t_deallocate(c);
      sexp_errno = SEXP_ERR_BADCONTENT;
      return nullptr;
    }
    // A quoted list counts no NUL in val_used: keep the copy terminated.
    size_t room = sx->val_used;
    if (sx->val[sx->val_used - 1] != '\0') room++;
    c->val = static_cast<char*>(std::malloc(room));
    if (!c->val) {
      sexp_t_deallocate(c);
      sexp_errno = SEXP_ERR_MEMORY;
      return nullptr;
    }
    std::memcpy(c->val, sx->val, sx->val_used);
    c->val[room - 1] = '\0';
    c->val_allocated = room;
    c->val_used = sx->val_used;
  }
  return c;
}

}  // namespace

elt* copy_sexp(const elt* sx) {
  elt* head = nullptr;
  elt** tail = &head;
  for (; sx; sx = sx->next) {
    elt* c = copy_one(sx);
    if (!c) {
      destroy_sexp(head);
      return nullptr;
    }
    *tail = c;
    tail = &c->next;
  }
  return head;
}

// ---------------------------------------------------------------- printing

namespace {

// Output either into a fixed buffer or into a growable string.
struct Out {
  char* buf = nullptr;
  size_t size = 0;
  size_t used = 0;
  sexp_string* str = nullptr;
  bool failed = false;
  bool cstr_binary_blank = false;

  void put(const char* p, size_t n) {
    if (failed) return;
    if (str) {
      for (size_t i = 0; i < n; ++i) {
        if (!saddch(str, p[i])) {
          failed = true;
          return;
        }
      }
      return;
    }
    // keep one byte for the NUL
    if (used + n + 1 > size) {
      size_t room = size - 1 - used;
      std::memcpy(buf + used, p, room);
      used += room;
      failed = true;
      sexp_errno = SEXP_ERR_BUFFER_FULL;
      return;
    }
    std::memcpy(buf + used, p, n);
    used += n;
  }
  void put(char c) { put(&c, 1); }
  void puts(const char* p) { put(p, std::strlen(p)); }
};

bool emit(Out& o, const elt* sx) {
  if (sx->ty == SEXP_LIST) {
    o.put('(');
    for (const elt* e = sx->list; e; e = e->next) {
      if (!emit(o, e)) return false;
      if (e->next) o.put(' ');
    }
    o.put(')');
    return !o.failed;
  }
  if (sx->ty != SEXP_VALUE) {
    sexp_errno = SEXP_ERR_BADCONTENT;
    o.failed = true;
    return false;
  }
  const char* v = sx->val ? sx->val : "";
  switch (sx->aty) {
    case SEXP_BASIC:
      o.puts(v);
      break;
    case SEXP_SQUOTE:
      o.put('\'');
      o.puts(v);
      break;
    case SEXP_DQUOTE:
      o.put('"');
      for (const char* p = v; *p; ++p) {
        if (*p == '"' || *p == '\\') o.put('\\');
        o.put(*p);
      }
      o.put('"');
      break;
    case SEXP_BINARY: {
      char head[32];
      std::snprintf(head, sizeof head, "#b#%lu#", static_cast<unsigned long>(sx->binlength));
      o.puts(head);
      if (sx->bindata) o.put(sx->bindata, sx->binlength);
      if (o.cstr_binary_blank) o.put(' ');
      break;
    }
    default:
      sexp_errno = SEXP_ERR_BADCONTENT;
      o.failed = true;
      return false;
  }
  return !o.failed;
}

}  // namespace

int print_sexp(char* buf, size_t size, const elt* sx) {
  if (!buf) {
    sexp_errno = SEXP_ERR_BAD_PARAM;
    return -1;
  }
  if (size == 0) {
    sexp_errno = SEXP_ERR_BUFFER_FULL;
    return -1;
  }
  buf[0] = '\0';
  if (!sx) {
    sexp_errno = SEXP_ERR_NULLSTRING;
    return -1;
  }
  Out o;
  o.buf = buf;
  o.size = size;
  bool ok = emit(o, sx);
  buf[o.used] = '\0';
  return ok ? static_cast<int>(o.used) : -1;
}

int print_sexp_cstr(sexp_string** s, const elt* sx, size_t size) {
  if (!s) {
    sexp_errno = SEXP_ERR_BAD_PARAM;
    return -1;
  }
  if (!sx) {
    sexp_errno = SEXP_ERR_NULLSTRING;
    return -1;
  }
  if (!*s) {
    *s = snew(size);
    if (!*s) return -1;
  } else {
    sempty(*s);
  }
  Out o;
  o.str = *s;
  o.cstr_binary_blank = true;
  if (!emit(o, sx)) return -1;
  return static_cast<int>((*s)->curlen);
}
