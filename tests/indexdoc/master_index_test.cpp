// Build Master Index: one new book with a component for every included
// document of every open book, in the order of the books' file names, each
// book's prefix texts led by the string the user types for it.
#include <algorithm>

#include "index_test.h"

namespace vtrtest {
namespace {

class MasterIndexTest : public IndexTest {
 protected:
  static constexpr const char* kMasterDir = "C:\\Indexes\\";
  static constexpr const char* kMasterPath = "C:\\Indexes\\Master";

  void SetUp() override {
    IndexTest::SetUp();
    host.setMasterBookDirectory(kMasterDir);
    start();
  }

  // A book with one document component per path, opened in the host.
  ObjectId openBook(const std::string& path, const std::vector<std::string>& docs) {
    BookBuilder b(path);
    for (const std::string& d : docs) b.doc(d);
    return addBook(b, /*active=*/false);
  }

  ObjectId masterHandle() const { return host.findOpen(kMasterPath); }
  const Book& master() const { return *host.book(masterHandle()); }

  // The master book's components as "path [prefix]".
  std::vector<std::string> masterComponents() const {
    std::vector<std::string> out;
    const Book& m = master();
    for (Id c : m.components()) {
      out.push_back(m.component(c).path + " [" + m.props(c).getString(host::kPropComponentPrefix) +
                    "]");
    }
    return out;
  }

  std::vector<std::string> prompts() const {
    std::vector<std::string> out;
    for (const headless::DialogRecord& d : host.dialogs()) {
      EXPECT_EQ(d.type, headless::DialogRecord::Type::Prompt);
      EXPECT_EQ(d.defaultAnswer, "");
      out.push_back(d.text);
    }
    return out;
  }

