// Opening, saving and closing documents and books by path, book components,
// and paths with either separator.
#include "fixture.h"

namespace vtrtest {
namespace {

class Documents : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }
  ObjectId open(const std::string& path) { return api().Open(path, PropList{}, nullptr); }
};

TEST_F(Documents, OpenGivesTheSameHandleWhileOpen) {
  DocumentBuilder b("C:\\home\\CVConfig.fm");
  b.flow().para("Body", "settings");
  storeDocument(b);
  ObjectId d = open("C:\\home\\CVConfig.fm");
  ASSERT_NE(d, 0u);
  EXPECT_EQ(open("C:\\home\\CVConfig.fm"), d);
  // Both separators and either case name the same file.
  EXPECT_EQ(open("c:/HOME/cvconfig.fm"), d);
  EXPECT_EQ(api().GetString(0, d, host::kPropName), "C:\\home\\CVConfig.fm");
  EXPECT_EQ(open("C:\\home\\Missing.fm"), 0u);
  EXPECT_EQ(api().Close(d, host::kCloseWithoutAsking), 0);
  EXPECT_EQ(api().Close(d, host::kCloseWithoutAsking), -1);
  EXPECT_EQ(host.opens(), std::vector<std::string>{"C:\\home\\CVConfig.fm"});
  ASSERT_EQ(host.closes().size(), 1u);
  EXPECT_EQ(host.closes()[0].flags, host::kCloseWithoutAsking);
  EXPECT_FALSE(host.closes()[0].unsaved);
}

TEST_F(Documents, SaveWritesThroughTheStore) {
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.flow().para("Body", "old");
  storeDocument(b);
  ObjectId d = open("C:\\docs\\ch1.fm");
  ObjectId para = handleOf(d, b.current());
  api().AddText(d, TextLoc{para, 0}, "new ");
  EXPECT_TRUE(doc(d).dirty());
  // Closed without saving: the store keeps the old text; the close says so.
  api().Close(d, 0);
  EXPECT_TRUE(host.closes().back().unsaved);
  EXPECT_EQ(Texts(*host.memoryStore()->document("C:\\docs\\ch1.fm")),
            std::vector<std::string>{"old"});

  d = open("C:\\docs\\ch1.fm");
  para = api().GetId(
      d, api().GetId(d, api().GetId(0, d, host::kPropMainFlowInDoc), host::kPropFirstFrameInFlow),
      host::kPropFirstParagraph);
  api().AddText(d, TextLoc{para, 0}, "new ");
  EXPECT_EQ(api().SimpleSave(d, "C:\\docs\\ch1.fm", 0), d);
  EXPECT_FALSE(doc(d).dirty());
  EXPECT_EQ(Texts(*host.memoryStore()->document("C:\\docs\\ch1.fm")),
            std::vector<std::string>{"new old"});
  // Saving under another name moves the document there.
  EXPECT_EQ(api().SimpleSave(d, "C:\\docs\\copy.fm", 0), d);
  EXPECT_EQ(api().GetString(0, d, host::kPropName), "C:\\docs\\copy.fm");
  EXPECT_EQ(host.saves(), (std::vector<std::string>{"C:\\docs\\ch1.fm", "C:\\docs\\copy.fm"}));
}

TEST_F(Documents, BookComponentsFormATree) {
  BookBuilder b("C:\\books\\manual.book");
  b.doc("C:\\docs\\preface.fm").folder("Part 1").doc("C:\\docs\\ch1.fm").group("More");
  b.doc("C:\\docs\\ch2.fm").end().end().generated("C:\\docs\\manualIX.fm").excluded(false);
  storeBook(b);
  ObjectId book = open("C:\\books\\manual.book");
  ASSERT_NE(book, 0u);
  EXPECT_EQ(api().GetId(0, 0, host::kPropFirstOpenBook), book);
  auto& a = api();
  // Walk depth-first the way the book window lists the components.
  std::vector<std::string> seen;
  ObjectId x = a.GetId(0, book, host::kPropFirstComponentInBook);
  while (x != 0) {
    int kind = a.GetInt(book, x, host::kPropComponentKind);
    seen.push_back(std::to_string(kind) + " " + a.GetString(book, x, host::kPropName));
    ObjectId n = (kind == 2 || kind == 64) ? a.GetId(book, x, host::kPropComponentFirstChild) : 0;
    if (n == 0) n = a.GetId(book, x, host::kPropNextComponent);
    for (ObjectId u = x; n == 0 && u != 0;) {
      u = a.GetId(book, u, host::kPropComponentParent);
      n = u ? a.GetId(book, u, host::kPropNextComponent) : 0;
    }
    x = n;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"512 C:\\docs\\preface.fm", "2 Part 1",
                                            "512 C:\\docs\\ch1.fm", "64 More",
                                            "512 C:\\docs\\ch2.fm", "512 C:\\docs\\manualIX.fm"}));
  ObjectId last = a.GetId(
      book,
      a.GetId(book, a.GetId(0, book, host::kPropFirstComponentInBook), host::kPropNextComponent),
      host::kPropNextComponent);
  EXPECT_EQ(a.GetInt(book, last, host::kPropGeneratedFileType), 7);
  EXPECT_EQ(a.GetInt(book, last, host::kPropComponentExcluded), 0);
}

