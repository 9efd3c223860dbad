#include "utils/Logger.h"

Logger::Logger() : initialized(false) {}

void Logger::initialize(const std::string& /*fileName*/) {}

void Logger::LogAction2(int /*level*/, const std::string& /*message*/) {}

void Logger::LogDrawPoint(int /*level*/, float /*x*/, float /*y*/, const std::string& /*colour*/) {}

void Logger::LogDrawLine(int /*level*/, float /*x1*/, float /*y1*/, float /*x2*/, float /*y2*/,
                         const std::string& /*colour*/) {}

void Logger::LogDrawCross(int /*level*/, float /*x*/, float /*y*/, float /*size*/,
                          const std::string& /*colour*/) {}

void Logger::LogDrawSquare(int /*level*/, float /*x*/, float /*y*/, float /*halfSide*/,
                           const std::string& /*colour*/) {}

void Logger::LogDrawCircle(int /*level*/, float /*x*/, float /*y*/, float /*radius*/,
                           const std::string& /*colour*/) {}

void Logger::LogDrawRectangle(int /*level*/, float /*x*/, float /*y*/, float /*size*/,
                              const std::string& /*colour*/) {}

void Logger::LogDrawRectangle(int /*level*/, float /*x1*/, float /*y1*/, float /*x2*/,
                              float /*y2*/, const std::string& /*colour*/) {}

void Logger::LogDrawText(int /*level*/, float /*x*/, float /*y*/, const std::string& /*text*/,
                         const std::string& /*colour*/) {}

void Logger::LogDrawClear(int /*level*/) {}
