// Add Continueds: the continued type, from "DefaultContinuedType" or the
// choice list, and the text and character format it adds to a copy.
#include "index_test.h"

namespace vtrtest {
namespace {

class ContinuedTypesTest : public IndexTest {
 protected:
  void SetUp() override {
    IndexTest::SetUp();
    start();
  }

  // Two columns of two lines: the second column of each frame starts with
  // a subentry of `heading`, the third column with one of "Banana".
  static DocumentBuilder TwoHeadings(const std::string& heading = "Apple") {
    DocumentBuilder b = Index(2, 2);
    b.para("Level1IX", heading).para("Level2IX", "red, 1").para("Level2IX", "ripe, 2");
    b.para("Level1IX", "Banana").para("Level2IX", "green, 3").para("Level2IX", "yellow, 4");
    return b;
  }

  // The headings at the tops of the second and fourth columns after a run
  // with `settings`.
  std::vector<std::string> copies(const DocumentBuilder& index, const SettingRows& settings) {
    storeSettings(settings);
    ObjectId d = addDocument(index);
    run(2);
    const ColumnView columns = ColumnLines(doc(d));
    std::vector<std::string> out;
    for (std::size_t c = 1; c < columns.size(); c += 2) out.push_back(columns[c].front());
    return out;
  }

