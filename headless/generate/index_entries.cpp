#include "index_entries.h"

#include <algorithm>
#include <map>

namespace headless::generate {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
// Marks a range end that is the page an occurrence runs through
// (Occurrence::through), not its own page.
constexpr uint32_t kThrough = 0x80000000u;

// The pages one marker entry gives a line: two occurrences for a range,
// one (twice) for a single page.
struct Range {
  uint32_t node;
  uint32_t first, last;
  bool isRange;
  // The pages' places, kept here so that ordering and merging read no
  // occurrence.
  uint64_t firstOrder = 0, lastOrder = 0;
};

struct Node {
  uint32_t parent = kNone;
  uint64_t hash = 0;   // of its parent and text
  bool named = false;  // a marker names it as its own entry (not only as a parent)
  bool keyed = false;
  std::string plain;
  std::string sortAs;  // its key; empty while it sorts by its plain text
  std::vector<Piece> display;
};

class Builder {
 public:
  Builder(std::vector<Occurrence>& occurrences, const IndexSettings& settings,
          const Collation& collation)
      : occ_(occurrences), settings_(settings), collation_(collation), nodes_(1) {
    nodes_.reserve(occurrences.size() + 1);
    ranges_.reserve(occurrences.size());
  }

  void add(uint32_t index) {
    MarkerEntry& e = occ_[index].entry;
    uint32_t at = 0;
    for (std::size_t i = 0; i < e.levels.size(); ++i) {
      const bool last = i + 1 == e.levels.size();
      bool made = false;
      at = child(at, e.levels[i], made);
      Node& n = nodes_[at];
      if (last && !n.named) {
        if (!made) n.display = std::move(e.levels[i].pieces);
        n.named = true;
      }
      if (i < e.sortKey.size() && !e.sortKey[i].empty() && !n.keyed) {
        n.sortAs = std::move(e.sortKey[i]);
        n.keyed = true;
      }
    }
    depth_ = std::max(depth_, static_cast<int>(e.levels.size()));
    if (e.noPage) return;
    if (e.startRange && !e.endRange) {
      open_[at].push_back(index);
    } else if (e.endRange && !e.startRange) {
      auto it = open_.find(at);
      if (it == open_.end() || it->second.empty()) {
        problems_.push_back({occ_[index].source,
                             "the end of a page range that was not started (<$endrange> "
                             "without <$startrange>); it is listed as a single page"});
        range(at, index, index, false);
      } else {
        range(at, it->second.back(), index, true);
        it->second.pop_back();
      }
    } else if (occ_[index].through && settings_.autoRange) {
      range(at, index, index | kThrough, true);
    } else {
      range(at, index, index, false);
    }
  }

