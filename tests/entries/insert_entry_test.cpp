// Inserting entry paragraphs: the six kinds, the condition "Index" and the
// format "Index Entry", the Before and After placements with their run-in
// rules, tables, the condition choice and the insertion point left inside.
#include "entries_test.h"

namespace vtrtest {
namespace {

using Strings = std::vector<std::string>;

class InsertEntryTest : public EntriesTest {
 protected:
  // Intro, then a body paragraph holding the insertion point.
  static DocumentBuilder Chapter() {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.flow().para("Body", "Intro").para("Body", "Dogs bark.").caret(3);
    return b;
  }
};

TEST_F(InsertEntryTest, StandardEntryGoesBeforeTheParagraphWithTheCaretBeforeItsSemicolon) {
  start();
  ObjectId d = addDocument(Chapter());
  run(kStandard);
  EXPECT_EQ(Lines(doc(d)),
            (Strings{"Body: Intro", "Index Entry: .i.; {Index}", "Body: Dogs bark."}));
  EXPECT_EQ(Selection(doc(d)), "\".i.;\" 3..3");
  EXPECT_EQ(host.fcodes(), std::vector<int32_t>{host::kFcode621});
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(InsertEntryTest, NewConditionAndFormatAreBlueAndTheFormatIsApplied) {
  start();
  ObjectId d = addDocument(Chapter());
  run(kStandard);
  const Document& m = doc(d);
  const Id blue = ColorOf(m, "Blue");
  ASSERT_NE(blue, 0u);
  const Id index = ConditionOf(m, "Index");
  ASSERT_NE(index, 0u);
  EXPECT_EQ(m.node(index).props.getId(host::kPropConditionColor), blue);
  EXPECT_TRUE(ConditionShown(m, "Index"));

  const headless::PropMap& format = FormatProps(m, "Index Entry");
  ASSERT_NE(format.find(host::kPropFormat564), nullptr);
  ASSERT_NE(format.find(host::kPropFormat547), nullptr);
  EXPECT_EQ(format.getInt(host::kPropFormat564), 0);
  EXPECT_EQ(format.getInt(host::kPropFormat547), 1);
  EXPECT_EQ(format.getId(host::kPropFormatColor), blue);
  // The entry paragraph carries the format's properties.
  const Id entry = Paragraphs(m)[1].id;
  EXPECT_EQ(m.paragraphProps(entry).getInt(host::kPropFormat547), 1);
  EXPECT_EQ(m.paragraphProps(entry).getId(host::kPropFormatColor), blue);
}

TEST_F(InsertEntryTest, WithoutBlueTheConditionAndFormatAreMadeWithoutColour) {
  start();
  DocumentBuilder b = Chapter();
  b.withoutColor("Blue");
  ObjectId d = addDocument(b);
  run(kStandard);
  const Document& m = doc(d);
  EXPECT_EQ(ColorOf(m, "Blue"), 0u);
  const Id index = ConditionOf(m, "Index");
  ASSERT_NE(index, 0u);
  EXPECT_FALSE(m.node(index).props.contains(host::kPropConditionColor));
  const headless::PropMap& format = FormatProps(m, "Index Entry");
  EXPECT_EQ(format.getInt(host::kPropFormat547), 1);
  EXPECT_FALSE(format.contains(host::kPropFormatColor));
  EXPECT_EQ(Lines(m)[1], "Index Entry: .i.; {Index}");
}

TEST_F(InsertEntryTest, ExistingFormatAndConditionAreKeptAndTheFormatsIndentIsApplied) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.color("Red").condition("Index", /*shown=*/true, "Red").paraFormatIndented("Index Entry", 18);
  b.flow().para("Body", "Dogs bark.").caret(0);
  ObjectId d = addDocument(b);
  run(kStandard);
  const Document& m = doc(d);
  const Id index = ConditionOf(m, "Index");
  EXPECT_EQ(m.node(index).props.getId(host::kPropConditionColor), ColorOf(m, "Red"));
  const headless::PropMap& format = FormatProps(m, "Index Entry");
  EXPECT_FALSE(format.contains(host::kPropFormat564));
  EXPECT_FALSE(format.contains(host::kPropFormat547));
  EXPECT_FALSE(format.contains(host::kPropFormatColor));
  const Id entry = Paragraphs(m)[0].id;
  EXPECT_EQ(m.paragraphProps(entry).getInt(556), 18);
  EXPECT_EQ(Lines(m), (Strings{"Index Entry: .i.; {Index}", "Body: Dogs bark."}));
}

TEST_F(InsertEntryTest, EveryKindHasItsTemplate) {
  start();
  const std::vector<std::pair<int, std::string>> kinds = {{kStandard, ".i.;"},
                                                          {kStartRange, ".i(.;"},
                                                          {kEndRange, ".i).;"},
                                                          {kNoPage, ".i#.;"},
                                                          {kNative, ".i*.;"}};
  for (const auto& [command, text] : kinds) {
    ObjectId d = addDocument(Chapter());
    run(command);
    EXPECT_EQ(Lines(doc(d))[1], "Index Entry: " + text + " {Index}") << command;
    const std::size_t beforeSemicolon = text.size() - 1;
    EXPECT_EQ(Selection(doc(d)), "\"" + text + "\" " + std::to_string(beforeSemicolon) + ".." +
                                     std::to_string(beforeSemicolon))
        << command;
  }
  EXPECT_EQ(fcodeCount(host::kFcode621), 5);
}

TEST_F(InsertEntryTest, InsertingWhileIndexIsHiddenShowsTheEntriesAgain) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index", /*shown=*/false).paraFormat("Index Entry").flow();
  b.para("Index Entry", ".i.Cats;").conditions({"Index"}).para("Body", "Dogs bark.").caret(2);
  ObjectId d = addDocument(b);
  ASSERT_EQ(Texts(doc(d)), Strings{"Dogs bark."});
  run(kStandard);
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  EXPECT_EQ(Texts(doc(d)), (Strings{".i.Cats;", ".i.;", "Dogs bark."}));
}

TEST_F(InsertEntryTest, OnlyTheParagraphWhereTheSelectionBeginsCounts) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "First").name("first").para("Body", "Second").name("second");
  ObjectId d = addDocument(b);
  host.setSelection(d, {{b.id("first"), 2}, {b.id("second"), 4}});
  run(kStandard);
  EXPECT_EQ(Texts(doc(d)), (Strings{".i.;", "First", "Second"}));
}

