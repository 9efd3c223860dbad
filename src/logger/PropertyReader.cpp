#include "logger/PropertyReader.h"

#include <fstream>
#include <sstream>

namespace {

// A pair written as key=value must read back as the same pair.
void checkWritable(const Properties& p) {
    for (Properties::const_iterator it = p.begin(); it != p.end(); ++it) {
        const std::string& key = it->first;
        if (key.empty() || key[0] == '#' || key.find('=') != std::string::npos ||
            key.find('\n') != std::string::npos || it->second.find('\n') != std::string::npos) {
            throw BadPropertyFormatException();
        }
    }
}

}  // namespace

Properties PropertyReader::read(const std::string& fileName) const {
    std::ifstream in(fileName.c_str());
    if (!in.is_open()) {
        throw PropertyStreamError();
    }
    return read(in);
}

Properties PropertyReader::read(std::istream& in) const {
    Properties result;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::string::size_type eq = line.find('=');
        if (eq == std::string::npos || eq == 0) {
            throw BadPropertyFormatException();
        }
        result.setProperty(line.substr(0, eq), line.substr(eq + 1));
    }
    if (in.bad()) {
        throw PropertyStreamError();
    }
    return result;
}

void PropertyReader::write(std::ostream& out, const std::string& message,
                           const Properties& p) const {
    checkWritable(p);
    if (!message.empty()) {
        std::istringstream lines(message);
        std::string line;
        while (std::getline(lines, line)) {
            out << '#' << line << '\n';
        }
    }
    for (Properties::const_iterator it = p.begin(); it != p.end(); ++it) {
        out << it->first << '=' << it->second << '\n';
    }
    if (out.bad()) {
        throw PropertyStreamError();
    }
}

void PropertyReader::write(std::ostream& out, Properties& p) const {
    if (out.fail()) {
        throw PropertyStreamError();
    }
    write(out, std::string(), p);
}

void PropertyReader::write(const std::string& fileName, const std::string& message,
                           const Properties& p) const {
    checkWritable(p);  // before the file is truncated
    std::ofstream out(fileName.c_str(), std::ios::out | std::ios::trunc);
    if (!out.is_open()) {
        throw PropertyStreamError();
    }
    write(out, message, p);
    out.close();
    if (out.fail()) {
        throw PropertyStreamError();
    }
}

void PropertyReader::write(const std::string& fileName, const Properties& p) const {
    write(fileName, std::string(), p);
}