  BuiltIndex finish() {
    BuiltIndex out;
    for (auto& [node, starts] : open_) {
      for (uint32_t start : starts) {
        problems_.push_back({occ_[start].source,
                             "a page range that is not ended (<$startrange> without "
                             "<$endrange>); it is listed as a single page"});
        range(node, start, start, false);
      }
    }
    rankNodes();
    groupChildren();
    groupPages();
    out.lines.reserve(nodes_.size() + settings_.groupTitles.size());
    std::size_t nextTitle = 0;
    const GroupTitle* shown = nullptr;
    for (uint32_t i = childStart_[0]; i < childStart_[1]; ++i) {
      const uint32_t c = children_[i];
      const GroupTitle* title = shown;
      while (nextTitle < titles_.size() && titles_[nextTitle].first <= rank_[c]) {
        title = titles_[nextTitle++].second;
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
  uint32_t child(uint32_t parent, LevelText& level, bool& made) {
    // Most levels are one piece: its text is the plain text, not copied.
    std::string joined;
    std::string_view plain;
    if (level.pieces.size() == 1) {
      plain = level.pieces.front().text;
    } else {
      joined = level.plain();
      plain = joined;
    }
    const uint64_t hash =
        std::hash<std::string_view>{}(plain) ^ (uint64_t{parent} * 0x9E3779B97F4A7C15ull);
    if (2 * nodes_.size() >= table_.size()) grow();
    std::size_t slot = hash & (table_.size() - 1);
    const auto tag = static_cast<uint32_t>(hash >> 32);
    for (; table_[slot].id != kNone; slot = (slot + 1) & (table_.size() - 1)) {
      if (table_[slot].tag != tag) continue;  // the node itself is not read: fewer misses
      const Node& n = nodes_[table_[slot].id];
      if (n.hash == hash && n.parent == parent && n.plain == plain) return table_[slot].id;
    }
    const auto id = static_cast<uint32_t>(nodes_.size());
    table_[slot] = {id, tag};
    Node& n = nodes_.emplace_back();
    n.parent = parent;
    n.hash = hash;
    n.plain = std::string(plain);
    n.display = std::move(level.pieces);
    made = true;
    return id;
  }

  // The table of nodes by path, open addressed, at most half full.
  void grow() {
    table_.assign(std::max<std::size_t>(64, 2 * table_.size()), Slot{});
    for (uint32_t id = 1; id < nodes_.size(); ++id) {
      std::size_t slot = nodes_[id].hash & (table_.size() - 1);
      while (table_[slot].id != kNone) slot = (slot + 1) & (table_.size() - 1);
      table_[slot] = {id, static_cast<uint32_t>(nodes_[id].hash >> 32)};
    }
  }

  // Every node and group title gets the rank of its sort string among all
  // of them: equal keys, equal ranks. Each distinct string is keyed once.
  void rankNodes() {
    // The distinct strings, found through an open-addressed table of
    // their ids (no allocation per string).
    std::vector<std::string_view> strings;
    strings.reserve(nodes_.size() + settings_.groupTitles.size());
    std::size_t slots = 64;
    while (slots < 2 * (nodes_.size() + settings_.groupTitles.size())) slots *= 2;
    std::vector<uint32_t> idOf(slots, kNone);
    auto intern = [&](std::string_view s) {
      std::size_t slot = std::hash<std::string_view>{}(s) & (slots - 1);
      for (; idOf[slot] != kNone; slot = (slot + 1) & (slots - 1)) {
        if (strings[idOf[slot]] == s) return idOf[slot];
      }
      idOf[slot] = static_cast<uint32_t>(strings.size());
      strings.push_back(s);
      return idOf[slot];
    };
    std::vector<uint32_t> stringOf(nodes_.size());
    for (std::size_t i = 1; i < nodes_.size(); ++i) {
      stringOf[i] = intern(nodes_[i].keyed ? nodes_[i].sortAs : nodes_[i].plain);
    }
    std::vector<uint32_t> titleString;
    for (const GroupTitle& t : settings_.groupTitles) titleString.push_back(intern(t.sortAs));
    // The keys back to back in one buffer: one allocation, not one each.
    std::string keys;
    keys.reserve(strings.size() * 32);
    std::vector<std::size_t> keyEnds(strings.size());
    for (std::size_t i = 0; i < strings.size(); ++i) {
      keys += collation_.key(strings[i]);
      keyEnds[i] = keys.size();
    }
    std::vector<std::pair<std::string_view, uint32_t>> byKey(strings.size());
    for (uint32_t i = 0; i < byKey.size(); ++i) {
      const std::size_t begin = i == 0 ? 0 : keyEnds[i - 1];
      byKey[i] = {std::string_view(keys).substr(begin, keyEnds[i] - begin), i};
    }
    std::sort(byKey.begin(), byKey.end());
    std::vector<uint32_t> rankOf(strings.size());
    uint32_t rank = 0;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
      if (i > 0 && byKey[i].first != byKey[i - 1].first) ++rank;
      rankOf[byKey[i].second] = rank;
    }
    rank_.resize(nodes_.size());
    for (std::size_t i = 1; i < nodes_.size(); ++i) rank_[i] = rankOf[stringOf[i]];
    for (std::size_t i = 0; i < titleString.size(); ++i) {
      titles_.emplace_back(rankOf[titleString[i]], &settings_.groupTitles[i]);
    }
    std::stable_sort(titles_.begin(), titles_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }

  // The children of every node, each node's in index order: by key, then
  // by exact text (two children of one node never have the same text).
  void groupChildren() {
    childStart_.assign(nodes_.size() + 1, 0);
    for (std::size_t i = 1; i < nodes_.size(); ++i) ++childStart_[nodes_[i].parent + 1];
    for (std::size_t i = 1; i < childStart_.size(); ++i) childStart_[i] += childStart_[i - 1];
    children_.resize(nodes_.size() - 1);
    std::vector<uint32_t> fill(childStart_.begin(), childStart_.end() - 1);
    for (uint32_t i = 1; i < nodes_.size(); ++i) children_[fill[nodes_[i].parent]++] = i;
    for (std::size_t p = 0; p < nodes_.size(); ++p) {
      std::sort(children_.begin() + childStart_[p], children_.begin() + childStart_[p + 1],
                [&](uint32_t a, uint32_t b) {
                  if (rank_[a] != rank_[b]) return rank_[a] < rank_[b];
                  return nodes_[a].plain < nodes_[b].plain;
                });
    }
  }

  // The ranges of every node together, in the order they were added.
  void groupPages() {
    pageStart_.assign(nodes_.size() + 1, 0);
    for (const Range& r : ranges_) ++pageStart_[r.node + 1];
    for (std::size_t i = 1; i < pageStart_.size(); ++i) pageStart_[i] += pageStart_[i - 1];
    byNode_.resize(ranges_.size());
    std::vector<uint32_t> fill(pageStart_.begin(), pageStart_.end() - 1);
    for (const Range& r : ranges_) byNode_[fill[r.node]++] = r;
  }

  PageRef& page(uint32_t occurrence) {
    Occurrence& o = occ_[occurrence & ~kThrough];
    return (occurrence & kThrough) != 0 ? *o.through : o.page;
  }
  void range(uint32_t node, uint32_t first, uint32_t last, bool isRange) {
    ranges_.push_back(Range{node, first, last, isRange, page(first).order, page(last).order});
  }

  // A line's page list: in page order, each page once, ranges taking in
  // the pages they cover.
  std::vector<PageItem> pageList(uint32_t node) {
    const bool autoRange = settings_.autoRange;
    auto begin = byNode_.begin() + pageStart_[node];
    auto end = byNode_.begin() + pageStart_[node + 1];
    if (begin == end) return {};
    for (auto r = begin; r != end; ++r) {
      if (r->lastOrder < r->firstOrder) {
        std::swap(r->first, r->last);
        std::swap(r->firstOrder, r->lastOrder);
      }
    }
    auto byFirst = [](const Range& a, const Range& b) { return a.firstOrder < b.firstOrder; };
    if (!std::is_sorted(begin, end, byFirst)) std::stable_sort(begin, end, byFirst);
    std::vector<Range>& merged = merged_;
    merged.clear();
    for (auto r = begin; r != end; ++r) {
      // With <$autorange> a range also takes in the page right after it.
      const uint64_t reach = merged.empty() ? 0 : merged.back().lastOrder + (autoRange ? 1 : 0);
      if (!merged.empty() && r->firstOrder <= reach) {
        if (r->lastOrder > merged.back().lastOrder) {
          merged.back().last = r->last;
          merged.back().lastOrder = r->lastOrder;
          merged.back().isRange = true;
        }
        continue;
      }
      merged.push_back(*r);
    }
    std::vector<PageItem> out;
    out.reserve(merged.size());
    for (const Range& r : merged) {
      PageItem item{std::move(page(r.first)), std::nullopt};
      if (r.isRange && r.lastOrder != r.firstOrder) item.last = std::move(page(r.last));
      out.push_back(std::move(item));
    }
    return out;
  }

  void emit(uint32_t id, int level, std::vector<IndexLine>& lines) {
    lines.push_back(IndexLine{false, level, std::move(nodes_[id].display), pageList(id)});
    for (uint32_t i = childStart_[id]; i < childStart_[id + 1]; ++i) {
      emit(children_[i], level + 1, lines);
    }
  }

  std::vector<Occurrence>& occ_;
  const IndexSettings& settings_;
  const Collation& collation_;
  std::vector<Node> nodes_;  // 0 is the root; the others in order of first appearance
  // A slot of the table: a node and the high half of its hash.
  struct Slot {
    uint32_t id = kNone;
    uint32_t tag = 0;
  };
  std::vector<Slot> table_;  // node ids by path hash
  std::vector<Range> ranges_;
  std::map<uint32_t, std::vector<uint32_t>> open_;  // range starts waiting for their end, by node
  std::vector<EntryProblem> problems_;
  int depth_ = 0;
  std::vector<uint32_t> rank_;  // by node
  std::vector<std::pair<uint32_t, const GroupTitle*>> titles_;
  std::vector<uint32_t> childStart_, children_;
  std::vector<uint32_t> pageStart_;
  std::vector<Range> byNode_;
  std::vector<Range> merged_;  // pageList's, kept for its capacity
};

}  // namespace

BuiltIndex BuildIndex(std::vector<Occurrence> occurrences, const IndexSettings& settings,
                      const Collation& collation) {
  Builder b(occurrences, settings, collation);
  for (uint32_t i = 0; i < occurrences.size(); ++i) b.add(i);
  return b.finish();
}

}  // namespace headless::generate
