#include "Truth.h"

#include <algorithm>
#include <cmath>

#include "Sexp.h"

namespace fieldtest {

namespace {

using practice::SNode;

constexpr int kReplyMs = 5000;

bool number(const SNode* list, size_t index, double& out) {
  return list && list->items.size() > index && practice::toNumber(list->items[index], out);
}

}  // namespace

bool StateTruth::parse(const std::string& reply, int side, int unum, BodyPose& out) {
  const std::vector<SNode> top = practice::readSexps(reply);
  if (top.empty() || top.front().head() != "state") return false;
  const std::string team = side == 1 ? "Left" : side == 2 ? "Right" : "";
  for (const SNode& player : top.front().items) {
    if (player.head() != "player") continue;
    const SNode* t = player.find("team");
    double u = 0;
    if (!t || t->items.size() < 2 || t->items[1].atom != team || !number(player.find("unum"), 1, u) ||
        static_cast<int>(u) != unum)
      continue;
    const SNode* pos = player.find("pos");
    BodyPose p;
    if (!number(pos, 1, p.x) || !number(pos, 2, p.y) || !number(pos, 3, p.z) ||
        !number(player.find("heading"), 1, p.heading))
      return false;
    double pitch = 0, roll = 0;
    const SNode* torso = player.find("torso");
    if (torso && number(torso->find("pitch"), 1, pitch) && number(torso->find("roll"), 1, roll)) {
      // The up axis after pitch and roll: its angle from vertical.
      const double c = std::cos(pitch * M_PI / 180.0) * std::cos(roll * M_PI / 180.0);
      p.tilt = std::acos(std::max(-1.0, std::min(1.0, c))) * 180.0 / M_PI;
      p.tiltKnown = true;
    }
    const SNode* lying = player.find("lying");
    p.lying = lying && lying->items.size() >= 2 && lying->items[1].atom != "no";
    out = p;
    return true;
  }
  return false;
}

bool StateTruth::parseBall(const std::string& reply, double& x, double& y) {
  const std::vector<SNode> top = practice::readSexps(reply);
  if (top.empty() || top.front().head() != "state") return false;
  const SNode* ball = top.front().find("ball");
  const SNode* pos = ball ? ball->find("pos") : nullptr;
  double bx = 0, by = 0;
  if (!number(pos, 1, bx) || !number(pos, 2, by)) return false;
  x = bx;
  y = by;
  return true;
}

bool StateTruth::state(std::string& reply) {
  // Drop anything unasked for, then ask.
  while (link_.receive(0)) {
  }
  if (!link_.send("(state)")) return false;
  for (;;) {
    auto r = link_.receive(kReplyMs);
    if (!r) return false;
    if (r->rfind("(state", 0) == 0) {
      reply = *r;
      return true;
    }
  }
}

bool StateTruth::pose(int side, int unum, BodyPose& out) {
  std::string reply;
  return state(reply) && parse(reply, side, unum, out);
}

bool StateTruth::ball(double& x, double& y) {
  std::string reply;
  return state(reply) && parseBall(reply, x, y);
}

void SceneTruth::take() {
  while (auto frame = link_.receive(0)) {
    const bool applied = scene_.apply(*frame);
    if (!applied && !scene_.empty()) {
      // An update that does not fit: ask for the whole scene again.
      link_.send("(reqfullstate)");
    }
  }
}

bool SceneTruth::pose(int side, int unum, BodyPose& out) {
  take();
  return scene_.torso(side, unum, out);
}

bool SceneTruth::ball(double& x, double& y) {
  take();
  return scene_.ball(x, y);
}

bool SceneTruth::ball(double& x, double& y, double& z) {
  take();
  return scene_.ball(x, y, z);
}

std::unique_ptr<Truth> makeTruth(bool practiceServer) {
  if (practiceServer) return std::make_unique<StateTruth>();
  return std::make_unique<SceneTruth>();
}

}  // namespace fieldtest
