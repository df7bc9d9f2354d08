// Add Continueds: the column walk. Every index here has two columns per
// frame of four one-line paragraphs each, unless a test says otherwise.
#include "index_test.h"

namespace vtrtest {
namespace {

class ContinuedLinesTest : public IndexTest {
 protected:
  void SetUp() override {
    IndexTest::SetUp();
    start();
  }

  // Sets "DefaultContinuedType" and runs "Add Continueds" on `index`.
  ColumnView continued(const DocumentBuilder& index, const std::string& type = "2") {
    storeSettings({{"DefaultContinuedType", type}});
    ObjectId d = addDocument(index);
    run(2);
    return ColumnLines(doc(d));
  }

  // Apple's subentries run from the first column into the second.
  static DocumentBuilder AppleIndex(int32_t lines = 4) {
    DocumentBuilder b = Index(2, lines);
    b.para("GroupTitlesIX", "A").para("Level1IX", "Apple").para("Level2IX", "red, 3");
    b.name("red").para("Level2IX", "green, 4").para("Level2IX", "ripe, 5").name("ripe");
    b.para("Level1IX", "Banana, 6");
    return b;
  }
};

TEST_F(ContinuedLinesTest, ColumnStartingInsideSubentriesGetsTheContinuedHeading) {
  DocumentBuilder b = AppleIndex();
  b.paraFormatIndented("ContLevel1IX", 0);
  // A local override on the subentry that has to go.
  const Id ripe = b.id("ripe");
  b.doc().setParagraphProp(ripe, host::kPropIndent, Value::Metric(30));
  ObjectId d = addDocument(b);
  storeSettings({{"DefaultContinuedType", "2"}});
  run(2);
  Document& index = doc(d);
  EXPECT_EQ(ColumnLines(index),
            (ColumnView{
                {"GroupTitlesIX: A", "Level1IX: Apple", "Level2IX: red, 3", "Level2IX: green, 4"},
                {"ContLevel1IX: Apple (continued)", "Level2IX: ripe, 5", "Level1IX: Banana, 6"}}));
  // The subentry below the copy has exactly the properties a level-2
  // paragraph the run did not touch has.
  EXPECT_EQ(index.paragraphProps(ripe), index.paragraphProps(b.id("red")));
  EXPECT_EQ(index.paragraphProps(ripe).getInt(host::kPropIndent), 18);
  // The host function ran on the continued text without its first
  // character, and the selection was left there.
  EXPECT_EQ(host.fcodes(), std::vector<int32_t>{host::kFcode621});
  EXPECT_EQ(Selection(index), "\"Apple (continued)\" 6..17");
  EXPECT_EQ(host.clipboardDepth(), 0u);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_TRUE(host.recordsBalanced());
  // Neither saved nor closed.
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(index.dirty());

  // A second run finds nothing more to do.
  run(2);
  EXPECT_EQ(ColumnLines(index)[1].front(), "ContLevel1IX: Apple (continued)");
  EXPECT_EQ(ColumnLines(index).size(), 2u);
  EXPECT_EQ(Texts(index).size(), 7u);
  EXPECT_EQ(host.fcodes().size(), 1u);
}

TEST_F(ContinuedLinesTest, WithoutContLevel1IXTheCopyIsInLevel1IX) {
  EXPECT_EQ(continued(AppleIndex())[1],
            (std::vector<std::string>{"Level1IX: Apple (continued)", "Level2IX: ripe, 5",
                                      "Level1IX: Banana, 6"}));
}

TEST_F(ContinuedLinesTest, ACopyOfAContinuedHeadingGetsNoSecondContinued) {
  // Three lines a column: Apple runs over three columns; the heading of the
  // third column is copied from the continued heading of the second.
  DocumentBuilder b = Index(2, 3);
  b.para("Level1IX", "Apple");
  for (const char* sub : {"a, 1", "b, 2", "c, 3", "d, 4", "e, 5", "f, 6"}) {
    b.para("Level2IX", sub);
  }
  EXPECT_EQ(continued(b),
            (ColumnView{{"Level1IX: Apple", "Level2IX: a, 1", "Level2IX: b, 2"},
                        {"Level1IX: Apple (continued)", "Level2IX: c, 3", "Level2IX: d, 4"},
                        {"Level1IX: Apple (continued)", "Level2IX: e, 5", "Level2IX: f, 6"}}));
}

TEST_F(ContinuedLinesTest, ColumnsStartingUnindentedAreLeftAlone) {
  DocumentBuilder b = Index(2, 3);
  b.paraFormatIndented("Note", 18);
  b.para("GroupTitlesIX", "A").para("Level1IX", "Apple, 1").para("Level1IX", "Avocado, 2");
  b.para("Level1IX", "Banana, 3").para("Level1IX", "Berry, 4").para("Level1IX", "Blue, 5");
  // An indented paragraph of another format at a column top is no subentry.
  b.para("Note", "see also Fruit").para("Level1IX", "Cherry, 5");
  ObjectId d = addDocument(b);
  const ColumnView before = ColumnLines(doc(d));
  storeSettings({{"DefaultContinuedType", "2"}});
  run(2);
  EXPECT_EQ(ColumnLines(doc(d)), before);
  EXPECT_FALSE(doc(d).dirty());
  EXPECT_TRUE(host.fcodes().empty());
}

TEST_F(ContinuedLinesTest, GroupTitleNeverEndsAColumn) {
  DocumentBuilder b = Index(2, 4);
  b.para("Level1IX", "Apple, 1").para("Level1IX", "Berry, 2").para("Level1IX", "Blue, 3");
  b.para("GroupTitlesIX", "C").para("Level1IX", "Cherry, 4");
  EXPECT_EQ(continued(b),
            (ColumnView{{"Level1IX: Apple, 1", "Level1IX: Berry, 2", "Level1IX: Blue, 3"},
                        {"GroupTitlesIX: C", "Level1IX: Cherry, 4"}}));
}

TEST_F(ContinuedLinesTest, HeadingLeftAloneAtTheBottomMovesWithItsGroupTitle) {
  DocumentBuilder b = Index(2, 4);
  b.para("Level1IX", "Apple, 1").para("Level2IX", "red, 2").para("GroupTitlesIX", "B");
  b.para("Level1IX", "Banana").para("Level2IX", "ripe, 3").para("Level2IX", "yellow, 4");
  EXPECT_EQ(continued(b), (ColumnView{{"Level1IX: Apple, 1", "Level2IX: red, 2"},
                                      {"GroupTitlesIX: B", "Level1IX: Banana", "Level2IX: ripe, 3",
                                       "Level2IX: yellow, 4"}}));
  EXPECT_TRUE(host.fcodes().empty());
}

TEST_F(ContinuedLinesTest, HeadingLeftAloneWithoutGroupTitleMovesAlone) {
  DocumentBuilder b = Index(2, 4);
  b.para("Level1IX", "Apple, 1").para("Level2IX", "red, 2").para("Level1IX", "Avocado, 3");
  b.para("Level1IX", "Banana").para("Level2IX", "ripe, 4");
  EXPECT_EQ(continued(b),
            (ColumnView{{"Level1IX: Apple, 1", "Level2IX: red, 2", "Level1IX: Avocado, 3"},
                        {"Level1IX: Banana", "Level2IX: ripe, 4"}}));
}

TEST_F(ContinuedLinesTest, Level3TopGetsBothHeadingsOnlyTheFirstMarked) {
  DocumentBuilder b = Index(2, 4);
  b.paraFormatIndented("ContLevel1IX", 0).paraFormatIndented("ContLevel2IX", 18);
  b.para("GroupTitlesIX", "A").para("Level1IX", "Apple").para("Level2IX", "red");
  b.para("Level3IX", "ripe, 1").para("Level3IX", "sweet, 2").para("Level1IX", "Banana, 3");
  EXPECT_EQ(
      continued(b),
      (ColumnView{{"GroupTitlesIX: A", "Level1IX: Apple", "Level2IX: red", "Level3IX: ripe, 1"},
                  {"ContLevel1IX: Apple (continued)", "ContLevel2IX: red", "Level3IX: sweet, 2",
                   "Level1IX: Banana, 3"}}));
  EXPECT_EQ(host.fcodes().size(), 1u);
  EXPECT_EQ(host.clipboardDepth(), 0u);
}

TEST_F(ContinuedLinesTest, Level3TopWithItsLevel2HeadingLeftBehind) {
  DocumentBuilder b = Index(2, 4);
  b.para("Level1IX", "Apple").para("Level2IX", "red, 1").para("Level2IX", "green, 2");
  b.para("Level2IX", "ripe").para("Level3IX", "sweet, 3");
  // The continued heading goes before "ripe" and both start the column.
  EXPECT_EQ(continued(b),
            (ColumnView{{"Level1IX: Apple", "Level2IX: red, 1", "Level2IX: green, 2"},
                        {"Level1IX: Apple (continued)", "Level2IX: ripe", "Level3IX: sweet, 3"}}));
}

TEST_F(ContinuedLinesTest, Level3TopWithBothHeadingsLeftBehind) {
  DocumentBuilder b = Index(2, 4);
  b.para("Level1IX", "Apple, 1").para("GroupTitlesIX", "B").para("Level1IX", "Banana");
  b.para("Level2IX", "ripe").para("Level3IX", "sweet, 2");
  EXPECT_EQ(continued(b), (ColumnView{{"Level1IX: Apple, 1"},
                                      {"GroupTitlesIX: B", "Level1IX: Banana", "Level2IX: ripe",
                                       "Level3IX: sweet, 2"}}));
  EXPECT_TRUE(host.fcodes().empty());
}

TEST_F(ContinuedLinesTest, SubentryWithNoHeadingBeforeItGetsNothing) {
  // A hand-edited index: the second column starts with a subentry and no
  // level-1 heading stands anywhere before it.
  DocumentBuilder b = Index(2, 2);
  b.para("GroupTitlesIX", "A").para("Level2IX", "red, 1").para("Level2IX", "ripe, 2");
  EXPECT_EQ(continued(b),
            (ColumnView{{"GroupTitlesIX: A", "Level2IX: red, 1"}, {"Level2IX: ripe, 2"}}));
  EXPECT_EQ(host.clipboardDepth(), 0u);
}

TEST_F(ContinuedLinesTest, BalancedColumnsAreRefusedBeforeAnyQuestion) {
  DocumentBuilder b = Index();
  b.columns(2, 4, 40, /*balanced=*/true);
  b.para("Level1IX", "Apple").para("Level2IX", "red, 1");
  ObjectId d = addDocument(b);
  run(2);  // no continued type set: a choice list would follow the check
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{
                               "Cannot add 'continued' lines to an index with balanced columns."});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
  EXPECT_FALSE(doc(d).dirty());
}

}  // namespace
}  // namespace vtrtest
