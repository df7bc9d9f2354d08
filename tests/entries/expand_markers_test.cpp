// Expanding index markers into entry paragraphs: one entry paragraph per
// entry of each "Index" marker, in marker text order on either side of the
// marker's paragraph, the conditional form for markers in conditional text,
// and the markers left in place.
#include "entries_test.h"

namespace vtrtest {
namespace {

using Strings = std::vector<std::string>;

class ExpandMarkersTest : public EntriesTest {
 protected:
  // Intro, then a paragraph holding one "Index" marker, then a closing one.
  static DocumentBuilder WithMarker(const std::string& markerText) {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.flow().para("Body", "Intro").para("Body", "Dogs bark.").marker("Index", markerText);
    b.para("Body", "End");
    return b;
  }
};

TEST_F(ExpandMarkersTest, EntriesGoAfterTheMarkerParagraphAndTheMarkerStays) {
  start();
  ObjectId d = addDocument(WithMarker("Dogs;Cats"));
  host.answerOk();
  run(kExpand);
  EXPECT_EQ(dialogTexts(), Strings{"Are you sure you want to expand existing index markers? This "
                                   "operation cannot be undone."});
  EXPECT_EQ(Lines(doc(d)), (Strings{"Body: Intro", "Body: Dogs bark.[[Index: Dogs;Cats]]",
                                    "Index Entry: .i.Dogs; {Index}",
                                    "Index Entry: .i.Cats; {Index}", "Body: End"}));
  EXPECT_EQ(MarkerTexts(doc(d), "Index"), Strings{"Dogs;Cats"});
  EXPECT_EQ(fcodeCount(host::kFcode621), 2);
  // The insertion point is left in the last entry made, before its ";".
  EXPECT_EQ(Selection(doc(d)), "\".i.Cats;\" 7..7");
}

TEST_F(ExpandMarkersTest, PageCodesGiveTheKindsAndSortStringsAndSwitchesStay) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "One").marker("Index", "<$startrange>Dogs;<$endrange>Dogs");
  b.para("Body", "Two").marker("Index", "<$nopage>Dogs:puppies;");
  b.para("Body", "Three")
      .marker("Index", "<$singlepage>Dogs[dogs];<Italic>Cats<Default Para Font>");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(Texts(doc(d)),
            (Strings{"One", ".i(.Dogs;", ".i).Dogs;", "Two", ".i#.Dogs:puppies;", "Three",
                     ".i.Dogs[dogs];", ".i.<Italic>Cats<Default Para Font>;"}));
}

TEST_F(ExpandMarkersTest, MarkerInConditionalTextGivesConditionalEntries) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Review").flow().para("Body", "Checked ");
  b.marker("Index", "Dogs;<$startrange>Cats;<$nopage>Birds", {"Review"});
  b.para("Body", "Plain").marker("Index", "Fish;");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(
      Lines(doc(d)),
      (Strings{"Body: Checked {{Review: [[Index: Dogs;<$startrange>Cats;<$nopage>Birds]]}}",
               "Index Entry: .i[Review].Dogs; {Index}", "Index Entry: .i[Review](.Cats; {Index}",
               "Index Entry: .i[Review]#.Birds; {Index}", "Body: Plain[[Index: Fish;]]",
               "Index Entry: .i.Fish; {Index}"}));
}

TEST_F(ExpandMarkersTest, ManyEntriesKeepTheirOrderBefore) {
  // Markers after their run: the entries go in front of the paragraph.
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  ObjectId d = addDocument(WithMarker("A;B;C;D"));
  expand();
  EXPECT_EQ(Texts(doc(d)),
            (Strings{"Intro", ".i.A;", ".i.B;", ".i.C;", ".i.D;", "Dogs bark.", "End"}));
}

TEST_F(ExpandMarkersTest, ManyEntriesKeepTheirOrderAfter) {
  start();
  ObjectId d = addDocument(WithMarker("A;<$startrange>B;C;D"));
  expand();
  EXPECT_EQ(Texts(doc(d)),
            (Strings{"Intro", "Dogs bark.", ".i.A;", ".i(.B;", ".i.C;", ".i.D;", "End"}));
}

