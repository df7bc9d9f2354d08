// The staging store: saves are kept until commit, read back within the run,
// written over the originals or into an output directory; load failures of
// files that exist are noted.
#include <gtest/gtest.h>

#include "builder.h"
#include "cli_test_support.h"
#include "headless/paths.h"
#include "mif_files.h"
#include "readers.h"
#include "staging_store.h"

namespace vtrtest {
namespace {

using headless::cli::StagingStore;

class Staging : public ::testing::Test {
 protected:
  void SetUp() override {
    DocumentBuilder a("/d/a.fm");
    a.flow().para("Body", "one").para("Body", "two");
    files->put("/d/a.fm", a.build());
    DocumentBuilder b("/d/b.fm");
    b.flow().para("Body", "bee");
    files->put("/d/b.fm", b.build());
  }
  std::shared_ptr<headless::MemoryStore> files = std::make_shared<headless::MemoryStore>();
  StagingStore staging{files, MemoryFiles(files).resolve};
};

TEST_F(Staging, SavesStayInMemoryUntilCommitAndAreReadBack) {
  auto loaded = staging.load("/d/a.fm");
  ASSERT_TRUE(loaded.document);
  Document& doc = *loaded.document;
  doc.insertText({doc.firstParagraph(doc.mainFlow()), 0}, "new ");
  ASSERT_TRUE(staging.save("/D/A.fm", doc, nullptr));  // the same file by another spelling
  EXPECT_TRUE(files->saves().empty());
  EXPECT_EQ(Texts(*files->document("/d/a.fm"))[0], "one");
  // Opened again within the run, it is the saved version.
  auto again = staging.load("/d/a.fm");
  ASSERT_TRUE(again.document);
  EXPECT_EQ(Texts(*again.document)[0], "new one");
  EXPECT_EQ(again.document->path(), "/d/a.fm");

  ASSERT_EQ(staging.staged().size(), 1u);
  const auto written = staging.commit(std::nullopt);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(headless::PathKey(written[0].file), headless::PathKey("/d/a.fm"));
  EXPECT_EQ(written[0].error, "");
  EXPECT_EQ(Texts(*files->document("/d/a.fm"))[0], "new one");
}

TEST_F(Staging, AnUnchangedSaveOfTheFileItCameFromWritesNothing) {
  auto loaded = staging.load("/d/b.fm");
  ASSERT_TRUE(staging.save("/d/b.fm", *loaded.document, nullptr));
  EXPECT_TRUE(staging.staged().empty());
  // Saved under another name it is written, changed or not.
  ASSERT_TRUE(staging.save("/d/copy.fm", *loaded.document, nullptr));
  ASSERT_EQ(staging.staged().size(), 1u);
  EXPECT_EQ(staging.staged()[0].file, "/d/copy.fm");
}

TEST_F(Staging, ASecondSaveKeepsTheMarksOfTheFirst) {
  // The file on disk has neither change, so the model finally written must
  // mark both as changed.
  auto loaded = staging.load("/d/a.fm");
  Document& doc = *loaded.document;
  const Id first = doc.firstParagraph(doc.mainFlow());
  const Id second = doc.nextParagraph(first);
  doc.insertText({first, 0}, "x");
  ASSERT_TRUE(staging.save("/d/a.fm", doc, nullptr));
  doc.clearModified();  // as the host does after a save
  doc.insertText({second, 0}, "y");
  ASSERT_TRUE(staging.save("/d/a.fm", doc, nullptr));
  ASSERT_EQ(staging.staged().size(), 1u);
  const Document& kept = std::get<Document>(staging.staged()[0].content);
  EXPECT_TRUE(kept.modified(first));
  EXPECT_TRUE(kept.modified(second));
  EXPECT_TRUE(kept.dirty());
}

TEST(StagingMif, ADocumentIsKeptAsTheBytesItWritesAndReadBackFromThem) {
  ScratchDir dir;
  dir.copyExamples();
  const std::string path = dir.path("guide/ch1.mif");
  const std::string before = dir.read("guide/ch1.mif");
  const headless::cli::Files mif = headless::cli::MifFiles();
  StagingStore staging{mif.store, mif.resolve, mif.render, mif.prepare};
  auto loaded = staging.load(path);
  ASSERT_TRUE(loaded.document);
  Document& doc = *loaded.document;
  const Id first = doc.firstParagraph(doc.mainFlow());
  const Id second = doc.nextParagraph(first);
  doc.insertText({first, 0}, "x");
  ASSERT_TRUE(staging.save(path, doc, nullptr));
  doc.clearModified();  // as the host does after a save
  ASSERT_EQ(staging.staged().size(), 1u);
  EXPECT_TRUE(std::holds_alternative<std::string>(staging.staged()[0].content));
  EXPECT_EQ(dir.read("guide/ch1.mif"), before);
  // Saved again after another change: the bytes hold both.
  doc.insertText({second, 0}, "y");
  ASSERT_TRUE(staging.save(path, doc, nullptr));
  auto again = staging.load(path);
  ASSERT_TRUE(again.document);
  EXPECT_EQ(again.document->path(), path);
  const std::vector<std::string> texts = Texts(*again.document);
  EXPECT_EQ(texts[0], "x" + Texts(*mif.store->load(path).document)[0]);
  EXPECT_EQ(texts[1].substr(0, 1), "y");

  const auto written = staging.commit(std::nullopt);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].error, "");
  EXPECT_FALSE(written[0].unchanged);
  EXPECT_EQ(Texts(*mif.store->load(path).document), texts);
  // The same bytes again are found unchanged and not written.
  ASSERT_TRUE(staging.save(path, *again.document, nullptr) && staging.staged().size() == 1u);
  EXPECT_TRUE(staging.unchanged(staging.staged()[0]));
}

