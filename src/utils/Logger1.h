#ifndef UTILS_LOGGER1_H
#define UTILS_LOGGER1_H

#include <fstream>
#include <sstream>
#include <string>

#include "geometry/Vector3f.h"

// Records a series of 3-D points and saves it as three bracketed rows,
// one per coordinate, after the number of samples.
class Logger1 {
public:
    Logger1();
    // Saves what is left and closes the file.
    ~Logger1();

    static Logger1& getUniqueInstance();

    void setLogPath(std::string path);
    // Creates or truncates the file at the log path.
    void openLogFile();
    void log(Vector3f p);
    void saveNCloseLog();

    std::ofstream logFile;
    std::string filePath;
    std::stringstream s1;
    std::stringstream s2;
    std::stringstream s3;
    unsigned int dataCount;

    static Logger1* uniqueInstance;

private:
    Logger1(const Logger1&);
    Logger1& operator=(const Logger1&);
};

#endif
