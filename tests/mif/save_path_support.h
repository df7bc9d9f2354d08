// A scratch folder for the save path tests, and documents to save in it.
#ifndef VELTRANO_TESTS_MIF_SAVE_PATH_SUPPORT_H
#define VELTRANO_TESTS_MIF_SAVE_PATH_SUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mif/file_store.h"
#include "test_support.h"

namespace mif_test {

inline const std::string kNewText = "<MIFFile 9.00>\n<Document <DNextUnique 5>>\n<TextFlow >\n";
inline const std::string kOldText = "the text the file had\n";

// kNewText, or a document of `paragraphs` paragraphs of text.
inline mif::Document NewDocument(std::size_t paragraphs = 0) {
  std::string text = "<MIFFile 9.00>\n<TextFlow\n";
  for (std::size_t i = 0; i < paragraphs; ++i) {
    text += " <Para <ParaLine <String `A paragraph of private text, number " + std::to_string(i) +
            "'>>>\n";
  }
  text += ">\n";
  auto doc = mif::ParseDocument(paragraphs == 0 ? kNewText : text, "new.mif");
  EXPECT_TRUE(doc.ok());
  return std::move(doc).value();
}

class SaveDir : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vtr-save-" + std::string(info->name()) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_, ec)) {
      std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(dir_, ec);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string read(const std::string& name) const { return ReadFile(path(name)); }
  // The temporary files beside `name`.
  std::vector<std::string> temporaries(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      if (e.path().filename().string().rfind("." + name + ".tmp", 0) == 0) {
        out.push_back(e.path().string());
      }
    }
    return out;
  }

  std::filesystem::path dir_;
};

}  // namespace mif_test

#endif
