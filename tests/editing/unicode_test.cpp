// Text crossing between the plug-in and the host during the conversions:
// entries read and markers written with Unicode mode on, nothing non-ASCII
// passed with it off, every host record released.
#include "editing_test.h"

namespace vtrtest {
namespace {

class UnicodeTest : public EditingTest {
 protected:
  // Non-ASCII entries in a flow, a cell and a footnote, a see-also
  // reference, a skipped conditional entry and an overflowing run.
  static DocumentBuilder NonAsciiChapter(const std::string& path) {
    DocumentBuilder b = Chapter(path);
    b.condition("Überarbeitung", /*shown=*/false).para("Body", "Einführung").caret(2);
    Entries(b, {".i.Äpfel:grüne;", ".i.Öl: see also Fett;", ".i[Überarbeitung].Weg;"});
    Entries(b, {".i." + std::string(200, 'x') + "é;", ".i.Straße;"});
    b.para("Body", "Text").table().row().cell("Cell", "Davor");
    Entry(b, ".i.Kühe;").para("Cell", "Danach").endTable();
    b.footnote().para("Footnote", "Vorher");
    Entry(b, ".i.Größe;").para("Footnote", "Nachher").endFootnote();
    return b;
  }

  void ExpectCleanCrossings(std::size_t markers) {
    EXPECT_EQ(host.unicodeAtMarkerWrites().size(), 2 * markers);  // creation and text
    for (bool on : host.unicodeAtMarkerWrites()) EXPECT_TRUE(on);
    EXPECT_EQ(host.nonAsciiWhileUnicodeOff(), 0);
    EXPECT_FALSE(host.unicodeMode());
    EXPECT_TRUE(host.recordsBalanced());
  }
};

TEST_F(UnicodeTest, InsertAllMarkers) {
  start();
  ObjectId d = addDocument(NonAsciiChapter("C:\\docs\\ch1.fm"));
  run(kInsertAllMarkers);
  EXPECT_EQ(IndexMarkers(d),
            (std::vector<std::string>{
                "<$singlepage>Äpfel:grüne;<$singlepage>Öl:<Italic>see also<Default Para Font> "
                "Fett[Öl:aaa];",
                "<$singlepage>" + std::string(200, 'x') + "é;<$singlepage>Straße;",
                "<$singlepage>Kühe;", "<$singlepage>Größe;"}));
  ExpectCleanCrossings(4);
}

TEST_F(UnicodeTest, InsertOneMarkerAndAStop) {
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Einführung");
  Entries(b, {".i.Äpfel;", ".i.Öl;"});
  Entry(b, ".i.Birnen;").caret(1);
  b.para("Body", "Schluss");
  ObjectId d = addDocument(b);
  run(kInsertOneMarker);
  EXPECT_EQ(IndexMarkers(d),
            std::vector<std::string>{"<$singlepage>Äpfel;<$singlepage>Öl;<$singlepage>Birnen;"});
  ExpectCleanCrossings(1);

  DocumentBuilder bad = Chapter("C:\\docs\\bad.fm");
  bad.para("Body", "Einführung");
  Entries(bad, {".i.Äpfel;", ".ü.Öl;"}).para("Body", "Schluss");
  addDocument(bad);
  run(kInsertAllMarkers);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{"Not a valid index entry."});
  EXPECT_EQ(host.nonAsciiWhileUnicodeOff(), 0);
  EXPECT_FALSE(host.unicodeMode());
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(UnicodeTest, UpdateAllMarkersWithConsoleReports) {
  start();
  const std::string path = "C:\\books\\ch1.fm";
  DocumentBuilder b = NonAsciiChapter(path);
  Entry(b, ".ï.Ungültig;");
  b.footnote();
  Entry(b, ".i.Verloren;").endFootnote();
  storeDocument(b);
  BookBuilder book("C:\\books\\guide.book");
  book.doc(path);
  addBook(book);
  run(kUpdateAllMarkers);
  EXPECT_EQ(host.consoleLines(),
            (std::vector<std::string>{
                "Invalid index entry: .ï.Ungültig; in ch1.fm",
                "Index entry without a paragraph for its marker: .i.Verloren; in ch1.fm"}));
  EXPECT_EQ(MarkerTexts(*host.memoryStore()->document(path), "Index").size(), 5u);
  ExpectCleanCrossings(5);
}

}  // namespace
}  // namespace vtrtest
