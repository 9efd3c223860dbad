#include "World.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "Rules.h"
#include "geometry/Vector3f.h"

namespace practice {
namespace {

constexpr double kHearRange = 50;
constexpr size_t kMaxSayLength = 20;

const char* const kPlayModes[PM_COUNT] = {
    "BeforeKickOff", "KickOff_Left", "KickOff_Right", "PlayOn", "KickIn_Left", "KickIn_Right",
    "corner_kick_left", "corner_kick_right", "goal_kick_left", "goal_kick_right", "offside_left",
    "offside_right", "GameOver", "Goal_Left", "Goal_Right", "free_kick_left", "free_kick_right",
    "direct_free_kick_left", "direct_free_kick_right", "pass_left", "pass_right"};

struct Landmark {
  const char* name;
  Vec3 pos;
};
const Landmark kLandmarks[] = {
    {"G1L", {-15, 1.05, 0.8}}, {"G2L", {-15, -1.05, 0.8}}, {"G2R", {15, -1.05, 0.8}}, {"G1R", {15, 1.05, 0.8}},
    {"F1L", {-15, 10, 0}},     {"F2L", {-15, -10, 0}},     {"F1R", {15, 10, 0}},      {"F2R", {15, -10, 0}}};

struct Segment {
  Vec3 a, b;
};
std::vector<Segment> fieldLines() {
  std::vector<Segment> lines = {
      {{0, -10, 0}, {0, 10, 0}},        {{15, -10, 0}, {15, 10, 0}},     {{-15, -10, 0}, {-15, 10, 0}},
      {{15, 10, 0}, {-15, 10, 0}},      {{15, -10, 0}, {-15, -10, 0}},   {{13.2, 3, 0}, {13.2, -3, 0}},
      {{13.2, 3, 0}, {15, 3, 0}},       {{13.2, -3, 0}, {15, -3, 0}},    {{-13.2, 3, 0}, {-13.2, -3, 0}},
      {{-13.2, 3, 0}, {-15, 3, 0}},     {{-13.2, -3, 0}, {-15, -3, 0}}};
  for (int i = 0; i < 10; ++i) {
    double a0 = deg2rad(36.0 * i), a1 = deg2rad(36.0 * (i + 1));
    lines.push_back({{2 * std::cos(a0), 2 * std::sin(a0), 0}, {2 * std::cos(a1), 2 * std::sin(a1), 0}});
  }
  return lines;
}

// Parts that other robots see, with the names they are reported under.
const std::pair<int, const char*> kSeenParts[] = {
    {P_HEAD, "head"}, {P_RLOWERARM, "rlowerarm"}, {P_LLOWERARM, "llowerarm"}, {P_RFOOT, "rfoot"}, {P_LFOOT, "lfoot"}};

std::string fmt(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}
std::string fmt3(const Vec3& v) { return fmt(v.x) + " " + fmt(v.y) + " " + fmt(v.z); }
std::string fmt4(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  return buf;
}

bool sayAllowed(const std::string& msg) {
  if (msg.empty() || msg.size() > kMaxSayLength) return false;
  for (unsigned char c : msg)
    if (c <= 0x20 || c > 0x7E || c == '(' || c == ')') return false;
  return true;
}

// Polar form (distance, horizontal, vertical angle in degrees) of a camera-frame vector.
struct Polar {
  double d, h, v;
};
// Vector3f's polar angles count from the x axis; the camera looks along y.
Polar toPolar(const Vec3& v) {
  const Vector3f p = Vector3f(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)).toPolar();
  return {p.x, normDeg(p.y - 90.0), p.z};
}
bool inView(const Polar& p) { return std::fabs(p.h) <= 60.0 && std::fabs(p.v) <= 60.0; }

// Clips the camera-frame segment a-b to the view cone (|H| <= 60, |V| <= 60).
// Returns false when nothing of it is visible.
bool clipToView(Vec3& a, Vec3& b) {
  const Vec3 d = b - a;
  const double t60 = std::sqrt(3.0);
  double lo = 0, hi = 1;
  // Horizontal: y*tan60 - x >= 0 and y*tan60 + x >= 0 (planes through the camera).
  for (double sx : {-1.0, 1.0}) {
    double c0 = a.y * t60 + sx * a.x, c1 = d.y * t60 + sx * d.x;
    if (std::fabs(c1) < 1e-12) {
      if (c0 < 0) return false;
      continue;
    }
    double s = -c0 / c1;
    if (c1 > 0) lo = std::max(lo, s);
    else hi = std::min(hi, s);
  }
  if (lo >= hi) return false;
  // Vertical: 3 (x^2 + y^2) - z^2 >= 0, quadratic in the segment parameter.
  auto g = [&](double s) {
    Vec3 p = a + d * s;
    return 3 * (p.x * p.x + p.y * p.y) - p.z * p.z;
  };
  const double A = 3 * (d.x * d.x + d.y * d.y) - d.z * d.z;
  const double B = 2 * (3 * (a.x * d.x + a.y * d.y) - a.z * d.z);
  const double C = 3 * (a.x * a.x + a.y * a.y) - a.z * a.z;
  std::vector<double> cuts = {lo, hi};
  if (std::fabs(A) > 1e-12) {
    double disc = B * B - 4 * A * C;
    if (disc >= 0) {
      double r = std::sqrt(disc);
      cuts.push_back((-B - r) / (2 * A));
      cuts.push_back((-B + r) / (2 * A));
    }
  } else if (std::fabs(B) > 1e-12) {
    cuts.push_back(-C / B);
  }
  std::vector<double> pts;
  for (double c : cuts)
    if (c >= lo && c <= hi) pts.push_back(c);
  std::sort(pts.begin(), pts.end());
  // Longest run of pieces where the cone condition holds.
  double bestLo = 0, bestHi = -1, runLo = -1;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    bool ok = g(0.5 * (pts[i] + pts[i + 1])) >= 0;
    if (ok && runLo < 0) runLo = pts[i];
    if (ok && pts[i + 1] - runLo > bestHi - bestLo) {
      bestLo = runLo;
      bestHi = pts[i + 1];
    }
    if (!ok) runLo = -1;
  }
  if (bestHi - bestLo <= 1e-9) return false;
  Vec3 na = a + d * bestLo, nb = a + d * bestHi;
  a = na;
  b = nb;
  return true;
}

}  // namespace

