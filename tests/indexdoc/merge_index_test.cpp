// Merge Index: a heading without page numbers and with a single subentry
// becomes one paragraph with that subentry.
#include "index_test.h"

namespace vtrtest {
namespace {

class MergeIndexTest : public IndexTest {
 protected:
  // Runs "Merge Index" on an index built from (tag, text) pairs and returns
  // its paragraphs.
  std::vector<std::string> merged(
      const std::vector<std::pair<std::string, std::string>>& paragraphs) {
    DocumentBuilder b = Index();
    for (const auto& [tag, text] : paragraphs) b.para(tag, text);
    ObjectId d = addDocument(b);
    run(1);
    return FlowLines(doc(d));
  }
};

TEST_F(MergeIndexTest, SingleSubentryJoinsItsHeadingInTheHeadingsFormat) {
  start();
  DocumentBuilder b = Index();
  b.para("Level1IX", "Apple").prop(4321, Value::Int(7));
  b.para("Level2IX", "red, 12").para("Level1IX", "Banana, 5");
  ObjectId d = addDocument(b);
  run(1);
  const std::vector<ParagraphView> paras = Paragraphs(doc(d));
  ASSERT_EQ(paras.size(), 2u);
  EXPECT_EQ(paras[0].tag, "Level1IX");
  EXPECT_EQ(paras[0].text, "Apple, red, 12");
  // The heading's own properties stay with the joined paragraph.
  EXPECT_EQ(doc(d).paragraphProps(paras[0].id).getInt(4321), 7);
  EXPECT_EQ(paras[1].text, "Banana, 5");
  // The selection is left at the join point, behind the join text.
  EXPECT_EQ(Selection(doc(d)), "\"Apple, red, 12\" 7..7");
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(MergeIndexTest, HeadingsThatKeepTheirLines) {
  start();
  // A page number of its own, two subentries, and no text at all.
  EXPECT_EQ(merged({{"Level1IX", "Apple, 3"},
                    {"Level2IX", "red, 12"},
                    {"Level1IX", "Banana"},
                    {"Level2IX", "ripe, 4"},
                    {"Level2IX", "yellow, 5"},
                    {"Level1IX", ""},
                    {"Level2IX", "blank, 6"},
                    {"Level1IX", "Cherry, 7"}}),
            (std::vector<std::string>{"Level1IX: Apple, 3", "Level2IX: red, 12", "Level1IX: Banana",
                                      "Level2IX: ripe, 4", "Level2IX: yellow, 5",
                                      "Level1IX: ", "Level2IX: blank, 6", "Level1IX: Cherry, 7"}));
}

TEST_F(MergeIndexTest, HeadingsEndingInASpaceALetterOrAParenthesisHaveNoPageNumber) {
  start();
  EXPECT_EQ(merged({{"Level1IX", "Apple "},
                    {"Level2IX", "red, 1"},
                    {"Level1IX", "Banana"},
                    {"Level2IX", "ripe, 2"},
                    {"Level1IX", "Cherry (fruit)"},
                    {"Level2IX", "dark, 3"},
                    {"Level1IX", "Date, 4"}}),
            (std::vector<std::string>{"Level1IX: Apple , red, 1", "Level1IX: Banana, ripe, 2",
                                      "Level1IX: Cherry (fruit), dark, 3", "Level1IX: Date, 4"}));
}

TEST_F(MergeIndexTest, ThreeLevelsJoinFromTheInsideOneRunAtATime) {
  start();
  DocumentBuilder b = Index();
  b.para("Level1IX", "Apple").para("Level2IX", "red").para("Level3IX", "ripe, 3");
  b.para("Level1IX", "Banana");
  ObjectId d = addDocument(b);
  run(1);
  // "red" has one deeper subentry; "Apple" is not looked at again.
  EXPECT_EQ(
      FlowLines(doc(d)),
      (std::vector<std::string>{"Level1IX: Apple", "Level2IX: red, ripe, 3", "Level1IX: Banana"}));
  run(1);
  EXPECT_EQ(FlowLines(doc(d)),
            (std::vector<std::string>{"Level1IX: Apple, red, ripe, 3", "Level1IX: Banana"}));
  run(1);
  EXPECT_EQ(FlowLines(doc(d)).size(), 2u);
}

TEST_F(MergeIndexTest, LastParagraphOfTheFlowJoinsTheOneBefore) {
  start();
  EXPECT_EQ(merged({{"Level1IX", "Apple, 1"}, {"Level1IX", "Banana"}, {"Level2IX", "ripe, 2"}}),
            (std::vector<std::string>{"Level1IX: Apple, 1", "Level1IX: Banana, ripe, 2"}));
}

TEST_F(MergeIndexTest, EveryPairOfTheFlowIsJoinedAcrossFrames) {
  start();
  // Two columns of two lines: the pairs stand in different columns and
  // frames of the flow.
  DocumentBuilder b = Index(2, 2);
  for (const char* heading : {"Apple", "Banana", "Cherry", "Date"}) {
    b.para("Level1IX", heading).para("Level2IX", "sub, 1");
  }
  ObjectId d = addDocument(b);
  run(1);
  EXPECT_EQ(Texts(doc(d)), (std::vector<std::string>{"Apple, sub, 1", "Banana, sub, 1",
                                                     "Cherry, sub, 1", "Date, sub, 1"}));
}

TEST_F(MergeIndexTest, SetDocIdPointsTheCommandAtAnotherIndex) {
  start();
  DocumentBuilder first = Index(1, 0, "C:\\a\\aIX.fm");
  first.para("Level1IX", "Apple").para("Level2IX", "red, 1");
  DocumentBuilder second = Index(1, 0, "C:\\b\\bIX.fm");
  second.para("Level1IX", "Banana").para("Level2IX", "ripe, 2");
  ObjectId a = addDocument(first);
  ObjectId b = addDocument(second, /*active=*/false);
  host.setActiveDocument(a);
  message("SetDocId " + std::to_string(b));
  message("VTRMergeIndex");
  EXPECT_EQ(Texts(doc(b)), std::vector<std::string>{"Banana, ripe, 2"});
  EXPECT_EQ(Texts(doc(a)).size(), 2u);
  // The document is merged but neither saved nor closed.
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(host.closes().empty());
}

}  // namespace
}  // namespace vtrtest
