// Helpers of the tests of the MIF store: samples copied into a folder of
// their own, paragraphs found by text, and where two files differ.
#ifndef VELTRANO_TESTS_MIF_MODEL_SUPPORT_H
#define VELTRANO_TESTS_MIF_MODEL_SUPPORT_H

#include <filesystem>
#include <string>
#include <vector>

#include "headless/document.h"
#include "headless/store.h"

namespace mif_test {

// A folder that lives as long as the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // `name` (written with '/') in the folder, with the system's separators.
  std::string path(const std::string& name) const {
    return (dir_ / name).make_preferred().string();
  }
  void write(const std::string& name, const std::string& text) const;
  std::vector<std::string> files() const;

 private:
  std::filesystem::path dir_;
};

// Copies a sample into `dir` and loads it through `store`.
headless::Loaded LoadSampleCopy(headless::Store& store, const TempDir& dir,
                                const std::string& name);

// The first paragraph (of any flow, cell or footnote, hidden ones too)
// whose text is `text`; 0 when there is none.
headless::Id FindParagraph(const headless::Document& doc, const std::string& text);
// Every live paragraph of a container, hidden ones too.
std::vector<headless::Id> ChainOf(const headless::Document& doc, headless::Id container);

std::vector<std::string> Lines(const std::string& text);

// The lines of `before` and `after` between their common first and last
// lines: [first, endBefore) of before was replaced by [first, endAfter)
// of after. All three are equal when the texts are.
struct Change {
  std::size_t first = 0, endBefore = 0, endAfter = 0;
};
Change Difference(const std::vector<std::string>& before, const std::vector<std::string>& after);

// The 0-based line range [first, end) of the statement whose opening line
// holds `opening` and which contains `inside`: the statement ends at the
// first line after it at its own indent that starts with '>'.
std::pair<std::size_t, std::size_t> StatementLines(const std::vector<std::string>& lines,
                                                   const std::string& opening,
                                                   const std::string& inside);

}  // namespace mif_test

#endif
