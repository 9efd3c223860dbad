// Fuzz target: the s-expression parser, on server messages of any content.
// What it reads must print, copy (the copy printing the same) and print
// through the growable string the same; the printed text is read again.
// (Atom text is printed as it is, so a printed escape need not read back.)
#include <cstdint>
#include <cstring>
#include <vector>

#include "utils/sfsexp/sexp.h"

namespace {

struct Tree {
    sexp_t* t;
    explicit Tree(sexp_t* tree) : t(tree) {}
    ~Tree() { destroy_sexp(t); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
};

// The printed text, or empty when it does not fit.
std::vector<char> printed(const sexp_t* t, size_t room) {
    std::vector<char> buf(room);
    const int n = print_sexp(buf.data(), buf.size(), t);
    if (n < 0) return std::vector<char>();
    if (static_cast<size_t>(n) >= buf.size() || buf[n] != '\0') __builtin_trap();
    buf.resize(n);
    return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    Tree tree(parse_sexp(text.data(), size));
    if (!tree.t) return 0;
    const size_t room = 4 * size + 64;
    std::vector<char> once = printed(tree.t, room);
    if (once.empty()) return 0;

    Tree copy(copy_sexp(tree.t));
    if (!copy.t || printed(copy.t, room) != once) __builtin_trap();

    sexp_string* str = nullptr;
    if (print_sexp_cstr(&str, tree.t, 16) >= 0 && str->curlen == once.size() &&
        std::memcmp(str->base, once.data(), once.size()) != 0)
        __builtin_trap();
    sdestroy(str);

    // A lone atom is complete only once a delimiter follows it.
    std::vector<char> again = once;
    again.push_back(' ');
    again.push_back('\0');
    Tree reread(parse_sexp(again.data(), again.size() - 1));
    if (reread.t) printed(reread.t, room);
    return 0;
}
