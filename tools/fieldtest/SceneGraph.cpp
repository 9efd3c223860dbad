#include "SceneGraph.h"

#include <algorithm>
#include <cmath>

namespace fieldtest {

namespace {

using practice::SNode;

bool isNode(const SNode& n) { return n.isList && n.head() == "nd"; }

bool readMatrix(const SNode& slt, std::array<double, 16>& m) {
  if (slt.items.size() != 17) return false;
  std::array<double, 16> v{};
  for (size_t i = 0; i < 16; ++i)
    if (!practice::toNumber(slt.items[i + 1], v[i])) return false;
  m = v;
  return true;
}

std::array<double, 16> multiply(const std::array<double, 16>& a, const std::array<double, 16>& b) {
  std::array<double, 16> r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * b[c * 4 + k];
      r[c * 4 + row] = s;
    }
  return r;
}

const std::array<double, 16> kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

bool hasWord(const std::string& words, const std::string& word) {
  size_t at = 0;
  while ((at = words.find(word, at)) != std::string::npos) {
    const size_t end = at + word.size();
    if ((at == 0 || words[at - 1] == ' ') && (end == words.size() || words[end] == ' ')) return true;
    at = end;
  }
  return false;
}

}  // namespace

SceneGraph::Node SceneGraph::build(const SNode& nd) {
  Node node;
  for (size_t i = 1; i < nd.items.size(); ++i) {
    const SNode& item = nd.items[i];
    if (!item.isList) continue;
    if (isNode(item)) {
      node.children.push_back(build(item));
    } else if (item.head() == "SLT") {
      node.transform = readMatrix(item, node.m);
    } else if (item.head() == "load" && item.items.size() >= 2) {
      node.mesh = item.items[1].atom;
    } else if (item.head() == "resetMaterials") {
      for (size_t k = 1; k < item.items.size(); ++k) node.materials += (k > 1 ? " " : "") + item.items[k].atom;
    }
  }
  return node;
}

bool SceneGraph::update(Node& node, const SNode& nd) {
  size_t child = 0;
  for (size_t i = 1; i < nd.items.size(); ++i) {
    const SNode& item = nd.items[i];
    if (!item.isList) continue;
    if (isNode(item)) {
      if (child >= node.children.size() || !update(node.children[child], item)) return false;
      ++child;
    } else if (item.head() == "SLT") {
      node.transform = readMatrix(item, node.m);
    }
  }
  return child == node.children.size();
}

bool SceneGraph::apply(const std::string& frame) {
  const std::vector<SNode> top = practice::readSexps(frame);
  for (size_t i = 0; i + 1 < top.size(); ++i) {
    const bool full = top[i].head() == "RSG";
    if (!(full || top[i].head() == "RDS") || !top[i + 1].isList) continue;
    // The scene that follows is the list of the root's child nodes.
    SNode root;
    root.isList = true;
    root.items.push_back(SNode{false, "nd", {}});
    root.items.insert(root.items.end(), top[i + 1].items.begin(), top[i + 1].items.end());
    if (full) {
      root_ = build(root);
      return true;
    }
    Node copy = root_;
    if (root_.children.empty() || !update(copy, root)) return false;
    root_ = std::move(copy);
    return true;
  }
  return false;
}

bool SceneGraph::find(const Node& node, std::vector<Matrix>& path, const std::string& number,
                      const std::string& team, BodyPose& out) const {
  path.push_back(node.transform ? multiply(path.back(), node.m) : path.back());
  bool found = false;
  if (node.mesh.rfind("models/naobody", 0) == 0 && hasWord(node.materials, number) &&
      hasWord(node.materials, team) && path.size() >= 3) {
    // The mesh hangs below a transform of its own; the torso is the one above that.
    const Matrix& m = path[path.size() - 3];
    out.x = m[12];
    out.y = m[13];
    out.z = m[14];
    out.heading = std::atan2(m[5], m[4]) * 180.0 / M_PI;  // the torso's y axis points forward
    out.tilt = std::acos(std::max(-1.0, std::min(1.0, m[10]))) * 180.0 / M_PI;
    out.chestZ = m[6];
    out.tiltKnown = true;
    out.lying = false;
    found = true;
  }
  for (size_t i = 0; !found && i < node.children.size(); ++i) found = find(node.children[i], path, number, team, out);
  path.pop_back();
  return found;
}

bool SceneGraph::findBall(const Node& node, const Matrix& above, double& x, double& y, double& z) {
  const Matrix m = node.transform ? multiply(above, node.m) : above;
  if (node.mesh.find("soccerball") != std::string::npos) {
    x = m[12];
    y = m[13];
    z = m[14];
    return true;
  }
  for (const Node& child : node.children)
    if (findBall(child, m, x, y, z)) return true;
  return false;
}

bool SceneGraph::ball(double& x, double& y) const {
  double z = 0;
  return findBall(root_, kIdentity, x, y, z);
}

bool SceneGraph::ball(double& x, double& y, double& z) const { return findBall(root_, kIdentity, x, y, z); }

bool SceneGraph::torso(int side, int unum, BodyPose& out) const {
  if (side != 1 && side != 2) return false;
  std::vector<Matrix> path{kIdentity};
  return find(root_, path, "matNum" + std::to_string(unum), side == 1 ? "matLeft" : "matRight", out);
}

}  // namespace fieldtest
