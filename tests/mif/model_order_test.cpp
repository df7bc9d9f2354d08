// The marker list of a loaded document in reading order: the main flow
// first, footnotes and tables at their anchors, hidden text at its place.
#include <gtest/gtest.h>

#include "headless/document.h"
#include "mif/model.h"
#include "mif/store.h"
#include "model_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;

// Everything that holds markers comes in the file before the main flow's
// text that anchors it: the table, the footnote, a header flow, the hidden
// flow is after it. Footnote 22 and table 5 are anchored nowhere.
const char* const kScattered =
    "<MIFFile 9.00>\n"
    "<ConditionCatalog <Condition <CTag `Internal'> <CState CHidden>>>\n"
    "<Document <DShowAllConditions No> <DNextUnique 100>>\n"
    "<Tbls\n"
    " <Tbl <TblID 5> <TblH <Row <Cell <CellContent\n"
    "   <Para <ParaLine <Marker <MType 2> <MText `stray table'>>>>>>>>>\n"
    " <Tbl <TblID 4>\n"
    "  <TblBody\n"
    "   <Row <Cell <CellContent <Notes\n"
    "      <FNote <ID 30> <Para <ParaLine <Marker <MType 2> <MText `table note'>>>>>>\n"
    "     <Para <ParaLine <Marker <MType 2> <MText `r1c1'>> <FNote 30>>>>>\n"
    "        <Cell <CellContent <Para <ParaLine <Marker <MType 2> <MText `r1c2'>>>>>>>\n"
    "   <Row <Cell <CellContent <Para <ParaLine <Marker <MType 2> <MText `r2c1'>>>>>>\n"
    "        <Cell <CellContent <Para <ParaLine <Marker <MType 2> <MText `r2c2'>>>>>>>\n"
    "  >\n"
    " >\n"
    ">\n"
    "<Page <PageType LeftMasterPage> <TextRect <ID 10>>>\n"
    "<Page <PageType BodyPage> <TextRect <ID 31>>>\n"
    "<Page <PageType HiddenPage> <PageTag `HIDDEN'> <TextRect <ID 90>>>\n"
    "<TextFlow\n"
    " <Para <ParaLine <TextRectID 10> <Marker <MType 2> <MText `header'>>>>\n"
    ">\n"
    "<TextFlow <TFTag `A'> <TFAutoConnect Yes>\n"
    " <Notes\n"
    "  <FNote <ID 21> <Para <ParaLine <Marker <MType 2> <MText `footnote'>>>>>\n"
    "  <FNote <ID 22> <Para <ParaLine <Marker <MType 2> <MText `stray note'>>>>>\n"
    " >\n"
    " <Para <ParaLine <TextRectID 31>\n"
    "   <Marker <MType 2> <MText `first'>>\n"
    "   <String `Text'>\n"
    "   <FNote 21>\n"
    "   <Marker <MType 2> <MText `second'>>>>\n"
    " <Para <ParaLine <ATbl 4> <Marker <MType 2> <MText `after table'>>>>\n"
    " <Para <ParaLine\n"
    "   <String `Then '>\n"
    "   <Marker <MType 10> <MText `+7'>>\n"
    "   <Marker <MType 2> <MText `last'>>>>\n"
    ">\n"
    "<TextFlow <TFTag `HIDDEN'>\n"
    " <Para <ParaLine <TextRectID 90>\n"
    "   <Conditional <InCondition `Internal'>>\n"
    "   <Marker <MType 10> <MText `-7'>>\n"
    "   <Marker <MType 2> <MText `hidden'>>\n"
    "   <String `secret'>\n"
    "   <Marker <MType 10> <MText `=7'>>>>\n"
    ">\n";

std::vector<std::string> MarkerTexts(const Document& doc) {
  std::vector<std::string> out;
  for (Id m : doc.all(DocList::Markers)) out.push_back(doc.node(m).name);
  return out;
}

TEST(MifModelOrder, MarkersInReadingOrder) {
  mif_test::TempDir dir;
  dir.write("scattered.mif", kScattered);
  mif::MifStore store;
  headless::Loaded loaded = store.load(dir.path("scattered.mif"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  const Document& doc = *loaded.document;
  EXPECT_FALSE(doc.dirty());
  const std::vector<std::string> expected = {
      "first", "footnote",    "second", "r1c1", "table note", "r1c2",        "r2c1",
      "r2c2",  "after table", "hidden", "last", "header",     "stray table", "stray note"};
  EXPECT_EQ(MarkerTexts(doc), expected);

  // Only the list changed: each marker still stands in its own paragraph,
  // and the file comes back unchanged.
  for (Id m : doc.all(DocList::Markers)) {
    const Id para = doc.node(m).anchor;
    ASSERT_NE(para, 0u) << doc.node(m).name;
    EXPECT_EQ(doc.anchorPosition(m).para, para);
  }
  auto text = mif::WriteModelDocument(doc);
  ASSERT_TRUE(text) << text.error().message;
  EXPECT_EQ(*text, std::string(kScattered));
}

// A marker list that the editing changed keeps the editing's order when it is
// saved, and reads back in reading order.
TEST(MifModelOrder, SavedMarkersReadBackInReadingOrder) {
  mif_test::TempDir dir;
  dir.write("scattered.mif", kScattered);
  mif::MifStore store;
  headless::Loaded loaded = store.load(dir.path("scattered.mif"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  Document& doc = *loaded.document;
  const Id index = doc.find(headless::Kind::MarkerType, "Index");
  const Id firstPara = doc.node(doc.mainFlow()).paraFirst;
  doc.insertAnchor({firstPara, 0}, doc.addMarker(index, "new"));
  EXPECT_EQ(MarkerTexts(doc).back(), "new");
  std::string error;
  ASSERT_TRUE(store.save(dir.path("scattered.mif"), doc, &error)) << error;

  headless::Loaded again = store.load(dir.path("scattered.mif"));
  ASSERT_TRUE(again.document) << again.error;
  const std::vector<std::string> texts = MarkerTexts(*again.document);
  ASSERT_EQ(texts.size(), 15u);
  EXPECT_EQ(texts[0], "new");
  EXPECT_EQ(texts[1], "first");
  EXPECT_EQ(texts[10], "hidden");
}

}  // namespace
