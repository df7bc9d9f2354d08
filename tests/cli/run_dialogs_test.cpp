// Running commands in process on documents kept in memory: how dialogs are
// answered, the exit status, and what is saved.
#include <gtest/gtest.h>

#include "builder.h"
#include "cli_test_support.h"
#include "readers.h"

namespace vtrtest {
namespace {

class RunDialogs : public ::testing::Test {
 protected:
  void put(const DocumentBuilder& b) { store->put(b.build().path(), b.build()); }
  // A document with an "Index" marker and no "Index Entry" format: deleting
  // or replacing its markers asks first.
  void putOld(const std::string& path = "/m/old.fm") {
    DocumentBuilder b(path);
    b.flow().para("Body", "Old").marker("Index", "Cats;");
    put(b);
  }
  void putChapter(const std::string& path, const std::string& entry = ".i.Dogs;") {
    DocumentBuilder b(path);
    b.condition("Index").flow().para("Body", "Intro").para("Index Entry", entry);
    b.conditions({"Index"}).para("Body", "Text");
    put(b);
  }
  CliRun run(std::vector<std::string> args, const std::string& input = {}, bool terminal = false) {
    args.insert(args.begin(), {"--home", "/m/home"});
    return RunCliWith(MemoryFiles(store), args, input, terminal);
  }
  const Document& stored(const std::string& path) { return *store->document(path); }

