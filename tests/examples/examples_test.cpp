// The bundled example book, its settings and style list, read through the
// MIF store and worked on by the plug-in as an author would.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mif/store.h"
#include "plugin_test.h"

namespace vtrtest {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A copy of the examples in a fresh directory, and a host over MIF files.
class ExamplesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("veltrano-examples-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::copy(VTR_EXAMPLES_DIR, dir_, fs::copy_options::recursive);
    host_ = std::make_unique<headless::Host>(std::make_shared<mif::MifStore>());
    host_->setHomeDirectory((dir_ / "home").string());
  }
  void TearDown() override {
    host_.reset();
    fs::remove_all(dir_);
  }
  std::string guide(const std::string& name) const { return (dir_ / "guide" / name).string(); }
  void startPlugin() {
    std::string error;
    ASSERT_GE(host_->loadClient(PluginPath(), &error), 0) << error;
    host_->initialize(host::kInitFirst);
  }

  fs::path dir_;
  std::unique_ptr<headless::Host> host_;
};

TEST_F(ExamplesTest, EveryExampleLoadsAndIsWrittenBackUnchanged) {
  mif::MifStore store;
  for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
    if (entry.path().extension() != ".mif") continue;
    const std::string before = ReadFile(entry.path());
    headless::Loaded loaded = store.load(entry.path().string());
    ASSERT_TRUE(loaded) << entry.path() << ": " << loaded.error;
    std::string error;
    const bool saved = loaded.document ? store.save(entry.path().string(), *loaded.document, &error)
                                       : store.save(entry.path().string(), *loaded.book, &error);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(ReadFile(entry.path()), before) << entry.path();
  }
}

TEST_F(ExamplesTest, ChaptersHoldTheirEntryParagraphs) {
  ObjectId ch1 = host_->open(guide("ch1.fm"));
  ASSERT_NE(ch1, 0u);
  const Document& d = *host_->document(ch1);
  EXPECT_EQ(Texts(d).front(), "Dogs");
  EXPECT_EQ(Paragraphs(d)[1].tag, "Index Entry");
  EXPECT_EQ(Paragraphs(d)[1].conditions, std::vector<std::string>{"Index"});
  EXPECT_EQ(MarkerTexts(d, "Index"), std::vector<std::string>{"<$singlepage>Wolves;"});

  ObjectId ch2 = host_->open(guide("ch2.fm"));
  const Document& d2 = *host_->document(ch2);
  EXPECT_EQ(d2.all(headless::DocList::Tables).size(), 1u);
  EXPECT_EQ(d2.all(headless::DocList::Footnotes).size(), 1u);
}

TEST_F(ExamplesTest, InsertAllMarkersOnChapterOne) {
  startPlugin();
  ObjectId ch1 = host_->open(guide("ch1.fm"));
  host_->setActiveDocument(ch1);
  host_->command(5);
  EXPECT_TRUE(host_->dialogs().empty());
  const std::vector<std::string> expected = {
      "<$singlepage>Dogs;<$startrange>Dogs:training;",
      "<$endrange>Dogs:training;<$singlepage>Dogs:breeds:terriers;<$singlepage>Puppies:<Italic>see<"
      "Default Para Font> Dogs;",
      "<$singlepage>Dogs:<Italic>see also<Default Para Font> Wolves[Dogs:aaa];<$nopage>Kennel "
      "clubs;"};
  EXPECT_EQ(MarkerTexts(*host_->document(ch1), "Index"), expected);
  ASSERT_TRUE(host_->save(ch1));
  // The saved file reads back with the same markers.
  headless::Loaded again = mif::MifStore().load(guide("ch1.fm"));
  ASSERT_TRUE(again) << again.error;
  EXPECT_EQ(MarkerTexts(*again.document, "Index"), expected);
}

TEST_F(ExamplesTest, UpdateAllMarkersOverTheBook) {
  startPlugin();
  ObjectId book = host_->open(guide("Guide.book"));
  ASSERT_NE(book, 0u);
  host_->setActiveBook(book);
  host_->command(10);
  EXPECT_TRUE(host_->consoleLines().empty());
  headless::Loaded ch2 = mif::MifStore().load(guide("ch2.fm"));
  ASSERT_TRUE(ch2) << ch2.error;
  // In reading order: the body paragraph, its footnote, then the table
  // anchored after it.
  EXPECT_EQ(MarkerTexts(*ch2.document, "Index"),
            (std::vector<std::string>{"<$singlepage>Cats;", "<$singlepage>Cats:sleep;",
                                      "<$singlepage>Cats:breeds:Siamese;"}));
  EXPECT_FALSE(ConditionShown(*ch2.document, "Index"));
  headless::Loaded ch3 = mif::MifStore().load(guide("ch3.fm"));
  EXPECT_EQ(MarkerTexts(*ch3.document, "Index"),
            (std::vector<std::string>{"<$singlepage>Birds;",
                                      "<$singlepage>Penguins;<$singlepage>Birds:flightless;"}));
}

TEST_F(ExamplesTest, TheGeneratedIndexIsProcessedAfterGenerating) {
  startPlugin();  // the settings ask for merging and continued lines of type 2
  ObjectId book = host_->open(guide("Guide.book"));
  host_->setActiveBook(book);
  host_->notify(host::kNotifyPostGenerate);
  EXPECT_TRUE(host_->dialogs().empty());
  headless::Loaded ix = mif::MifStore().load(guide("GuideIX.fm"));
  ASSERT_TRUE(ix) << ix.error;
  const std::vector<std::string> texts = Texts(*ix.document);
  // "Cheetahs" had one subentry and no page number of its own.
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Cheetahs, speed, 4"), texts.end());
  // The third column starts inside the subentries of "Dogs".
  const std::vector<std::vector<std::string>> columns = Columns(*ix.document);
  ASSERT_GE(columns.size(), 3u);
  EXPECT_EQ(columns[2].front(), "Dogs, 1 (continued)");
  EXPECT_EQ(columns[2][1], "working, 3");
}

}  // namespace
}  // namespace vtrtest