TEST_F(Staging, OutputDirectoryTakesTheFileNamesAndRefusesTwoOfOneName) {
  auto a = staging.load("/d/a.fm");
  a.document->insertText({a.document->firstParagraph(a.document->mainFlow()), 0}, "x");
  ASSERT_TRUE(staging.save("/d/a.fm", *a.document, nullptr));
  ASSERT_TRUE(staging.save("/elsewhere/a.fm", *a.document, nullptr));
  const auto written = staging.commit(std::string("/out"));
  ASSERT_EQ(written.size(), 2u);
  // Joined with the system's separator.
  const std::string target = std::string("/out") + headless::NativeSeparator() + "a.fm";
  EXPECT_EQ(written[0].file, target);
  EXPECT_EQ(written[0].error, "");
  EXPECT_TRUE(written[0].heldBack);  // all or none
  EXPECT_EQ(written[1].file, target);
  EXPECT_NE(written[1].error.find("/elsewhere/a.fm is not written"), std::string::npos);
  EXPECT_FALSE(files->contains("/out/a.fm"));
  EXPECT_EQ(Texts(*files->document("/d/a.fm"))[0], "one");  // the original stays
}

TEST_F(Staging, OnlyFilesThatExistButFailToLoadAreInputErrors) {
  EXPECT_FALSE(staging.load("/d/missing.fm"));
  EXPECT_TRUE(staging.loadErrors().empty());
  EXPECT_NE(staging.lastError().find("/d/missing.fm"), std::string::npos);

  // A store whose file exists but cannot be read.
  class Broken : public headless::Store {
   public:
    headless::Loaded load(const std::string&) override {
      headless::Loaded l;
      l.error = "x.mif:3:7: expected '>'";
      return l;
    }
    bool save(const std::string&, const Document&, std::string*) override { return false; }
    bool save(const std::string&, const Book&, std::string*) override { return false; }
  };
  StagingStore broken(std::make_shared<Broken>(),
                      [](const std::string& name) -> std::optional<std::string> { return name; });
  EXPECT_FALSE(broken.load("x.mif"));
  EXPECT_EQ(broken.loadErrors(), std::vector<std::string>{"x.mif:3:7: expected '>'"});
  // A failed write is reported, not taken for done.
  ASSERT_TRUE(broken.save("y.mif", Book(), nullptr));
  const auto written = broken.commit(std::nullopt);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].error, "cannot be written");
}

}  // namespace
}  // namespace vtrtest
