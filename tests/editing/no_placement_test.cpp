// Runs whose placement rule finds no paragraph: the paragraph on the other
// side of the run holds the markers, and a run with no paragraph on either
// side is reported instead of being dropped without a word.
#include "editing_test.h"

namespace vtrtest {
namespace {

constexpr const char* kNoPlacementAlert =
    "These index entries have no paragraph next to them to hold their index markers. Add a "
    "paragraph before or after them and try again.";

class NoPlacementTest : public EditingTest {};

TEST_F(NoPlacementTest, RunOpeningTheFlowGoesToTheParagraphAfterIt) {
  start();  // "MarkerParagraph" not set: before the run
  DocumentBuilder b = Chapter();
  Entries(b, {".i.A;", ".i.B;"}).para("Body", "First text");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(NonEntryLines(d),
            std::vector<std::string>{"Body: First text[[Index: <$singlepage>A;<$singlepage>B;]]"});
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(NoPlacementTest, RunEndingACellOrFootnoteGoesToTheParagraphBeforeIt) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").table().row().cell("Cell", "Cell text").name("cell");
  Entry(b, ".i.A;").endTable();
  b.footnote().para("Note", "Note text").name("note");
  Entry(b, ".i.B;").endFootnote();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(Line(doc(d), b.id("cell")), "Cell: Cell text[[Index: <$singlepage>A;]]");
  EXPECT_EQ(Line(doc(d), b.id("note")), "Note: Note text[[Index: <$singlepage>B;]]");
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(NoPlacementTest, InsertOneMarkerUsesTheOtherSideToo) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").table().row().cell("Cell", "Cell text").name("cell");
  b.marker("Index", "Old;");
  Entry(b, ".i.A;").caret(0).endTable();
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  // The table case's last marker goes to the start of its paragraph.
  EXPECT_EQ(Line(doc(d), b.id("cell")), "Cell: [[Index: <$singlepage>A;]]Cell text");
}

TEST_F(NoPlacementTest, StopFlagSetSelectsTheRunAndStops) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro").caret(1);
  Entry(b, ".i.Flow;").para("Body", "Text");
  b.table().row().cell();
  Entry(b, ".i.A;").name("first");
  Entry(b, ".i.B;").name("last").cell();
  Entry(b, ".i.Later;").para("Cell", "Later text").name("later").endTable();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  // The flow's run was converted; the cell with only entries stopped the
  // conversion, so the next cell was not reached.
  EXPECT_EQ(IndexMarkers(d), std::vector<std::string>{"<$singlepage>Flow;"});
  EXPECT_EQ(Line(doc(d), b.id("later")), "Cell: Later text");
  EXPECT_EQ(doc(d).selection(), (headless::TextSpan{{b.id("first"), 0}, {b.id("last"), 6}}));
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{0x103, 0x104}));
  ASSERT_EQ(dialogTexts(), std::vector<std::string>{kNoPlacementAlert});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
}

TEST_F(NoPlacementTest, InsertOneMarkerInAFlowOfOnlyEntriesReportsTheRun) {
  start();
  DocumentBuilder b = Chapter();
  Entry(b, ".i.A;").name("only").caret(2);
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  EXPECT_TRUE(IndexMarkers(d).empty());
  EXPECT_EQ(doc(d).selection(), (headless::TextSpan{{b.id("only"), 0}, {b.id("only"), 6}}));
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{kNoPlacementAlert});
}

TEST_F(NoPlacementTest, BookRunNamesEachEntryOnTheConsoleAndGoesOn) {
  start();
  const std::string path = "C:\\books\\ch1.fm";
  DocumentBuilder b = Chapter(path);
  b.para("Body", "Anchor").footnote();
  Entries(b, {".i.Lost one;", ".i.Lost two;"}).endFootnote();
  b.para("Body", "Text");
  Entry(b, ".i.Kept;");
  storeDocument(b);
  BookBuilder book("C:\\books\\guide.book");
  book.doc(path);
  addBook(book);
  run(kUpdateAllMarkers);
  EXPECT_EQ(host.consoleLines(),
            (std::vector<std::string>{
                "Index entry without a paragraph for its marker: .i.Lost one; in ch1.fm",
                "Index entry without a paragraph for its marker: .i.Lost two; in ch1.fm"}));
  EXPECT_EQ(MarkerTexts(*host.memoryStore()->document(path), "Index"),
            std::vector<std::string>{"<$singlepage>Kept;"});
  EXPECT_TRUE(host.dialogs().empty());
}

}  // namespace
}  // namespace vtrtest
