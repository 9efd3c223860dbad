#ifndef TESTS_PHYSICS_SERVERCAPTURE_H
#define TESTS_PHYSICS_SERVERCAPTURE_H

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"

// Points the server link at one end of a socket pair and reads back the
// framed messages that were sent through it.
class ServerCapture {
public:
    ServerCapture() {
        fds[0] = fds[1] = -1;
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0) {
            previous = Singleton<ServerComm>::getInstance().sock.socketfd;
            Singleton<ServerComm>::getInstance().sock.socketfd = fds[0];
        }
    }
    ~ServerCapture() {
        if (fds[0] >= 0) {
            Singleton<ServerComm>::getInstance().sock.socketfd = previous;
            close(fds[0]);
            close(fds[1]);
        }
    }

    // Every message sent so far, in order, without the length prefixes.
    std::vector<std::string> messages() {
        std::vector<std::string> out;
        std::string data = drain();
        size_t pos = 0;
        while (pos + 4 <= data.size()) {
            uint32_t len;
            std::copy(data.begin() + pos, data.begin() + pos + 4, reinterpret_cast<char*>(&len));
            len = ntohl(len);
            pos += 4;
            out.push_back(data.substr(pos, len));
            pos += len;
        }
        return out;
    }

private:
    int fds[2];
    int previous = -1;

    std::string drain() {
        std::string data;
        char buf[4096];
        for (;;) {
            ssize_t n = recv(fds[1], buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0) {
                break;
            }
            data.append(buf, static_cast<size_t>(n));
        }
        return data;
    }
};

#endif
