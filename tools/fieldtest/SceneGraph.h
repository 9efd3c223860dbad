// The scene graph a real server sends on its monitor port: one full scene
// ("RSG") on connection or when the scene changes, then updates ("RDS") that
// list every node in the same order and carry only the changed transforms.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "BodyPose.h"
#include "Sexp.h"

namespace fieldtest {

class SceneGraph {
 public:
  // Takes one monitor frame; false when it held no scene to take (a frame
  // without one, or an update that does not fit the scene held).
  bool apply(const std::string& frame);
  bool empty() const { return root_.children.empty(); }

  // The torso of the robot with shirt number `unum` of the left (side 1) or
  // right (side 2) team; false when the scene shows no such robot.
  bool torso(int side, int unum, BodyPose& out) const;
  // Where the ball is on the field (x, y); false when the scene shows none.
  bool ball(double& x, double& y) const;
  // The same with the height of the ball's centre.
  bool ball(double& x, double& y, double& z) const;

 private:
  using Matrix = std::array<double, 16>;  // column-major, as sent
  struct Node {
    bool transform = false;
    Matrix m{};
    std::string mesh;       // model a mesh node loads
    std::string materials;  // its material names, blank-separated
    std::vector<Node> children;
  };
  static Node build(const practice::SNode& nd);
  static bool update(Node& node, const practice::SNode& nd);
  bool find(const Node& node, std::vector<Matrix>& path, const std::string& number, const std::string& team,
            BodyPose& out) const;
  static bool findBall(const Node& node, const Matrix& above, double& x, double& y, double& z);

  Node root_;
};

}  // namespace fieldtest