  std::shared_ptr<headless::MemoryStore> store = std::make_shared<headless::MemoryStore>();
};

const char kLoss[] = "veltrano: cancelled a confirmation (--yes confirms): ";

TEST_F(RunDialogs, AConfirmationWithoutAnAnswerIsCancelledAndSaid) {
  putOld();
  CliRun r = run({"DeleteAllIndexMarkers", "/m/old.fm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(kLoss), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("did not do all that was asked"), std::string::npos);
  EXPECT_TRUE(store->saves().empty());
  EXPECT_EQ(MarkerTexts(stored("/m/old.fm"), "Index"), std::vector<std::string>{"Cats;"});

  r = run({"--yes", "DeleteAllIndexMarkers", "/m/old.fm"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote /m/old.fm\n");
  EXPECT_TRUE(MarkerTexts(stored("/m/old.fm"), "Index").empty());
}

TEST_F(RunDialogs, OnATerminalTheUserIsAsked) {
  putOld();
  // The user cancels: nothing done, but that was the user's answer.
  CliRun r = run({"DeleteAllIndexMarkers", "/m/old.fm"}, "\n", /*terminal=*/true);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("OK or Cancel? [o/C] "), std::string::npos) << r.err;
  EXPECT_TRUE(store->saves().empty());
  // End of input cancels as well.
  r = run({"DeleteAllIndexMarkers", "/m/old.fm"}, "", true);
  EXPECT_TRUE(store->saves().empty());

  r = run({"DeleteAllIndexMarkers", "/m/old.fm"}, "ok\n", true);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(MarkerTexts(stored("/m/old.fm"), "Index").empty());
}

TEST_F(RunDialogs, ChoiceListsTakeChooseInOrder) {
  DocumentBuilder b("/m/c.fm");
  b.condition("Print").condition("Web").flow().para("Body", "Text").caret(0);
  put(b);
  // The list is Print, Web and the Index condition the command adds.
  CliRun r = run({"--choose", "2", "InsertConditional", "/m/c.fm"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<ParagraphView> paras = Paragraphs(stored("/m/c.fm"));
  ASSERT_EQ(paras.size(), 2u);
  EXPECT_EQ(paras[0].tag, "Index Entry");
  EXPECT_NE(paras[0].text.find("Web"), std::string::npos) << paras[0].text;

  // Past the end of the list, or none given: cancelled, and no entry made
  // (the document keeps what the command did before it asked).
  r = run({"--choose", "9", "InsertConditional", "/m/c.fm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--choose 9 is past its 3 lines"), std::string::npos) << r.err;
  r = run({"InsertConditional", "/m/c.fm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cancelled a choice list (--choose N chooses line N)"), std::string::npos);
  EXPECT_EQ(Paragraphs(stored("/m/c.fm")).size(), 2u);

  // On a terminal the lines are numbered from 1, as --choose counts them.
  r = run({"InsertConditional", "/m/c.fm"}, "x\n1\n", true);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("  1. Print\n  2. Web\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Not a line of the list."), std::string::npos);
  EXPECT_NE(Paragraphs(stored("/m/c.fm"))[0].text.find("Print"), std::string::npos);
}

TEST_F(RunDialogs, PromptsTakeAnswerInOrder) {
  for (const char* name : {"a", "b"}) {
    const std::string ch = std::string("/m/") + name + "1.fm";
    putChapter(ch);
    store->put(std::string("/m/") + name + ".book", BookBuilder().doc(ch).build());
  }
  CliRun r = run({"--answer", "A-", "--answer", "B-", "BuildCompIndex", "/m/b.book", "/m/a.book"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* name : {"a", "b"}) {
    const Book* book = store->book(std::string("/m/") + name + ".book");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->props(book->firstComponent()).getString(host::kPropComponentPrefix),
              std::string(1, static_cast<char>(name[0] - 'a' + 'A')) + "-");
  }
  // The master book is written beside the first book given.
  EXPECT_NE(r.err.find("wrote /m/Master\n"), std::string::npos) << r.err;
  ASSERT_NE(store->book("/m/Master"), nullptr);
  EXPECT_EQ(store->book("/m/Master")->components().size(), 2u);

  // Answers left over are mentioned.
  r = run({"--answer", "A-", "--answer", "B-", "--answer", "C-", "BuildCompIndex", "/m/a.book"});
  EXPECT_NE(r.err.find("not used: 2 --answer, 0 --choose"), std::string::npos) << r.err;
}

TEST_F(RunDialogs, WarningsAndConsoleLinesGiveStatusOne) {
  putChapter("/m/w.fm");
  // Not in an entry paragraph: a warning, nothing changed.
  CliRun r = run({"--at", "1", "InsertOneMarker", "/m/w.fm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("warning: ", 0), 0u) << r.err;
  EXPECT_TRUE(store->saves().empty());

  // A book run reports an invalid entry on the console and goes on.
  putChapter("/m/bad.fm", "Dogs;");
  putChapter("/m/good.fm");
  store->put("/m/g.book", BookBuilder().doc("/m/bad.fm").doc("/m/good.fm").build());
  r = run({"UpdateAllMarkers", "/m/g.book"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Invalid index entry: Dogs; in bad.fm\n"), std::string::npos) << r.err;
  EXPECT_EQ(MarkerTexts(stored("/m/good.fm"), "Index"),
            std::vector<std::string>{"<$singlepage>Dogs;"});

  // The about box is a note: shown, and nothing to report.
  r = run({"VeltranoAbout"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err.rfind("note: Veltrano", 0), 0u) << r.err;
}

TEST_F(RunDialogs, TheStatusLineIsAProgressLineOnATerminal) {
  putChapter("/m/p1.fm");
  putChapter("/m/p2.fm", "Dogs;");
  store->put("/m/p.book", BookBuilder().doc("/m/p1.fm").doc("/m/p2.fm").build());
  CliRun r = RunCliWith(MemoryFiles(store), {"ShowIndexEntriesBook", "/m/p.book"}, {}, false, true);
  EXPECT_EQ(r.status, 0) << r.err;
  // Each text replaces the one before; the line is gone before the program
  // writes its own lines.
  EXPECT_EQ(
      r.err.rfind("Showing Index Entries: p1.fm\r\x1b[KShowing Index Entries: p2.fm\r\x1b[K", 0),
      0u)
      << r.err;
  // Elsewhere it is not shown.
  r = RunCliWith(MemoryFiles(store), {"ShowIndexEntriesBook", "/m/p.book"});
  EXPECT_EQ(r.err.find("Showing"), std::string::npos) << r.err;
}

TEST_F(RunDialogs, MessagesGoFirstAndPointTheCommandElsewhere) {
  putChapter("/m/one.fm");
  putChapter("/m/two.fm");
  // A dry run tells the handles the files get.
  CliRun r = run({"--verbose", "--dry-run", "VeltranoAbout", "/m/one.fm", "/m/two.fm"});
  const std::string marker = "opened /m/two.fm as document ";
  const std::size_t at = r.err.find(marker);
  ASSERT_NE(at, std::string::npos) << r.err;
  const std::string handle =
      r.err.substr(at + marker.size(), r.err.find('\n', at) - at - marker.size());
  r = run({"--message", "SetDocId " + handle, "InsertAllMarkers", "/m/one.fm", "/m/two.fm"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote /m/two.fm\n");
  EXPECT_EQ(MarkerTexts(stored("/m/two.fm"), "Index"),
            std::vector<std::string>{"<$singlepage>Dogs;"});
  EXPECT_TRUE(MarkerTexts(stored("/m/one.fm"), "Index").empty());
}

TEST_F(RunDialogs, AClientMessageRunsAsACommandToo) {
  DocumentBuilder b("/m/x.fm");
  b.flow().para("Body", "Old").marker("Index", "Cats;");
  put(b);
  // Only a message, not a menu tag: expanding asks its confirmation.
  CliRun r = run({"--yes", "ExpandIndexMarkersInDoc", "/m/x.fm"});
  EXPECT_EQ(r.status, 0) << r.err;
  bool entry = false;
  for (const ParagraphView& p : Paragraphs(stored("/m/x.fm"), 0, true)) {
    entry = entry || p.tag == "Index Entry";
  }
  EXPECT_TRUE(entry);
}

TEST_F(RunDialogs, InputErrorsGiveStatusTwoAndWriteNothing) {
  putChapter("/m/one.fm");
  CliRun r = run({"NoSuchCommand", "/m/one.fm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: unknown command NoSuchCommand (veltrano commands lists them)\n");
  r = run({"InsertAllMarkers", "/m/missing.fm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("/m/missing.fm"), std::string::npos);
  r = run({"--at", "4", "InsertIdxEntry", "/m/one.fm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--at 4: /m/one.fm has 3 paragraphs"), std::string::npos) << r.err;
  r = run({"--at", "1:6", "InsertIdxEntry", "/m/one.fm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("paragraph 1 has offsets 0 to 5"), std::string::npos) << r.err;
  r = run({"--plugin", "/no/such/plugin.so", "InsertAllMarkers", "/m/one.fm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot load the plug-in"), std::string::npos);
  r = run({"--bogus"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: unknown option --bogus\nTry 'veltrano --help'.\n");
  EXPECT_TRUE(store->saves().empty());

  r = run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("usage: veltrano [options] COMMAND [FILE...]\n", 0), 0u);
  r = run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("veltrano ", 0), 0u);
}

}  // namespace
}  // namespace vtrtest
