// Books and chapters in folders other than the working folder: the paths a
// written book names lead to the chapters it was given, wherever it is
// written; chapters a book lists that cannot be read stop the run; files
// are told apart as the file system tells them apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_test_support.h"
#include "headless/paths.h"
#include "mif/file_store.h"
#include "mif/store.h"

namespace vtrtest {
namespace {

namespace fs = std::filesystem;

// The current directory is `dir` for as long as this lives.
class InFolder {
 public:
  explicit InFolder(const std::string& dir) : saved_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() { fs::current_path(saved_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path saved_;
};

std::string BookListing(const std::vector<std::string>& fileNames) {
  std::string out = "<Book 9.00>\n";
  int unique = 100;
  for (const std::string& name : fileNames) {
    out += "<BookComponent\n <FileName `" + name + "'>\n <Unique " + std::to_string(unique++) +
           ">\n> # end of BookComponent\n";
  }
  return out + "# End of Book\n";
}

class BookFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.copyExamples();
    // Three books in three folders, each naming chapters of its own; two
    // chapters have the same file name in different folders.
    dir.write("vol1/b.mif", BookListing({"<c\\>ch1.fm", "<c\\>ch2.fm"}));
    dir.write("vol1/ch1.mif", dir.read("guide/ch1.mif"));
    dir.write("vol1/ch2.mif", dir.read("guide/ch2.mif"));
    dir.write("vol2/A.mif", BookListing({"<c\\>ch1.fm"}));
    dir.write("vol2/ch1.mif", dir.read("guide/ch3.mif"));
    dir.write("vol3/c.mif", BookListing({"<c\\>part<c\\>ch9.fm"}));
    dir.write("vol3/part/ch9.mif", dir.read("guide/ch2.mif"));
    fs::create_directories(dir.path("work"));
  }

  // The files a book's components lead to, read as the application reads a
  // book (each path from the book file's own folder); "missing: PATH" for
  // a component that leads nowhere.
  std::vector<std::string> ChapterFiles(const std::string& bookName) const {
    mif::MifStore store;
    headless::Loaded loaded = store.load(dir.path(bookName));
    EXPECT_TRUE(loaded.book) << bookName << ": " << loaded.error;
    std::vector<std::string> out;
    if (!loaded.book) return out;
    for (headless::Id id : loaded.book->components()) {
      const std::string& path = loaded.book->component(id).path;
      const std::optional<std::string> file = mif::ResolveMifPath(path);
      out.push_back(file ? fs::canonical(*file).string() : "missing: " + path);
    }
    return out;
  }
  std::string file(const std::string& name) const { return fs::canonical(dir.path(name)).string(); }

