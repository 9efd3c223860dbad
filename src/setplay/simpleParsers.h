#ifndef OSTREVANDA_SETPLAY_SIMPLEPARSERS_H
#define OSTREVANDA_SETPLAY_SIMPLEPARSERS_H

#include <boost/spirit/include/classic_actor.hpp>
#include <boost/spirit/include/classic_chset.hpp>
#include <boost/spirit/include/classic_core.hpp>

#include <cmath>
#include <cstdlib>
#include <string>

namespace ostrevanda {
namespace setplay {

namespace sp = BOOST_SPIRIT_CLASSIC_NS;

namespace {

// Blanks and ASCII letters and digits, whatever the locale says.
const sp::chset<> white_p(" \t\n\v\f\r");
const sp::rule<> letterDigit_p = sp::range_p('a', 'z') | sp::range_p('A', 'Z') | sp::range_p('0', '9');

const sp::rule<> identifier_p = +(letterDigit_p | sp::ch_p('_') | sp::ch_p('-'));
const sp::rule<> textNoParentesis_p =
    +(letterDigit_p | sp::ch_p('.') | sp::ch_p('/') | sp::ch_p(':') | sp::ch_p('-') | sp::ch_p('_') | sp::ch_p('~'));
const sp::rule<> comparison_p =
    sp::str_p("<=") | sp::str_p("<") | sp::str_p("==") | sp::str_p("!=") | sp::str_p(">=") | sp::str_p(">");
const sp::rule<> agentID_p = sp::str_p("(agent-identifier") >> +white_p >> sp::str_p(":name") >> +white_p >>
                             identifier_p >> +white_p >> sp::str_p(":addresses") >> +white_p >>
                             sp::str_p("(sequence") >> *(+white_p >> textNoParentesis_p) >> *white_p >>
                             sp::ch_p(')') >> *white_p >> sp::ch_p(')');

}  // namespace

// A reading position in a text: each read skips the blanks before its token,
// and a read that fails leaves the position where it was.
class Scan {
public:
    // Reads the caller's text in place until reset() gives it a text of its own.
    explicit Scan(const std::string& text) : s_(&text), pos_(0) {}
    explicit Scan(std::string&&) = delete;
    Scan(const Scan& other) : own_(other.own_), s_(other.s_ == &other.own_ ? &own_ : other.s_), pos_(other.pos_) {}
    Scan& operator=(const Scan& other) {
        own_ = other.own_;
        s_ = other.s_ == &other.own_ ? &own_ : other.s_;
        pos_ = other.pos_;
        return *this;
    }

    template <typename P>
    bool match(const P& p) {
        const char* first = s_->data() + pos_;
        sp::parse_info<const char*> info = sp::parse(first, s_->data() + s_->size(), p);
        if (!info.hit) return false;
        // The match length undercounts a real number with a leading or trailing
        // point; where the parse stopped is exact.
        pos_ += static_cast<std::size_t>(info.stop - first);
        return true;
    }

    void skip() { match(*white_p); }
    // Blanks, then the literal.
    bool kw(const char* literal) { return match(*white_p >> sp::str_p(literal)); }
    bool ch(char c) { return match(*white_p >> sp::ch_p(c)); }
    bool identifier(std::string& v) { return match(*white_p >> identifier_p[sp::assign_a(v)]); }
    bool integer(int& v) { return match(*white_p >> sp::int_p[sp::assign_a(v)]); }
    bool unsignedInt(unsigned& v) { return match(*white_p >> sp::uint_p[sp::assign_a(v)]); }
    bool real(double& v) {
        std::size_t keep = pos_;
        if (!match(*white_p >> sp::real_p)) return false;
        // The matched text read again: the parser's own value of a very small
        // number is inexact, so it would not print back as itself.
        const std::string matched = s_->substr(keep, pos_ - keep);
        const double r = std::strtod(matched.c_str(), nullptr);
        if (!std::isfinite(r)) {
            pos_ = keep;
            return false;
        }
        v = r;
        return true;
    }
    // Blanks, then the name as a plain prefix of the text, then blanks when asked.
    bool prefix(const std::string& name, bool trailingBlanks) {
        std::size_t keep = pos_;
        skip();
        if (name.empty() || s_->compare(pos_, name.size(), name) != 0) {
            pos_ = keep;
            return false;
        }
        pos_ += name.size();
        if (trailingBlanks) skip();
        return true;
    }
    // The next character after blanks, or 0 at the end (the position is kept).
    char peek() const {
        std::size_t p = pos_;
        while (p < s_->size() && isBlank((*s_)[p])) ++p;
        return p < s_->size() ? (*s_)[p] : '\0';
    }
    bool atEnd() const { return pos_ >= s_->size(); }

    std::string rest() const { return s_->substr(pos_); }
    void reset(const std::string& text) {
        own_ = text;
        s_ = &own_;
        pos_ = 0;
    }

    // Reads a nested construct with parse(rest, out) and continues after it.
    template <typename F>
    auto nested(F f) -> decltype(f(std::string(), std::declval<std::string&>())) {
        std::string out;
        auto r = f(rest(), out);
        if (r) reset(out);
        return r;
    }

    static bool isBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

private:
    std::string own_;
    const std::string* s_;
    std::size_t pos_;
};

// Bounds the nesting of recursive constructs, so hand-edited text cannot
// exhaust the stack: deeper constructs do not parse.
class NestingGuard {
public:
    NestingGuard() { ++depth(); }
    ~NestingGuard() { --depth(); }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    bool tooDeep() const { return depth() > MAX_DEPTH; }
    static const int MAX_DEPTH = 64;

private:
    static int& depth() {
        static int d = 0;
        return d;
    }
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
