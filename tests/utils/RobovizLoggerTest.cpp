#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "utils/robovizdraw.h"
#include "world/WorldState.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// A UDP listener on 127.0.0.1 at a port of the system's choice.
class Listener {
public:
    Listener()
    {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        port = ntohs(addr.sin_port);
        timeval tv{2, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~Listener() { close(fd); }

    // The next datagram; empty after a time-out.
    Bytes receive()
    {
        unsigned char buf[2048];
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        return n > 0 ? Bytes(buf, buf + n) : Bytes();
    }

    int fd;
    int port;
};

// Builds expected datagrams.
class Packet {
public:
    Packet& byte(int b)
    {
        bytes.push_back(static_cast<unsigned char>(b));
        return *this;
    }
    // Six characters, no terminator.
    Packet& text(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // A string and its zero byte.
    Packet& str(const std::string& s)
    {
        text(s);
        return byte(0);
    }
    Bytes bytes;
};

class RobovizTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(listener.port, 0);
        client.reset(new RobovizLogger("127.0.0.1", std::to_string(listener.port)));
        ASSERT_NE(client->p, nullptr);
    }
    void TearDown() override { Singleton<WorldState>::getInstance().game->side = 0; }

    void setSide(int side) { Singleton<WorldState>::getInstance().game->side = side; }

    Listener listener;
    std::unique_ptr<RobovizLogger> client;
};

} // namespace

TEST(RobovizEncoding, FloatsAreSixCharacters)
{
    struct Case {
        float value;
        const char* sent;
    };
    const Case cases[] = {
        {1.5f, "1.5000"},   {-0.25f, "-0.250"}, {0.05f, "0.0500"}, {10, "10.000"},
        {123456, "123456"}, {-2, "-2.000"},     {0, "0.0000"},     {3.4e38f, "339999"},
        {-1e20f, "-10000"},
    };
    for (const Case& c : cases) {
        unsigned char buf[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
        EXPECT_EQ(writeFloatToBuf(buf, c.value), 6);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 6), c.sent) << c.value;
        EXPECT_EQ(buf[6], 'x');
    }
}

TEST(RobovizEncoding, ColourMembersGoOutAsTheirBytes)
{
    RobovizLogger client("127.0.0.1", "9");
    struct Case {
        plotColor colour;
        int r, g, b;
    };
    const Case cases[] = {
        {client.cyan, 1, 255, 255},   {client.magenta, 255, 1, 255}, {client.yellow, 255, 255, 1},
        {client.red, 255, 1, 1},      {client.blue, 1, 1, 255},      {client.green, 1, 255, 1},
        {client.orange, 206, 86, 86}, {client.purple, 66, 66, 66},   {client.black, 0, 0, 0},
        {client.white, 1, 1, 1},      {plotColor(1, 0.5f, -1), 255, 127, 1},
    };
    for (const Case& c : cases) {
        float rgb[3] = {c.colour.r, c.colour.g, c.colour.b};
        unsigned char buf[3];
        EXPECT_EQ(writeColorToBuf(buf, rgb, 3), 3);
        EXPECT_EQ(buf[0], c.r);
        EXPECT_EQ(buf[1], c.g);
        EXPECT_EQ(buf[2], c.b);
    }
}

TEST(RobovizEncoding, StringsEndWithAZeroByte)
{
    unsigned char buf[8];
    std::string s = "abc";
    EXPECT_EQ(writeStringToBuf(buf, &s), 4);
    EXPECT_EQ(Bytes(buf, buf + 4), Packet().str("abc").bytes);
    EXPECT_EQ(writeStringToBuf(buf, nullptr), 1);
    EXPECT_EQ(buf[0], 0);
}

TEST_F(RobovizTest, BufferSwap)
{
    std::string empty;
    client->swapBuffers(&empty);
    EXPECT_EQ(listener.receive(), Packet().byte(0).byte(0).byte(0).bytes);
    std::string name = "ball";
    client->swapBuffers(&name);
    EXPECT_EQ(listener.receive(), Packet().byte(0).byte(0).str("ball").bytes);
}

TEST_F(RobovizTest, CircleMirroredBySide)
{
    setSide(1);
    client->drawCircle(Vector(1, 2), 0.5f, client->red, "A");
    Bytes left = listener.receive();
    EXPECT_EQ(left.size(), 31u);
    EXPECT_EQ(left, Packet()
                        .byte(1).byte(0)
                        .text("1.0000").text("-2.000").text("0.5000").text("10.000")
                        .byte(255).byte(1).byte(1)
                        .str("A")
                        .bytes);

    setSide(2);
    client->drawCircle(Vector(1, 2), 0.5f, client->red, "A");
    EXPECT_EQ(listener.receive(), Packet()
                                      .byte(1).byte(0)
                                      .text("-1.000").text("2.0000").text("0.5000").text("10.000")
                                      .byte(255).byte(1).byte(1)
                                      .str("A")
                                      .bytes);
}

TEST_F(RobovizTest, LineMirroredBySide)
{
    setSide(1);
    client->drawLine(Vector(1, 2), Vector(-3, 0.5f), client->white, "path");
    Packet left;
    left.byte(1).byte(1)
        .text("1.0000").text("-2.000").text("0.0500")
        .text("-3.000").text("-0.500").text("0.0300")
        .text("10.000").byte(1).byte(1).byte(1).str("path");
    EXPECT_EQ(listener.receive(), left.bytes);

    setSide(2);
    client->drawLine(Vector(1, 2), Vector(-3, 0.5f), client->white, "path");
    Packet right;
    right.byte(1).byte(1)
        .text("-1.000").text("2.0000").text("0.0500")
        .text("3.0000").text("0.5000").text("0.0300")
        .text("10.000").byte(1).byte(1).byte(1).str("path");
    EXPECT_EQ(listener.receive(), right.bytes);
}

