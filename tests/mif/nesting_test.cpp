// Sizes far beyond what the application writes: deep nesting, huge strings,
// long raw lines, CRLF line ends and a byte-order mark.
#include <gtest/gtest.h>

#include <string>

#include "mif/document.h"
#include "mif/writer.h"

namespace {

TEST(MifLimits, DeepNestingRoundTripsWithoutRecursion) {
  constexpr int kDepth = 200000;
  std::string text = "<MIFFile 9.00>\n";
  for (int i = 0; i < kDepth; ++i) text += "<A ";
  text += "<String `deep'>";
  for (int i = 0; i < kDepth; ++i) text += ">";
  text += "\n";
  auto doc = mif::ParseDocument(text, "deep.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), text);
  mif::WriteOptions pieces;
  pieces.copyUnchanged = false;
  EXPECT_EQ(mif::WriteTree(doc->tree(), pieces), text);
  // Below the innermost <A> there is the string.
  mif::NodeId n = doc->header();
  n = doc->tree().nextSibling(n);
  for (int i = 0; i < kDepth; ++i) n = doc->tree().firstChild(n);
  EXPECT_EQ(doc->text(n), "deep");
}

TEST(MifLimits, HugeStringAndRawLines) {
  const std::string big(8 * 1024 * 1024, 'x');
  const std::string hex(100000, 'A');
  const std::string text = "<MIFFile 9.00>\n<Document\n <DocFileInfo\n" + hex + "\n" + hex +
                           "\n > # end of DocFileInfo\n> # end of Document\n<TextFlow\n <Para\n"
                           "  <ParaLine\n   <String `" +
                           big + "'>\n  >\n >\n>\n";
  auto doc = mif::ParseDocument(text, "big.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), text);
  const mif::Tree& t = doc->tree();
  const mif::NodeId flow = t.findChild(t.root(), "TextFlow");
  const mif::NodeId line = t.findChild(t.findChild(flow, "Para"), "ParaLine");
  EXPECT_EQ(doc->childText(line, "String")->size(), big.size());
}

TEST(MifLimits, CrlfAndByteOrderMarkAreKept) {
  const std::string text =
      "\xEF\xBB\xBF<MIFFile 9.00> # x\r\n<Units Uin>\r\n<Para \r\n <PgfTag `B'>\r\n> # end of "
      "Para\r\n# End of MIFFile\r\n";
  auto doc = mif::ParseDocument(text, "crlf.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), text);
  mif::WriteOptions pieces;
  pieces.copyUnchanged = false;
  EXPECT_EQ(mif::WriteTree(doc->tree(), pieces), text);
  EXPECT_EQ(doc->childText(doc->tree().findChild(doc->tree().root(), "Para"), "PgfTag"), "B");
}

TEST(MifLimits, FacetLinesCommentsAndMacrosAreKept) {
  // Facet data holds brackets, quotes and '#'; Comment statements nest;
  // define/include lines made by other tools stay as they are.
  const std::string text =
      "<MIFFile 9.00>\n"
      "define (Em, <Font <FTag `Emphasis'>>)\n"
      "include (`<c\\>catalogs.mif')\n"
      "<Comment  ignored <even this>  # and > this\n >\n"
      "<AFrames\n <Frame\n  <ID 1>\n  <ImportObject\n   <ImportObFile `2.0 internal inset'>\n"
      "=FrameImage\n&%v\n&<>`'#\\ <<<\n=EndInset\n  > # end of ImportObject\n"
      " > # end of Frame\n> # end of AFrames\n";
  auto doc = mif::ParseDocument(text, "facets.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), text);
  mif::WriteOptions pieces;
  pieces.copyUnchanged = false;
  EXPECT_EQ(mif::WriteTree(doc->tree(), pieces), text);
  const mif::Tree& t = doc->tree();
  const mif::NodeId frame = t.findChild(t.findChild(t.root(), "AFrames"), "Frame");
  EXPECT_EQ(doc->childInteger(frame, "ID"), 1);
  // The facet data holds no statements.
  const mif::NodeId object = t.findChild(frame, "ImportObject");
  int statements = 0;
  for (mif::NodeId c : t.children(object)) {
    (void)c;
    ++statements;
  }
  EXPECT_EQ(statements, 1);
}

}  // namespace
