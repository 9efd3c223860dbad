#ifndef OSTREVANDA_SETPLAY_SETPLAYEXCEPTION_H
#define OSTREVANDA_SETPLAY_SETPLAYEXCEPTION_H

#include <exception>
#include <string>

namespace ostrevanda {
namespace setplay {

// The library's one error type: malformed text and broken invariants.
class SetplayException : public std::exception {
public:
    explicit SetplayException(std::string msg) : message(std::move(msg)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