TEST_F(ExpandMarkersTest, RunInParagraphsGetTheirEntriesRightNextToThem) {
  // The conversion reads entries back from the paragraph right next to them,
  // so they are not moved past a run-in paragraph's follower or in front of
  // the run-in paragraph before; nor does a run-in paragraph that starts the
  // flow leave its entries without room.
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Run", "Dogs.").runIn().marker("Index", "A;B").para("Body", "They bark.");
  b.marker("Index", "C").para("Body", "End");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(dialogTexts().size(), 1u);
  EXPECT_EQ(Texts(doc(d)), (Strings{".i.A;", ".i.B;", "Dogs.", ".i.C;", "They bark.", "End"}));
}

TEST_F(ExpandMarkersTest, AfterARunInParagraphTheEntriesComeBeforeItsFollower) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Run", "Dogs.").runIn().marker("Index", "A;B;C").para("Body", "They bark.");
  b.para("Body", "End");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(Texts(doc(d)), (Strings{"Dogs.", ".i.A;", ".i.B;", ".i.C;", "They bark.", "End"}));
}

TEST_F(ExpandMarkersTest, MarkersAreExpandedInMarkerListOrderAtTheirOwnParagraphs) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "One").marker("Index", "A;B").para("Body", "Two");
  b.marker("Index", "C").marker("Index", "D");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(Texts(doc(d)), (Strings{"One", ".i.A;", ".i.B;", "Two", ".i.C;", ".i.D;"}));
}

TEST_F(ExpandMarkersTest, MarkerInATableCellExpandsInsideTheCellBeforeItsParagraph) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "Intro").table().row().cell("CellBody", "Dogs").name("cell");
  b.marker("Index", "Dogs;Cats").endTable().para("Body", "After");
  ObjectId d = addDocument(b);
  expand();
  const Id cell = Owner(doc(d), b.id("cell"));
  EXPECT_EQ(Texts(doc(d), cell), (Strings{".i.Dogs;", ".i.Cats;", "Dogs"}));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "After"}));
}

TEST_F(ExpandMarkersTest, OtherMarkerTypesAndEmptyMarkersMakeNoEntries) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "One").marker("Subject", "Dogs;").marker("Index", "");
  b.para("Body", "Two").marker("Index", "Cats;");
  ObjectId d = addDocument(b);
  expand();
  EXPECT_EQ(Texts(doc(d)), (Strings{"One", "Two", ".i.Cats;"}));
  EXPECT_EQ(MarkerTexts(doc(d), "Subject"), Strings{"Dogs;"});
  EXPECT_EQ(fcodeCount(host::kFcode621), 1);
}

TEST_F(ExpandMarkersTest, RunningTwiceWarnsFirstAndDoublesTheEntries) {
  start();
  ObjectId d = addDocument(WithMarker("Dogs;Cats"));
  expand();
  host.clearDialogs();
  host.answerOk();
  run(kExpand);  // the second question is not answered: cancelled
  EXPECT_EQ(dialogTexts().size(), 2u);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "Dogs bark.", ".i.Dogs;", ".i.Cats;", "End"}));

  host.clearDialogs();
  expand(/*entriesExist=*/true);
  EXPECT_EQ(dialogTexts(),
            (Strings{"Are you sure you want to expand existing index markers? This operation "
                     "cannot be undone.",
                     "Index entries already exist in this document. Expanding existing markers "
                     "may result in duplicates. Do you want to continue?"}));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "Dogs bark.", ".i.Dogs;", ".i.Cats;", ".i.Dogs;",
                                    ".i.Cats;", "End"}));
}

TEST_F(ExpandMarkersTest, HiddenIndexConditionIsShownAndNewEntriesAreShown) {
  start();
  DocumentBuilder b = WithMarker("Cats");
  b.condition("Index", /*shown=*/false);
  ObjectId d = addDocument(b);
  expand();
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "Dogs bark.", ".i.Cats;", "End"}));
}

}  // namespace
}  // namespace vtrtest
