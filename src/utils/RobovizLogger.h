#ifndef UTILS_ROBOVIZLOGGER_H
#define UTILS_ROBOVIZLOGGER_H

#include <string>

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"

struct addrinfo;

// A drawing colour; each component is sent as the low 8 bits of 255 * value.
class plotColor {
public:
    float r;
    float g;
    float b;

    plotColor(float red, float green, float blue);
};

// Debug drawing in the RoboViz visualiser: one UDP datagram per shape, sent
// to the local machine. Points are given in the agent's own field frame and
// mirrored by the game side. When set-up failed every draw does nothing.
class RobovizLogger {
public:
    plotColor cyan;
    plotColor magenta;
    plotColor yellow;
    plotColor red;
    plotColor blue;
    plotColor green;
    plotColor orange;
    plotColor purple;
    plotColor black;
    plotColor white;

    int sockfd;
    // Destination of every datagram, an entry of servinfo.
    struct addrinfo* p;
    struct addrinfo* servinfo;

    static RobovizLogger& Instance();

    // A client sending to the given host and service (port).
    RobovizLogger(const std::string& host, const std::string& service);
    RobovizLogger(const RobovizLogger&) = delete;
    RobovizLogger& operator=(const RobovizLogger&) = delete;
    virtual ~RobovizLogger();

    // 0 on success, 1 when the address cannot be resolved, 2 when no socket
    // can be made.
    int init();
    void destroy();

    void swapBuffers(const std::string* setName);
    void drawLine(int side, float x1, float y1, float z1, float x2, float y2, float z2,
                  float thickness, float r, float g, float b, const std::string* setName);
    void drawCircle(int side, float x, float y, float radius, float thickness, float r, float g,
                    float b, const std::string* setName);
    void drawSphere(int side, float x, float y, float z, float radius, float r, float g, float b,
                    const std::string* setName);
    void drawPoint(int side, float x, float y, float z, float size, float r, float g, float b,
                   const std::string* setName);
    // v holds numVerts (x, y, z) triples; not mirrored.
    void drawPolygon(const float* v, int numVerts, float r, float g, float b, float a,
                     const std::string* setName);
    void drawAnnotation(int side, const std::string* text, float x, float y, float z, float r,
                        float g, float b, const std::string* setName);
    // Sent at (x, -y, z).
    void drawAnnotation(const std::string* text, float x, float y, float z, float r, float g,
                        float b, const std::string* setName);

    // The side is read from the world state's game state at each call.
    void drawLine(Vector p1, Vector p2, plotColor c, std::string setName);
    void drawCircle(Vector centre, float radius, plotColor c, std::string setName);
    void drawAnnotation(std::string text, Vector3f p, plotColor c, std::string setName);

private:
    std::string host;
    std::string service;

    void send(unsigned char* buf, int size);
};

#endif