  const Book& stored(const std::string& path) { return *host.memoryStore()->book(path); }
};

TEST_F(MasterIndexTest, BooksAreTakenInByteOrderOfTheirFileNames) {
  openBook("C:\\books\\b.book", {"C:\\books\\b1.fm", "C:\\books\\b2.fm"});
  openBook("C:\\books\\A.book", {"C:\\books\\a1.fm"});
  openBook("C:\\other\\c.book", {"C:\\other\\c1.fm"});
  host.answerText("A-");
  host.answerText("B-");
  host.answerText("");
  run(11);
  EXPECT_EQ(prompts(), (std::vector<std::string>{"Enter the prepend string for A.book",
                                                 "Enter the prepend string for b.book",
                                                 "Enter the prepend string for c.book"}));
  EXPECT_EQ(masterComponents(),
            (std::vector<std::string>{"C:\\books\\a1.fm [A-]", "C:\\books\\b1.fm [B-]",
                                      "C:\\books\\b2.fm [B-]", "C:\\other\\c1.fm []"}));
  // The sources are saved and closed; the master book alone stays, unsaved.
  EXPECT_EQ(host.saves(), (std::vector<std::string>{"C:\\books\\A.book", "C:\\books\\b.book",
                                                    "C:\\other\\c.book"}));
  EXPECT_EQ(host.openBooks(), std::vector<ObjectId>{masterHandle()});
  for (const headless::CloseRecord& c : host.closes()) {
    EXPECT_EQ(c.flags, host::kCloseWithoutAsking);
  }
  EXPECT_EQ(stored("C:\\books\\b.book")
                .props(stored("C:\\books\\b.book").components()[1])
                .getString(host::kPropComponentPrefix),
            "B-");
}

TEST_F(MasterIndexTest, PrependStringLeadsThePrefixUnlessAlreadyThere) {
  for (const char* name : {"1.book", "2.book", "3.book"}) {
    BookBuilder b(std::string("C:\\books\\") + name);
    b.doc(std::string("C:\\books\\ch") + name[0] + ".fm")
        .prop(host::kPropComponentPrefix, Value::String("Vol2-"));
    addBook(b, /*active=*/false);
  }
  host.answerText("Vol2-");
  host.answerText("V");
  host.answerText("Part");
  run(11);
  EXPECT_EQ(masterComponents(),
            (std::vector<std::string>{"C:\\books\\ch1.fm [Vol2-]", "C:\\books\\ch2.fm [Vol2-]",
                                      "C:\\books\\ch3.fm [PartVol2-]"}));
  const Book& third = stored("C:\\books\\3.book");
  EXPECT_EQ(third.props(third.components()[0]).getString(host::kPropComponentPrefix), "PartVol2-");
}

TEST_F(MasterIndexTest, ComponentSettingsAreCopiedAndNumberingSetOnBothSides) {
  BookBuilder b("C:\\books\\guide.book");
  b.doc("C:\\books\\ch1.fm");
  const std::vector<int> ints = {523, 524, 224, 225, 525, 215, 216, 217, 295, 284, 290, 324, 316};
  for (std::size_t i = 0; i < ints.size(); ++i) {
    b.prop(ints[i], Value::Int(static_cast<int32_t>(100 + i)));
  }
  for (int code : {218, 285, 317}) b.prop(code, Value::String("text " + std::to_string(code)));
  b.prop(host::kPropComponentPrefix, Value::String("1-"));
  b.prop(host::kPropComponentNumberingA, Value::Int(5));
  b.prop(4321, Value::Int(9));  // a setting that is not copied
  addBook(b);
  host.answerText("G");
  run(11);
  const Book& m = master();
  ASSERT_EQ(m.components().size(), 1u);
  const headless::PropMap& copy = m.props(m.components()[0]);
  for (std::size_t i = 0; i < ints.size(); ++i) {
    EXPECT_EQ(copy.getInt(ints[i]), static_cast<int32_t>(100 + i)) << ints[i];
  }
  for (int code : {218, 285, 317}) EXPECT_EQ(copy.getString(code), "text " + std::to_string(code));
  EXPECT_FALSE(copy.contains(4321));
  const Book& source = stored("C:\\books\\guide.book");
  for (const headless::PropMap* props : {&copy, &source.props(source.components()[0])}) {
    EXPECT_EQ(props->getInt(host::kPropComponentNumberingA), 2);
    EXPECT_EQ(props->getInt(host::kPropComponentNumberingB), 11);
    EXPECT_EQ(props->getInt(host::kPropComponentNumberingC), 0);
    EXPECT_EQ(props->getString(host::kPropComponentPrefix), "G1-");
  }
  EXPECT_EQ(source.props(source.components()[0]).getInt(4321), 9);
}

TEST_F(MasterIndexTest, OnlyIncludedDocumentsGetMasterComponents) {
  BookBuilder b("C:\\books\\guide.book");
  b.doc("C:\\books\\ch1.fm").doc("C:\\books\\old.fm").excluded();
  b.folder("Part").doc("C:\\books\\ch2.fm").end();
  b.group("Back").doc("C:\\books\\ch3.fm").doc("C:\\books\\draft.fm").excluded().end();
  b.generated("C:\\books\\guideIX.fm");
  addBook(b);
  host.answerOk();
  run(11);
  EXPECT_EQ(masterComponents(),
            (std::vector<std::string>{"C:\\books\\ch1.fm []", "C:\\books\\ch2.fm []",
                                      "C:\\books\\ch3.fm []", "C:\\books\\guideIX.fm []"}));
  // Folders and groups are not copied as such: every master component is
  // a document at the top level.
  for (Id c : master().components()) {
    EXPECT_EQ(master().component(c).kind, host::kComponentDocument);
    EXPECT_EQ(master().component(c).parent, 0u);
  }
}

TEST_F(MasterIndexTest, NoOpenBookMakesAnEmptyMasterBookAndAsksNothing) {
  run(11);
  EXPECT_TRUE(host.dialogs().empty());
  ASSERT_NE(masterHandle(), 0u);
  EXPECT_TRUE(master().components().empty());
  EXPECT_TRUE(host.saves().empty());
}

TEST_F(MasterIndexTest, BooksOfTheSameFileNameAreTakenInTurn) {
  openBook("C:\\x\\guide.book", {"C:\\x\\one.fm"});
  openBook("C:\\y\\guide.book", {"C:\\y\\two.fm"});
  host.answerText("X-");
  host.answerText("Y-");
  run(11);
  EXPECT_EQ(prompts(), (std::vector<std::string>{"Enter the prepend string for guide.book",
                                                 "Enter the prepend string for guide.book"}));
  EXPECT_EQ(masterComponents(),
            (std::vector<std::string>{"C:\\x\\one.fm [X-]", "C:\\y\\two.fm [Y-]"}));
  EXPECT_EQ(host.saves(), (std::vector<std::string>{"C:\\x\\guide.book", "C:\\y\\guide.book"}));
}

TEST_F(MasterIndexTest, CancelStopsAtThatBookAndKeepsTheOverrides) {
  // An index document the next command is pointed at.
  DocumentBuilder active = Index(1, 0, "C:\\books\\aIX.fm");
  active.para("Level1IX", "Apple").para("Level2IX", "red, 1");
  DocumentBuilder other = Index(1, 0, "C:\\books\\bIX.fm");
  other.para("Level1IX", "Banana").para("Level2IX", "ripe, 2");
  ObjectId a = addDocument(active);
  ObjectId b = addDocument(other, /*active=*/false);
  host.setActiveDocument(a);
  ObjectId first = openBook("C:\\books\\1.book", {"C:\\books\\ch1.fm"});
  ObjectId second = openBook("C:\\books\\2.book", {"C:\\books\\ch2.fm"});
  ObjectId third = openBook("C:\\books\\3.book", {"C:\\books\\ch3.fm"});
  message("SetDocId " + std::to_string(b));
  host.answerText("P-");
  host.answerCancel();
  message("BuildCompIndex");
  EXPECT_EQ(host.dialogs().size(), 2u);
  EXPECT_EQ(host.saves(), std::vector<std::string>{"C:\\books\\1.book"});
  EXPECT_EQ(host.book(first), nullptr);
  EXPECT_EQ(masterComponents(), std::vector<std::string>{"C:\\books\\ch1.fm [P-]"});
  // The current and the later book are untouched and still open.
  for (ObjectId untouched : {second, third}) {
    const Book* book = host.book(untouched);
    ASSERT_NE(book, nullptr);
    EXPECT_FALSE(book->dirty());
    EXPECT_FALSE(book->props(book->components()[0]).contains(host::kPropComponentNumberingA));
  }
  // The override still holds for the next command.
  message("VTRMergeIndex");
  EXPECT_EQ(Texts(doc(b)), std::vector<std::string>{"Banana, ripe, 2"});
  EXPECT_EQ(Texts(doc(a)).size(), 2u);
}

TEST_F(MasterIndexTest, TheOverridesDoNotChooseTheBooks) {
  ObjectId only = openBook("C:\\books\\guide.book", {"C:\\books\\ch1.fm"});
  ObjectId elsewhere = openBook("C:\\books\\other.book", {"C:\\books\\ch9.fm"});
  message("SetBookId " + std::to_string(only));
  host.answerOk();
  host.answerOk();
  message("BuildCompIndex");
  EXPECT_EQ(masterComponents(),
            (std::vector<std::string>{"C:\\books\\ch1.fm []", "C:\\books\\ch9.fm []"}));
  EXPECT_EQ(host.book(elsewhere), nullptr);
}

}  // namespace
}  // namespace vtrtest