TEST_F(InsertEntryTest, UnderAnotherConditionTheEntryCarriesIndexAlone) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Review").flow().para("Body", "Reviewed").conditions({"Review"}).caret(4);
  ObjectId d = addDocument(b);
  run(kStandard);
  EXPECT_EQ(Lines(doc(d)), (Strings{"Index Entry: .i.; {Index}", "Body: Reviewed {Review}"}));
}

TEST_F(InsertEntryTest, BeforeAnExistingEntryTheNewOneGoesInFrontOfIt) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").paraFormat("Index Entry").flow().para("Body", "Intro");
  b.para("Index Entry", ".i.Cats;").conditions({"Index"}).caret(5).para("Body", "Text");
  ObjectId d = addDocument(b);
  run(kNoPage);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", ".i#.;", ".i.Cats;", "Text"}));
}

// ---- Run-in paragraphs in the Before placement ----

TEST_F(InsertEntryTest, RunInParagraphTakesTheEntryBeforeIt) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "Intro").para("Run", "Dogs.").runIn().caret(1).para("Body", "They bark.");
  ObjectId d = addDocument(b);
  run(kStandard);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", ".i.;", "Dogs.", "They bark."}));
  EXPECT_EQ(Selection(doc(d)), "\".i.;\" 3..3");
}

TEST_F(InsertEntryTest, AfterARunInParagraphTheEntryGoesBeforeTheRunIn) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "Intro").para("Run", "Dogs.").runIn().para("Body", "They bark.").caret(2);
  ObjectId d = addDocument(b);
  run(kStartRange);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", ".i(.;", "Dogs.", "They bark."}));
}

TEST_F(InsertEntryTest, RunInFirstInItsFlowHasNoRoom) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Run", "Dogs.").runIn().caret(1).para("Body", "They bark.");
  ObjectId d = addDocument(b);
  const std::string before = Selection(doc(d));
  run(kStandard);
  ASSERT_EQ(dialogTexts(), Strings{kNoRoom});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Dogs.", "They bark."}));
  EXPECT_EQ(Selection(doc(d)), before);
  EXPECT_TRUE(host.fcodes().empty());
  // The condition and the format were made before the placement was tried.
  EXPECT_NE(ConditionOf(doc(d), "Index"), 0u);
  EXPECT_NE(doc(d).find(headless::Kind::ParagraphFormat, "Index Entry"), 0u);
}

TEST_F(InsertEntryTest, RunInFirstInItsFlowFollowedByTheCaretHasNoRoom) {
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Run", "Dogs.").runIn().para("Body", "They bark.").caret(1);
  ObjectId d = addDocument(b);
  run(kEndRange);
  EXPECT_EQ(dialogTexts(), Strings{kNoRoom});
  EXPECT_EQ(Texts(doc(d)), (Strings{"Dogs.", "They bark."}));
}

// ---- The After placement ----

TEST_F(InsertEntryTest, AfterPlacementFollowsTheEntriesAlreadyThere) {
  startAfter();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").paraFormat("Index Entry").flow().para("Body", "Dogs bark.").caret(4);
  b.para("Index Entry", ".i.Dogs;").conditions({"Index"});
  b.para("Index Entry", ".i.Barking;").conditions({"Index"}).para("Body", "Cats purr.");
  ObjectId d = addDocument(b);
  run(kStandard);
  EXPECT_EQ(Lines(doc(d)), (Strings{"Body: Dogs bark.", "Index Entry: .i.Dogs; {Index}",
                                    "Index Entry: .i.Barking; {Index}", "Index Entry: .i.; {Index}",
                                    "Body: Cats purr."}));
  EXPECT_EQ(Selection(doc(d)), "\".i.;\" 3..3");
}

