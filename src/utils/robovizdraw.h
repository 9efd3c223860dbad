#ifndef UTILS_ROBOVIZDRAW_H
#define UTILS_ROBOVIZDRAW_H

#include <string>

// Writers of the visualiser's drawing datagrams. Each returns a buffer of
// exactly *bufSize bytes, allocated with new[]; the caller frees it with
// delete[]. Points are (x, y, z) and colours (r, g, b) or (r, g, b, a) float
// arrays; a null name or text is written as an empty string. A writer that
// cannot build its datagram returns null with *bufSize 0.

// One byte; returns 1.
int writeCharToBuf(unsigned char* buf, unsigned char value);
// The float as printf "%6f", cut to its first six characters; returns 6.
int writeFloatToBuf(unsigned char* buf, float value);
// One byte per channel: the low 8 bits of 255 * component, truncated;
// returns channels.
int writeColorToBuf(unsigned char* buf, const float* color, int channels);
// The characters and a zero byte; returns the length + 1.
int writeStringToBuf(unsigned char* buf, const std::string* text);

unsigned char* newBufferSwap(const std::string* name, int* bufSize);
unsigned char* newCircle(const float* center, float radius, float thickness, const float* color,
                         const std::string* setName, int* bufSize);
unsigned char* newLine(const float* a, const float* b, float thickness, const float* color,
                       const std::string* setName, int* bufSize);
unsigned char* newPoint(const float* p, float size, const float* color,
                        const std::string* setName, int* bufSize);
unsigned char* newSphere(const float* p, float radius, const float* color,
                         const std::string* setName, int* bufSize);
// v holds numVerts (x, y, z) triples; numVerts must be 0 to 255.
unsigned char* newPolygon(const float* v, int numVerts, const float* color,
                          const std::string* setName, int* bufSize);
unsigned char* newAnnotation(const std::string* text, const float* p, const float* color,
                             const std::string* setName, int* bufSize);
// A null text removes the agent's annotation.
unsigned char* newAgentAnnotation(const std::string* text, bool leftTeam, int agentNum,
                                  const float* color, int* bufSize);

#endif
