#include "utils/XMLNode.h"

#include <cstdlib>

namespace {

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

// Takes a libxml2 string and frees it.
std::string take(xmlChar* text) {
  if (!text) return std::string();
  std::string s(reinterpret_cast<const char*>(text));
  xmlFree(text);
  return s;
}

bool named(const xmlNode* n, const std::string& name) {
  return n->name && name == reinterpret_cast<const char*>(n->name);
}

}  // namespace

XMLNode XMLNode::getChildren() const { return XMLNode(node ? node->children : nullptr); }

XMLNode XMLNode::getNext() const { return XMLNode(node ? node->next : nullptr); }

std::string XMLNode::getName() const {
  if (!node || !node->name) return std::string();
  return reinterpret_cast<const char*>(node->name);
}

bool XMLNode::hasAttribute(const std::string& name) const {
  return node && xmlHasProp(node, X(name)) != nullptr;
}

std::string XMLNode::getAttributeValue(const std::string& name) const {
  if (!node) return std::string();
  return take(xmlGetProp(node, X(name)));
}

std::string XMLNode::getContent() const {
  if (!node) return std::string();
  return take(xmlNodeGetContent(node));
}

int XMLNode::findAllLocal(const std::string& name, std::vector<XMLNode>& out) const {
  if (!node) return 0;
  int n = 0;
  for (xmlNode* c = node->children; c; c = c->next) {
    if (named(c, name)) {
      out.push_back(XMLNode(c));
      ++n;
    }
  }
  return n;
}

XMLNode XMLNode::findFirstLocal(const std::string& name) const {
  if (!node) return XMLNode();
  for (xmlNode* c = node->children; c; c = c->next)
    if (named(c, name)) return XMLNode(c);
  return XMLNode();
}

XMLNode XMLNode::findFirstDeep(const std::string& name) const {
  if (!node) return XMLNode();
  for (xmlNode* c = node->children; c; c = c->next) {
    if (named(c, name)) return XMLNode(c);
    XMLNode inner = XMLNode(c).findFirstDeep(name);
    if (inner) return inner;
  }
  return XMLNode();
}

int XMLNode::findAllDeep(const std::string& name, std::vector<XMLNode>& out) const {
  if (!node) return 0;
  int n = 0;
  for (xmlNode* c = node->children; c; c = c->next) {
    n += XMLNode(c).findAllDeep(name, out);
    if (named(c, name)) {
      out.push_back(XMLNode(c));
      ++n;
    }
  }
  return n;
}

void XMLNode::parseAttribute(const std::string& name, float& value, int& index) const {
  if (!hasAttribute(name)) return;
  std::string text = getAttributeValue(name);
  if (!text.empty() && text[0] == 'p')
    index = std::atoi(text.c_str() + 1);
  else
    value = static_cast<float>(std::atof(text.c_str()));
}
