#include "utils/Logger1.h"

#include <iostream>

Logger1* Logger1::uniqueInstance = nullptr;

Logger1::Logger1() : dataCount(0) {}

Logger1::~Logger1() { saveNCloseLog(); }

Logger1& Logger1::getUniqueInstance() {
    if (uniqueInstance == nullptr) {
        uniqueInstance = new Logger1();
    }
    return *uniqueInstance;
}

void Logger1::setLogPath(std::string path) { filePath = path; }

void Logger1::openLogFile() {
    logFile.open(filePath.c_str(), std::ios::out | std::ios::trunc);
    if (!logFile.is_open()) {
        std::cerr << "Could not open logFile: " << filePath << std::endl;
    }
}

void Logger1::log(Vector3f p) {
    s1 << p.x << " \t";
    s2 << p.y << " \t";
    s3 << p.z << " \t";
    ++dataCount;
}

void Logger1::saveNCloseLog() {
    if (!logFile.is_open()) {
        return;
    }
    logFile << dataCount << "\n";
    logFile << "[" << s1.str() << "];" << std::endl;
    logFile << "[" << s2.str() << "];" << std::endl;
    logFile << "[" << s3.str() << "];" << std::endl;
    logFile.close();
}