const char* playModeName(int pm) { return pm >= 0 && pm < PM_COUNT ? kPlayModes[pm] : "unknown"; }

int playModeFromName(const std::string& name) {
  for (int i = 0; i < PM_COUNT; ++i)
    if (name == kPlayModes[i]) return i;
  return -1;
}

World::World(const WorldOptions& options) : options_(options), rng_(options.seed ? options.seed : std::random_device{}()) {}

int World::connect() {
  int id = nextId_++;
  agents_[id].id = id;
  return id;
}

void World::disconnect(int id) { agents_.erase(id); }

Agent* World::agent(int id) {
  auto it = agents_.find(id);
  return it == agents_.end() ? nullptr : &it->second;
}

int World::joinedPlayers() const {
  int n = 0;
  for (const auto& [id, a] : agents_)
    if (a.side != SIDE_NONE) ++n;
  return n;
}

bool World::hasSyn(const std::vector<SNode>& commands) {
  for (const SNode& c : commands)
    if (c.head() == "syn") return true;
  return false;
}

bool World::anyRobotOrScene() const {
  for (const auto& [id, a] : agents_)
    if (a.hasRobot || a.pendingScene) return true;
  return false;
}

// ---------------------------------------------------------------- agent commands

void World::agentFrame(int id, const std::vector<SNode>& commands) {
  Agent* a = agent(id);
  if (!a) return;
  for (const SNode& cmd : commands) {
    const std::string& name = cmd.head();
    if (!a->hasRobot) {
      // A fresh connection only understands scene.
      if (name == "scene" && !a->pendingScene && cmd.items.size() >= 2 && !cmd.items[1].isList) {
        double t = 0;
        if (cmd.items.size() >= 3 && !toNumber(cmd.items[2], t)) continue;
        if (t < 0 || t >= kRobotTypes || t != std::floor(t)) continue;
        a->pendingScene = true;
        a->sceneType = static_cast<int>(t);
      }
      continue;
    }
    if (name == "init") {
      const SNode* unum = cmd.find("unum");
      const SNode* team = cmd.find("teamname");
      double u = 0;
      if (unum && (unum->items.size() < 2 || !toNumber(unum->items[1], u) || u != std::floor(u))) continue;
      if (!team || team->items.size() < 2 || team->items[1].isList || team->items[1].atom.empty()) continue;
      a->pendingInit = true;
      a->initUnum = static_cast<int>(std::clamp(u, -1.0, 1000.0));
      a->initTeam = team->items[1].atom;
    } else if (name == "beam") {
      double v[3];
      if (cmd.items.size() < 4) continue;
      if (!toNumber(cmd.items[1], v[0]) || !toNumber(cmd.items[2], v[1]) || !toNumber(cmd.items[3], v[2])) continue;
      a->pendingBeam = true;
      a->beamX = v[0];
      a->beamY = v[1];
      a->beamDeg = v[2];
    } else if (name == "say") {
      if (cmd.items.size() >= 2 && !cmd.items[1].isList) say(*a, cmd.items[1].atom);
    } else if (name.size() >= 3 && cmd.items.size() >= 2) {
      int j = robotType(a->type).jointIndex(name);
      double v = 0;
      if (j < 0 || !toNumber(cmd.items[1], v)) continue;
      const JointSpec& js = robotType(a->type).joints[static_cast<size_t>(j)];
      a->speed[static_cast<size_t>(j)] = std::clamp(v, -js.maxSpeed, js.maxSpeed);
      if (v != 0) a->grounded = true;  // a moving robot does not stay hanging where it was put
    }
    // syn, pass, catch, kick and anything unknown: nothing to do here.
  }
}

