#include "utils/robovizdraw.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

int stringSize(const std::string* text) { return text == nullptr ? 0 : static_cast<int>(text->size()); }

unsigned char* allocate(int size, int* bufSize)
{
    *bufSize = size;
    return new unsigned char[size];
}

} // namespace

int writeCharToBuf(unsigned char* buf, unsigned char value)
{
    *buf = value;
    return 1;
}

int writeFloatToBuf(unsigned char* buf, float value)
{
    // Room for the longest rendering of any float.
    char text[400];
    std::snprintf(text, sizeof text, "%6f", static_cast<double>(value));
    std::memcpy(buf, text, 6);
    return 6;
}

int writeColorToBuf(unsigned char* buf, const float* color, int channels)
{
    for (int i = 0; i < channels; ++i) {
        float scaled = 255.0f * color[i];
        double whole = std::trunc(static_cast<double>(scaled));
        unsigned char byte = 0;
        if (std::isfinite(whole)) {
            double low = std::fmod(whole, 256.0);
            if (low < 0)
                low += 256.0;
            byte = static_cast<unsigned char>(low);
        }
        buf[i] = byte;
    }
    return channels;
}

int writeStringToBuf(unsigned char* buf, const std::string* text)
{
    int n = stringSize(text);
    if (n > 0)
        std::memcpy(buf, text->data(), n);
    buf[n] = 0;
    return n + 1;
}

unsigned char* newBufferSwap(const std::string* name, int* bufSize)
{
    unsigned char* buf = allocate(3 + stringSize(name), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 0);
    at += writeCharToBuf(at, 0);
    writeStringToBuf(at, name);
    return buf;
}

unsigned char* newCircle(const float* center, float radius, float thickness, const float* color,
                         const std::string* setName, int* bufSize)
{
    unsigned char* buf = allocate(30 + stringSize(setName), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 1);
    at += writeCharToBuf(at, 0);
    at += writeFloatToBuf(at, center[0]);
    at += writeFloatToBuf(at, center[1]);
    at += writeFloatToBuf(at, radius);
    at += writeFloatToBuf(at, thickness);
    at += writeColorToBuf(at, color, 3);
    writeStringToBuf(at, setName);
    return buf;
}

unsigned char* newLine(const float* a, const float* b, float thickness, const float* color,
                       const std::string* setName, int* bufSize)
{
    unsigned char* buf = allocate(48 + stringSize(setName), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 1);
    at += writeCharToBuf(at, 1);
    for (int i = 0; i < 3; ++i)
        at += writeFloatToBuf(at, a[i]);
    for (int i = 0; i < 3; ++i)
        at += writeFloatToBuf(at, b[i]);
    at += writeFloatToBuf(at, thickness);
    at += writeColorToBuf(at, color, 3);
    writeStringToBuf(at, setName);
    return buf;
}

namespace {

// Point and sphere share one layout: a position, a size, a colour.
unsigned char* newRound(unsigned char kind, const float* p, float size, const float* color,
                        const std::string* setName, int* bufSize)
{
    unsigned char* buf = allocate(30 + stringSize(setName), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 1);
    at += writeCharToBuf(at, kind);
    for (int i = 0; i < 3; ++i)
        at += writeFloatToBuf(at, p[i]);
    at += writeFloatToBuf(at, size);
    at += writeColorToBuf(at, color, 3);
    writeStringToBuf(at, setName);
    return buf;
}

} // namespace

unsigned char* newPoint(const float* p, float size, const float* color,
                        const std::string* setName, int* bufSize)
{
    return newRound(2, p, size, color, setName, bufSize);
}

unsigned char* newSphere(const float* p, float radius, const float* color,
                         const std::string* setName, int* bufSize)
{
    return newRound(3, p, radius, color, setName, bufSize);
}

unsigned char* newPolygon(const float* v, int numVerts, const float* color,
                          const std::string* setName, int* bufSize)
{
    // The vertex count travels in one byte.
    if (numVerts < 0 || numVerts > 255 || (numVerts > 0 && v == nullptr)) {
        *bufSize = 0;
        return nullptr;
    }
    unsigned char* buf = allocate(8 + 18 * numVerts + stringSize(setName), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 1);
    at += writeCharToBuf(at, 4);
    at += writeCharToBuf(at, static_cast<unsigned char>(numVerts));
    at += writeColorToBuf(at, color, 4);
    for (int i = 0; i < 3 * numVerts; ++i)
        at += writeFloatToBuf(at, v[i]);
    writeStringToBuf(at, setName);
    return buf;
}

unsigned char* newAnnotation(const std::string* text, const float* p, const float* color,
                             const std::string* setName, int* bufSize)
{
    unsigned char* buf = allocate(25 + stringSize(text) + stringSize(setName), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 2);
    at += writeCharToBuf(at, 0);
    for (int i = 0; i < 3; ++i)
        at += writeFloatToBuf(at, p[i]);
    at += writeColorToBuf(at, color, 3);
    at += writeStringToBuf(at, text);
    writeStringToBuf(at, setName);
    return buf;
}

unsigned char* newAgentAnnotation(const std::string* text, bool leftTeam, int agentNum,
                                  const float* color, int* bufSize)
{
    unsigned char agent = static_cast<unsigned char>(leftTeam ? agentNum - 1 : agentNum + 127);
    if (text == nullptr) {
        unsigned char* buf = allocate(3, bufSize);
        buf[0] = 2;
        buf[1] = 2;
        buf[2] = agent;
        return buf;
    }
    unsigned char* buf = allocate(7 + stringSize(text), bufSize);
    unsigned char* at = buf;
    at += writeCharToBuf(at, 2);
    at += writeCharToBuf(at, 1);
    at += writeCharToBuf(at, agent);
    at += writeColorToBuf(at, color, 3);
    writeStringToBuf(at, text);
    return buf;
}
