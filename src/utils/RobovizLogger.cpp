#include "utils/RobovizLogger.h"

#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include "utils/Singleton.h"
#include "utils/robovizdraw.h"
#include "world/WorldState.h"

namespace {

// Mirrors a point of the agent's frame by the game side.
void mirror(int side, float& x, float& y)
{
    if (side == 1)
        y = -y;
    else
        x = -x;
}

int gameSide() { return Singleton<WorldState>::getInstance().game->side; }

} // namespace

plotColor::plotColor(float red, float green, float blue) : r(red), g(green), b(blue) {}

RobovizLogger& RobovizLogger::Instance()
{
    static RobovizLogger instance("localhost", "32769");
    return instance;
}

RobovizLogger::RobovizLogger(const std::string& hostName, const std::string& serviceName)
    : cyan(255, 1, 1), magenta(1, 255, 1), yellow(1, 1, 255), red(1, 255, 255),
      blue(255, 255, 1), green(255, 1, 255), orange(50, 170, 170), purple(190, 190, 190),
      black(0, 0, 0), white(255, 255, 255), sockfd(-1), p(nullptr), servinfo(nullptr),
      host(hostName), service(serviceName)
{
    init();
}

RobovizLogger::~RobovizLogger() { destroy(); }

int RobovizLogger::init()
{
    struct addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;

    int rv = getaddrinfo(host.c_str(), service.c_str(), &hints, &servinfo);
    if (rv != 0) {
        std::fprintf(stderr, "getaddrinfo: %s\n", gai_strerror(rv));
        servinfo = nullptr;
        return 1;
    }

    for (p = servinfo; p != nullptr; p = p->ai_next) {
        sockfd = socket(p->ai_family, p->ai_socktype, p->ai_protocol);
        if (sockfd == -1) {
            std::perror("socket");
            continue;
        }
        break;
    }

    if (p == nullptr) {
        std::fprintf(stderr, "failed to bind socket\n");
        return 2;
    }
    return 0;
}

void RobovizLogger::destroy()
{
    if (servinfo != nullptr)
        freeaddrinfo(servinfo);
    servinfo = nullptr;
    p = nullptr;
    if (sockfd != -1)
        close(sockfd);
    sockfd = -1;
}

void RobovizLogger::send(unsigned char* buf, int size)
{
    if (buf != nullptr && p != nullptr && sockfd != -1)
        sendto(sockfd, buf, size, 0, p->ai_addr, p->ai_addrlen);
    delete[] buf;
}

void RobovizLogger::swapBuffers(const std::string* setName)
{
    int size = 0;
    unsigned char* buf = newBufferSwap(setName, &size);
    send(buf, size);
}

void RobovizLogger::drawLine(int side, float x1, float y1, float z1, float x2, float y2,
                             float z2, float thickness, float r, float g, float b,
                             const std::string* setName)
{
    mirror(side, x1, y1);
    mirror(side, x2, y2);
    float pa[3] = {x1, y1, z1};
    float pb[3] = {x2, y2, z2};
    float color[3] = {r, g, b};
    int size = 0;
    unsigned char* buf = newLine(pa, pb, thickness, color, setName, &size);
    send(buf, size);
}

void RobovizLogger::drawCircle(int side, float x, float y, float radius, float thickness,
                               float r, float g, float b, const std::string* setName)
{
    mirror(side, x, y);
    float center[2] = {x, y};
    float color[3] = {r, g, b};
    int size = 0;
    unsigned char* buf = newCircle(center, radius, thickness, color, setName, &size);
    send(buf, size);
}

void RobovizLogger::drawSphere(int side, float x, float y, float z, float radius, float r,
                               float g, float b, const std::string* setName)
{
    mirror(side, x, y);
    float pos[3] = {x, y, z};
    float color[3] = {r, g, b};
    int size = 0;
    unsigned char* buf = newSphere(pos, radius, color, setName, &size);
    send(buf, size);
}

void RobovizLogger::drawPoint(int side, float x, float y, float z, float size, float r, float g,
                              float b, const std::string* setName)
{
    mirror(side, x, y);
    float pos[3] = {x, y, z};
    float color[3] = {r, g, b};
    int bufSize = 0;
    unsigned char* buf = newPoint(pos, size, color, setName, &bufSize);
    send(buf, bufSize);
}

void RobovizLogger::drawPolygon(const float* v, int numVerts, float r, float g, float b, float a,
                                const std::string* setName)
{
    float color[4] = {r, g, b, a};
    int size = 0;
    unsigned char* buf = newPolygon(v, numVerts, color, setName, &size);
    send(buf, size);
}

void RobovizLogger::drawAnnotation(int side, const std::string* text, float x, float y, float z,
                                   float r, float g, float b, const std::string* setName)
{
    mirror(side, x, y);
    drawAnnotation(text, x, y, z, r, g, b, setName);
}

void RobovizLogger::drawAnnotation(const std::string* text, float x, float y, float z, float r,
                                   float g, float b, const std::string* setName)
{
    float pos[3] = {x, -y, z};
    float color[3] = {r, g, b};
    int size = 0;
    unsigned char* buf = newAnnotation(text, pos, color, setName, &size);
    send(buf, size);
}

void RobovizLogger::drawLine(Vector p1, Vector p2, plotColor c, std::string setName)
{
    drawLine(gameSide(), p1.x, p1.y, 0.05f, p2.x, p2.y, 0.03f, 10, c.r, c.g, c.b, &setName);
}

void RobovizLogger::drawCircle(Vector centre, float radius, plotColor c, std::string setName)
{
    drawCircle(gameSide(), centre.x, centre.y, radius, 10, c.r, c.g, c.b, &setName);
}

void RobovizLogger::drawAnnotation(std::string text, Vector3f pos, plotColor c,
                                   std::string setName)
{
    drawAnnotation(gameSide(), &text, pos.x, -pos.y, pos.z, c.r, c.g, c.b, &setName);
}