  ScratchDir dir;
};

TEST_F(BookFolders, AMasterBookOverThreeFoldersNamesEveryChapterFromWhereItIsWritten) {
  CliRun r;
  {
    InFolder in(dir.path("work"));
    r = RunCliOnDisk({"--home", "../home", "--answer", "P1-", "--answer", "P2-", "--answer", "P3-",
                      "BuildCompIndex", "../vol1/b.mif", "../vol2/A.mif", "../vol3/c.mif"});
  }
  ASSERT_EQ(r.status, 0) << r.err;
  // The books in the order of their file names: A.mif, b.mif, c.mif.
  const std::vector<std::string> all = {file("vol2/ch1.mif"), file("vol1/ch1.mif"),
                                        file("vol1/ch2.mif"), file("vol3/part/ch9.mif")};
  EXPECT_EQ(ChapterFiles("vol1/Master"), all);
  EXPECT_EQ(ChapterFiles("vol1/b.mif"),
            (std::vector<std::string>{file("vol1/ch1.mif"), file("vol1/ch2.mif")}));
  EXPECT_EQ(ChapterFiles("vol2/A.mif"), std::vector<std::string>{file("vol2/ch1.mif")});
  EXPECT_EQ(ChapterFiles("vol3/c.mif"), std::vector<std::string>{file("vol3/part/ch9.mif")});
  // A chapter below the master's folder is named relative to it, so that
  // the folder can move; the others by their full path.
  const std::string master = dir.read("vol1/Master");
  EXPECT_NE(master.find("<FileName `<c\\>ch1.fm'>"), std::string::npos) << master;
#ifdef _WIN32
  EXPECT_NE(master.find("<FileName `<v\\>"), std::string::npos) << master;
#else
  EXPECT_NE(master.find("<FileName `<r\\>"), std::string::npos) << master;
#endif
  EXPECT_EQ(master.find("<c\\>vol2"), master.find("<c\\>vol2<c\\>ch1.fm")) << master;
  // A source book keeps naming its chapters as it did.
  EXPECT_NE(dir.read("vol3/c.mif").find("<FileName `<c\\>part<c\\>ch9.fm'>"), std::string::npos);
}

TEST_F(BookFolders, BooksWrittenIntoAnOutputFolderStillNameTheOriginalChapters) {
  const auto before = dir.snapshot();
  CliRun r;
  {
    InFolder in(dir.path());
    r = RunCliOnDisk({"--home", "home", "--output", "out", "--answer", "P1-", "--answer", "P2-",
                      "--answer", "P3-", "BuildCompIndex", "vol1/b.mif", "vol2/A.mif",
                      "vol3/c.mif"});
  }
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ChapterFiles("out/Master"),
            (std::vector<std::string>{file("vol2/ch1.mif"), file("vol1/ch1.mif"),
                                      file("vol1/ch2.mif"), file("vol3/part/ch9.mif")}));
  EXPECT_EQ(ChapterFiles("out/b.mif"),
            (std::vector<std::string>{file("vol1/ch1.mif"), file("vol1/ch2.mif")}));
  EXPECT_EQ(ChapterFiles("out/A.mif"), std::vector<std::string>{file("vol2/ch1.mif")});
  EXPECT_EQ(ChapterFiles("out/c.mif"), std::vector<std::string>{file("vol3/part/ch9.mif")});
  for (const char* name : {"vol1/b.mif", "vol2/A.mif", "vol3/c.mif"}) {
    EXPECT_EQ(dir.read(name), before.at(name)) << name;
  }
}

TEST_F(BookFolders, DumpShowsChapterPathsFromTheWorkingFolder) {
  InFolder in(dir.path());
  CliRun r = RunCliOnDisk({"dump", "vol3/c.mif"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string shown = "vol3/part/ch9.fm";  // with the system's separators
  std::replace(shown.begin(), shown.end(), '/', headless::NativeSeparator());
  EXPECT_NE(r.out.find(" " + shown), std::string::npos) << r.out;
  // From elsewhere a chapter shows with its full path.
  InFolder work(dir.path("work"));
  r = RunCliOnDisk({"dump", "../vol3/c.mif"});
  EXPECT_NE(r.out.find(" " + dir.path("vol3/part/ch9.fm")), std::string::npos) << r.out;
}

class BookChapters : public ExampleFilesTest {
 protected:
  // The example book with its second chapter named `name` instead.
  void listInstead(const std::string& name) {
    std::string book = dir.read("guide/Guide.mif");
    const std::string was = "<c\\>ch2.fm";
    book.replace(book.find(was), was.size(), "<c\\>" + name);
    dir.write("guide/Guide.mif", book);
  }
};

TEST_F(BookChapters, AMissingChapterIsAnErrorAndNothingIsWritten) {
  listInstead("missing.fm");
  const auto before = dir.snapshot();
  CliRun r = run({"--yes", "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("veltrano: " + at("guide/Guide.mif") +
                       " lists missing.fm: " + at("guide/missing.fm") + ": no such file"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("veltrano: nothing written\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("wrote"), std::string::npos) << r.err;
  EXPECT_TRUE(dir.snapshot() == before);

  // A folder where the chapter file should be.
  fs::create_directories(at("guide/missing.fm"));
  r = run({"--yes", "ShowIndexEntriesBook", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("lists missing.fm: " + at("guide/missing.fm") + ": a folder, not a file"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(dir.snapshot() == before);
}

TEST_F(BookChapters, ABrokenChapterIsNamedAsTheBookListsIt) {
  dir.write("guide/ch2.mif", "<MIFFile 9.00>\n<Para <PgfTag `Body'>\n");
  const auto before = dir.snapshot();
  CliRun r = run({"--yes", "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("veltrano: " + at("guide/Guide.mif") +
                       " lists ch2.fm: " + at("guide/ch2.mif") + ":3:1: "),
            std::string::npos)
      << r.err;
  // Said once, with its chapter.
  EXPECT_EQ(r.err.find(":3:1: "), r.err.rfind(":3:1: ")) << r.err;
  EXPECT_TRUE(dir.snapshot() == before);
}

TEST_F(BookChapters, AGeneratedFileNotYetMadeIsNoError) {
  fs::remove(at("guide/GuideIX.mif"));
  CliRun r = run({"--yes", "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("wrote " + at("guide/ch3.mif")), std::string::npos) << r.err;
}

TEST_F(BookChapters, ACommandThatActedOnNoDocumentExitsOne) {
  CliRun r = run({"VTRAddContinueds"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Please open an index document first."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("veltrano: the command acted on no document\n"), std::string::npos);
  // A document command given only a book has no document either.
  r = run({"--yes", "InsertAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 1) << r.err;
  // The settings document the plug-in reads for itself does not count; the
  // chapter it acts on does.
  r = run({"--yes", "InsertAllMarkers", at("guide/ch1.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  r = run({"VTRMergeIndex", at("guide/GuideIX.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(BookChapters, FileNamesDifferingInCaseAreTwoFilesWhereTheSystemSaysSo) {
#ifdef _WIN32
  GTEST_SKIP() << "names that differ only in case name one file on this system";
#else
  dir.write("case/a.mif", dir.read("guide/ch1.mif"));
  dir.write("case/A.mif", dir.read("guide/ch2.mif"));
  CliRun r =
      run({"--verbose", "--dry-run", "ShowHideIndexEntries", at("case/a.mif"), at("case/A.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("opened " + at("case/a.mif") + " as document"), std::string::npos);
  EXPECT_NE(r.err.find("opened " + at("case/A.mif") + " as document"), std::string::npos);
  const std::string first = r.err.substr(r.err.find(" as document ", r.err.find("case/a.mif")));
  const std::string second = r.err.substr(r.err.find(" as document ", r.err.find("case/A.mif")));
  EXPECT_NE(first.substr(0, first.find('\n')), second.substr(0, second.find('\n'))) << r.err;

  // A book B.mif beside its chapter b.mif is opened as the book.
  dir.write("case/b.mif", dir.read("guide/ch1.mif"));
  dir.write("case/B.mif", BookListing({"<c\\>b.fm"}));
  r = run({"--yes", "UpdateAllMarkers", at("case/b.mif"), at("case/B.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote " + at("case/b.mif") + "\n");
#endif
}

}  // namespace
}  // namespace vtrtest