void World::say(Agent& speaker, const std::string& text) {
  if (!sayAllowed(text)) return;
  // Label for a speaker without a team: the last robot's team name, as the real server does.
  std::string lastLabel;
  for (const auto& [id, a] : agents_)
    if (a.hasRobot) lastLabel = a.side ? teamName(a.side) : "";
  for (auto& [id, h] : agents_) {
    if (!h.hasRobot) continue;
    Vec3 delta = speaker.pos - h.pos;
    if (delta.length() > kHearRange) continue;
    double dir = rad2deg(std::atan2(delta.y * teamSign(h.side), delta.x * teamSign(h.side)));
    const std::string ownLabel = h.side ? teamName(h.side) : "";
    auto deliver = [&](Heard& slot, double& budget, const std::string& label, const std::string& direction) {
      if (budget < 2) return;
      budget -= 2;
      slot = Heard{true, label, direction, text, gameTime_};
    };
    if (speaker.side == SIDE_NONE) {
      // A teamless speaker's team is everybody: heard as a team-mate and as an opponent.
      if (&h == &speaker) {
        h.hearSelf = Heard{true, ownLabel, "self", text, gameTime_};
        deliver(h.hearOpp, h.budgetOpp, lastLabel, fmt(0));
      } else {
        deliver(h.hearMate, h.budgetMate, ownLabel, fmt(dir));
        deliver(h.hearOpp, h.budgetOpp, lastLabel, fmt(dir));
      }
    } else if (&h == &speaker) {
      h.hearSelf = Heard{true, ownLabel, "self", text, gameTime_};
    } else if (h.side == speaker.side) {
      deliver(h.hearMate, h.budgetMate, teamName(speaker.side), fmt(dir));
    } else {
      deliver(h.hearOpp, h.budgetOpp, teamName(speaker.side), fmt(dir));
    }
  }
}

bool World::takePerception(int id, std::string& out) {
  Agent* a = agent(id);
  if (!a || !a->hasPerception) return false;
  out = std::move(a->perception);
  a->perception.clear();
  a->hasPerception = false;
  return true;
}

// ---------------------------------------------------------------- stored commands

void World::place(Agent& a, const Vec3& pos, double yaw, bool onGround) { placeBody(a, pos, yaw, onGround); }

void World::runScene(Agent& a) {
  a.pendingScene = false;
  a.hasRobot = true;
  a.type = a.sceneType;
  const RobotType& rt = robotType(a.type);
  a.angle.assign(rt.joints.size(), 0.0);
  a.speed.assign(rt.joints.size(), 0.0);
  if (options_.noise) {
    std::uniform_real_distribution<double> u(-0.005, 0.005);
    a.calibration = Vec3(u(rng_), u(rng_), u(rng_));
  }
  place(a, {0, -1, 1.5}, 0, false);  // hangs above the field, facing +y, until init
}

