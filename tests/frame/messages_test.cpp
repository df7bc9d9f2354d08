// Client messages: target assignments and commands by name.
#include "plugin_test.h"

namespace vtrtest {
namespace {

class MessagesTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    start();
    a = addDocument(Chapter("C:\\a.fm"));
    b = addDocument(Chapter("C:\\b.fm"), /*active=*/false);
    host.setActiveDocument(a);
  }
  static DocumentBuilder Chapter(const std::string& path) {
    DocumentBuilder builder(path);
    builder.flow().para("Body", "Intro").para("Index Entry", ".i.Dogs;").para("Body", "Text");
    return builder;
  }
  size_t markersIn(ObjectId d) { return MarkerTexts(doc(d), "Index").size(); }

  ObjectId a = 0;
  ObjectId b = 0;
};

TEST_F(MessagesTest, AssignmentIsAPrefixTestAndTakesTheNumberAfterTheFirstBlank) {
  message("SetDocIdX   " + std::to_string(b) + "  ");
  message("InsertAllMarkers");
  EXPECT_EQ(markersIn(b), 1u);
  EXPECT_EQ(markersIn(a), 0u);
}

TEST_F(MessagesTest, AssignmentWithoutABlankIsIgnoredAndANonNumberMeansTheActiveDocument) {
  message("SetDocId" + std::to_string(b));
  message("InsertAllMarkers");
  EXPECT_EQ(markersIn(a), 1u);
  message("SetDocId " + std::to_string(b));
  message("SetDocId abc");
  host.answerOk();  // markers and no "Index Entry" format: the loss warning
  message("DeleteAllIndexMarkers");
  EXPECT_EQ(markersIn(a), 0u);
}

TEST_F(MessagesTest, AssignmentRunsNoCommand) {
  message("SetDocId " + std::to_string(b));
  EXPECT_EQ(markersIn(b), 0u);
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(MessagesTest, ExpandAnswersToItsMessageNameOnly) {
  message("ExpandIndexMarkers");
  EXPECT_TRUE(host.dialogs().empty());
  message("ExpandIndexMarkersInDoc");
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(lastDialog().alertType, host::kAlertOkCancel);
}

TEST_F(MessagesTest, CommandNamesAreExact) {
  message("insertallmarkers");
  message("InsertAllMarkers ");
  message(" InsertAllMarkers");
  EXPECT_EQ(markersIn(a), 0u);
  message("InsertAllMarkers");
  EXPECT_EQ(markersIn(a), 1u);
}

TEST_F(MessagesTest, EveryMenuCommandHasItsMessage) {
  message("VeltranoAbout");
  EXPECT_EQ(lastDialog().alertType, host::kAlertNote);
  const Id intro = doc(a).firstParagraph(doc(a).mainFlow());
  host.setSelection(a, {{intro, 1}, {intro, 1}});
  message("InsertIdxEntry");
  EXPECT_EQ(Texts(doc(a)).front(), ".i.;");
}

}  // namespace
}  // namespace vtrtest
