// Reader for the s-expressions that agents and monitors send.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace practice {

struct SNode {
  bool isList = false;
  std::string atom;
  std::vector<SNode> items;

  // Head atom of a list, or "" when there is none.
  const std::string& head() const;
  // Sub-list whose head is `name`, or nullptr.
  const SNode* find(const std::string& name) const;
};

// Reads the top-level lists of `text` with the project's s-expression parser,
// which follows the server's reading rules: atoms end at white space, '(', ')',
// '"' and '\''; '"' opens a quoted string; '\\' escapes the next character; ';'
// at the start of a token comments out the rest of the line. Malformed text ends
// the reading; what was complete before it is kept. Never throws.
std::vector<SNode> readSexps(std::string_view text);

// Numeric value of an atom; false unless the whole atom is a finite number.
bool toNumber(const SNode& n, double& out);

}  // namespace practice
