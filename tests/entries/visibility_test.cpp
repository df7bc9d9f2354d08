// Showing and hiding entry paragraphs: the toggle of "ShowHideIndexEntries"
// as the user sees it, and its blocks called directly in this process.
#include "frame/visibility.h"
#include "entries_test.h"
#include "host/client.h"

namespace vtrtest {
namespace {

using Strings = std::vector<std::string>;

class VisibilityTest : public EntriesTest {
 protected:
  // Entries in the main flow (one typed without its condition), in a table
  // cell (untagged) and in two footnotes (one tagged "Index", one not).
  DocumentBuilder Chapter() {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.condition("Index").paraFormat("Index Entry").flow().para("Body", "Intro").select(1, 4);
    b.para("Index Entry", ".i.Dogs;").para("Index Entry", ".i.Cats;").conditions({"Index"});
    b.para("Body", "Table").table().row().cell("CellBody", "Cell text").name("cell");
    b.para("Index Entry", ".i.Cell;").endTable();
    b.footnote().para("Footnote", "Note").name("note").para("Index Entry", ".i.Untagged;");
    b.endFootnote().footnote().para("Index Entry", ".i.Tagged;").conditions({"Index"});
    b.name("tagged").endFootnote().para("Body", "End");
    return b;
  }
};

TEST_F(VisibilityTest, HidingCoversFlowsAndCellsButFootnotesOnlyWhenTagged) {
  start();
  DocumentBuilder b = Chapter();
  ObjectId d = addDocument(b);
  const headless::TextSpan selection = doc(d).selection();
  run(kShowHide);
  const Document& m = doc(d);
  EXPECT_FALSE(ConditionShown(m, "Index"));
  EXPECT_EQ(Texts(m), (Strings{"Intro", "Table", "End"}));
  EXPECT_EQ(Texts(m, Owner(m, b.id("cell"))), Strings{"Cell text"});
  EXPECT_EQ(Texts(m, Owner(m, b.id("note"))), (Strings{"Note", ".i.Untagged;"}));
  EXPECT_EQ(Texts(m, Owner(m, b.id("tagged"))), Strings{});
  EXPECT_EQ(m.selection(), selection);
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{host::kFcode259, host::kFcode260}));
  EXPECT_EQ(host.displaySwitches(), (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(host.displaying());
  EXPECT_EQ(host.redisplays(d), 1);
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(VisibilityTest, SecondToggleShowsEveryEntryAgain) {
  start();
  DocumentBuilder b = Chapter();
  ObjectId d = addDocument(b);
  const headless::TextSpan selection = doc(d).selection();
  run(kShowHide);
  run(kShowHide);
  const Document& m = doc(d);
  EXPECT_TRUE(ConditionShown(m, "Index"));
  EXPECT_EQ(Lines(m), (Strings{"Body: Intro", "Index Entry: .i.Dogs; {Index}",
                               "Index Entry: .i.Cats; {Index}",
                               "Body: Table[[table]][[footnote]][[footnote]]", "Body: End"}));
  EXPECT_EQ(Texts(m, Owner(m, b.id("cell"))), (Strings{"Cell text", ".i.Cell;"}));
  EXPECT_EQ(Texts(m, Owner(m, b.id("tagged"))), Strings{".i.Tagged;"});
  EXPECT_EQ(m.selection(), selection);
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{host::kFcode259, host::kFcode260, host::kFcode259,
                                                 host::kFcode260}));
  EXPECT_EQ(host.redisplays(d), 2);
}

TEST_F(VisibilityTest, HidingReplacesTheEntriesOtherConditions) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").condition("Review").paraFormat("Index Entry").flow();
  b.para("Index Entry", ".i.Dogs;").conditions({"Review", "Index"});
  b.para("Index Entry").conditional({"Review"}, ".i.").text("Cats;").conditions({"Index"});
  b.para("Body", "Dogs bark.").conditions({"Review"});
  ObjectId d = addDocument(b);
  run(kShowHide);
  run(kShowHide);
  EXPECT_EQ(Lines(doc(d)), (Strings{"Index Entry: .i.Dogs; {Index}",
                                    "Index Entry: .i.Cats; {Index}", "Body: Dogs bark. {Review}"}));
}

TEST_F(VisibilityTest, ShowAllOnAtTheStartIsTurnedOffAndTheEntriesHidden) {
  start();
  DocumentBuilder b = Chapter();
  b.showAll();
  ObjectId d = addDocument(b);
  run(kShowHide);
  EXPECT_FALSE(doc(d).showAll());
  EXPECT_FALSE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "Table", "End"}));
  run(kShowHide);
  EXPECT_FALSE(doc(d).showAll());
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", ".i.Dogs;", ".i.Cats;", "Table", "End"}));
}

