#ifndef RCSS_UTIL_NULLERR_H
#define RCSS_UTIL_NULLERR_H

#include <exception>
#include <string>

namespace rcss {
namespace util {

// Raised when a composite condition meets a missing member.
class NullErr : public std::exception {
public:
    NullErr(const char* file, const int& line, const char* msg)
        : M_msg(std::string(file) + ": " + std::to_string(line) + ": " + msg) {}
    const char* what() const noexcept override { return M_msg.c_str(); }

private:
    std::string M_msg;
};

}  // namespace util
}  // namespace rcss

#endif
