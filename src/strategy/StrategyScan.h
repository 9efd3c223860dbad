#ifndef STRATEGY_STRATEGYSCAN_H
#define STRATEGY_STRATEGYSCAN_H

#include <cstdio>
#include <stdexcept>
#include <string>

// Line-by-line value scanning of the strategy files. Values are read from
// the shared buffer `line`: gint and gfloat skip everything that cannot start
// a value and stop at ')', ',', a blank or the end of the line. An integer
// too long for an int reads as the largest int of its sign.

extern char line[512];

// Thrown by the scanners when the line holds no further value.
class MissingValue : public std::runtime_error {
public:
    MissingValue() : std::runtime_error("missing value") {}
};

// Next line of the file into `line` (at most 199 characters); null at the end
// of the file.
char* gl(FILE* file);

int gint(char** cursor);
float gfloat(char** cursor);
int gint(char* text);
float gfloat(char* text);

// A data file read through `line`, with the number of the line read last.
// Reading past the end or fail() reports "file:line: what" on standard error
// and ends the process with status 1.
class ScanFile {
public:
    ScanFile(FILE* file, const std::string& name);

    // Reads the next line; ends the process at the end of the file.
    char* next();
    // Reads the next line; null at the end of the file.
    char* tryNext();

    [[noreturn]] void fail(const std::string& what) const;

    // Value of the current line, ending the process when it has none.
    int nextInt(char** cursor) const;
    float nextFloat(char** cursor) const;

    // Ends the process when value lies outside [lo, hi].
    int checked(int value, int lo, int hi, const char* what) const;

    const std::string& name() const { return m_name; }
    int lineNumber() const { return m_line; }

private:
    FILE* m_file;
    std::string m_name;
    int m_line;       // number of the line read last
    bool m_lineOpen;  // the last read stopped before a newline
};

#endif
