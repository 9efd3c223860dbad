#include "utils/sfsexp/sexp_vis.h"

#include <cstdint>
#include <cstdio>

namespace {

unsigned long id(const elt* e) { return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(e)); }

void write_chain(FILE* fp, const elt* sx) {
  for (; sx; sx = sx->next) {
    std::fprintf(fp, "  sx%lu [shape=record,label=\"", id(sx));
    if (sx->ty == SEXP_LIST) {
      std::fprintf(fp, "<type> SEXP_LIST");
      std::fprintf(fp, "| <list> list | <next> next\"];\n");
    } else {
      std::fprintf(fp, "{ <type> SEXP_VALUE | ");
      switch (sx->aty) {
        case SEXP_BASIC: std::fprintf(fp, "SEXP_BASIC }"); break;
        case SEXP_SQUOTE: std::fprintf(fp, "SEXP_SQUOTE }"); break;
        case SEXP_DQUOTE: std::fprintf(fp, "SEXP_DQUOTE }"); break;
        case SEXP_BINARY: std::fprintf(fp, "SEXP_BINARY }"); break;
        default: std::fprintf(fp, "ATY Unknown }"); break;
      }
      if (sx->aty == SEXP_BINARY)
        std::fprintf(fp, "| binlength=%lu | <next> next\"];\n",
                     static_cast<unsigned long>(sx->binlength));
      else
        std::fprintf(fp, "| { va=%lu | vu=%lu } | val=%s | <next> next\"];\n",
                     static_cast<unsigned long>(sx->val_allocated),
                     static_cast<unsigned long>(sx->val_used), sx->val ? sx->val : "");
    }
    if (sx->ty == SEXP_LIST && sx->list) {
      std::fprintf(fp, "  sx%lu:list -> sx%lu:type;\n", id(sx), id(sx->list));
      write_chain(fp, sx->list);
    }
    if (sx->next) std::fprintf(fp, "  sx%lu:next -> sx%lu:type;\n", id(sx), id(sx->next));
  }
}

}  // namespace

int sexp_to_dotfile(const elt* sx, const char* fname) {
  if (!sx || !fname) return SEXP_ERR_NULLSTRING;
  FILE* fp = std::fopen(fname, "w");
  if (!fp) return SEXP_ERR_IO;
  std::fprintf(fp, "digraph sexp {\n");
  write_chain(fp, sx);
  std::fprintf(fp, "}\n");
  std::fclose(fp);
  return SEXP_ERR_OK;
}
