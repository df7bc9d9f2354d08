#include "model_support.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "test_support.h"

namespace mif_test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static int count = 0;
  dir_ = fs::temp_directory_path() /
         ("vtr-mif-model-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void TempDir::write(const std::string& name, const std::string& text) const {
  std::ofstream(path(name), std::ios::binary) << text;
}

std::vector<std::string> TempDir::files() const {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

headless::Loaded LoadSampleCopy(headless::Store& store, const TempDir& dir,
                                const std::string& name) {
  dir.write(name, ReadSample(name));
  return store.load(dir.path(name));
}

std::vector<headless::Id> ChainOf(const headless::Document& doc, headless::Id container) {
  std::vector<headless::Id> out;
  for (headless::Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) {
    out.push_back(p);
  }
  return out;
}

headless::Id FindParagraph(const headless::Document& doc, const std::string& text) {
  for (headless::Id id = 1; id < doc.idLimit(); ++id) {
    if (doc.kind(id) == headless::Kind::Paragraph && doc.text(id) == text) return id;
  }
  return 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    out.push_back(text.substr(at, nl - at));
    at = nl + 1;
  }
  return out;
}

Change Difference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  Change c;
  while (c.first < before.size() && c.first < after.size() && before[c.first] == after[c.first]) {
    ++c.first;
  }
  std::size_t b = before.size(), a = after.size();
  while (b > c.first && a > c.first && before[b - 1] == after[a - 1]) {
    --b;
    --a;
  }
  c.endBefore = b;
  c.endAfter = a;
  return c;
}

std::pair<std::size_t, std::size_t> StatementLines(const std::vector<std::string>& lines,
                                                   const std::string& opening,
                                                   const std::string& inside) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(opening) == std::string::npos) continue;
    const std::size_t indent = lines[i].find('<');
    std::size_t end = i + 1;
    bool holds = false;
    for (; end < lines.size(); ++end) {
      if (lines[end].find(inside) != std::string::npos) holds = true;
      if (lines[end].size() > indent && lines[end][indent] == '>' &&
          lines[end].find_first_not_of(' ') == indent) {
        ++end;
        break;
      }
    }
    if (holds) return {i, end};
  }
  return {0, 0};
}

}  // namespace mif_test
