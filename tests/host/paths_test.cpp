// Paths as the host keeps them (UTF-8) and as the file system takes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "headless/paths.h"

namespace {

namespace fs = std::filesystem;

// A name with letters outside every single-byte code page: made through
// FsPath, it is found on disk under the same name, and reads back the same.
TEST(Paths, NonAsciiNamesReachTheFileSystemIntact) {
  const std::string name =
      "B\xC3\xBC"
      "cher \xE7\xB4\xA2\xE5\xBC\x95";  // "Bücher 索引"
  const fs::path dir = fs::temp_directory_path() / headless::FsPath("vtr-paths-" + name);
  fs::remove_all(dir);
  ASSERT_TRUE(fs::create_directories(dir));
  std::ofstream(dir / headless::FsPath("\xC3\xA9t\xC3\xA9.mif")) << "x";  // "été.mif"
  std::vector<std::string> found;
  for (const auto& e : fs::directory_iterator(dir)) {
    found.push_back(headless::Utf8Path(e.path().filename()));
  }
  EXPECT_EQ(found, std::vector<std::string>{"\xC3\xA9t\xC3\xA9.mif"});
  EXPECT_EQ(headless::Utf8Path(dir.filename()), "vtr-paths-" + name);
  fs::remove_all(dir);
}

TEST(Paths, JoiningUsesTheSystemsSeparatorUnlessTheFolderEndsInOne) {
  const std::string sep(1, headless::NativeSeparator());
#ifdef _WIN32
  EXPECT_EQ(sep, "\\");
#else
  EXPECT_EQ(sep, "/");
#endif
  EXPECT_EQ(headless::JoinPath("out", "ch1.mif"), "out" + sep + "ch1.mif");
  EXPECT_EQ(headless::JoinPath("C:\\out\\", "ch1.mif"), "C:\\out\\ch1.mif");
  EXPECT_EQ(headless::JoinPath("/out/", "ch1.mif"), "/out/ch1.mif");
  EXPECT_EQ(headless::JoinPath("", "ch1.mif"), "ch1.mif");
  EXPECT_EQ(headless::WithSeparator("out"), "out" + sep);
  EXPECT_EQ(headless::WithSeparator(""), "");
}

}  // namespace
