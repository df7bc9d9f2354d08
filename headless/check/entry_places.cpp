#include <unordered_map>

#include "check/index_findings.h"
#include "check/reader_text.h"

namespace headless::check {

namespace {

// How many levels of the entry the text holds; -1 when not the first.
int Score(const generate::MarkerEntry& e, const std::string& text) {
  int score = 0;
  for (std::size_t i = 0; i < e.levels.size(); ++i) {
    const bool found = text.find(e.levels[i].plain()) != std::string::npos;
    if (!found && i == 0) return -1;
    if (found) ++score;
  }
  return score;
}

}  // namespace

void PlaceEntries(const std::vector<IndexMarker>& markers, std::vector<MarkerEntryAt>& entries) {
  std::unordered_map<const std::vector<NearbyEntry>*, std::vector<bool>> taken;
  for (MarkerEntryAt& at : entries) {
    const IndexMarker& m = markers[at.marker];
    at.paragraph = m.paragraph;
    at.text = EntryText(at.entry.levels, at.entry.levels.size());
    if (!m.nearby || m.nearby->empty()) continue;
    const std::vector<NearbyEntry>& nearby = *m.nearby;
    std::vector<bool>& used = taken[&nearby];
    used.resize(nearby.size());
    int best = -1, bestScore = -1;
    bool bestFree = false;
    for (std::size_t i = 0; i < nearby.size(); ++i) {
      const int score = Score(at.entry, nearby[i].text);
      if (score < 0) continue;
      const bool free = !used[i];
      if (score > bestScore || (score == bestScore && free && !bestFree)) {
        best = static_cast<int>(i);
        bestScore = score;
        bestFree = free;
      }
    }
    if (best < 0) continue;
    used[static_cast<std::size_t>(best)] = true;
    at.paragraph = nearby[static_cast<std::size_t>(best)].paragraph;
    at.text = nearby[static_cast<std::size_t>(best)].text;
  }
}

Finding About(const std::vector<IndexMarker>& markers, const MarkerEntryAt& at, const char* kind,
              std::string reason) {
  return Finding{markers[at.marker].file, at.paragraph, kind, at.text, std::move(reason)};
}

}  // namespace headless::check
