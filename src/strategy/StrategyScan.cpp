#include "strategy/StrategyScan.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

char line[512];

char* gl(FILE* file)
{
    if (fgets(line, 200, file) == nullptr) {
        line[0] = '\0';
        return nullptr;
    }
    return line;
}

namespace {

bool endsValue(char c) { return c == ')' || c == ' ' || c == '\n' || c == ',' || c == '\0'; }

bool endOfLine(char c) { return c == '\0' || c == '\n'; }

}  // namespace

int gint(char** cursor)
{
    char* p = *cursor;
    while (!endOfLine(*p) && !(*p >= '0' && *p <= '9') && *p != '-')
        p++;
    if (endOfLine(*p)) {
        *cursor = p;
        throw MissingValue();
    }
    int value = 0;
    bool negative = false;
    for (; !endsValue(*p); p++) {
        if (*p == '-')
            negative = true;
        else if (*p >= '0' && *p <= '9')
            value = value > (INT_MAX - (*p - '0')) / 10 ? INT_MAX : value * 10 + (*p - '0');
    }
    *cursor = p;
    return negative ? -value : value;
}

float gfloat(char** cursor)
{
    char* p = *cursor;
    while (!endOfLine(*p) && !(*p >= '0' && *p <= '9') && *p != '-' && *p != '.')
        p++;
    if (endOfLine(*p)) {
        *cursor = p;
        throw MissingValue();
    }
    float value = 0;
    float scale = 1;
    bool fraction = false;
    bool negative = false;
    for (; !endsValue(*p); p++) {
        if (*p == '-') {
            negative = true;
        } else if (*p == '.') {
            fraction = true;
        } else if (*p >= '0' && *p <= '9') {
            if (fraction) {
                scale /= 10;
                value += (*p - '0') * scale;
            } else {
                value = value * 10 + (*p - '0');
            }
        }
    }
    *cursor = p;
    return negative ? -value : value;
}

int gint(char* text) { return gint(&text); }

float gfloat(char* text) { return gfloat(&text); }

ScanFile::ScanFile(FILE* file, const std::string& name)
    : m_file(file), m_name(name), m_line(0), m_lineOpen(false)
{
}

char* ScanFile::tryNext()
{
    char* l = gl(m_file);
    if (l == nullptr)
        return nullptr;
    // A line longer than the buffer continues in the next read.
    if (!m_lineOpen)
        m_line++;
    const size_t n = strlen(l);
    m_lineOpen = n == 0 || l[n - 1] != '\n';
    return l;
}

char* ScanFile::next()
{
    char* l = tryNext();
    if (l == nullptr) {
        m_line++;
        fail("unexpected end of file");
    }
    return l;
}

void ScanFile::fail(const std::string& what) const
{
    std::ostringstream msg;
    msg << m_name << ":" << m_line << ": " << what << "\n";
    fputs(msg.str().c_str(), stderr);
    fflush(stderr);
    exit(1);
}

int ScanFile::nextInt(char** cursor) const
{
    try {
        return gint(cursor);
    } catch (const MissingValue& e) {
        fail(e.what());
    }
}

float ScanFile::nextFloat(char** cursor) const
{
    try {
        return gfloat(cursor);
    } catch (const MissingValue& e) {
        fail(e.what());
    }
}

int ScanFile::checked(int value, int lo, int hi, const char* what) const
{
    if (value < lo || value > hi) {
        std::ostringstream msg;
        msg << what << " " << value << " outside " << lo << ".." << hi;
        fail(msg.str());
    }
    return value;
}
