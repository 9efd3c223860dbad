// The simulated game: robots, ball, referee, perceptions. No networking here:
// the server feeds it agent and monitor frames and steps it once per cycle.
#pragma once

#include <map>
#include <random>
#include <string>
#include <vector>

#include "Body.h"
#include "Geometry.h"
#include "RobotModel.h"
#include "Sexp.h"

namespace practice {

enum PlayMode {
  PM_BEFORE_KICK_OFF, PM_KICK_OFF_LEFT, PM_KICK_OFF_RIGHT, PM_PLAY_ON,
  PM_KICK_IN_LEFT, PM_KICK_IN_RIGHT, PM_CORNER_KICK_LEFT, PM_CORNER_KICK_RIGHT,
  PM_GOAL_KICK_LEFT, PM_GOAL_KICK_RIGHT, PM_OFFSIDE_LEFT, PM_OFFSIDE_RIGHT,
  PM_GAME_OVER, PM_GOAL_LEFT, PM_GOAL_RIGHT, PM_FREE_KICK_LEFT, PM_FREE_KICK_RIGHT,
  PM_DIRECT_FREE_KICK_LEFT, PM_DIRECT_FREE_KICK_RIGHT, PM_PASS_LEFT, PM_PASS_RIGHT,
  PM_COUNT
};
const char* playModeName(int pm);
int playModeFromName(const std::string& name);  // -1 when unknown

enum Side { SIDE_NONE = 0, SIDE_LEFT = 1, SIDE_RIGHT = 2 };

struct WorldOptions {
  bool noise = false;
  int kickoffAfter = 0;   // kick off once this many players have joined (0: never)
  unsigned seed = 0;      // 0: random
};

struct Heard {
  bool present = false;
  std::string label, direction, text;
  double time = 0;
};

// A connection and, once it sent scene, its robot's body.
struct Agent : Body {
  int id = 0;
  // Robot
  bool hasRobot = false;
  Vec3 calibration;
  // Team
  int side = SIDE_NONE;
  int unum = 0;
  bool announce = false;  // next GS carries unum and team
  int reservedSide = SIDE_NONE, reservedUnum = 0;
  // Commands stored for the next step
  bool pendingScene = false;
  int sceneType = 0;
  bool pendingInit = false;
  int initUnum = 0;
  std::string initTeam;
  bool pendingBeam = false;
  double beamX = 0, beamY = 0, beamDeg = 0;
  // Hearing
  Heard hearSelf, hearMate, hearOpp;
  double budgetMate = 2, budgetOpp = 2;
  // Perceptions
  int perceptions = 0;
  bool hasPerception = false;
  std::string perception;
};

class World {
 public:
  explicit World(const WorldOptions& options = {});

  int connect();
  void disconnect(int id);
  Agent* agent(int id);
  const std::map<int, Agent>& agents() const { return agents_; }

  // Cycle step 1: the commands of one frame from an agent. Joint speeds and
  // say take effect at once; scene, init and beam wait for the next step().
  void agentFrame(int id, const std::vector<SNode>& commands);
  static bool hasSyn(const std::vector<SNode>& commands);

  // Cycle step 2: the perception computed by the last step(), once.
  bool takePerception(int id, std::string& out);

  // Cycle steps 3 and 4: stored commands, one 0.02 s step, referee, perceptions.
  void step();

  // Monitor port commands; the answer to be sent back ("" for none).
  std::string monitorFrame(const std::vector<SNode>& commands);

  bool anyRobotOrScene() const;

  std::string stateText() const;
  std::string statusLine() const;

  long cycle() const { return cycle_; }
  double gameTime() const { return gameTime_; }
  int playMode() const { return playMode_; }
  int score(int side) const { return side == SIDE_LEFT ? scoreLeft_ : scoreRight_; }
  Vec3 ballPos() const { return ballPos_; }
  Vec3 ballVel() const { return ballVel_; }
  const std::string& teamName(int side) const { return teamNames_[side == SIDE_RIGHT ? 1 : 0]; }
  int joinedPlayers() const;
  // Sets the play mode and starts its clock; a set piece set this way is taken
  // where the ball was last in the field.
  void setPlayMode(int pm);

 private:
  void say(Agent& speaker, const std::string& text);
  void runScene(Agent& a);
  void runInit(Agent& a);
  void runBeam(Agent& a);
  void place(Agent& a, const Vec3& pos, double yaw, bool onGround);
  void pushApart();
  void moveBall();
  bool ballTouched();
  void referee();
  void ballOut();
  void kickOffRules();
  void setPieceRules(double inMode);
  void awardSetPiece(int pm, const Vec3& spot);
  void dropBall();
  void placeBall(const Vec3& pos);
  double reachIntoOpponentHalf(const Agent& a) const;
  void moveAgentTo(Agent& a, double x, double y);
  std::string buildPerception(Agent& a);
  std::string buildVision(const Agent& a);
  void monitorAgent(const SNode& cmd);
  Agent* findPlayer(int side, int unum);

  WorldOptions options_;
  std::map<int, Agent> agents_;
  int nextId_ = 1;
  long cycle_ = 0;
  double gameTime_ = 0;
  int playMode_ = PM_BEFORE_KICK_OFF;
  double modeStart_ = 0;  // game time when the play mode was set
  int half_ = 1;
  int kickoffFiredHalf_ = 0;
  int scoreLeft_ = 0, scoreRight_ = 0;
  std::string teamNames_[2];
  int joinedEver_[2] = {0, 0};
  Vec3 ballPos_{0, 0, 0.042};
  Vec3 ballVel_;
  bool touchedThisStep_ = false;
  int lastTouchSide_ = SIDE_NONE;  // none since the ball was last placed
  Vec3 lastInField_{0, 0, 0.042};
  Vec3 spot_;  // where the current set piece is taken
  bool setPieceReady_ = false, setPieceTaken_ = false;
  std::mt19937 rng_;
};

}  // namespace practice
