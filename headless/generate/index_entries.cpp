#include "index_entries.h"

#include <algorithm>
#include <unordered_map>

namespace headless::generate {

namespace {

struct Range {
  PageRef first, last;
  bool isRange = false;
};

struct Node {
  std::string plain;
  LevelText display;
  bool named = false;  // a marker names it as its own entry (not only as a parent)
  std::string sortAs;
  bool keyed = false;
  std::string key;
  std::vector<uint32_t> children;
  std::vector<Range> pages;
  std::vector<std::pair<PageRef, std::size_t>> open;  // range starts waiting for their end
};

class Builder {
 public:
  Builder(const IndexSettings& settings, const Collation& collation)
      : settings_(settings), collation_(collation), nodes_(1) {}

  void add(const Occurrence& o) {
    uint32_t at = 0;
    const MarkerEntry& e = o.entry;
    for (std::size_t i = 0; i < e.levels.size(); ++i) {
      at = child(at, e.levels[i]);
      Node& n = nodes_[at];
      const bool last = i + 1 == e.levels.size();
      if (last && !n.named) {
        n.display = e.levels[i];
        n.named = true;
      }
      if (i < e.sortKey.size() && !e.sortKey[i].empty() && !n.keyed) {
        n.sortAs = e.sortKey[i];
        n.keyed = true;
      }
    }
    depth_ = std::max(depth_, static_cast<int>(e.levels.size()));
    if (e.noPage) return;
    Node& n = nodes_[at];
    if (e.startRange && !e.endRange) {
      n.open.emplace_back(o.page, o.source);
    } else if (e.endRange && !e.startRange) {
      if (n.open.empty()) {
        problems_.push_back({o.source,
                             "the end of a page range that was not started (<$endrange> "
                             "without <$startrange>); it is listed as a single page"});
        n.pages.push_back(Range{o.page, o.page});
      } else {
        const PageRef first = n.open.back().first;
        n.open.pop_back();
        n.pages.push_back(Range{first, o.page, true});
      }
    } else {
      n.pages.push_back(Range{o.page, o.page});
    }
  }

  BuiltIndex finish() {
    BuiltIndex out;
    for (Node& n : nodes_) {
      for (const auto& [page, source] : n.open) {
        problems_.push_back({source,
                             "a page range that is not ended (<$startrange> without "
                             "<$endrange>); it is listed as a single page"});
        n.pages.push_back(Range{page, page});
      }
      n.open.clear();
      n.key = collation_.key(n.sortAs);
    }
    std::vector<std::pair<std::string, const GroupTitle*>> titles;
    for (const GroupTitle& t : settings_.groupTitles) {
      titles.emplace_back(collation_.key(t.sortAs), &t);
    }
    std::stable_sort(titles.begin(), titles.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t nextTitle = 0;
    const GroupTitle* shown = nullptr;
    for (uint32_t c : sorted(0)) {
      const Node& n = nodes_[c];
      const GroupTitle* title = shown;
      while (nextTitle < titles.size() && titles[nextTitle].first <= n.key) {
        title = titles[nextTitle++].second;
      }
      if (title != shown) {
        out.lines.push_back(IndexLine{true, 1, title->text.pieces, {}});
        shown = title;
      }
      emit(c, 1, out.lines);
    }
    out.problems = std::move(problems_);
    std::stable_sort(
        out.problems.begin(), out.problems.end(),
        [](const EntryProblem& a, const EntryProblem& b) { return a.source < b.source; });
    out.depth = depth_;
    return out;
  }

 private:
  uint32_t child(uint32_t parent, const LevelText& level) {
    std::string plain = level.plain();
    // One table for every parent: the parent's number, a zero byte, the text.
    std::string path = std::to_string(parent);
    path += '\0';
    path += plain;
    auto [it, made] = byPath_.try_emplace(std::move(path), static_cast<uint32_t>(nodes_.size()));
    if (!made) return it->second;
    const uint32_t id = it->second;
    nodes_[parent].children.push_back(id);
    Node n;
    n.display = level;
    n.sortAs = plain;
    n.plain = std::move(plain);
    nodes_.push_back(std::move(n));
    return id;
  }

  // The children of a node in index order: by key, then by exact text,
  // then in order of first appearance.
  std::vector<uint32_t> sorted(uint32_t parent) const {
    std::vector<uint32_t> out = nodes_[parent].children;
    std::stable_sort(out.begin(), out.end(), [&](uint32_t a, uint32_t b) {
      const Node& x = nodes_[a];
      const Node& y = nodes_[b];
      if (x.key != y.key) return x.key < y.key;
      return x.plain < y.plain;
    });
    return out;
  }

  static std::vector<PageItem> PageList(std::vector<Range> pages) {
    std::stable_sort(pages.begin(), pages.end(),
                     [](const Range& a, const Range& b) { return a.first.order < b.first.order; });
    std::vector<Range> merged;
    for (Range& r : pages) {
      if (r.last.order < r.first.order) std::swap(r.first, r.last);
      if (!merged.empty() && r.first.order <= merged.back().last.order) {
        if (r.last.order > merged.back().last.order) {
          merged.back().last = r.last;
          merged.back().isRange = true;
        }
        continue;
      }
      merged.push_back(r);
    }
    std::vector<PageItem> out;
    for (const Range& r : merged) {
      PageItem item{r.first, std::nullopt};
      if (r.isRange && r.last.order != r.first.order) item.last = r.last;
      out.push_back(std::move(item));
    }
    return out;
  }

  void emit(uint32_t id, int level, std::vector<IndexLine>& lines) const {
    const Node& n = nodes_[id];
    lines.push_back(IndexLine{false, level, n.display.pieces, PageList(n.pages)});
    for (uint32_t c : sorted(id)) emit(c, level + 1, lines);
  }

  const IndexSettings& settings_;
  const Collation& collation_;
  std::vector<Node> nodes_;  // 0 is the root
  std::unordered_map<std::string, uint32_t> byPath_;
  std::vector<EntryProblem> problems_;
  int depth_ = 0;
};

}  // namespace

BuiltIndex BuildIndex(const std::vector<Occurrence>& occurrences, const IndexSettings& settings,
                      const Collation& collation) {
  Builder b(settings, collation);
  for (const Occurrence& o : occurrences) b.add(o);
  return b.finish();
}

}  // namespace headless::generate