void World::runInit(Agent& a) {
  a.pendingInit = false;
  if (a.side != SIDE_NONE || a.reservedSide != SIDE_NONE) return;  // already joined or refused
  // Sides go to the first two team names ever seen.
  int side = SIDE_NONE;
  for (int s = 0; s < 2 && side == SIDE_NONE; ++s) {
    if (teamNames_[s].empty()) teamNames_[s] = a.initTeam;
    if (teamNames_[s] == a.initTeam) side = s + 1;
  }
  bool ok = side != SIDE_NONE && a.initUnum >= 0;
  std::set<int> taken;
  int typeCount[kRobotTypes] = {0, 0, 0, 0, 0};
  int members = 0;
  if (ok) {
    for (const auto& [id, o] : agents_) {
      if (o.side == side) {
        taken.insert(o.unum);
        ++typeCount[o.type];
        ++members;
      } else if (o.reservedSide == side) {
        taken.insert(o.reservedUnum);
      }
    }
  }
  int unum = a.initUnum;
  if (ok && unum == 0) {
    for (int n = 1; n <= 11 && unum == 0; ++n)
      if (!taken.count(n)) unum = n;
    ok = unum != 0;
  }
  ok = ok && !taken.count(unum) && members < 11;
  if (ok) {
    // Robot type rules of heterogeneous teams.
    const int t = a.type;
    int typesPresent = 0;
    for (int c : typeCount) typesPresent += c > 0;
    bool typeOk = typeCount[t] + 1 <= 7;
    for (int u = 0; u < kRobotTypes; ++u)
      if (u != t && typeCount[t] + 1 + typeCount[u] > 9) typeOk = false;
    if (11 - members <= 3 - typesPresent && typeCount[t] > 0) typeOk = false;
    if (!typeOk) {
      // The number stays reserved although the robot is refused.
      a.reservedSide = side;
      a.reservedUnum = unum;
      ok = false;
    }
  }
  if (!ok) {
    place(a, {0, 0, 10}, a.yaw, false);
    return;
  }
  a.side = side;
  a.unum = unum;
  a.announce = true;
  // Waiting slot on the own side.
  const int k = joinedEver_[side - 1]++;
  const double x = 14.2 - 0.8 * (k / 17), y = 9.2 - 1.2 * (k % 17);
  const double sign = teamSign(side);
  place(a, {-sign * x, y, 0}, side == SIDE_LEFT ? -kPi / 2 : kPi / 2, true);
}

void World::runBeam(Agent& a) {
  a.pendingBeam = false;
  if (a.side == SIDE_NONE) return;
  if (playMode_ != PM_BEFORE_KICK_OFF && playMode_ != PM_GOAL_LEFT && playMode_ != PM_GOAL_RIGHT) return;
  double x = a.beamX, y = a.beamY, deg = a.beamDeg;
  if (options_.noise) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    x += u(rng_) * 0.05;
    y += u(rng_) * 0.05;
    deg += u(rng_) * 10.0;
  }
  x = std::clamp(x, -15.0, 0.0);
  y = std::clamp(y, -10.0, 10.0);
  const double sign = teamSign(a.side);
  const double heading = deg + (a.side == SIDE_RIGHT ? 180.0 : 0.0);
  place(a, {sign * x, sign * y, 0}, deg2rad(heading - 90.0), true);
}

// Robots do not pass through each other: two torsos nearer than twice the body
// radius are pushed apart, each by half the overlap.
void World::pushApart() {
  constexpr double kBodyRadius = 0.1;
  for (auto i = agents_.begin(); i != agents_.end(); ++i) {
    Agent& a = i->second;
    if (!a.hasRobot || !a.grounded) continue;
    for (auto j = std::next(i); j != agents_.end(); ++j) {
      Agent& b = j->second;
      if (!b.hasRobot || !b.grounded) continue;
      Vec3 d(b.pos.x - a.pos.x, b.pos.y - a.pos.y, 0);
      const double dist = d.length();
      if (dist >= 2 * kBodyRadius) continue;
      d = dist > 1e-9 ? d * (1.0 / dist) : Vec3(1, 0, 0);
      const double half = (2 * kBodyRadius - dist) / 2;
      moveBody(a, -d * half);
      moveBody(b, d * half);
    }
  }
}

