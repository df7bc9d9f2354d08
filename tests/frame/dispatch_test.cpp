// The dispatcher: targets and their overrides, preconditions, confirmations,
// text insets around edits and the selection around conversions.
#include "plugin_test.h"

namespace vtrtest {
namespace {

class DispatchTest : public PluginTest {
 protected:
  // A chapter with one entry paragraph before a body paragraph.
  static DocumentBuilder Chapter(const std::string& path) {
    DocumentBuilder b(path);
    b.paraFormat("Index Entry").flow().para("Body", "Intro").para("Index Entry", ".i.Dogs;");
    b.para("Body", "Dogs bark.");
    return b;
  }
};

TEST_F(DispatchTest, AboutShowsANoteAndKeepsTheOverrides) {
  start();
  ObjectId a = addDocument(Chapter("C:\\a.fm"));
  ObjectId b = addDocument(Chapter("C:\\b.fm"), /*active=*/false);
  host.setActiveDocument(a);
  message("SetDocId " + std::to_string(b));
  run(1000);
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(lastDialog().alertType, host::kAlertNote);
  EXPECT_NE(lastDialog().text.find("Veltrano"), std::string::npos);
  EXPECT_NE(lastDialog().text.find("1.0.0"), std::string::npos);
  // The override set before the about command still points the next
  // command at the other document.
  run(5);
  EXPECT_EQ(MarkerTexts(doc(b), "Index"), std::vector<std::string>{"<$singlepage>Dogs;"});
  EXPECT_TRUE(MarkerTexts(doc(a), "Index").empty());
}

TEST_F(DispatchTest, OverrideTargetsOneCommandOnly) {
  start();
  ObjectId a = addDocument(Chapter("C:\\a.fm"));
  ObjectId b = addDocument(Chapter("C:\\b.fm"), /*active=*/false);
  host.setActiveDocument(a);
  message("SetDocId " + std::to_string(b));
  message("InsertAllMarkers");
  EXPECT_EQ(MarkerTexts(doc(b), "Index").size(), 1u);
  EXPECT_TRUE(MarkerTexts(doc(a), "Index").empty());
  message("InsertAllMarkers");
  EXPECT_EQ(MarkerTexts(doc(a), "Index").size(), 1u);
}

TEST_F(DispatchTest, UnknownCommandStillClearsTheOverrides) {
  start();
  ObjectId a = addDocument(Chapter("C:\\a.fm"));
  ObjectId b = addDocument(Chapter("C:\\b.fm"), /*active=*/false);
  host.setActiveDocument(a);
  message("SetDocId " + std::to_string(b));
  run(4242);
  run(5);
  EXPECT_EQ(MarkerTexts(doc(a), "Index").size(), 1u);
  EXPECT_TRUE(MarkerTexts(doc(b), "Index").empty());
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(DispatchTest, IndexCommandsNeedADocumentAndKeepTheOverrides) {
  start();
  for (int command : {1, 2}) {
    host.clearDialogs();
    run(command);
    ASSERT_EQ(host.dialogs().size(), 1u);
    EXPECT_EQ(lastDialog().text, "Please open an index document first.");
    EXPECT_EQ(lastDialog().alertType, host::kAlertNote);
  }
  // SetBookId alone keeps no document target, so the alert comes again, and
  // the override survives it.
  message("SetBookId 77");
  host.clearDialogs();
  run(1);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{"Please open an index document first."});
}

TEST_F(DispatchTest, EntryCommandsWithoutADocumentDoNothing) {
  start();
  for (int command : {6, 12, 13, 14, 15, 18}) run(command);
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(DispatchTest, TextInsetsAreAllLockedAfterAnEdit) {
  start();
  DocumentBuilder b("C:\\insets.fm");
  b.flow().para("Body", "One").textInset(false, "shared").para("Body", "Two").textInset(true, "x");
  b.marker("Index", "Dogs;");
  ObjectId d = addDocument(b);
  host.answerOk();  // the warning: Index markers and no "Index Entry" format
  run(3);
  EXPECT_TRUE(MarkerTexts(doc(d), "Index").empty());
  for (Id inset : doc(d).all(headless::DocList::TextInsets)) {
    EXPECT_EQ(doc(d).node(inset).flag, 1) << "inset " << inset;
  }
}

TEST_F(DispatchTest, ExpandAsksTwiceAndShowsTheIndexConditionBeforeTheSecondQuestion) {
  start();
  DocumentBuilder b("C:\\expand.fm");
  b.condition("Index", /*shown=*/false).paraFormat("Index Entry").flow();
  b.para("Index Entry", ".i.Cats;")
      .conditions({"Index"})
      .para("Body", "Text")
      .marker("Index", "Dogs;");
  ObjectId d = addDocument(b);
  host.answerOk();
  host.answerCancel();
  run(8);
  ASSERT_EQ(host.dialogs().size(), 2u);
  EXPECT_EQ(host.dialogs()[0].text,
            "Are you sure you want to expand existing index markers? This operation cannot be "
            "undone.");
  EXPECT_EQ(host.dialogs()[1].text,
            "Index entries already exist in this document. Expanding existing markers may result "
            "in duplicates. Do you want to continue?");
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  // Cancelled: no entry paragraph was made.
  EXPECT_EQ(Texts(doc(d)), (std::vector<std::string>{".i.Cats;", "Text"}));
}

TEST_F(DispatchTest, ExpandCancelledAtTheFirstQuestionAsksNothingMore) {
  start();
  DocumentBuilder b("C:\\expand.fm");
  b.condition("Index", /*shown=*/false)
      .flow()
      .para("Index Entry", ".i.Cats;")
      .conditions({"Index"});
  ObjectId d = addDocument(b);
  run(8);  // no scripted answer: Cancel
  EXPECT_EQ(host.dialogs().size(), 1u);
  EXPECT_FALSE(ConditionShown(doc(d), "Index"));
}

TEST_F(DispatchTest, SelectionIsPutBackAfterAConversionThatWentThrough) {
  start();
  DocumentBuilder b = Chapter("C:\\a.fm");
  b.caret(3);
  ObjectId d = addDocument(b);
  const headless::TextSpan before = doc(d).selection();
  run(5);
  EXPECT_EQ(doc(d).selection(), before);
}

TEST_F(DispatchTest, SelectionStaysOnTheInvalidEntryAfterAStop) {
  start();
  DocumentBuilder b("C:\\bad.fm");
  b.paraFormat("Index Entry").flow().para("Body", "Intro").caret(2);
  b.para("Index Entry", ".x.Dogs;").name("bad").para("Body", "Text");
  ObjectId d = addDocument(b);
  run(5);
  const headless::TextSpan sel = doc(d).selection();
  EXPECT_EQ(sel.begin.para, b.id("bad"));
  EXPECT_EQ(sel.begin.offset, 0u);
  EXPECT_EQ(sel.end, sel.begin);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{"Not a valid index entry."});
}

TEST_F(DispatchTest, EveryCommandPreparesTextConversion) {
  start();
  int before = host.textConversionPreparations();
  run(4242);
  run(1000);
  EXPECT_EQ(host.textConversionPreparations(), before + 2);
}

}  // namespace
}  // namespace vtrtest
