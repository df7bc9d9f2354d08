// Cuts a seed corpus for the MIF fuzz target out of whole MIF files: small
// files are taken whole; from larger ones, each small top-level statement
// under the file's header, and the paragraphs of each flow a few at a time
// (with the file's condition catalog, so that their conditions mean what
// they meant). Usage: veltrano_mif_fuzz_corpus OUT_DIR FILE...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "mif/document.h"

namespace {

constexpr std::size_t kMaxSeed = 12000;
constexpr std::size_t kParasPerSeed = 3;
constexpr std::size_t kSeedsPerFlow = 30;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class Cutter {
 public:
  explicit Cutter(std::filesystem::path dir) : dir_(std::move(dir)) {}

  void cut(const std::string& text, const std::string& name) {
    if (text.size() <= kMaxSeed) {
      put(text);
      return;
    }
    auto parsed = mif::ParseDocument(text, name);
    if (!parsed.ok()) return;
    const mif::Tree& t = parsed->tree();
    const mif::NodeId header = parsed->header();
    const std::string head =
        "<" + std::string(t.token(header)) + " " + std::string(t.value(header)) + ">\n";
    std::string catalog;
    for (mif::NodeId n = t.firstChild(t.root()); n != mif::kNoNode; n = t.nextSibling(n)) {
      const std::string_view piece = bytes(t, text, n);
      if (t.token(n) == "ConditionCatalog" && piece.size() < kMaxSeed / 2) catalog = piece;
      if (n != header && piece.size() + head.size() <= kMaxSeed) put(head + std::string(piece));
      if (t.token(n) == "TextFlow") flow(t, text, n, head + catalog);
    }
  }

 private:
  // The bytes of a statement up to the next statement beside it (kept only
  // when there is one: the last child's end is not known here).
  static std::string_view bytes(const mif::Tree& t, const std::string& text, mif::NodeId n) {
    const mif::NodeId next = t.nextSibling(n);
    const std::size_t begin = t.sourceOffset(n);
    const std::size_t end = next == mif::kNoNode ? text.size() : t.sourceOffset(next);
    if (t.parent(n) != t.root() && next == mif::kNoNode) return {};
    return std::string_view(text).substr(begin, end - begin);
  }

  void flow(const mif::Tree& t, const std::string& text, mif::NodeId flow,
            const std::string& head) {
    std::string tag = "<TextFlow <TFTag `A'>\n";
    std::vector<std::string_view> paras;
    for (mif::NodeId p : t.children(flow)) {
      if (t.token(p) == "Para") paras.push_back(bytes(t, text, p));
    }
    std::size_t made = 0;
    for (std::size_t i = 0; i < paras.size() && made < kSeedsPerFlow; i += kParasPerSeed) {
      std::string seed = head + tag;
      for (std::size_t k = i; k < i + kParasPerSeed && k < paras.size(); ++k) seed += paras[k];
      seed += ">\n";
      if (seed.size() > kMaxSeed) continue;
      put(seed);
      ++made;
    }
  }

  void put(const std::string& seed) {
    char name[32];
    std::snprintf(name, sizeof name, "cut-%016zx", std::hash<std::string>{}(seed));
    std::ofstream(dir_ / name, std::ios::binary) << seed;
  }

  std::filesystem::path dir_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUT_DIR FILE...\n", argv[0]);
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  Cutter cutter(argv[1]);
  for (int i = 2; i < argc; ++i) cutter.cut(ReadAll(argv[i]), argv[i]);
  return 0;
}
