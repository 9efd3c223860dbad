// The server's own account of a robot's body, read on its monitor port:
// the practice server answers "(state)", a real server sends its scene graph.
#pragma once

#include <memory>
#include <string>

#include "BodyPose.h"
#include "Link.h"
#include "SceneGraph.h"

namespace fieldtest {

class Truth {
 public:
  virtual ~Truth() = default;
  bool connect(const std::string& host, int port, std::string& error) { return link_.connect(host, port, error); }
  bool open() const { return link_.open(); }
  // A monitor command such as "(playMode PlayOn)".
  bool command(const std::string& text) { return link_.send(text); }
  // The robot's torso now; false when the server does not show it.
  virtual bool pose(int side, int unum, BodyPose& out) = 0;
  // The ball on the field (x, y); false when the server does not show it.
  virtual bool ball(double& x, double& y) = 0;
  // The height of the ball's centre too, where the server shows it.
  virtual bool ball(double& x, double& y, double& z) {
    z = 0;
    return ball(x, y);
  }

 protected:
  Link link_;
};

// Asks the practice server for "(state)" and reads its player entries.
class StateTruth : public Truth {
 public:
  using Truth::ball;
  bool pose(int side, int unum, BodyPose& out) override;
  bool ball(double& x, double& y) override;
  // The player entry of one "(state ...)" reply.
  static bool parse(const std::string& reply, int side, int unum, BodyPose& out);
  // The ball entry of one "(state ...)" reply.
  static bool parseBall(const std::string& reply, double& x, double& y);

 private:
  // The latest "(state ...)" reply, asked for now.
  bool state(std::string& reply);
};

// Keeps the real server's scene graph up to date from whatever frames have come.
class SceneTruth : public Truth {
 public:
  bool pose(int side, int unum, BodyPose& out) override;
  bool ball(double& x, double& y) override;
  bool ball(double& x, double& y, double& z) override;

 private:
  SceneGraph scene_;

  // Takes every frame that has come.
  void take();
};

std::unique_ptr<Truth> makeTruth(bool practiceServer);

}  // namespace fieldtest
