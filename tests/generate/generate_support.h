// Books of MIF chapters written into a scratch folder for generating their
// index, and the index document read back as a reader sees it.
#ifndef VELTRANO_TESTS_GENERATE_SUPPORT_H
#define VELTRANO_TESTS_GENERATE_SUPPORT_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "generate/generate_book.h"
#include "headless/host.h"

namespace vtrgen {

namespace fs = std::filesystem;

// A marker in MIF form: <Marker ...> with the given type, text, page and Unique.
std::string Marker(const std::string& text, long long unique, const std::string& type = "Index",
                   const std::string& currPage = "");

// A chapter whose body pages carry these numbers; `flow` is the inside of
// its main flow (paragraphs naming frames 1, 2, ... for pages 1, 2, ...).
std::string Chapter(const std::vector<std::string>& pages, const std::string& flow,
                    const std::string& extra = "");
// A paragraph on frame `frame` (0: names no frame) holding `content`.
std::string Para(int frame, const std::string& content);

// A book with these components (the inside of each <BookComponent>).
std::string Book(const std::vector<std::string>& components);
std::string ChapterComponent(const std::string& file, const std::string& settings = "");
std::string IndexComponent(const std::string& file, bool links = false,
                           const std::string& settings = "");

class GenerateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const;
  std::string read(const std::string& name) const;
  // Opens books through `store` from now on.
  void useStore(std::shared_ptr<headless::Store> store);
  // Opens the book in a host over MIF files and generates its indexes.
  headless::generate::GenerateReport generate(const std::string& book, bool addIndex = false);
  // The main flow of a saved index as "Tag: text" lines, markers as [[text]].
  std::vector<std::string> lines(const std::string& index) const;

  fs::path dir_;
  std::unique_ptr<headless::Host> host_;
};

}  // namespace vtrgen

#endif
