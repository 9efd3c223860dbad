#include <string>
#include <vector>

#include <libxml/parser.h>
#include <gtest/gtest.h>

#include "utils/XMLNode.h"

namespace {

class XMLNodeTest : public ::testing::Test {
 protected:
  void load(const std::string& xml) {
    doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "test.xml", nullptr, 0);
    ASSERT_NE(doc, nullptr);
    root = XMLNode(xmlDocGetRootElement(doc));
  }
  void TearDown() override {
    if (doc) xmlFreeDoc(doc);
  }
  xmlDoc* doc = nullptr;
  XMLNode root;
};

TEST_F(XMLNodeTest, ChildrenIncludeTextNodes) {
  load("<r> <a id='1'/> <!-- c --> <a id='2'/> </r>");
  XMLNode first = root.getChildren();
  ASSERT_TRUE(first);
  EXPECT_EQ(first.getName(), "text");
  EXPECT_EQ(first.getNext().getName(), "a");
  EXPECT_EQ(first.getNext().getNext().getNext().getName(), "comment");

  std::vector<XMLNode> found;
  found.push_back(root);  // appended after what is there
  EXPECT_EQ(root.findAllLocal("a", found), 2);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[1].getAttributeValue("id"), "1");
  EXPECT_EQ(found[2].getAttributeValue("id"), "2");
  EXPECT_EQ(root.findFirstLocal("a"), found[1]);
  EXPECT_FALSE(root.findFirstLocal("b"));

  int n = 0;
  for (XMLNode c = root.getChildren(); c; c = c.getNext()) ++n;
  EXPECT_EQ(n, 7);
}

TEST_F(XMLNodeTest, Attributes) {
  load("<r full='x y' empty=''/>");
  EXPECT_TRUE(root.hasAttribute("full"));
  EXPECT_EQ(root.getAttributeValue("full"), "x y");
  EXPECT_TRUE(root.hasAttribute("empty"));
  EXPECT_EQ(root.getAttributeValue("empty"), "");
  EXPECT_FALSE(root.hasAttribute("absent"));
  EXPECT_EQ(root.getAttributeValue("absent"), "");
}

TEST_F(XMLNodeTest, ContentJoinsDescendantText) {
  load("<r>one<b>two<c>three</c></b>four</r>");
  EXPECT_EQ(root.getContent(), "onetwothreefour");
  EXPECT_EQ(root.findFirstDeep("c").getContent(), "three");
}

TEST_F(XMLNodeTest, DeepSearchOrder) {
  load("<r><x><a id='inner-first'/></x><a id='outer'><a id='inner'/></a></r>");
  EXPECT_EQ(root.findFirstDeep("a").getAttributeValue("id"), "inner-first");
  std::vector<XMLNode> found;
  EXPECT_EQ(root.findAllDeep("a", found), 3);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].getAttributeValue("id"), "inner-first");
  EXPECT_EQ(found[1].getAttributeValue("id"), "inner");  // inside before the holder
  EXPECT_EQ(found[2].getAttributeValue("id"), "outer");
  EXPECT_FALSE(root.findFirstDeep("zzz"));
  EXPECT_EQ(root.findAllDeep("zzz", found), 0);
}

TEST_F(XMLNodeTest, ParseAttribute) {
  load("<r idx='p3' val='0.25' bad='' />");
  struct Case {
    const char* attr;
    float value;
    int index;
  } cases[] = {{"idx", -1.0f, 3}, {"val", 0.25f, -1}, {"bad", 0.0f, -1}, {"absent", -1.0f, -1}};
  for (const Case& c : cases) {
    float value = -1.0f;
    int index = -1;
    root.parseAttribute(c.attr, value, index);
    EXPECT_FLOAT_EQ(value, c.value) << c.attr;
    EXPECT_EQ(index, c.index) << c.attr;
  }
}

TEST(XMLNode, NullHandle) {
  XMLNode none;
  EXPECT_FALSE(none);
  EXPECT_FALSE(XMLNode(nullptr));
  EXPECT_TRUE(none == XMLNode());
  EXPECT_FALSE(none.getChildren());
  EXPECT_FALSE(none.getNext());
  EXPECT_EQ(none.getName(), "");
  EXPECT_FALSE(none.hasAttribute("a"));
  EXPECT_EQ(none.getAttributeValue("a"), "");
  EXPECT_EQ(none.getContent(), "");
  std::vector<XMLNode> out;
  EXPECT_EQ(none.findAllLocal("a", out), 0);
  EXPECT_EQ(none.findAllDeep("a", out), 0);
  EXPECT_FALSE(none.findFirstDeep("a"));
}

}  // namespace
