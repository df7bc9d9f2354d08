// Opening files by the names the plug-in uses; atomic saves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "mif/builder.h"
#include "mif/file_store.h"
#include "mif/writer.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

class MifStore : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vtr-mif-store-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  std::size_t fileCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

const std::string kSmall = "<MIFFile 9.00>\n<Document <DNextUnique 5>>\n<TextFlow >\n";

TEST_F(MifStore, ResolvesTheNamesThePlugInUses) {
  write("CVConfig.mif", kSmall);
  write("IXStyle.mif", kSmall);
  write("Guide.mif", kSmall);
  write("Both.fm", kSmall);
  write("Both.mif", kSmall);
  EXPECT_EQ(mif::ResolveMifPath(path("CVConfig.fm")), path("CVConfig.mif"));
  EXPECT_EQ(mif::ResolveMifPath(path("IXStyle.FM")), path("IXStyle.mif"));
  EXPECT_EQ(mif::ResolveMifPath(path("Guide.book")), path("Guide.mif"));
  // The name itself wins when it exists.
  EXPECT_EQ(mif::ResolveMifPath(path("Both.fm")), path("Both.fm"));
  EXPECT_EQ(mif::ResolveMifPath(path("CVConfig.mif")), path("CVConfig.mif"));
  // Backslashes separate too.
  EXPECT_EQ(mif::ResolveMifPath(dir_.string() + "\\CVConfig.fm"), path("CVConfig.mif"));
  EXPECT_FALSE(mif::ResolveMifPath(path("Missing.fm")).has_value());
  EXPECT_FALSE(mif::ResolveMifPath(path("CVConfig.doc")).has_value());
  EXPECT_FALSE(mif::ResolveMifPath(dir_.string()).has_value());  // a folder is no file

  auto doc = mif::LoadMifFile(path("CVConfig.fm"));
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(doc->fileName(), path("CVConfig.mif"));
  auto missing = mif::LoadMifFile(path("Missing.fm"));
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().file, path("Missing.fm"));
  EXPECT_NE(missing.error().message.find("no such file"), std::string::npos);
}

TEST_F(MifStore, BadFileIsAnErrorNamingIt) {
  write("Bad.mif", "<MIFFile 9.00>\n<Para <String `x>\n");
  auto doc = mif::LoadMifFile(path("Bad.fm"));
  ASSERT_FALSE(doc.ok());
  EXPECT_EQ(doc.error().file, path("Bad.mif"));
  EXPECT_EQ(doc.error().line, 2u);
  EXPECT_EQ(doc.error().column, 15u);
}

TEST_F(MifStore, SaveReplacesAtomicallyAndKeepsPermissions) {
  VTR_REQUIRE_SAMPLES();
  const std::string sample = mif_test::ReadSample("Test01.mif");
  write("Doc.mif", sample);
#ifndef _WIN32
  ASSERT_EQ(::chmod(path("Doc.mif").c_str(), 0640), 0);
#endif
  auto doc = mif::LoadMifFile(path("Doc.fm"));
  ASSERT_TRUE(doc.ok());
  mif::IdAllocator ids(*doc);
  ids.nextUnique();  // a change: the counter moves
  ASSERT_TRUE(mif::SaveMifFile(*doc).ok());
  EXPECT_EQ(mif_test::ReadFile(path("Doc.mif")), mif::WriteTree(doc->tree()));
  EXPECT_NE(mif_test::ReadFile(path("Doc.mif")), sample);
#ifndef _WIN32
  // Windows keeps a replaced file's attributes; the save path tests say so.
  struct stat st;
  ASSERT_EQ(::stat(path("Doc.mif").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
  EXPECT_EQ(fileCount(), 1u);  // no temporary file left behind
}

TEST_F(MifStore, UnchangedSaveIsByteIdentical) {
  VTR_REQUIRE_SAMPLES();
  const std::string sample = mif_test::ReadSample("xorg-xp_library.mif");
  write("xp.mif", sample);
  auto doc = mif::LoadMifFile(path("xp.mif"));
  ASSERT_TRUE(doc.ok());
  ASSERT_TRUE(mif::SaveMifFile(*doc, path("copy.mif")).ok());
  EXPECT_EQ(mif_test::ReadFile(path("copy.mif")), sample);
}

TEST_F(MifStore, FailedSaveLeavesNothing) {
  auto doc = mif::ParseDocument(kSmall, "small.mif");
  ASSERT_TRUE(doc.ok());
  const mif::Status saved = mif::SaveMifFile(*doc, path("no-such-folder/x.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().message.find("does not exist"), std::string::npos);
  EXPECT_EQ(fileCount(), 0u);
}

}  // namespace