// ---------------------------------------------------------------- step

void World::step() {
  ++cycle_;
  for (auto& [id, a] : agents_) {
    a.teleported = false;
    if (a.pendingScene) runScene(a);
  }
  for (auto& [id, a] : agents_)
    if (a.pendingInit) runInit(a);
  for (auto& [id, a] : agents_)
    if (a.pendingBeam) runBeam(a);

  for (auto& [id, a] : agents_) {
    if (!a.hasRobot) continue;
    const RobotType& rt = robotType(a.type);
    for (size_t j = 0; j < a.angle.size(); ++j) {
      const JointSpec& js = rt.joints[j];
      a.angle[j] = std::clamp(a.angle[j] + a.speed[j] * kStep, deg2rad(js.minDeg), deg2rad(js.maxDeg));
    }
    stepBody(a);
  }
  pushApart();

  if (playMode_ != PM_BEFORE_KICK_OFF && playMode_ != PM_GAME_OVER) gameTime_ += kStep;
  moveBall();
  touchedThisStep_ = ballTouched();
  referee();

  for (auto& [id, a] : agents_) {
    if (!a.hasRobot) continue;
    a.perception = buildPerception(a);
    a.hasPerception = true;
    ++a.perceptions;
  }
}

// ---------------------------------------------------------------- perceptions

std::string World::buildPerception(Agent& a) {
  const RobotType& rt = robotType(a.type);
  std::string m;
  m.reserve(2048);
  m += "(time (now " + fmt(cycle_ * kStep) + "))";
  m += "(GS ";
  if (a.announce) {
    m += "(unum " + std::to_string(a.unum) + ") (team " + (a.side == SIDE_LEFT ? "left" : "right") + ") ";
    a.announce = false;
  }
  m += "(sl " + std::to_string(scoreLeft_) + ") (sr " + std::to_string(scoreRight_) + ") (t " + fmt(gameTime_) +
       ") (pm " + playModeName(playMode_) + "))";
  for (Heard* h : {&a.hearSelf, &a.hearMate, &a.hearOpp}) {
    if (h->present)
      m += "(hear " + h->label + " " + fmt(h->time) + " " + h->direction + " " + h->text + ")";
    *h = Heard{};
  }
  a.budgetMate = std::min(2.0, a.budgetMate + 1);
  a.budgetOpp = std::min(2.0, a.budgetOpp + 1);

  const std::vector<FootContact> contacts = footContacts(a);
  auto frp = [&](int part, const char* name) {
    for (const FootContact& c : contacts)
      if (c.part == part)
        m += std::string("(FRP (n ") + name + ") (c " + fmt3(c.point) + ") (f " + fmt3(c.force) + "))";
  };
  m += "(GYR (n torso) (rt " + fmt3(bodyGyr(a)) + "))";
  m += "(ACC (n torso) (a " + fmt3(bodyAcc(a)) + "))";
  for (size_t j = 0; j < rt.joints.size(); ++j) {
    const std::string& name = rt.joints[j].perceptor;
    m += "(HJ (n " + name + ") (ax " + fmt(rad2deg(a.angle[j])) + "))";
    if (name == "hj2" && a.perceptions % 3 == 0) m += buildVision(a);
    if (name == "rlj5") frp(P_RFOOT, "rf");
    if (name == "llj5") frp(P_LFOOT, "lf");
    if (name == "rlj6") frp(P_RTOE, "rf1");
    if (name == "llj6") frp(P_LTOE, "lf1");
  }
  return m;
}

