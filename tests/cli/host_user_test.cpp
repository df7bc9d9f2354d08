// The host's user hook: asked when the scripted answers run out, told of
// dialogs, console text and status lines. The status line is window state
// and leaves the book unchanged.
#include "fixture.h"

namespace vtrtest {
namespace {

class Recorder : public headless::User {
 public:
  headless::Answer ask(const headless::DialogRecord& d) override {
    asked.push_back(d.type == headless::DialogRecord::Type::ScrollBox ? d.title : d.text);
    if (d.type == headless::DialogRecord::Type::Prompt) return headless::Answer::Text("typed");
    if (d.type == headless::DialogRecord::Type::ScrollBox) return headless::Answer::Choice(1);
    return headless::Answer::Ok();
  }
  void shown(const headless::DialogRecord& d) override {
    shownTexts.push_back(d.text + (d.answered ? " +" : " -"));
  }
  void console(const std::string& text) override { consoleText += text; }
  void statusLine(const headless::StatusLineRecord& line) override { status.push_back(line.text); }

  std::vector<std::string> asked, shownTexts, status;
  std::string consoleText;
};

class UserHook : public HostFixture {
 protected:
  void SetUp() override { host.setUser(&user); }
  void TearDown() override {
    host.setUser(nullptr);
    HostFixture::TearDown();
  }
  Recorder user;
};

TEST_F(UserHook, AskedOnlyWhenNoScriptedAnswerIsLeft) {
  const auto& a = loadTestClient().api();
  host.answerCancel();
  EXPECT_NE(a.Alert("first?", host::kAlertOkCancel), host::kAlertAnswerOk);   // scripted
  EXPECT_EQ(a.Alert("second?", host::kAlertOkCancel), host::kAlertAnswerOk);  // the user's
  EXPECT_EQ(a.Alert("just so", host::kAlertNote), 0);                         // notes ask nothing
  std::string text;
  EXPECT_EQ(a.PromptString(&text, "Name?", "dflt"), 0);
  EXPECT_EQ(text, "typed");
  IntT chosen = -1;
  EXPECT_EQ(a.ScrollBox(&chosen, "Pick", StrList{{"a", "b", "c"}}, -1), 0);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(user.asked, (std::vector<std::string>{"second?", "Name?", "Pick"}));
  EXPECT_EQ(user.shownTexts,
            (std::vector<std::string>{"first? -", "second? +", "just so -", "Name? +", " +"}));
  EXPECT_EQ(host.dialogs().size(), 5u);
}

TEST_F(UserHook, ToldOfConsoleTextAndStatusLinesWhichLeaveTheBookUnchanged) {
  const auto& a = loadTestClient().api();
  a.ConsolePrint("Invalid entry .i.x in ch1.fm\n");
  EXPECT_EQ(user.consoleText, "Invalid entry .i.x in ch1.fm\n");
  EXPECT_EQ(host.consoleText(), user.consoleText);

  const ObjectId book = addBook(BookBuilder("C:\\b\\guide.book").doc("C:\\b\\ch1.fm"));
  a.SetString(0, book, host::kPropBookStatusLine, "Processing: ch1.fm");
  EXPECT_EQ(a.GetString(0, book, host::kPropBookStatusLine), "Processing: ch1.fm");
  a.SetString(0, book, host::kPropBookStatusLine, "");
  EXPECT_EQ(user.status, (std::vector<std::string>{"Processing: ch1.fm", ""}));
  EXPECT_FALSE(host.book(book)->dirty());
  EXPECT_FALSE(host.book(book)->modified(headless::Book::kSelf));
}

}  // namespace
}  // namespace vtrtest
