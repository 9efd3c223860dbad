// Helpers for the practice-server tests: a world driven in-process, and readers
// for the perception messages.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Sexp.h"
#include "World.h"

namespace practice::test {

// Keys of a perception in order: "time", "GS", "hear", "GYR", "ACC", "HJ hj1", "See", "FRP rf", ...
inline std::vector<std::string> perceptorKeys(const std::string& msg) {
  std::vector<std::string> keys;
  for (const SNode& n : readSexps(msg)) {
    std::string key = n.head();
    if (key == "HJ" || key == "FRP") {
      const SNode* name = n.find("n");
      key += " " + (name && name->items.size() > 1 ? name->items[1].atom : std::string("?"));
    }
    keys.push_back(key);
  }
  return keys;
}

inline const SNode* perceptor(const std::vector<SNode>& msg, const std::string& head) {
  for (const SNode& n : msg)
    if (n.head() == head) return &n;
  return nullptr;
}

// Value of (name v) inside a list, as text.
inline std::string field(const SNode* list, const std::string& name) {
  const SNode* f = list ? list->find(name) : nullptr;
  return f && f->items.size() > 1 ? f->items[1].atom : std::string();
}

struct Polar {
  double d = 0, h = 0, v = 0;
};
inline Polar polar(const SNode& pol) {
  return {std::stod(pol.items.at(1).atom), std::stod(pol.items.at(2).atom), std::stod(pol.items.at(3).atom)};
}

struct Vision {
  bool present = false;
  std::map<std::string, Polar> objects;                        // flags, goal posts, ball
  std::map<std::string, std::map<std::string, Polar>> players;  // "TEAM id" -> part -> polar
  std::vector<std::pair<Polar, Polar>> lines;
};
inline Vision vision(const std::string& msg) {
  Vision v;
  auto nodes = readSexps(msg);
  const SNode* see = perceptor(nodes, "See");
  if (!see) return v;
  v.present = true;
  for (size_t i = 1; i < see->items.size(); ++i) {
    const SNode& item = see->items[i];
    if (item.head() == "P") {
      auto& parts = v.players[field(&item, "team") + " " + field(&item, "id")];
      for (const SNode& p : item.items)
        if (p.isList && p.head() != "team" && p.head() != "id") parts[p.head()] = polar(p.items.at(1));
    } else if (item.head() == "L") {
      v.lines.emplace_back(polar(item.items.at(1)), polar(item.items.at(2)));
    } else {
      v.objects[item.head()] = polar(item.items.at(1));
    }
  }
  return v;
}

inline double jointAngle(const std::string& msg, const std::string& perceptorName) {
  for (const SNode& n : readSexps(msg))
    if (n.head() == "HJ" && field(&n, "n") == perceptorName) return std::stod(field(&n, "ax"));
  return 1e9;
}

// A world driven directly, one call per cycle step.
struct Rig {
  World world;
  explicit Rig(WorldOptions o = {}) : world(withSeed(o)) {}
  static WorldOptions withSeed(WorldOptions o) {
    if (!o.seed) o.seed = 7;
    return o;
  }

  void send(int id, const std::string& text) { world.agentFrame(id, readSexps(text)); }
  std::string monitor(const std::string& text) { return world.monitorFrame(readSexps(text)); }
  // One cycle; returns the perception the agent gets from it.
  std::string step(int id = 0) {
    world.step();
    for (const auto& [aid, a] : world.agents()) world.takePerception(aid, latest[aid]);
    return id ? latest[id] : std::string();
  }
  std::map<int, std::string> latest;  // last perception of every agent
  int connect(int type = 0) {
    int id = world.connect();
    send(id, "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(type) + ")");
    step();
    return id;
  }
  // Connects, joins and (optionally) beams; returns the agent id.
  int join(const std::string& team, int unum, int type = 0, const std::string& beam = "") {
    int id = connect(type);
    send(id, "(init (unum " + std::to_string(unum) + ")(teamname " + team + "))");
    if (!beam.empty()) send(id, "(beam " + beam + ")");
    step();
    return id;
  }
  const Agent& agent(int id) { return *world.agent(id); }
};

}  // namespace practice::test
