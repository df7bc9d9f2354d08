// Changing a document: only what changed is written anew, in the
// application's layout; Unique values are never renumbered.
#include <gtest/gtest.h>

#include <string>

#include "mif/builder.h"
#include "mif/document.h"
#include "mif/ids.h"
#include "mif/text.h"
#include "mif/writer.h"
#include "test_support.h"

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

mif::NodeId ParagraphWithText(const mif::Document& doc, const std::string& text) {
  for (const auto& flow : mif::ReadFlows(doc)) {
    for (const auto& p : mif::ReadParagraphs(doc, flow.node)) {
      if (p.text() == text) return p.node;
    }
  }
  return mif::kNoNode;
}

TEST(MifEdit, AddedMarkerRewritesOnlyItsParagraphAndTheCounter) {
  VTR_REQUIRE_SAMPLES();
  const std::string original = mif_test::ReadSample("Test01.mif");
  auto doc = mif::ParseDocument(original, "Test01.mif");
  ASSERT_TRUE(doc.ok());
  mif::IdAllocator ids(*doc);
  mif::Builder make(*doc, ids);
  const mif::NodeId para = ParagraphWithText(*doc, "Bulleted line");
  ASSERT_NE(para, mif::kNoNode);
  auto marker = make.marker("Index", "dogs:puppies");
  ASSERT_TRUE(marker.ok());
  doc->tree().append(doc->tree().findChild(para, "ParaLine"), *marker);

  std::string expected = Replace(original, " <DNextUnique 998453>\n", " <DNextUnique 998454>\n");
  expected = Replace(expected, "   <String `Bulleted line'>\n  > # end of ParaLine\n",
                     "   <String `Bulleted line'>\n"
                     "   <Marker \n"
                     "    <MType 2>\n"
                     "    <MTypeName `Index'>\n"
                     "    <MText `dogs:puppies'>\n"
                     "    <Unique 998453>\n"
                     "   > # end of Marker\n"
                     "  > # end of ParaLine\n");
  EXPECT_EQ(mif::WriteTree(doc->tree()), expected);

  // Read back, the marker is there.
  auto again = mif::ParseDocument(expected, "again.mif");
  ASSERT_TRUE(again.ok()) << again.error().describe();
  const auto p = mif::ReadParagraph(*again, ParagraphWithText(*again, "Bulleted line"));
  ASSERT_EQ(p.items.size(), 2u);
  EXPECT_EQ(mif::ReadMarker(*again, p.items[1].node).text, "dogs:puppies");
}

TEST(MifEdit, NewParagraphNamesItsFormatAndTakesTheNextUnique) {
  VTR_REQUIRE_SAMPLES();
  const std::string original = mif_test::ReadSample("Test01.mif");
  auto doc = mif::ParseDocument(original, "Test01.mif");
  ASSERT_TRUE(doc.ok());
  mif::IdAllocator ids(*doc);
  mif::Builder make(*doc, ids);
  const mif::NodeId before = ParagraphWithText(*doc, "Bulleted line");
  auto para = make.paragraph("Index Entry");
  ASSERT_TRUE(para.ok());
  auto text = make.string(".i.Dogs>puppies;");
  ASSERT_TRUE(text.ok());
  doc->tree().append(doc->tree().findChild(*para, "ParaLine"), *text);
  doc->tree().insertBefore(before, *para);

  std::string expected = Replace(original, " <DNextUnique 998453>\n", " <DNextUnique 998454>\n");
  expected = Replace(expected, " <Para \n  <Unique 998371>\n",
                     " <Para \n"
                     "  <Unique 998453>\n"
                     "  <PgfTag `Index Entry'>\n"
                     "  <ParaLine \n"
                     "   <String `.i.Dogs\\>puppies;'>\n"
                     "  > # end of ParaLine\n"
                     " > # end of Para\n"
                     " <Para \n  <Unique 998371>\n");
  EXPECT_EQ(mif::WriteTree(doc->tree()), expected);
}

TEST(MifEdit, ValueChangesKeepTheLayoutAroundThem) {
  VTR_REQUIRE_SAMPLES();
  auto doc = mif::ParseDocument(mif_test::ReadSample("xorg-lbxalg.mif"), "lbxalg.mif");
  ASSERT_TRUE(doc.ok());
  mif::Tree& t = doc->tree();
  const mif::NodeId document = t.findChild(t.root(), "Document");
  const std::string before = mif::WriteTree(t);
  doc->setChildValue(document, "DShowAllConditions", "No");
  const std::string after = mif::WriteTree(t);
  EXPECT_EQ(after, Replace(before, "<DShowAllConditions Yes >", "<DShowAllConditions No >"));
  // A statement that was not there is added at the end of its parent.
  const mif::NodeId cond = t.findChild(t.findChild(t.root(), "ConditionCatalog"), "Condition");
  ASSERT_NE(cond, mif::kNoNode);
  doc->setChildValue(cond, "CColor", "`Blue'");
  EXPECT_EQ(doc->childText(cond, "CColor"), "Blue");
  auto again = mif::ParseDocument(mif::WriteTree(t), "again.mif");
  ASSERT_TRUE(again.ok()) << again.error().describe();
}

