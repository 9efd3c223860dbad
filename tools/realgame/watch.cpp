// realgame-watch: follows a real server's monitor port and prints, for every
// scene update, the game clock, play mode, score, the ball and every robot's
// torso. Lines read on stdin are passed on as monitor commands.
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>

#include "Link.h"
#include "SceneGraph.h"

namespace {

void usage(std::ostream& out) {
  out << "usage: realgame-watch [--host H] [--monitor-port N]\n"
         "Connects to a server's monitor port (default 127.0.0.1:3200), keeps its scene graph and prints\n"
         "one line per scene frame taken:\n"
         "  F TIME PM HALF SL SR BX BY P...\n"
         "TIME the game clock, PM the play mode's number, HALF 1 or 2, SL SR the score, BX BY the ball\n"
         "(nan when not shown), then per robot shown \"L3 X Y Z TILT\" (side L or R, shirt number, torso\n"
         "centre in m, torso tilt from upright in degrees). Every line read on stdin is sent as one\n"
         "monitor command, e.g. \"(kickOff None)\". Ends when the server closes the port or stdin ends.\n";
}

// The number after "(key " in the frame's header; false when absent.
bool headerNumber(const std::string& head, const char* key, double& out) {
  const std::string k = std::string("(") + key + " ";
  const size_t at = head.find(k);
  if (at == std::string::npos) return false;
  char* end = nullptr;
  const double v = std::strtod(head.c_str() + at + k.size(), &end);
  if (end == head.c_str() + at + k.size()) return false;
  out = v;
  return true;
}

struct Game {
  double time = 0, playMode = 0, half = 1, left = 0, right = 0;

  void take(const std::string& frame) {
    size_t scene = frame.find("(RDS");
    const size_t full = frame.find("(RSG");
    if (full < scene) scene = full;
    const std::string head = frame.substr(0, scene == std::string::npos ? frame.size() : scene);
    headerNumber(head, "time", time);
    headerNumber(head, "play_mode", playMode);
    headerNumber(head, "half", half);
    headerNumber(head, "score_left", left);
    headerNumber(head, "score_right", right);
  }
};

void print(const Game& g, const fieldtest::SceneGraph& scene) {
  std::string line;
  char buf[128];
  double bx = 0, by = 0;
  if (!scene.ball(bx, by)) bx = by = std::numeric_limits<double>::quiet_NaN();
  std::snprintf(buf, sizeof buf, "F %.2f %d %d %d %d %.3f %.3f", g.time, static_cast<int>(g.playMode),
                static_cast<int>(g.half), static_cast<int>(g.left), static_cast<int>(g.right), bx, by);
  line = buf;
  for (int side = 1; side <= 2; ++side)
    for (int unum = 1; unum <= 11; ++unum) {
      fieldtest::BodyPose p;
      if (!scene.torso(side, unum, p)) continue;
      std::snprintf(buf, sizeof buf, " %c%d %.3f %.3f %.3f %.1f", side == 1 ? 'L' : 'R', unum, p.x, p.y, p.z,
                    p.tilt);
      line += buf;
    }
  std::cout << line << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  std::string host = "127.0.0.1";
  int port = 3200;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      usage(std::cout);
      return 0;
    }
    if (a == "--host" && i + 1 < argc) {
      host = argv[++i];
    } else if (a == "--monitor-port" && i + 1 < argc) {
      port = std::atoi(argv[++i]);
    } else {
      usage(std::cerr);
      return 2;
    }
  }
  fieldtest::Link link;
  std::string error;
  if (!link.connect(host, port, error)) {
    std::cerr << "realgame-watch: " << error << '\n';
    return 1;
  }
  fieldtest::SceneGraph scene;
  Game game;
  std::string pending;
  while (link.open()) {
    if (auto frame = link.receive(10)) {
      game.take(*frame);
      if (scene.apply(*frame)) {
        print(game, scene);
      } else if (!scene.empty()) {
        link.send("(reqfullstate)");  // an update that does not fit the scene held
      }
      continue;
    }
    std::cout.flush();
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) continue;
    char buf[4096];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) break;
    pending.append(buf, static_cast<size_t>(n));
    size_t nl;
    while ((nl = pending.find('\n')) != std::string::npos) {
      const std::string command = pending.substr(0, nl);
      pending.erase(0, nl + 1);
      if (!command.empty()) link.send(command);
    }
  }
  std::cout.flush();
  return 0;
}
