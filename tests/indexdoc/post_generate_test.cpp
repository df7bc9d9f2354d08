// Automatic processing after the host has generated or updated a book: each
// generated index of the active book is opened, merged and given continued
// lines as "ProcessIndex" says, saved and closed.
#include "index_test.h"

namespace vtrtest {
namespace {

class PostGenerateTest : public IndexTest {
 protected:
  static constexpr const char* kPartIndex = "C:\\books\\part\\partIX.fm";
  static constexpr const char* kBookIndex = "C:\\books\\guideIX.fm";

  // An index with one mergeable heading ("Apple" over "red, 1") and a
  // second column that starts inside Banana's subentries.
  static DocumentBuilder GeneratedIndex(const std::string& path) {
    DocumentBuilder b = Index(2, 3, path);
    b.para("Level1IX", "Apple").para("Level2IX", "red, 1").para("Level1IX", "Banana");
    b.para("Level2IX", "green, 2").para("Level2IX", "ripe, 3");
    return b;
  }

  // Starts the plug-in with "ProcessIndex" at `mode` and a book whose
  // generated indexes stand in a folder and at the top level, with a
  // chapter and a generated table of contents besides.
  void startWithBook(const std::string& mode, const SettingRows& more = {}) {
    SettingRows rows{{"ProcessIndex", mode}};
    rows.insert(rows.end(), more.begin(), more.end());
    storeSettings(rows);
    start();
    storeDocument(GeneratedIndex(kPartIndex));
    storeDocument(GeneratedIndex(kBookIndex));
    DocumentBuilder chapter("C:\\books\\ch1.fm");
    chapter.flow().para("Body", "Text");
    storeDocument(chapter);
    BookBuilder book("C:\\books\\guide.book");
    book.doc("C:\\books\\ch1.fm").generated("C:\\books\\guideTOC.fm", 1);
    book.folder("Part").generated(kPartIndex).end().generated(kBookIndex);
    addBook(book);
  }

  const Document& stored(const char* path) { return *host.memoryStore()->document(path); }
  std::vector<std::string> statusTexts() const {
    std::vector<std::string> out;
    for (const headless::StatusLineRecord& r : host.statusLines()) out.push_back(r.text);
    return out;
  }
};

const std::vector<std::string> kUnchanged{"Apple", "red, 1", "Banana", "green, 2", "ripe, 3"};

TEST_F(PostGenerateTest, EveryGeneratedIndexIsProcessedInBookOrder) {
  startWithBook("True", {{"DefaultContinuedType", "2"}});
  host.notify(host::kNotifyPostGenerate);
  EXPECT_EQ(statusTexts(),
            (std::vector<std::string>{"Processing: partIX.fm", "Processing: guideIX.fm", ""}));
  EXPECT_EQ(host.saves(), (std::vector<std::string>{kPartIndex, kBookIndex}));
  for (const char* path : {kPartIndex, kBookIndex}) {
    SCOPED_TRACE(path);
    // Merged first, then the continued heading.
    EXPECT_EQ(Texts(stored(path)), (std::vector<std::string>{"Apple, red, 1", "Banana", "green, 2",
                                                             "Banana (continued)", "ripe, 3"}));
  }
  // Both were closed without asking; nothing else was opened and left.
  std::vector<std::string> closedIndexes;
  for (const headless::CloseRecord& c : host.closes()) {
    if (c.path == kPartIndex || c.path == kBookIndex) {
      closedIndexes.push_back(c.path);
      EXPECT_EQ(c.flags, host::kCloseWithoutAsking);
      EXPECT_FALSE(c.unsaved);
    }
  }
  EXPECT_EQ(closedIndexes, (std::vector<std::string>{kPartIndex, kBookIndex}));
  EXPECT_TRUE(host.openDocuments().empty());
  EXPECT_TRUE(host.dialogs().empty());
  // The chapter and the table of contents are not touched.
  for (const std::string& path : host.opens()) {
    EXPECT_EQ(path.find("ch1.fm"), std::string::npos);
    EXPECT_EQ(path.find("guideTOC.fm"), std::string::npos);
  }
}

TEST_F(PostGenerateTest, MergeOnlyAddsNoContinuedLines) {
  startWithBook("MergeOnly");
  host.notify(host::kNotifyPostGenerate);
  // No continued type is set: a continued run would have shown the list.
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(Texts(stored(kBookIndex)),
            (std::vector<std::string>{"Apple, red, 1", "Banana", "green, 2", "ripe, 3"}));
  EXPECT_EQ(host.saves().size(), 2u);
}

TEST_F(PostGenerateTest, ContinuedLinesOnlyDoesNotMerge) {
  startWithBook("ContinuedLinesOnly", {{"DefaultContinuedType", "4"}});
  host.notify(host::kNotifyPostGenerate);
  // Unmerged, "Apple" keeps its subentry on a line of its own, which pushes
  // "Banana" to the bottom of the first column: it moves on alone.
  Document index = stored(kPartIndex);
  EXPECT_EQ(ColumnLines(index),
            (ColumnView{{"Level1IX: Apple", "Level2IX: red, 1"},
                        {"Level1IX: Banana", "Level2IX: green, 2", "Level2IX: ripe, 3"}}));
}

TEST_F(PostGenerateTest, ValueChangedAfterStartUpOnlySavesTheIndexes) {
  startWithBook("True", {{"DefaultContinuedType", "2"}});
  storeSettings({{"ProcessIndex", "Off"}});
  host.notify(host::kNotifyPostGenerate);
  EXPECT_EQ(host.opens().size(), host.closes().size());
  EXPECT_EQ(host.saves(), (std::vector<std::string>{kPartIndex, kBookIndex}));
  EXPECT_EQ(Texts(stored(kPartIndex)), kUnchanged);
  EXPECT_EQ(Texts(stored(kBookIndex)), kUnchanged);
  EXPECT_TRUE(host.openDocuments().empty());
}

TEST_F(PostGenerateTest, WithoutAnActiveBookOnlyWarns) {
  startWithBook("True", {{"DefaultContinuedType", "2"}});
  host.setActiveBook(0);
  host.notify(host::kNotifyPostGenerate);
  EXPECT_EQ(dialogTexts(), std::vector<std::string>{"Errors were encountered during the "
                                                    "generate/update, so the index could not be "
                                                    "formatted."});
  EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(host.statusLines().empty());
}

TEST_F(PostGenerateTest, IndexThatCannotBeOpenedIsPassedOver) {
  startWithBook("True", {{"DefaultContinuedType", "2"}});
  host.memoryStore()->remove(kPartIndex);
  host.notify(host::kNotifyPostGenerate);
  // No formats or style list message for a document that is not there.
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_EQ(host.saves(), std::vector<std::string>{kBookIndex});
  EXPECT_EQ(Texts(stored(kBookIndex)).front(), "Apple, red, 1");
  EXPECT_EQ(statusTexts().back(), "");
}

TEST_F(PostGenerateTest, NotAskedForWhenProcessIndexIsOff) {
  startWithBook("False", {{"DefaultContinuedType", "2"}});
  host.notify(host::kNotifyPostGenerate);
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(host.statusLines().empty());
}

}  // namespace
}  // namespace vtrtest