TEST_F(RobovizTest, AnnotationMirroredLikeTheOtherShapes)
{
    setSide(1);
    client->drawAnnotation("hi", Vector3f(1, 2, 0.5f), client->green, "notes");
    Packet left;
    left.byte(2).byte(0)
        .text("1.0000").text("-2.000").text("0.5000")
        .byte(1).byte(255).byte(1).str("hi").str("notes");
    Bytes got = listener.receive();
    EXPECT_EQ(got.size(), 25u + 2 + 5);
    EXPECT_EQ(got, left.bytes);

    setSide(2);
    client->drawAnnotation("hi", Vector3f(1, 2, 0.5f), client->green, "notes");
    Packet right;
    right.byte(2).byte(0)
        .text("-1.000").text("2.0000").text("0.5000")
        .byte(1).byte(255).byte(1).str("hi").str("notes");
    EXPECT_EQ(listener.receive(), right.bytes);

    // Without a side the point is sent at (x, -y, z).
    std::string text = "t";
    client->drawAnnotation(&text, 1, 2, 3, 0, 0, 0, nullptr);
    EXPECT_EQ(listener.receive(), Packet()
                                      .byte(2).byte(0)
                                      .text("1.0000").text("-2.000").text("3.0000")
                                      .byte(0).byte(0).byte(0).str("t").str("")
                                      .bytes);
}

TEST_F(RobovizTest, SphereAndPointMirroredBySide)
{
    std::string set = "s";
    client->drawSphere(1, 1, 2, 3, 0.25f, 1, 1, 1, &set);
    EXPECT_EQ(listener.receive(), Packet()
                                      .byte(1).byte(3)
                                      .text("1.0000").text("-2.000").text("3.0000").text("0.2500")
                                      .byte(255).byte(255).byte(255).str("s")
                                      .bytes);
    client->drawPoint(2, 1, 2, 3, 4, 0, 1, 0, &set);
    EXPECT_EQ(listener.receive(), Packet()
                                      .byte(1).byte(2)
                                      .text("-1.000").text("2.0000").text("3.0000").text("4.0000")
                                      .byte(0).byte(255).byte(0).str("s")
                                      .bytes);
}

TEST_F(RobovizTest, PolygonIsNotMirrored)
{
    const float v[6] = {1, 2, 0, -1, 0.5f, 0};
    std::string set = "poly";
    client->drawPolygon(v, 2, 1, 0, 0, 1, &set);
    Bytes got = listener.receive();
    EXPECT_EQ(got.size(), 8u + 36 + 4);
    EXPECT_EQ(got, Packet()
                       .byte(1).byte(4).byte(2)
                       .byte(255).byte(0).byte(0).byte(255)
                       .text("1.0000").text("2.0000").text("0.0000")
                       .text("-1.000").text("0.5000").text("0.0000")
                       .str("poly")
                       .bytes);

    // A vertex count that does not fit its byte sends nothing.
    std::vector<float> many(3 * 300, 0.0f);
    client->drawPolygon(many.data(), 300, 1, 1, 1, 1, &set);
    client->drawPolygon(v, -1, 1, 1, 1, 1, &set);
    std::string marker = "end";
    client->swapBuffers(&marker);
    EXPECT_EQ(listener.receive(), Packet().byte(0).byte(0).str("end").bytes);
}

TEST(RobovizPackets, AgentAnnotations)
{
    float colour[3] = {1, 0, 0};
    std::string text = "go";
    int size = 0;
    unsigned char* buf = newAgentAnnotation(&text, true, 3, colour, &size);
    EXPECT_EQ(Bytes(buf, buf + size), Packet().byte(2).byte(1).byte(2)
                                          .byte(255).byte(0).byte(0).str("go").bytes);
    delete[] buf;
    buf = newAgentAnnotation(&text, false, 3, colour, &size);
    EXPECT_EQ(size, 9);
    EXPECT_EQ(buf[2], 130);
    delete[] buf;
    buf = newAgentAnnotation(nullptr, false, 11, colour, &size);
    EXPECT_EQ(Bytes(buf, buf + size), Packet().byte(2).byte(2).byte(138).bytes);
    delete[] buf;
}

TEST(RobovizSetup, UnresolvableDestinationDrawsNothing)
{
    testing::internal::CaptureStderr();
    RobovizLogger client("127.0.0.1", "no-such-service-here");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("getaddrinfo: ", 0), 0u) << err;
    EXPECT_EQ(client.p, nullptr);
    EXPECT_EQ(client.servinfo, nullptr);

    std::string set = "x";
    const float v[3] = {0, 0, 0};
    client.swapBuffers(&set);
    client.drawLine(1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, &set);
    client.drawCircle(Vector(0, 0), 1, client.red, "x");
    client.drawAnnotation("t", Vector3f(0, 0, 0), client.red, "x");
    client.drawSphere(2, 0, 0, 0, 1, 1, 1, 1, &set);
    client.drawPoint(2, 0, 0, 0, 1, 1, 1, 1, &set);
    client.drawPolygon(v, 1, 1, 1, 1, 1, &set);
}
