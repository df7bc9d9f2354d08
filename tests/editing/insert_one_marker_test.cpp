// Insert One Marker: the run at the insertion point converted alone, into
// its placement paragraph, replacing only that paragraph's index markers.
#include "editing_test.h"

namespace vtrtest {
namespace {

constexpr const char* kNotInEntry = "Place the insertion point in an index entry and try again.";

class InsertOneMarkerTest : public EditingTest {};

TEST_F(InsertOneMarkerTest, ConvertsTheWholeRunAroundTheInsertionPoint) {
  start();
  // No entry format in the catalogue: this command asks nothing first.
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").flow().para("Body", "Intro").marker("Index", "Old;");
  b.marker("Index", "Older;").marker("Comment", "keep");
  b.para("Index Entry", ".i.A;").conditions({"Index"});
  b.para("Index Entry", ".i.B;").conditions({"Index"}).caret(2);
  b.para("Index Entry", ".i.C;").conditions({"Index"});
  b.para("Body", "Middle").marker("Index", "Other run;");
  b.para("Index Entry", ".i.D;").conditions({"Index"});
  b.para("Body", "End").marker("Index", "Elsewhere;");
  ObjectId d = addDocument(b);
  const headless::TextSpan before = doc(d).selection();
  run(kInsertOneMarker);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(NonEntryLines(d),
            (std::vector<std::string>{
                "Body: Intro[[Comment: keep]][[Index: <$singlepage>A;<$singlepage>B;"
                "<$singlepage>C;]]",
                "Body: Middle[[Index: Other run;]]", "Body: End[[Index: Elsewhere;]]"}));
  EXPECT_EQ(doc(d).selection(), before);
  // One paragraph's markers: no display switch, no redisplay.
  EXPECT_TRUE(host.displaySwitches().empty());
  EXPECT_EQ(host.redisplays(d), 0);
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(InsertOneMarkerTest, FlowAfterTheRunAtItsStart) {
  storeSettings({{"MarkerParagraph", "2"}, {"MarkerLocation", "1"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro").marker("Index", "Stays;");
  Entry(b, ".i.A;").caret(0);
  b.para("Body", "After").marker("Index", "Replaced;");
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  EXPECT_EQ(NonEntryLines(d), (std::vector<std::string>{"Body: Intro[[Index: Stays;]]",
                                                        "Body: [[Index: <$singlepage>A;]]After"}));
}

TEST_F(InsertOneMarkerTest, TableRunOverflowGoesToTheEndAndTheLastMarkerToTheStart) {
  storeSettings({{"MaximumMarkerLength", "20"}, {"MarkerParagraph", "1"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").table().row().cell("Cell", "Before");
  Entry(b, ".i.Dogs;").caret(3);
  Entry(b, ".i.Cats;");
  b.para("Cell", "Text").name("placed").marker("Index", "Old;").endTable();
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  EXPECT_EQ(Line(doc(d), b.id("placed")),
            "Cell: [[Index: <$singlepage>Cats;]]Text[[Index: <$singlepage>Dogs;]]");
}

TEST_F(InsertOneMarkerTest, FootnoteIsTheFlowCase) {
  storeSettings({{"MarkerLocation", "1"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").footnote().para("Note", "Before").name("before");
  Entry(b, ".i.A;").caret(1);
  b.para("Note", "After").name("after").endFootnote();
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  EXPECT_EQ(Line(doc(d), b.id("before")), "Note: [[Index: <$singlepage>A;]]Before");
  EXPECT_EQ(Line(doc(d), b.id("after")), "Note: After");
}

TEST_F(InsertOneMarkerTest, OutsideAnEntryParagraphItAlertsAndChangesNothing) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro").marker("Index", "Old;").caret(2);
  Entry(b, ".i.A;");
  ObjectId d = addDocument(b);
  const std::vector<std::string> lines = Lines(doc(d));
  run(kInsertOneMarker);
  ASSERT_EQ(dialogTexts(), std::vector<std::string>{kNotInEntry});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
  EXPECT_EQ(Lines(doc(d)), lines);

  // No text selection at all: the same.
  host.clearDialogs();
  host.setSelection(d, {});
  run(kInsertOneMarker);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{kNotInEntry});
  EXPECT_EQ(Lines(doc(d)), lines);
}

TEST_F(InsertOneMarkerTest, InvalidEntrySelectsTheWholeParagraphAndLeavesNoFinalMarker) {
  storeSettings({{"MaximumMarkerLength", "20"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro").marker("Index", "Old;").marker("Comment", "keep");
  Entries(b, {".i.Dogs;", ".i.Cats;"});
  Entry(b, ".i[Nosuch].Birds;").name("bad").caret(4);
  b.para("Body", "End");
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  // The old marker is gone, the overflow marker exists, the last is not made.
  EXPECT_EQ(NonEntryLines(d),
            (std::vector<std::string>{"Body: Intro[[Comment: keep]][[Index: <$singlepage>Dogs;]]",
                                      "Body: End"}));
  EXPECT_EQ(Selection(doc(d)), "\".i[Nosuch].Birds;\" 0..18");
  EXPECT_EQ(doc(d).selection().begin.para, b.id("bad"));
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{0x103, 0x104}));
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{"Not a valid index entry."});
}

}  // namespace
}  // namespace vtrtest