TEST_F(VisibilityTest, ShowAllOnWithIndexHiddenShowsTheEntries) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index", /*shown=*/false).showAll().flow().para("Body", "Intro");
  b.para("Index Entry", ".i.Dogs;").conditions({"Index"});
  ObjectId d = addDocument(b);
  run(kShowHide);
  EXPECT_FALSE(doc(d).showAll());
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", ".i.Dogs;"}));
}

TEST_F(VisibilityTest, WithoutTheIndexConditionNothingInTheTextChanges) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Review").showAll().flow().para("Body", "Intro").caret(2);
  b.para("Index Entry", ".i.Dogs;").conditions({"Review"}).para("Index Entry", ".i.Cats;");
  ObjectId d = addDocument(b);
  const std::string before = Render(doc(d));
  run(kShowHide);
  EXPECT_EQ(Render(doc(d)), before);
  EXPECT_EQ(ConditionOf(doc(d), "Index"), 0u);
  EXPECT_FALSE(doc(d).showAll());
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{host::kFcode259, host::kFcode260}));
  EXPECT_EQ(host.redisplays(d), 1);
}

// ---- The blocks, called in this process through a service table of its own ----

class VisibilityBlocksTest : public EntriesTest {
 protected:
  // Connects this process's copy of the plug-in code to the host.
  void connect() { ASSERT_EQ(F_ApiClientInit(host.service(host.attachClient("Direct"))), 0); }
};

TEST_F(VisibilityBlocksTest, IsConditionShownReadsTheFlagUnlessShowAllIsOn) {
  connect();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Hidden", /*shown=*/false).condition("Shown").flow().para("Body", "Text");
  ObjectId d = addDocument(b);
  EXPECT_EQ(frame::IsConditionShown(d, "Missing"), -1);
  EXPECT_EQ(frame::IsConditionShown(d, "Hidden"), 0);
  EXPECT_EQ(frame::IsConditionShown(d, "Shown"), 1);
  EXPECT_EQ(frame::IsConditionShown(d, "hidden"), -1);  // names are case-sensitive
  doc(d).setShowAll(true);
  EXPECT_EQ(frame::IsConditionShown(d, "Hidden"), 1);
  EXPECT_EQ(frame::IsConditionShown(d, "Missing"), -1);
}

TEST_F(VisibilityBlocksTest, SetConditionShownSetsTheFlagOrReportsAMissingCondition) {
  connect();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").flow().para("Body", "Text");
  ObjectId d = addDocument(b);
  EXPECT_EQ(frame::SetConditionShown(d, "Index", 0), 0);
  EXPECT_FALSE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(frame::SetConditionShown(d, "Index", 1), 0);
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(frame::SetConditionShown(d, "Review", 0), 1);
  EXPECT_EQ(ConditionOf(doc(d), "Review"), 0u);
}

TEST_F(VisibilityBlocksTest, ApplyIndexConditionTagsFlowAndCellEntriesOnly) {
  connect();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").condition("Review").flow().para("Body", "Intro");
  b.para("Index Entry", ".i.Dogs;").conditions({"Review"});
  b.para("Body", "Table").table().row().cell("Index Entry", ".i.Cell;").name("cell").endTable();
  b.footnote().para("Index Entry", ".i.Note;").name("note").endFootnote();
  ObjectId d = addDocument(b);
  frame::ApplyIndexCondition(d);
  const Document& m = doc(d);
  EXPECT_EQ(Lines(m), (Strings{"Body: Intro", "Index Entry: .i.Dogs; {Index}",
                               "Body: Table[[table]][[footnote]]"}));
  EXPECT_EQ(Lines(m, Owner(m, b.id("cell"))), Strings{"Index Entry: .i.Cell; {Index}"});
  EXPECT_EQ(Lines(m, Owner(m, b.id("note"))), Strings{"Index Entry: .i.Note;"});
}

TEST_F(VisibilityBlocksTest, ApplyIndexConditionWithoutTheConditionChangesNothing) {
  connect();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Review").flow().para("Body", "Intro");
  b.para("Index Entry", ".i.Dogs;").conditions({"Review"}).para("Index Entry", ".i.Cats;");
  ObjectId d = addDocument(b);
  const std::string before = Render(doc(d));
  frame::ApplyIndexCondition(d);
  EXPECT_EQ(Render(doc(d)), before);
  EXPECT_FALSE(doc(d).dirty());
}

}  // namespace
}  // namespace vtrtest
