#ifndef UTILS_TACTICALMAPLOGGER_H
#define UTILS_TACTICALMAPLOGGER_H

#include <cstdio>

// Writes "@TacticalMap" drawing commands to a C stream (standard output by
// default).
class TacticalMapLogger {
public:
    enum Color { white = 1, black, blue, red, green, yellow, cyan, magenta, orange };

    TacticalMapLogger();
    ~TacticalMapLogger();

    void drawNAO(float x, float y, float angle, Color color);
    void drawBall(float x, float y, float speedX, float speedY, Color color);
    void drawLabel(int labelNumber, const char* text);
    void think();
    void write(const char* message);

    // Writes to a stream owned by the caller.
    void setOutput(FILE* output);
    // Writes to a new file; 0 on success, -1 (old stream kept) when it
    // cannot be opened.
    int setOutput(const char* fileName);

    FILE* outputDescriptor;

private:
    TacticalMapLogger(const TacticalMapLogger&);
    TacticalMapLogger& operator=(const TacticalMapLogger&);

    void closeOwnedFile();

    bool ownsOutput;  // outputDescriptor was opened by setOutput(fileName)
};

#endif