TEST_F(InsertEntryTest, AfterPlacementWithEntriesToTheEndOfTheFlowGoesAfterTheLast) {
  startAfter();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").paraFormat("Index Entry").flow().para("Body", "Dogs bark.").caret(4);
  b.para("Index Entry", ".i.Dogs;").conditions({"Index"});
  b.para("Index Entry", ".i.Barking;").conditions({"Index"});
  ObjectId d = addDocument(b);
  run(kStandard);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Dogs bark.", ".i.Dogs;", ".i.Barking;", ".i.;"}));
  EXPECT_EQ(Selection(doc(d)), "\".i.;\" 3..3");
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(InsertEntryTest, AfterPlacementAtTheEndOfTheFlowOrBeforeARunIn) {
  startAfter();
  DocumentBuilder last("C:\\docs\\last.fm");
  last.flow().para("Body", "Intro").para("Body", "Dogs bark.").caret(0);
  ObjectId d1 = addDocument(last);
  run(kStandard);
  EXPECT_EQ(Texts(doc(d1)), (Strings{"Intro", "Dogs bark.", ".i.;"}));

  DocumentBuilder runIn("C:\\docs\\runin.fm");
  runIn.flow().para("Body", "Intro").caret(1).para("Run", "Dogs.").runIn().para("Body", "Bark.");
  ObjectId d2 = addDocument(runIn);
  run(kStandard);
  EXPECT_EQ(Texts(doc(d2)), (Strings{"Intro", ".i.;", "Dogs.", "Bark."}));
}

TEST_F(InsertEntryTest, AfterPlacementFromARunInParagraphFollowsItsFollower) {
  startAfter();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Run", "Dogs.").runIn().caret(1).para("Body", "They bark.").para("Body", "End");
  ObjectId d = addDocument(b);
  run(kStandard);
  EXPECT_EQ(Texts(doc(d)), (Strings{"Dogs.", "They bark.", ".i.;", "End"}));
}

TEST_F(InsertEntryTest, InATableCellTheEntryAlwaysGoesBefore) {
  startAfter();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "Intro").table().row().cell("CellBody", "First").name("first");
  b.para("CellBody", "Second").name("second").caret(2).endTable().para("Body", "After");
  ObjectId d = addDocument(b);
  run(kStandard);
  const Id cell = Owner(doc(d), b.id("second"));
  EXPECT_EQ(Lines(doc(d), cell),
            (Strings{"CellBody: First", "Index Entry: .i.; {Index}", "CellBody: Second"}));
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "After"}));
  EXPECT_EQ(Selection(doc(d)), "\".i.;\" 3..3");
}

// ---- Conditional entries ----

TEST_F(InsertEntryTest, ConditionalEntryOffersTheConditionsAndTakesTheChosenName) {
  start();
  DocumentBuilder b = Chapter();
  b.condition("Review").condition("Draft");
  ObjectId d = addDocument(b);
  host.answerChoice(0);
  run(kConditional);
  ASSERT_EQ(host.dialogs().size(), 1u);
  const headless::DialogRecord& box = lastDialog();
  EXPECT_EQ(box.type, headless::DialogRecord::Type::ScrollBox);
  EXPECT_EQ(box.title, "Choose a condition");
  EXPECT_EQ(box.defaultItem, -1);
  EXPECT_EQ(box.lines, (Strings{"Review", "Draft", "Index"}));
  EXPECT_EQ(Lines(doc(d))[1], "Index Entry: .i[Review].; {Index}");
  EXPECT_EQ(Selection(doc(d)), "\".i[Review].;\" 11..11");
  EXPECT_EQ(host.fcodes(), std::vector<int32_t>{host::kFcode621});
}

TEST_F(InsertEntryTest, CancelledConditionChoiceMakesNoParagraph) {
  start();
  DocumentBuilder b = Chapter();
  b.condition("Review");
  ObjectId d = addDocument(b);
  const std::string before = Selection(doc(d));
  run(kConditional);  // no answer: cancelled
  EXPECT_EQ(Texts(doc(d)), (Strings{"Intro", "Dogs bark."}));
  EXPECT_EQ(Selection(doc(d)), before);
  EXPECT_TRUE(host.fcodes().empty());
  EXPECT_NE(ConditionOf(doc(d), "Index"), 0u);
  EXPECT_NE(doc(d).find(headless::Kind::ParagraphFormat, "Index Entry"), 0u);
}

TEST_F(InsertEntryTest, MoreThanTwentySixConditionsOffersTheFirstTwentySix) {
  start();
  DocumentBuilder b = Chapter();
  Strings names;
  for (int i = 1; i <= 30; ++i) {
    names.push_back("Cond" + std::to_string(100 + i).substr(1));
    b.condition(names.back());
  }
  ObjectId d = addDocument(b);
  host.answerChoice(25);
  run(kConditional);
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(lastDialog().lines, Strings(names.begin(), names.begin() + 26));
  EXPECT_EQ(Texts(doc(d))[1], ".i[Cond26].;");
}

}  // namespace
}  // namespace vtrtest