TEST_F(Documents, NewBooksAndComponents) {
  host.setMasterBookDirectory("C:\\out\\");
  auto& a = api();
  const std::string name = a.GetString(0, 0, host::kPropMasterBookDir) + "Master";
  ObjectId book = a.NewNamedObject(0, host::kObjBook, name);
  ASSERT_NE(book, 0u);
  EXPECT_EQ(a.GetString(0, book, host::kPropName), "C:\\out\\Master");
  EXPECT_EQ(host.openBooks(), std::vector<ObjectId>{book});
  ObjectId first = a.NewSeriesObject(book, host::kObjBookComponent, 0);
  ObjectId second = a.NewSeriesObject(book, host::kObjBookComponent, first);
  ObjectId start = a.NewSeriesObject(book, host::kObjBookComponent, 0);
  a.SetString(book, first, host::kPropName, "C:\\a.fm");
  a.SetString(book, second, host::kPropName, "C:\\b.fm");
  a.SetString(book, start, host::kPropName, "C:\\0.fm");
  // Every component property set reads back.
  for (int prop : host::kCopiedComponentInts) a.SetInt(book, second, prop, prop + 1);
  for (int prop : host::kCopiedComponentStrings) {
    std::string value = "s";  // appended to: GCC 12 in Release takes "s" + s for an overlap
    value += std::to_string(prop);
    a.SetString(book, second, prop, value);
  }
  a.SetString(book, second, host::kPropComponentPrefix, "Vol2-");
  for (int prop : host::kCopiedComponentInts) EXPECT_EQ(a.GetInt(book, second, prop), prop + 1);
  EXPECT_EQ(a.GetString(book, second, 285), "s285");
  EXPECT_EQ(a.GetString(book, second, host::kPropComponentPrefix), "Vol2-");
  EXPECT_EQ(a.GetInt(book, second, host::kPropComponentKind), host::kComponentDocument);
  std::vector<std::string> order;
  for (ObjectId c = a.GetId(0, book, host::kPropFirstComponentInBook); c != 0;
       c = a.GetId(book, c, host::kPropNextComponent)) {
    order.push_back(a.GetString(book, c, host::kPropName));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"C:\\0.fm", "C:\\a.fm", "C:\\b.fm"}));
  // The status line shows what it was given, and the host keeps a record.
  a.SetString(0, book, host::kPropBookStatusLine, "Processing: x.fm");
  a.SetString(0, book, host::kPropBookStatusLine, "");
  EXPECT_EQ(a.GetString(0, book, host::kPropBookStatusLine), "");
  ASSERT_EQ(host.statusLines().size(), 2u);
  EXPECT_EQ(host.statusLines()[0].text, "Processing: x.fm");
}

TEST_F(Documents, OpenBooksAreListedInOpeningOrder) {
  storeBook(BookBuilder("C:\\b\\b.book"));
  storeBook(BookBuilder("C:\\a\\A.book"));
  ObjectId b1 = open("C:\\b\\b.book");
  ObjectId b2 = open("C:\\a\\A.book");
  EXPECT_EQ(api().GetId(0, 0, host::kPropFirstOpenBook), b1);
  EXPECT_EQ(api().GetId(0, b1, host::kPropNextOpenBook), b2);
  EXPECT_EQ(api().GetId(0, b2, host::kPropNextOpenBook), 0u);
  EXPECT_EQ(api().GetNamedObject(0, host::kObjBook, "c:/a/a.book"), b2);
  EXPECT_EQ(api().SimpleSave(b2, "", 0), b2);
  EXPECT_EQ(host.saves(), std::vector<std::string>{"C:\\a\\A.book"});
}

}  // namespace
}  // namespace vtrtest
