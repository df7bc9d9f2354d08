// The book commands: every document of a book in book order, opened when
// needed, saved, and closed again when the command opened it.
#include "plugin_test.h"

namespace vtrtest {
namespace {

class BookCommandsTest : public PluginTest {
 protected:
  static DocumentBuilder Chapter(const std::string& path, const std::string& entry = ".i.Dogs;") {
    DocumentBuilder b(path);
    b.condition("Index").flow().para("Body", "Intro").para("Index Entry", entry);
    b.conditions({"Index"}).para("Body", "Text");
    return b;
  }
  // A book of chapters 1 to 4: the second in a folder, the third in a group.
  ObjectId storeFourChapterBook() {
    for (int i = 1; i <= 4; ++i) storeDocument(Chapter(path(i)));
    BookBuilder book("C:\\books\\guide.book");
    book.doc(path(1)).folder("Part A").doc(path(2)).end().group("Group B").doc(path(3)).end();
    book.doc(path(4));
    return addBook(book);
  }
  static std::string path(int i) { return "C:\\books\\ch" + std::to_string(i) + ".fm"; }
  const Document* stored(int i) { return host.memoryStore()->document(path(i)); }
  std::vector<std::string> statusTexts() const {
    std::vector<std::string> out;
    for (const headless::StatusLineRecord& r : host.statusLines()) out.push_back(r.text);
    return out;
  }
};

TEST_F(BookCommandsTest, UpdateConvertsEveryChapterInBookOrderAndHidesTheEntries) {
  start();
  storeFourChapterBook();
  run(10);
  EXPECT_EQ(statusTexts(),
            (std::vector<std::string>{
                "Inserting Index Entries: ch1.fm", "Inserting Index Entries: ch2.fm",
                "Inserting Index Entries: ch3.fm", "Inserting Index Entries: ch4.fm", ""}));
  for (int i = 1; i <= 4; ++i) {
    ASSERT_NE(stored(i), nullptr);
    EXPECT_EQ(MarkerTexts(*stored(i), "Index"), std::vector<std::string>{"<$singlepage>Dogs;"});
    EXPECT_FALSE(ConditionShown(*stored(i), "Index"));
  }
  EXPECT_TRUE(host.openDocuments().empty());
  EXPECT_EQ(host.saves().size(), 4u);
}

TEST_F(BookCommandsTest, DocumentOpenBeforeTheCommandIsSavedAndStaysOpen) {
  start();
  storeFourChapterBook();
  ObjectId open = host.open(path(2));
  ASSERT_NE(open, 0u);
  run(17);
  EXPECT_EQ(host.openDocuments(), std::vector<ObjectId>{open});
  EXPECT_FALSE(ConditionShown(doc(open), "Index"));
  EXPECT_EQ(host.saves().size(), 4u);
  for (const headless::CloseRecord& c : host.closes()) EXPECT_NE(c.path, path(2));
}

TEST_F(BookCommandsTest, DecliningTheWarningEndsTheWalkThere) {
  start();
  storeDocument(Chapter(path(1)));
  storeDocument(Chapter(path(2)));
  // The third chapter has markers and no entry format: the loss warning.
  DocumentBuilder third(path(3));
  third.flow().para("Body", "Old").marker("Index", "Cats;");
  storeDocument(third);
  storeDocument(Chapter(path(4)));
  BookBuilder book("C:\\books\\guide.book");
  for (int i = 1; i <= 4; ++i) book.doc(path(i));
  addBook(book);
  run(10);  // no answer scripted: the warning is cancelled
  ASSERT_EQ(host.dialogs().size(), 1u);
  EXPECT_EQ(host.saves(), (std::vector<std::string>{path(1), path(2)}));
  EXPECT_EQ(MarkerTexts(*stored(3), "Index"), std::vector<std::string>{"Cats;"});
  EXPECT_TRUE(MarkerTexts(*stored(4), "Index").empty());
  EXPECT_EQ(statusTexts().back(), "");
  EXPECT_TRUE(host.openDocuments().empty());
}

TEST_F(BookCommandsTest, ShowAndHideWorkOnEveryChapter) {
  start();
  storeFourChapterBook();
  run(17);
  for (int i = 1; i <= 4; ++i) EXPECT_FALSE(ConditionShown(*stored(i), "Index"));
  run(16);
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(ConditionShown(*stored(i), "Index"));
  EXPECT_EQ(statusTexts()[4], "");
  EXPECT_EQ(statusTexts()[5], "Showing Index Entries: ch1.fm");
}

TEST_F(BookCommandsTest, InvalidEntriesGoToTheConsoleAndTheRunGoesOn) {
  start();
  DocumentBuilder b(path(1));
  b.flow().para("Body", "Intro").para("Index Entry", ".i.Dogs;").para("Index Entry", "Dogs;");
  b.para("Index Entry", ".i.Cats;").para("Body", "Text");
  storeDocument(b);
  storeDocument(Chapter(path(2)));
  BookBuilder book("C:\\books\\guide.book");
  book.doc(path(1)).doc(path(2));
  addBook(book);
  run(10);
  EXPECT_EQ(host.consoleLines(), std::vector<std::string>{"Invalid index entry: Dogs; in ch1.fm"});
  EXPECT_EQ(MarkerTexts(*stored(1), "Index"),
            std::vector<std::string>{"<$singlepage>Dogs;<$singlepage>Cats;"});
  EXPECT_EQ(MarkerTexts(*stored(2), "Index").size(), 1u);
  EXPECT_TRUE(host.dialogs().empty());
}

TEST_F(BookCommandsTest, SetBookIdTargetsOneBookCommand) {
  start();
  storeDocument(Chapter(path(1)));
  storeDocument(Chapter(path(2)));
  BookBuilder first("C:\\books\\one.book");
  first.doc(path(1));
  BookBuilder second("C:\\books\\two.book");
  second.doc(path(2));
  ObjectId one = addBook(first);
  ObjectId two = addBook(second, /*active=*/false);
  host.setActiveBook(one);
  message("SetBookId " + std::to_string(two));
  message("UpdateAllMarkers");
  EXPECT_EQ(host.saves(), std::vector<std::string>{path(2)});
  message("UpdateAllMarkers");
  EXPECT_EQ(host.saves(), (std::vector<std::string>{path(2), path(1)}));
}

TEST_F(BookCommandsTest, NoBookDoesNothing) {
  start();
  run(10);
  run(16);
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(host.dialogs().empty());
}

}  // namespace
}  // namespace vtrtest
