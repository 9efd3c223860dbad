// Fuzz target: the reader of "config.ini" (key=value lines) and the logging
// settings taken from it. What it reads must write out and read back the same.
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "logger/BadPropertyFormatException.h"
#include "logger/LogParameters.h"
#include "logger/LoggerConfigurator.h"
#include "logger/Properties.h"
#include "logger/PropertyReader.h"
#include "logger/PropertyStreamError.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PropertyReader reader;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Properties read;
    try {
        read = reader.read(in);
    } catch (const BadPropertyFormatException&) {
        return 0;
    } catch (const PropertyStreamError&) {
        return 0;
    }
    LogParameters& log = LogParameters::instance();
    const log_level_t level = log.level();
    const bool active = log.active();
    LoggerConfigurator(read).Configure(log);
    read.Get("NOME");
    log.level(level);
    log.active(active);

    std::ostringstream out;
    try {
        reader.write(out, "fuzz", read);
    } catch (const BadPropertyFormatException&) {
        return 0;
    }
    std::istringstream back(out.str());
    const Properties again = reader.read(back);
    if (again.size() != read.size()) __builtin_trap();
    for (Properties::const_iterator it = read.begin(); it != read.end(); ++it)
        if (!again.exists(it->first) || again.Get(it->first) != it->second) __builtin_trap();
    return 0;
}
