// The statement tree's own bookkeeping: statements whose pieces do not fit
// the compact form, and the sibling links under every kind of edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mif/document.h"
#include "mif/writer.h"

namespace {

mif::Document Parse(const std::string& text) {
  auto doc = mif::ParseDocument(text, "t.mif");
  EXPECT_TRUE(doc.ok()) << doc.error().describe();
  return std::move(doc).value();
}

std::string Pieces(const mif::Tree& t) {
  mif::WriteOptions options;
  options.copyUnchanged = false;
  return mif::WriteTree(t, options);
}

// The values of the children, walked forwards; checks the backward links
// and the last child on the way.
std::string Children(const mif::Tree& t, mif::NodeId parent) {
  std::string out;
  mif::NodeId prev = mif::kNoNode;
  for (mif::NodeId c : t.children(parent)) {
    EXPECT_EQ(t.parent(c), parent);
    EXPECT_EQ(t.previousSibling(c), prev);
    out += std::string(t.value(c));
    prev = c;
  }
  EXPECT_EQ(t.lastChild(parent), prev);
  EXPECT_EQ(t.hasChildren(parent), prev != mif::kNoNode);
  return out;
}

TEST(MifTree, StatementsBeyondTheCompactLengths) {
  // A long comment before a statement, a long token, a container whose head
  // holds a long comment, a close with a long comment, and one statement
  // whose value runs over lines.
  const std::string longComment = "# " + std::string(300, 'c') + "\n";
  const std::string longToken(70, 'T');
  const std::string text = "<MIFFile 9.00>\n" + longComment + "<" + longToken +
                           " 1>\n"
                           "<Box # " +
                           std::string(80, 'h') + "\n <Item 2>\n > # end of Box " +
                           std::string(90, 'e') + "\n<Short 3>\n<Lines `a'\n  `b'\n>\n";
  mif::Document doc = Parse(text);
  const mif::Tree& t = doc.tree();
  EXPECT_EQ(mif::WriteTree(t), text);
  EXPECT_EQ(Pieces(t), text);

  const mif::NodeId wideToken = t.nextSibling(doc.header());
  EXPECT_EQ(t.token(wideToken), longToken);
  EXPECT_EQ(t.value(wideToken), "1");
  const mif::NodeId box = t.findChild(t.root(), "Box");
  EXPECT_EQ(t.rawValue(box), " # " + std::string(80, 'h') + "\n");
  EXPECT_EQ(doc.childInteger(box, "Item"), 2);
  EXPECT_EQ(doc.childInteger(t.root(), "Short"), 3);
  EXPECT_EQ(t.rawValue(t.findChild(t.root(), "Lines")), " `a'\n  `b'\n");
  // The place of a statement is found through a long lead as well.
  EXPECT_EQ(t.sourceOffset(wideToken), text.find("<" + longToken));
}

TEST(MifTree, ReplacedValuesKeepTheirSurroundings) {
  const std::string text =
      "<MIFFile 9.00>\n<A 1> # one\n# " + std::string(300, 'x') + "\n<B  2 >\n<C\n <D 4>\n>\n";
  mif::Document doc = Parse(text);
  mif::Tree& t = doc.tree();
  const mif::NodeId a = t.findChild(t.root(), "A");
  const mif::NodeId b = t.findChild(t.root(), "B");  // behind a long lead
  const mif::NodeId c = t.findChild(t.root(), "C");
  t.setValue(a, "10");
  t.setValue(b, "20");
  t.setValue(b, "21");
  t.setValue(c, "`head'");
  EXPECT_TRUE(t.isChanged(a));
  EXPECT_FALSE(t.isChanged(t.findChild(c, "D")));
  const std::string expected = "<MIFFile 9.00>\n<A 10> # one\n# " + std::string(300, 'x') +
                               "\n<B  21 >\n<C `head'\n <D 4>\n>\n";
  EXPECT_EQ(mif::WriteTree(t), expected);
  EXPECT_EQ(Pieces(t), expected);
  EXPECT_EQ(t.token(b), "B");
  EXPECT_EQ(t.value(b), "21");
  EXPECT_EQ(t.sourceOffset(b), text.find("<B"));

  // A copy of the tree goes its own way.
  mif::Tree copy = t.copy();
  t.setValue(a, "11");
  EXPECT_EQ(mif::WriteTree(copy), expected);
  EXPECT_EQ(copy.value(a), "10");
}

TEST(MifTree, SiblingLinksUnderEdits) {
  mif::Document doc = Parse("<MIFFile 9.00>\n<P\n <V 1>\n <V 2>\n <V 3>\n>\n<Q\n <V 9>\n>\n");
  mif::Tree& t = doc.tree();
  const mif::NodeId p = t.findChild(t.root(), "P");
  const mif::NodeId q = t.findChild(t.root(), "Q");
  const mif::NodeId v1 = t.firstChild(p);
  const mif::NodeId v2 = t.nextSibling(v1);
  const mif::NodeId v3 = t.lastChild(p);
  const mif::NodeId v9 = t.firstChild(q);
  EXPECT_EQ(Children(t, p), "123");

  const mif::NodeId v4 = t.createStatement("V", "4");
  EXPECT_TRUE(t.insertBefore(v1, v4));  // before the first
  EXPECT_EQ(Children(t, p), "4123");
  EXPECT_TRUE(t.insertAfter(v3, v1));  // a move behind the last
  EXPECT_EQ(Children(t, p), "4231");
  EXPECT_TRUE(t.insertAfter(v4, v3));  // into the middle
  EXPECT_EQ(Children(t, p), "4321");
  t.detach(v1);  // the last
  EXPECT_EQ(Children(t, p), "432");
  t.detach(v4);  // the first
  EXPECT_EQ(Children(t, p), "32");
  EXPECT_EQ(t.parent(v4), mif::kNoNode);
  EXPECT_EQ(t.nextSibling(v4), mif::kNoNode);
  t.detach(v4);                  // twice changes nothing
  EXPECT_TRUE(t.append(p, v9));  // from another parent, its only child
  EXPECT_EQ(Children(t, p), "329");
  EXPECT_EQ(Children(t, q), "");
  EXPECT_TRUE(t.append(q, v2));
  EXPECT_EQ(Children(t, q), "2");

  // A listed statement moves in from elsewhere; one listed twice ends up
  // where it is listed last; former children not listed leave.
  t.setChildren(p, {v1, v2, v9, v1});
  EXPECT_EQ(Children(t, p), "291");
  EXPECT_EQ(Children(t, q), "");
  EXPECT_EQ(t.parent(v3), mif::kNoNode);
  t.setChildren(p, {});
  EXPECT_EQ(Children(t, p), "");
  t.setChildren(q, {v3, v4});
  EXPECT_EQ(Children(t, q), "34");
  EXPECT_EQ(mif::WriteTree(t), "<MIFFile 9.00>\n<P\n>\n<Q\n <V 3>\n <V 4>\n>\n");

  // The walk over a subtree follows the new links.
  std::string walked;
  for (mif::NodeId n = t.firstChild(t.root()); n != mif::kNoNode;
       n = t.nextInSubtree(n, t.root())) {
    walked += std::string(t.token(n)) + std::string(t.value(n)) + " ";
  }
  EXPECT_EQ(walked, "MIFFile9.00 P Q V3 V4 ");
}

}  // namespace
