#ifndef UTILS_UTIL_H
#define UTILS_UTIL_H

#include <cmath>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>
#include <typeinfo>

// A value that could not be converted.
class BadParameter : public std::exception {
public:
    explicit BadParameter(const std::string& what) : m_What(what) {}
    const char* what() const noexcept override { return m_What.c_str(); }

private:
    std::string m_What;
};

// Converts a value through its text form: writes it, then reads back one
// whitespace-delimited word as a T (for example the decimal text of an int).
template <typename T, typename U>
T convert_to(const U& value) {
    std::stringstream stream;
    if (!(stream << value)) {
        throw BadParameter("Error converting " + stream.str());
    }
    T result;
    if (!(stream >> result)) {
        throw BadParameter("Error converting " + stream.str() + " to " + typeid(T).name());
    }
    return result;
}

// Whether the whole of text is one finite number; it goes to out then.
inline bool parseFinite(const std::string& text, double& out) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || end != text.c_str() + text.size() || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

#endif
