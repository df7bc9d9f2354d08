// Deleting index markers: the warning before markers that nothing could
// rebuild are lost, "Delete All Markers" and "Delete One Marker".
#include "editing_test.h"

namespace vtrtest {
namespace {

class DeleteMarkersTest : public EditingTest {
 protected:
  // Markers in three paragraphs, without the entry format: two adjacent
  // "Index" markers, markers of other types, one more "Index" marker.
  static DocumentBuilder WithoutEntryFormat(const std::string& path) {
    DocumentBuilder b(path);
    b.flow().para("Body", "One").marker("Index", "Dogs;").marker("Index", "Cats;");
    b.marker("Comment", "check");
    b.para("Body", "Two").marker("Subject", "pets").para("Body", "Three").marker("Index", "Birds;");
    return b;
  }
  static constexpr const char* kLossWarning =
      "The document chapter1.fm does not contain any index entries. Existing Index markers will "
      "be lost if you procede. Do you want to continue?";
};

TEST_F(DeleteMarkersTest, DeleteAllWarnsWithTheFileNameAndCancelKeepsEveryMarker) {
  start();
  ObjectId d = addDocument(WithoutEntryFormat("C:\\docs\\manual\\chapter1.fm"));
  const std::vector<std::string> before = Lines(doc(d));
  run(kDeleteAllMarkers);  // no answer scripted: Cancel
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(lastDialog().text, kLossWarning);
  EXPECT_EQ(lastDialog().alertType, host::kAlertOkCancel);
  EXPECT_EQ(Lines(doc(d)), before);
  EXPECT_TRUE(host.displaySwitches().empty());
}

TEST_F(DeleteMarkersTest, DeleteAllAfterOkRemovesEveryIndexMarkerAndKeepsTheOthers) {
  start();
  ObjectId d = addDocument(WithoutEntryFormat("C:\\docs\\manual\\chapter1.fm"));
  host.answerOk();
  run(kDeleteAllMarkers);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{kLossWarning});
  // The two adjacent markers both went: the successor is read first.
  EXPECT_EQ(Lines(doc(d)), (std::vector<std::string>{"Body: One[[Comment: check]]",
                                                     "Body: Two[[Subject: pets]]", "Body: Three"}));
  // Display off for the deletions, on again, one redisplay.
  EXPECT_EQ(host.displaySwitches(), (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(host.displaying());
  EXPECT_EQ(host.redisplays(d), 1);
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(DeleteMarkersTest, NoWarningWhenTheEntryFormatExistsOrNoIndexMarkerDoes) {
  start();
  // The format alone counts, even with no paragraph using it.
  DocumentBuilder withFormat = WithoutEntryFormat("C:\\docs\\a.fm");
  withFormat.paraFormat("Index Entry");
  ObjectId a = addDocument(withFormat);
  run(kDeleteAllMarkers);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_TRUE(IndexMarkers(a).empty());
  EXPECT_EQ(MarkerTexts(doc(a), "Comment"), std::vector<std::string>{"check"});

  // No "Index" marker: nothing to lose, nothing changes.
  DocumentBuilder others("C:\\docs\\b.fm");
  others.flow().para("Body", "Text").marker("Comment", "keep").marker("Subject", "too");
  ObjectId b = addDocument(others);
  run(kDeleteAllMarkers);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(Lines(doc(b)), std::vector<std::string>{"Body: Text[[Comment: keep]][[Subject: too]]"});
}

TEST_F(DeleteMarkersTest, InsertAllDeclinedAtTheWarningChangesNothing) {
  start();
  // Entry paragraphs but no entry format in the catalogue: the warning.
  DocumentBuilder b("C:\\docs\\chapter1.fm");
  b.condition("Index", /*shown=*/false).flow().para("Body", "Old").marker("Index", "Old;");
  b.para("Index Entry", ".i.Dogs;").conditions({"Index"}).para("Body", "Text");
  ObjectId d = addDocument(b);
  const std::vector<std::string> before = Lines(doc(d));
  run(kInsertAllMarkers);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{kLossWarning});
  EXPECT_EQ(Lines(doc(d)), before);
  EXPECT_FALSE(ConditionShown(doc(d), "Index"));

  host.clearDialogs();
  host.answerOk();
  run(kInsertAllMarkers);
  EXPECT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(IndexMarkers(d), std::vector<std::string>{"<$singlepage>Dogs;"});
}

TEST_F(DeleteMarkersTest, DeleteOneRemovesEveryIndexMarkerOfTheParagraphOnly) {
  start();
  DocumentBuilder b("C:\\docs\\ch.fm");
  b.flow().para("Body", "Before").marker("Index", "Before;");
  b.para("Body", "Here").marker("Index", "A;").marker("Comment", "note").marker("Index", "B;");
  b.marker("Index", "C;").caret(2);
  b.para("Body", "After").marker("Index", "After;");
  ObjectId d = addDocument(b);
  run(kDeleteOneMarker);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(Lines(doc(d)), (std::vector<std::string>{"Body: Before[[Index: Before;]]",
                                                     "Body: Here[[Comment: note]]",
                                                     "Body: After[[Index: After;]]"}));
  // Neither the display nor the redisplay is touched for one paragraph.
  EXPECT_TRUE(host.displaySwitches().empty());
  EXPECT_EQ(host.redisplays(d), 0);
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(DeleteMarkersTest, DeleteOneWithoutATextSelectionChangesNothing) {
  start();
  DocumentBuilder b("C:\\docs\\ch.fm");
  b.flow().para("Body", "Here").marker("Index", "A;");
  ObjectId d = addDocument(b);
  host.setSelection(d, {});
  run(kDeleteOneMarker);
  EXPECT_EQ(IndexMarkers(d), std::vector<std::string>{"A;"});
  EXPECT_TRUE(host.dialogs().empty());
}

}  // namespace
}  // namespace vtrtest