  void expectUnchanged(ObjectId d, const ColumnView& before) {
    EXPECT_EQ(ColumnLines(doc(d)), before);
    EXPECT_FALSE(doc(d).dirty());
    EXPECT_TRUE(host.fcodes().empty());
  }
};

TEST_F(ContinuedTypesTest, EachTypeAddsItsText) {
  EXPECT_EQ(
      copies(TwoHeadings(), {{"DefaultContinuedType", "3"}}),
      (std::vector<std::string>{"Level1IX: Apple, continued", "Level1IX: Banana, continued"}));
  EXPECT_EQ(copies(TwoHeadings(), {{"DefaultContinuedType", "4"}}),
            (std::vector<std::string>{"Level1IX: Apple, cont.", "Level1IX: Banana, cont."}));
  EXPECT_EQ(
      copies(TwoHeadings(), {{"DefaultContinuedType", "5"}, {"CustomContinuedText", " (cont'd)"}}),
      (std::vector<std::string>{"Level1IX: Apple (cont'd)", "Level1IX: Banana (cont'd)"}));
  // Leading digits count: "2 (plain)" is type 2.
  EXPECT_EQ(
      copies(TwoHeadings(), {{"DefaultContinuedType", "2 (plain)"}}),
      (std::vector<std::string>{"Level1IX: Apple (continued)", "Level1IX: Banana (continued)"}));
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(ContinuedTypesTest, Type1FormatsTheWordContinued) {
  DocumentBuilder b = TwoHeadings();
  b.charFormat("Italic");
  EXPECT_EQ(copies(b, {{"DefaultContinuedType", "1"}}),
            (std::vector<std::string>{"Level1IX: Apple (<<Italic: continued>>)",
                                      "Level1IX: Banana (<<Italic: continued>>)"}));
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(ContinuedTypesTest, Type1TakesTheFormatNamedInTheSettings) {
  DocumentBuilder b = TwoHeadings();
  b.charFormat("Italic").charFormat("Emphasis");
  EXPECT_EQ(copies(b, {{"DefaultContinuedType", "1"}, {"ContinuedFormat", "Emphasis"}})[0],
            "Level1IX: Apple (<<Emphasis: continued>>)");
}

TEST_F(ContinuedTypesTest, Type1WithoutItsFormatWarnsOnceAndAddsPlainText) {
  EXPECT_EQ(
      copies(TwoHeadings(), {{"DefaultContinuedType", "1"}}),
      (std::vector<std::string>{"Level1IX: Apple (continued)", "Level1IX: Banana (continued)"}));
  EXPECT_EQ(dialogTexts(),
            std::vector<std::string>{"The 'Italic' character format is not available."});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
}

TEST_F(ContinuedTypesTest, Type1WithAMissingNamedFormatDoesNotFallBackToItalic) {
  DocumentBuilder b = TwoHeadings();
  b.charFormat("Italic");
  EXPECT_EQ(copies(b, {{"DefaultContinuedType", "1"}, {"ContinuedFormat", "Emphasis"}})[0],
            "Level1IX: Apple (continued)");
  EXPECT_EQ(dialogTexts(),
            std::vector<std::string>{"The specified character format is not available."});
}

TEST_F(ContinuedTypesTest, HeadingThatAlreadyHoldsTheTextGetsNoSecondOne) {
  EXPECT_EQ(
      copies(TwoHeadings("Data, cont. and discrete"), {{"DefaultContinuedType", "4"}}),
      (std::vector<std::string>{"Level1IX: Data, cont. and discrete", "Level1IX: Banana, cont."}));
  // Only the heading that got the text had the host function run on it.
  EXPECT_EQ(host.fcodes(), std::vector<int32_t>{host::kFcode621});
}

TEST_F(ContinuedTypesTest, CustomTextIsAskedForWhenNotSet) {
  storeSettings({{"DefaultContinuedType", "5"}});
  ObjectId d = addDocument(TwoHeadings());
  host.answerText(" (more)");
  run(2);
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(lastDialog().type, headless::DialogRecord::Type::Prompt);
  EXPECT_EQ(lastDialog().text, "Enter the 'continued' string to use:");
  EXPECT_EQ(lastDialog().defaultAnswer, "");
  EXPECT_EQ(ColumnLines(doc(d))[1].front(), "Level1IX: Apple (more)");
}

TEST_F(ContinuedTypesTest, EmptyCustomTextCopiesTheHeadingsAsTheyAre) {
  storeSettings({{"DefaultContinuedType", "5"}});
  ObjectId d = addDocument(TwoHeadings());
  host.answerText("");
  run(2);
  EXPECT_EQ(ColumnLines(doc(d)), (ColumnView{{"Level1IX: Apple", "Level2IX: red, 1"},
                                             {"Level1IX: Apple", "Level2IX: ripe, 2"},
                                             {"Level1IX: Banana", "Level2IX: green, 3"},
                                             {"Level1IX: Banana", "Level2IX: yellow, 4"}}));
  EXPECT_TRUE(host.fcodes().empty());
}

TEST_F(ContinuedTypesTest, CancelledPromptChangesNothing) {
  storeSettings({{"DefaultContinuedType", "5"}});
  ObjectId d = addDocument(TwoHeadings());
  const ColumnView before = ColumnLines(doc(d));
  host.answerCancel();
  run(2);
  EXPECT_EQ(host.dialogs().size(), 1u);
  expectUnchanged(d, before);
}

TEST_F(ContinuedTypesTest, ChoiceListWhenNoTypeIsSet) {
  storeSettings({{"CustomContinuedText", " (unused)"}});
  ObjectId d = addDocument(TwoHeadings());
  host.answerChoice(2);
  run(2);
  ASSERT_EQ(host.dialogs().size(), 1u);
  const headless::DialogRecord& list = lastDialog();
  EXPECT_EQ(list.type, headless::DialogRecord::Type::ScrollBox);
  EXPECT_EQ(list.title, "Choose a 'continued' type");
  EXPECT_EQ(list.lines, (std::vector<std::string>{" (continued) <-formatted->", " (continued)",
                                                  ", continued", ", cont.", "Custom"}));
  EXPECT_EQ(list.defaultItem, -1);
  EXPECT_EQ(ColumnLines(doc(d))[1].front(), "Level1IX: Apple, continued");
}

TEST_F(ContinuedTypesTest, ChoosingCustomUsesTheCustomSetting) {
  storeSettings({{"DefaultContinuedType", ""}, {"CustomContinuedText", " (more)"}});
  ObjectId d = addDocument(TwoHeadings());
  host.answerChoice(4);
  run(2);
  EXPECT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(ColumnLines(doc(d))[1].front(), "Level1IX: Apple (more)");
}

TEST_F(ContinuedTypesTest, CancelledOrEmptyChoiceChangesNothing) {
  ObjectId d = addDocument(TwoHeadings());
  const ColumnView before = ColumnLines(doc(d));
  host.answerCancel();
  run(2);
  // Confirming the list with no line chosen chooses nothing either.
  host.answerOk();
  run(2);
  EXPECT_EQ(host.dialogs().size(), 2u);
  expectUnchanged(d, before);
  EXPECT_EQ(host.clipboardDepth(), 0u);
}

TEST_F(ContinuedTypesTest, TypeOutsideOneToFiveIsRefusedWithoutAChoiceList) {
  for (const char* type : {"0", "6", "none", "-2"}) {
    SCOPED_TRACE(type);
    host.clearDialogs();
    storeSettings({{"DefaultContinuedType", type}});
    ObjectId d = addDocument(TwoHeadings());
    const ColumnView before = ColumnLines(doc(d));
    run(2);
    EXPECT_EQ(dialogTexts(), std::vector<std::string>{"You have not specified a valid "
                                                      "Continuation Type. It must be a value "
                                                      "between 1 and 5."});
    EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
    expectUnchanged(d, before);
    host.close(d);
  }
}

}  // namespace
}  // namespace vtrtest
