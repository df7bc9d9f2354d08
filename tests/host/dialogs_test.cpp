// The scripted user, and the records the host keeps: console, function
// codes, host records, text conversion.
#include "fixture.h"

namespace vtrtest {
namespace {

using headless::DialogRecord;

class Dialogs : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }
};

TEST_F(Dialogs, AlertsTakeScriptedAnswersAndCancelWithout) {
  const auto& a = api();
  host.answerOk();
  EXPECT_EQ(a.Alert("Are you sure?", host::kAlertOkCancel), host::kAlertAnswerOk);
  EXPECT_NE(a.Alert("Again?", host::kAlertOkCancel), host::kAlertAnswerOk);
  host.answerCancel();
  EXPECT_NE(a.Alert("Third?", host::kAlertOkCancel), host::kAlertAnswerOk);
  // Notes and warnings take no answer from the script.
  host.answerOk();
  EXPECT_EQ(a.Alert("Note", host::kAlertNote), 0);
  EXPECT_EQ(a.Alert("Warning", host::kAlertWarning), 0);
  EXPECT_EQ(host.pendingAnswers(), 1u);
  EXPECT_EQ(a.Alert("Fourth?", host::kAlertOkCancel), host::kAlertAnswerOk);
  // An answer of the wrong kind cancels and is marked.
  host.clearDialogs();
  host.answerText("x");
  EXPECT_NE(a.Alert("Typed?", host::kAlertOkCancel), host::kAlertAnswerOk);
  EXPECT_EQ(host.pendingAnswers(), 0u);
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_TRUE(host.dialogs()[0].scriptMismatch);
  EXPECT_EQ(host.dialogs()[0].text, "Typed?");
  EXPECT_EQ(host.dialogs()[0].alertType, host::kAlertOkCancel);
}

TEST_F(Dialogs, PromptsAndScrollBoxes) {
  const auto& a = api();
  std::string answer = "unchanged";
  host.answerText("Vol1-");
  EXPECT_EQ(a.PromptString(&answer, "Enter the prepend string for A.book", ""), 0);
  EXPECT_EQ(answer, "Vol1-");
  EXPECT_NE(a.PromptString(&answer, "Again", "dflt"), 0);
  host.answerOk();
  EXPECT_EQ(a.PromptString(&answer, "Default", "dflt"), 0);
  EXPECT_EQ(answer, "dflt");

  int32_t chosen = 99;
  host.answerChoice(2);
  EXPECT_EQ(a.ScrollBox(&chosen, "Choose a condition", StrList{{"Index", "Review", "Print"}}, -1),
            0);
  EXPECT_EQ(chosen, 2);
  host.answerChoice(7);
  EXPECT_NE(a.ScrollBox(&chosen, "Out of range", StrList{{"a"}}, -1), 0);
  EXPECT_NE(a.ScrollBox(&chosen, "No answer", StrList{{"a"}}, -1), 0);

  const std::vector<DialogRecord>& d = host.dialogs();
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(d[0].type, DialogRecord::Type::Prompt);
  EXPECT_EQ(d[0].text, "Enter the prepend string for A.book");
  EXPECT_EQ(d[2].defaultAnswer, "dflt");
  EXPECT_EQ(d[3].type, DialogRecord::Type::ScrollBox);
  EXPECT_EQ(d[3].title, "Choose a condition");
  EXPECT_EQ(d[3].lines, (std::vector<std::string>{"Index", "Review", "Print"}));
  EXPECT_EQ(d[3].defaultItem, -1);
  EXPECT_EQ(d[3].choice, 2);
  EXPECT_FALSE(d[5].answered);
}

TEST_F(Dialogs, ConsoleFcodesRecordsAndConversion) {
  const auto& a = api();
  a.ConsolePrint("Invalid index entry: ");
  a.ConsolePrint(".i!x; in ch1.fm\n");
  a.ConsolePrint("half");
  EXPECT_EQ(host.consoleLines(),
            (std::vector<std::string>{"Invalid index entry: .i!x; in ch1.fm", "half"}));
  const IntT codes[] = {host::kFcode259, host::kFcode260};
  a.Fcodes(2, codes);
  a.Fcodes(1, &host::kFcode621);
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{0x103, 0x104, 621}));
  PropList list = a.AllocatePropVals(2);
  EXPECT_FALSE(host.recordsBalanced());
  EXPECT_EQ(host.recordBalance(1), 1);
  a.DeallocatePropVals(&list);
  EXPECT_TRUE(host.recordsBalanced());
  a.PrepareTextConversion();
  EXPECT_EQ(host.textConversionPreparations(), 1);
  a.SetUnicodeMode(true);
  EXPECT_TRUE(host.unicodeMode());
}

}  // namespace
}  // namespace vtrtest
