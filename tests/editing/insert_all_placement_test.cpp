// Insert All Markers: where the markers of each run go in flows, table
// cells and footnotes under the "MarkerParagraph" and "MarkerLocation"
// settings, and which paragraphs are walked.
#include "editing_test.h"

namespace vtrtest {
namespace {

struct FlowPlacementCase {
  const char* name;
  SettingRows settings;
  std::vector<std::string> lines;  // the main flow's non-entry paragraphs
};

class FlowPlacementTest : public EditingTest,
                          public ::testing::WithParamInterface<FlowPlacementCase> {};

// Two runs separated by one paragraph: "Intro", A, B, "Middle", C, "End".
TEST_P(FlowPlacementTest, RunsArePlacedByTheSettings) {
  if (!GetParam().settings.empty()) storeSettings(GetParam().settings);
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro");
  Entries(b, {".i.A;", ".i.B;"}).para("Body", "Middle");
  Entry(b, ".i.C;").para("Body", "End");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(NonEntryLines(d), GetParam().lines);
}

constexpr const char* kAB = "[[Index: <$singlepage>A;<$singlepage>B;]]";
constexpr const char* kC = "[[Index: <$singlepage>C;]]";

INSTANTIATE_TEST_SUITE_P(
    Settings, FlowPlacementTest,
    ::testing::Values(FlowPlacementCase{"Defaults",
                                        {},
                                        {std::string("Body: Intro") + kAB,
                                         std::string("Body: Middle") + kC, "Body: End"}},
                      FlowPlacementCase{"BeforeAtStart",
                                        {{"MarkerParagraph", "1"}, {"MarkerLocation", "1"}},
                                        {std::string("Body: ") + kAB + "Intro",
                                         std::string("Body: ") + kC + "Middle", "Body: End"}},
                      FlowPlacementCase{"AfterAtEnd",
                                        {{"MarkerParagraph", "2"}, {"MarkerLocation", "2"}},
                                        {"Body: Intro", std::string("Body: Middle") + kAB,
                                         std::string("Body: End") + kC}},
                      FlowPlacementCase{"AfterAtStart",
                                        {{"MarkerParagraph", "2"}, {"MarkerLocation", "1"}},
                                        {"Body: Intro", std::string("Body: ") + kAB + "Middle",
                                         std::string("Body: ") + kC + "End"}},
                      // Any value other than 1 means "after" and "at the end".
                      FlowPlacementCase{"OtherValues",
                                        {{"MarkerParagraph", "7"}, {"MarkerLocation", "0"}},
                                        {"Body: Intro", std::string("Body: Middle") + kAB,
                                         std::string("Body: End") + kC}}),
    [](const ::testing::TestParamInfo<FlowPlacementCase>& param) { return param.param.name; });

class PlacementTest : public EditingTest {};

TEST_F(PlacementTest, RunEndingTheFlowGoesBeforeItWhenAskedForAfter) {
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro");
  Entries(b, {".i.A;", ".i.B;"});
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(NonEntryLines(d), std::vector<std::string>{std::string("Body: Intro") + kAB});
}

// Cells and footnotes take the first paragraph after the run, at its end,
// whatever the settings say.
TEST_F(PlacementTest, CellsAndFootnotesIgnoreTheSettings) {
  storeSettings({{"MarkerParagraph", "1"}, {"MarkerLocation", "1"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").name("anchor").table().row().cell("Cell", "Before");
  Entries(b, {".i.A;", ".i.B;"}).para("Cell", "Cell text").name("cell");
  b.endTable().footnote().para("Note", "Note before");
  Entry(b, ".i.C;").para("Note", "Note text").name("note").endFootnote();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(Line(doc(d), b.id("cell")), std::string("Cell: Cell text") + kAB);
  EXPECT_EQ(Line(doc(d), b.id("note")), std::string("Note: Note text") + kC);
  EXPECT_EQ(IndexMarkers(d).size(), 2u);
}

TEST_F(PlacementTest, CellThatIsNotShownIsNotExamined) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Anchor").table().row().cell().cellShown(false);
  Entry(b, ".i.Hidden;").para("Cell", "Hidden text").name("hidden").marker("Index", "Old;");
  b.cell();
  Entry(b, ".i.Shown;").para("Cell", "Shown text").name("shown").endTable();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  // Its old markers went with all the others; its entries made none.
  EXPECT_EQ(Line(doc(d), b.id("hidden")), "Cell: Hidden text");
  EXPECT_EQ(Line(doc(d), b.id("shown")), "Cell: Shown text[[Index: <$singlepage>Shown;]]");
}

TEST_F(PlacementTest, HiddenEntriesAreConvertedAndTheConditionIsLeftShown) {
  start();
  DocumentBuilder b = Chapter("C:\\docs\\ch1.fm", /*indexShown=*/false);
  b.para("Body", "Intro");
  Entries(b, {".i.A;", ".i.B;"}).para("Body", "Middle");
  Entry(b, ".i.C;");
  b.para("Body", "End");
  ObjectId d = addDocument(b);
  ASSERT_EQ(Texts(doc(d)), (std::vector<std::string>{"Intro", "Middle", "End"}));
  run(kInsertAllMarkers);
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(NonEntryLines(d),
            (std::vector<std::string>{std::string("Body: Intro") + kAB,
                                      std::string("Body: Middle") + kC, "Body: End"}));
}

TEST_F(PlacementTest, OldIndexMarkersGoAndOtherMarkersStay) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro").marker("Index", "Old one;").marker("Index", "Old two;");
  b.marker("Comment", "keep");
  Entry(b, ".i.A;").para("Body", "End").marker("Subject", "also kept").marker("Index", "Old;");
  b.table().row().cell("Cell", "x").marker("Index", "In a cell;").endTable();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(IndexMarkers(d), std::vector<std::string>{"<$singlepage>A;"});
  EXPECT_EQ(MarkerTexts(doc(d), "Comment"), std::vector<std::string>{"keep"});
  EXPECT_EQ(MarkerTexts(doc(d), "Subject"), std::vector<std::string>{"also kept"});
  // The display was off only while the old markers were deleted.
  EXPECT_EQ(host.displaySwitches(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(host.redisplays(d), 1);
}

TEST_F(PlacementTest, DocumentWithoutEntriesLosesItsIndexMarkersOnly) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Text").marker("Index", "Old;").marker("Comment", "keep");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_TRUE(host.dialogs().empty());  // the entry format is in the catalogue
  EXPECT_EQ(Lines(doc(d)), std::vector<std::string>{"Body: Text[[Comment: keep]]"});
}

TEST_F(PlacementTest, EveryFlowIsConverted) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Main");
  Entry(b, ".i.Main;");
  b.flow("B").para("Body", "Side").name("side");
  Entry(b, ".i.Side;");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(NonEntryLines(d), std::vector<std::string>{"Body: Main[[Index: <$singlepage>Main;]]"});
  EXPECT_EQ(Line(doc(d), b.id("side")), "Body: Side[[Index: <$singlepage>Side;]]");
}

}  // namespace
}  // namespace vtrtest