std::string World::buildVision(const Agent& a) {
  const Pose& cam = a.parts[P_HEAD];
  std::normal_distribution<double> nd(0.0, 1.0);
  auto noisy = [&](Polar p) {
    if (options_.noise) {
      p.d += p.d * nd(rng_) * 0.0965 / 100.0;
      p.h += nd(rng_) * 0.1480;
      p.v += nd(rng_) * 0.1225;
    }
    return "(pol " + fmt(p.d) + " " + fmt(p.h) + " " + fmt(p.v) + ")";
  };
  auto local = [&](const Vec3& q) { return cam.toLocal(q) + a.calibration; };
  auto see = [&](const Vec3& q, std::string& out, const std::string& name) {
    if ((q - cam.p).length() <= 0.1) return false;
    Polar p = toPolar(local(q));
    if (!inView(p)) return false;
    out += "(" + name + " " + noisy(p) + ")";
    return true;
  };

  std::vector<std::string> items;
  for (const Landmark& l : kLandmarks) {
    std::string s;
    if (see(l.pos, s, l.name)) items.push_back(s);
  }
  {
    std::string s;
    if (see(ballPos_, s, "B")) items.push_back(s);
  }
  for (const auto& [id, o] : agents_) {
    if (!o.hasRobot || o.side == SIDE_NONE) continue;
    std::string parts;
    for (const auto& [part, name] : kSeenParts) {
      std::string s;
      if (see(o.parts[static_cast<size_t>(part)].p, s, name)) parts += " " + s;
    }
    if (!parts.empty())
      items.push_back("(P (team " + teamName(o.side) + ") (id " + std::to_string(o.unum) + ")" + parts + ")");
  }
  static const std::vector<Segment> lines = fieldLines();
  for (const Segment& l : lines) {
    Vec3 p = local(l.a), q = local(l.b);
    if (!clipToView(p, q)) continue;
    items.push_back("(L " + noisy(toPolar(p)) + " " + noisy(toPolar(q)) + ")");
  }
  std::string out = "(See ";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? " " : "") + items[i];
  return out + ")";
}

// ---------------------------------------------------------------- monitor

Agent* World::findPlayer(int side, int unum) {
  for (auto& [id, a] : agents_)
    if (a.hasRobot && a.side == side && a.unum == unum) return &a;
  return nullptr;
}

void World::monitorAgent(const SNode& cmd) {
  const SNode* unum = cmd.find("unum");
  const SNode* team = cmd.find("team");
  double u = 0;
  if (!unum || !team || unum->items.size() < 2 || team->items.size() < 2 || !toNumber(unum->items[1], u)) return;
  const std::string& t = team->items[1].atom;
  int side = t == "Left" ? SIDE_LEFT : t == "Right" ? SIDE_RIGHT : SIDE_NONE;
  Agent* a = findPlayer(side, static_cast<int>(u));
  if (!a || side == SIDE_NONE) return;
  const SNode* pos = cmd.find("pos");
  const SNode* move = cmd.find("move");
  double v[4];
  if (pos && pos->items.size() >= 4 && toNumber(pos->items[1], v[0]) && toNumber(pos->items[2], v[1]) &&
      toNumber(pos->items[3], v[2])) {
    if (a->lying != LIE_NONE) moveBody(*a, {v[0] - a->pos.x, v[1] - a->pos.y, 0});  // it keeps lying
    else place(*a, {v[0], v[1], v[2]}, a->yaw, v[2] <= robotType(a->type).standingHeight);
  }
  if (move && move->items.size() >= 5 && toNumber(move->items[1], v[0]) && toNumber(move->items[2], v[1]) &&
      toNumber(move->items[3], v[2]) && toNumber(move->items[4], v[3])) {
    // DEG 0 faces global +y.
    place(*a, {v[0], v[1], v[2]}, deg2rad(v[3]), v[2] <= robotType(a->type).standingHeight);
  }
}

std::string World::monitorFrame(const std::vector<SNode>& commands) {
  std::string reply;
  for (const SNode& cmd : commands) {
    const std::string& name = cmd.head();
    const std::string arg = cmd.items.size() >= 2 && !cmd.items[1].isList ? cmd.items[1].atom : "";
    if (name == "playMode") {
      int pm = playModeFromName(arg);
      if (pm >= 0) setPlayMode(pm);
    } else if (name == "kickOff") {
      if (arg == "Left") setPlayMode(PM_KICK_OFF_LEFT);
      else if (arg == "Right") setPlayMode(PM_KICK_OFF_RIGHT);
      else if (arg == "None") setPlayMode(half_ == 1 ? PM_KICK_OFF_LEFT : PM_KICK_OFF_RIGHT);
    } else if (name == "ball") {
      double v[3];
      auto vec = [&](const SNode* n) {
        return n && n->items.size() >= 4 && toNumber(n->items[1], v[0]) && toNumber(n->items[2], v[1]) &&
               toNumber(n->items[3], v[2]);
      };
      if (vec(cmd.find("pos"))) placeBall(Vec3(v[0], v[1], v[2]));
      if (vec(cmd.find("vel"))) ballVel_ = Vec3(v[0], v[1], v[2]);
    } else if (name == "dropBall") {
      dropBall();
    } else if (name == "agent") {
      monitorAgent(cmd);
    } else if (name == "score") {
      double v = 0;
      const SNode* l = cmd.find("left");
      const SNode* r = cmd.find("right");
      if (l && l->items.size() >= 2 && toNumber(l->items[1], v) && v >= 0) scoreLeft_ = static_cast<int>(v);
      if (r && r->items.size() >= 2 && toNumber(r->items[1], v) && v >= 0) scoreRight_ = static_cast<int>(v);
    } else if (name == "time") {
      double v = 0;
      if (cmd.items.size() >= 2 && toNumber(cmd.items[1], v) && v >= 0) gameTime_ = v;
    } else if (name == "state") {
      reply += stateText();
    }
  }
  return reply;
}

