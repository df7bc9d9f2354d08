// Insert All Markers and Update All Markers at an invalid entry: the stop
// with the entry selected, the selection around a conversion, and the
// console line of a book run.
#include "editing_test.h"

namespace vtrtest {
namespace {

constexpr const char* kInvalidAlert = "Not a valid index entry.";

class InvalidEntryTest : public EditingTest {
 protected:
  static std::string SelectionOf(const Document& d) { return Selection(d); }
};

TEST_F(InvalidEntryTest, StopInTheThirdRunKeepsWhatWasDoneAndSelectsTheEntry) {
  storeSettings({{"MaximumMarkerLength", "30"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "One").marker("Index", "Old;").caret(1);
  Entry(b, ".i.A;").para("Body", "Two");
  Entry(b, ".i.B;").para("Body", "Three");
  // The third run: two valid entries that overflow the limit, then a bad one.
  Entries(b, {".i.Cats;", ".i.Dogs;"});
  Entry(b, ".x.Bad;").name("bad");
  Entry(b, ".i.Never;").para("Body", "Four");
  Entry(b, ".i.After;").para("Body", "Five");
  b.footnote().para("Note", "Note");
  Entry(b, ".i.Footnote;").para("Note", "End").endFootnote();
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);

  EXPECT_EQ(
      NonEntryLines(d),
      (std::vector<std::string>{
          "Body: One[[Index: <$singlepage>A;]]", "Body: Two[[Index: <$singlepage>B;]]",
          // Only the overflow marker of the third run.
          "Body: Three[[Index: <$singlepage>Cats;]]", "Body: Four", "Body: Five[[footnote]]"}));
  EXPECT_EQ(IndexMarkers(d).size(), 3u);
  // An insertion point at the start of the bad entry, not the saved caret.
  EXPECT_EQ(doc(d).selection(), (headless::TextSpan{{b.id("bad"), 0}, {b.id("bad"), 0}}));
  EXPECT_EQ(host.fcodes(), (std::vector<int32_t>{0x103, 0x104}));
  ASSERT_EQ(dialogTexts(), std::vector<std::string>{kInvalidAlert});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
  EXPECT_TRUE(host.consoleText().empty());
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(InvalidEntryTest, InACellOrFootnoteTheWholeEntryParagraphIsSelected) {
  start();
  DocumentBuilder cell = Chapter("C:\\docs\\cell.fm");
  cell.para("Body", "Anchor").table().row().cell();
  Entry(cell, ".i[Nosuch].A;").name("bad").para("Cell", "Text").endTable();
  ObjectId c = addDocument(cell);
  run(kInsertAllMarkers);
  EXPECT_EQ(SelectionOf(doc(c)), "\".i[Nosuch].A;\" 0..14");
  EXPECT_EQ(doc(c).selection().begin.para, cell.id("bad"));

  DocumentBuilder note = Chapter("C:\\docs\\note.fm");
  note.para("Body", "Anchor").footnote();
  Entry(note, "i.A;").name("bad").para("Note", "Text").endFootnote();
  ObjectId n = addDocument(note);
  run(kInsertAllMarkers);
  EXPECT_EQ(SelectionOf(doc(n)), "\"i.A;\" 0..5");
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{kInvalidAlert, kInvalidAlert}));
}

TEST_F(InvalidEntryTest, SavedSelectionIsPutBackAfterAConversionThatWentThrough) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro");
  Entry(b, ".i.A;").para("Body", "Placed here").select(2, 6);
  ObjectId d = addDocument(b);
  const headless::TextSpan before = doc(d).selection();
  run(kInsertAllMarkers);
  EXPECT_EQ(IndexMarkers(d).size(), 1u);
  EXPECT_EQ(doc(d).selection(), before);
  EXPECT_TRUE(host.fcodes().empty());
}

class BookRunTest : public EditingTest {
 protected:
  // A book of one chapter, stored so the book command opens it.
  const Document& UpdateBookOf(const std::string& path, const DocumentBuilder& chapter) {
    storeDocument(chapter);
    BookBuilder book("C:\\books\\guide.book");
    book.doc(path);
    addBook(book);
    run(kUpdateAllMarkers);
    return *host.memoryStore()->document(path);
  }
};

TEST_F(BookRunTest, InvalidEntriesGoToTheConsoleWithTheEntryAndTheFileName) {
  start();
  const std::string path = "C:\\books\\chapters\\ch1.fm";
  DocumentBuilder b = Chapter(path);
  b.para("Body", "Intro");
  Entries(b, {".i.Dogs;", ".I.Ärger;", ".i.Cats;"}).para("Body", "Middle");
  Entries(b, {"Katzen;", ".i.Birds;"}).para("Body", "End");
  const Document& saved = UpdateBookOf(path, b);
  EXPECT_EQ(host.consoleLines(),
            (std::vector<std::string>{"Invalid index entry: .I.Ärger; in ch1.fm",
                                      "Invalid index entry: Katzen; in ch1.fm"}));
  EXPECT_EQ(host.consoleText().back(), '\n');
  EXPECT_EQ(
      MarkerTexts(saved, "Index"),
      (std::vector<std::string>{"<$singlepage>Dogs;<$singlepage>Cats;", "<$singlepage>Birds;"}));
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_TRUE(host.fcodes().empty());
}

}  // namespace
}  // namespace vtrtest
