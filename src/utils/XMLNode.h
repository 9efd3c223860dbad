#ifndef UTILS_XMLNODE_H
#define UTILS_XMLNODE_H

#include <string>
#include <vector>

#include <libxml/tree.h>

// Copyable, non-owning handle on one node of a libxml2 document. Valid only
// while the document lives; the user opens and frees the document. Children and
// siblings include text and comment nodes. A null handle tests false; asked
// anything, it answers with null handles, empty texts and false.
class XMLNode {
 public:
  XMLNode() : node(nullptr) {}
  XMLNode(xmlNode* n) : node(n) {}  // NOLINT: implicit on purpose

  explicit operator bool() const { return node != nullptr; }
  bool operator==(const XMLNode& other) const { return node == other.node; }

  XMLNode getChildren() const;
  XMLNode getNext() const;
  std::string getName() const;

  bool hasAttribute(const std::string& name) const;
  // The empty string when the attribute is absent.
  std::string getAttributeValue(const std::string& name) const;
  // Text of the node and all its descendants.
  std::string getContent() const;

  // Direct children named name, in document order; returns how many were added.
  int findAllLocal(const std::string& name, std::vector<XMLNode>& out) const;
  XMLNode findFirstLocal(const std::string& name) const;
  // Depth first: for each child, the child itself if it matches, else the first
  // match inside it.
  XMLNode findFirstDeep(const std::string& name) const;
  // For each child: the matches inside it first, then the child itself.
  int findAllDeep(const std::string& name, std::vector<XMLNode>& out) const;

  // "p<n>" sets index to n; any other text sets value; absent: nothing changes.
  void parseAttribute(const std::string& name, float& value, int& index) const;

  xmlNode* node;
};

#endif