namespace {
const char* const kLying[] = {"no", "front", "back", "right", "left"};
}  // namespace

std::string World::stateText() const {
  std::string s = "(state (now " + fmt(cycle_ * kStep) + ") (cycle " + std::to_string(cycle_) + ") (t " +
                  fmt4(gameTime_) + ") (half " + std::to_string(half_) + ") (pm " + playModeName(playMode_) +
                  ") (sl " + std::to_string(scoreLeft_) + ") (sr " + std::to_string(scoreRight_) + ")";
  s += " (ball (pos " + fmt4(ballPos_.x) + " " + fmt4(ballPos_.y) + " " + fmt4(ballPos_.z) + ") (vel " +
       fmt4(ballVel_.x) + " " + fmt4(ballVel_.y) + " " + fmt4(ballVel_.z) + "))";
  s += " (connections " + std::to_string(agents_.size()) + ")";
  for (const auto& [id, a] : agents_) {
    if (!a.hasRobot) continue;
    const char* side = a.side == SIDE_LEFT ? "Left" : a.side == SIDE_RIGHT ? "Right" : "None";
    s += " (player (id " + std::to_string(id) + ") (team " + side + ")";
    if (a.side != SIDE_NONE) s += " (name " + teamName(a.side) + ")";
    s += " (unum " + std::to_string(a.unum) + ") (type " + std::to_string(a.type) + ") (pos " + fmt4(a.pos.x) +
         " " + fmt4(a.pos.y) + " " + fmt4(a.pos.z) + ") (heading " + fmt4(normDeg(rad2deg(a.yaw) + 90.0)) + ")";
    const Orientation o = torsoOrientation(a);
    s += " (torso (yaw " + fmt4(o.yaw) + ") (pitch " + fmt4(o.pitch) + ") (roll " + fmt4(o.roll) + ")) (lying " +
         kLying[a.lying] + ") (support " + (!a.planted ? "none" : a.support == 0 ? "right" : "left") + ")";
    for (const auto& [part, name] : {std::make_pair(P_RFOOT, "rfoot"), std::make_pair(P_LFOOT, "lfoot")}) {
      const Vec3& f = a.parts[static_cast<size_t>(part)].p;
      s += std::string(" (") + name + " " + fmt4(f.x) + " " + fmt4(f.y) + " " + fmt4(f.z) + ")";
    }
    s += " (com " + fmt4(a.com.x) + " " + fmt4(a.com.y) + " " + fmt4(a.com.z) + ") (joints";
    const RobotType& rt = robotType(a.type);
    for (size_t j = 0; j < rt.joints.size(); ++j)
      s += " (" + rt.joints[j].perceptor + " " + fmt4(rad2deg(a.angle[j])) + ")";
    s += "))";
  }
  return s + ")";
}

std::string World::statusLine() const {
  int left = 0, right = 0;
  for (const auto& [id, a] : agents_) {
    left += a.side == SIDE_LEFT;
    right += a.side == SIDE_RIGHT;
  }
  return "now " + fmt(cycle_ * kStep) + " t " + fmt(gameTime_) + " pm " + playModeName(playMode_) + " score " +
         std::to_string(scoreLeft_) + ":" + std::to_string(scoreRight_) + " players " + std::to_string(left) +
         " left " + std::to_string(right) + " right";
}

}  // namespace practice
