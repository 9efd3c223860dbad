#ifndef UTILS_LOGGER_H
#define UTILS_LOGGER_H

#include <fstream>
#include <string>

// Text trace logger of actions and drawings, reached through
// Singleton<Logger>. It is never initialised, so every output operation
// returns at once without writing anything.
class Logger {
public:
    Logger();

    // Leaves the logger uninitialised: no file is opened.
    void initialize(const std::string& fileName);

    void LogAction2(int level, const std::string& message);
    template <typename... Args>
    void LogActionN(int /*level*/, const char* /*format*/, Args&&... /*values*/) {}

    void LogDrawPoint(int level, float x, float y, const std::string& colour);
    void LogDrawLine(int level, float x1, float y1, float x2, float y2, const std::string& colour);
    void LogDrawCross(int level, float x, float y, float size, const std::string& colour);
    void LogDrawSquare(int level, float x, float y, float halfSide, const std::string& colour);
    void LogDrawCircle(int level, float x, float y, float radius, const std::string& colour);
    void LogDrawRectangle(int level, float x, float y, float size, const std::string& colour);
    void LogDrawRectangle(int level, float x1, float y1, float x2, float y2,
                          const std::string& colour);
    void LogDrawText(int level, float x, float y, const std::string& text,
                     const std::string& colour);
    template <typename... Args>
    void LogDrawTextN(int /*level*/, float /*x*/, float /*y*/, const char* /*format*/,
                      const std::string& /*colour*/, Args&&... /*values*/) {}
    void LogDrawClear(int level);

    std::string logFileName;
    std::ofstream logStream;
    bool initialized;
};

#endif