TEST(MifEdit, RemovedStatementLeavesNoTrace) {
  VTR_REQUIRE_SAMPLES();
  const std::string original = mif_test::ReadSample("Test01.mif");
  auto doc = mif::ParseDocument(original, "Test01.mif");
  ASSERT_TRUE(doc.ok());
  const auto p =
      mif::ReadParagraph(*doc, ParagraphWithText(*doc, "First sentence. Second sentence."));
  mif::NodeId marker = mif::kNoNode;
  for (const auto& item : p.items) {
    if (item.kind == mif::InlineKind::Marker) marker = item.node;
  }
  ASSERT_NE(marker, mif::kNoNode);
  doc->tree().detach(marker);
  EXPECT_EQ(mif::WriteTree(doc->tree()),
            Replace(original,
                    "   <Marker \n    <MType 2>\n    <MTypeName `Index'>\n    <MText `Sentence'>\n"
                    "    <MCurrPage `1'>\n    <Unique 998444>\n   > # end of Marker\n",
                    ""));
}

TEST(MifEdit, IdsGoAboveTheLargestAndUniqueNeverRepeats) {
  // The counter lags behind a Unique in the file: the next one still is new.
  auto doc = mif::ParseDocument(
      "<MIFFile 9.00>\n<Document\n <DNextUnique 10>\n> # end of Document\n"
      "<Tbls <Tbl <TblID 4> <Unique 12>> <Tbl <TblID 9>>>\n"
      "<Page <TextRect <ID 31> <Unique 3>>>\n"
      "<TextFlow <Notes <FNote <ID 55>>> <Para <Unique 7> <ParaLine <FNote 55> <ATbl 9>>>>\n",
      "ids.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  mif::IdAllocator ids(*doc);
  EXPECT_EQ(ids.nextUnique(), 13);
  EXPECT_EQ(ids.nextUnique(), 14);
  EXPECT_EQ(ids.nextObjectId(), 56);
  EXPECT_EQ(ids.nextTableId(), 10);
  const mif::NodeId document = doc->tree().findChild(doc->tree().root(), "Document");
  EXPECT_EQ(doc->childInteger(document, "DNextUnique"), 15);
  // With the counter ahead, the counter wins.
  auto ahead = mif::ParseDocument(
      "<MIFFile 9.00>\n<Document <DNextUnique 500>>\n<TextFlow <Para <Unique 7>>>\n", "a.mif");
  ASSERT_TRUE(ahead.ok());
  mif::IdAllocator more(*ahead);
  EXPECT_EQ(more.nextUnique(), 500);
}

TEST(MifEdit, OldFilesGetNumberedMarkersInFrameRoman) {
  VTR_REQUIRE_SAMPLES();
  auto doc = mif::ParseDocument(mif_test::ReadSample("xorg-xp_library.mif"), "xp.mif");
  ASSERT_TRUE(doc.ok());
  mif::IdAllocator ids(*doc);
  mif::Builder make(*doc, ids);
  auto marker = make.marker("Index", "caf\xC3\xA9");
  ASSERT_TRUE(marker.ok());
  mif::Tree& t = doc->tree();
  EXPECT_EQ(t.findChild(*marker, "MTypeName"), mif::kNoNode);  // 5.00 knows types by number
  EXPECT_EQ(t.rawValue(t.findChild(*marker, "MText")), " `caf\\x8e '");
  EXPECT_EQ(doc->childText(*marker, "MText"), "caf\xC3\xA9");
  EXPECT_FALSE(make.string("\xE6\x97\xA5").ok());  // no FrameRoman code for it
}

TEST(MifEdit, MadeStatementsInsideOneLineStatements) {
  // Statements on one line (hand-written MIF) take new children on lines of
  // their own, and the result reads back the same.
  auto doc = mif::ParseDocument(
      "<MIFFile 9.00>\n<TextFlow <Para <PgfTag `Body'> <ParaLine <String `x'>>>>\n", "one.mif");
  ASSERT_TRUE(doc.ok());
  mif::IdAllocator ids(*doc);
  mif::Builder make(*doc, ids);
  mif::Tree& t = doc->tree();
  const mif::NodeId line =
      t.findChild(t.findChild(t.findChild(t.root(), "TextFlow"), "Para"), "ParaLine");
  t.insertBefore(t.firstChild(line), make.character("Tab"));
  t.append(line, make.unconditional());
  EXPECT_EQ(mif::WriteTree(t),
            "<MIFFile 9.00>\n<TextFlow <Para <PgfTag `Body'> <ParaLine\n   <Char Tab>\n"
            " <String `x'>\n   <Unconditional >\n>>>\n");
}

}  // namespace

namespace {

TEST(MifEdit, LinkingMovesAndRefusesCycles) {
  auto doc = mif::ParseDocument(
      "<MIFFile 9.00>\n<TextFlow\n <Para <PgfTag `A'>>\n <Para <PgfTag `B'>>\n>\n", "m.mif");
  ASSERT_TRUE(doc.ok());
  mif::Tree& t = doc->tree();
  const mif::NodeId flow = t.findChild(t.root(), "TextFlow");
  const mif::NodeId a = t.firstChild(flow);
  const mif::NodeId b = t.nextSibling(a);
  // Moving B in front of A: a move, not a copy.
  EXPECT_TRUE(t.insertBefore(a, b));
  EXPECT_EQ(t.firstChild(flow), b);
  EXPECT_EQ(t.nextSibling(a), mif::kNoNode);
  EXPECT_EQ(t.lastChild(flow), a);
  // A statement cannot go inside itself, nor the root anywhere.
  EXPECT_FALSE(t.append(t.findChild(a, "PgfTag"), flow));
  EXPECT_FALSE(t.append(a, a));
  EXPECT_FALSE(t.append(flow, t.root()));
  EXPECT_EQ(mif::WriteTree(t),
            "<MIFFile 9.00>\n<TextFlow\n <Para <PgfTag `B'>>\n <Para <PgfTag `A'>>\n>\n");
}

}  // namespace
