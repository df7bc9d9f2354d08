// Headings under one parent that differ only in case or spaces are two
// lines of the index that a reader takes for one; headings that differ only
// in character format are one line, shown in the format of the first.
#include <unordered_map>
#include <unordered_set>

#include "check/index_findings.h"
#include "check/reader_text.h"

namespace headless::check {

namespace {

// The pieces of a level with their formats, as one string.
std::string Signature(const generate::LevelText& level) {
  std::string out;
  for (const generate::Piece& p : level.pieces) {
    out += p.format;
    out += '\x1f';
    out += p.text;
    out += '\x1e';
  }
  return out;
}

struct FirstSeen {
  const MarkerEntryAt* at;
  std::string plain;
  std::string signature;
};

}  // namespace

std::vector<Finding> DuplicateHeadings(const std::vector<IndexMarker>& markers,
                                       const std::vector<MarkerEntryAt>& entries) {
  std::vector<Finding> out;
  // By the exact path of the parent and the reader's key of the heading.
  std::unordered_map<std::string, FirstSeen> first;
  std::unordered_set<std::string> reported;  // key and signature
  for (const MarkerEntryAt& at : entries) {
    std::string parent;
    for (std::size_t i = 0; i < at.entry.levels.size(); ++i) {
      const generate::LevelText& level = at.entry.levels[i];
      const std::string plain = level.plain();
      const std::string key = parent + '\x1d' + ReaderKey(plain);
      parent += '\x1d' + plain;
      std::string signature = Signature(level);
      auto [it, added] = first.try_emplace(key, FirstSeen{&at, plain, signature});
      if (added || it->second.signature == signature) continue;
      if (!reported.insert(key + '\x1c' + signature).second) continue;
      const FirstSeen& seen = it->second;
      const std::string other = "\"" + EntryText(seen.at->entry.levels, i + 1) + "\" (" +
                                markers[seen.at->marker].file + ":" +
                                std::to_string(seen.at->paragraph) + ")";
      out.push_back(
          About(markers, at, kDuplicate,
                seen.plain != plain
                    ? "\"" + EntryText(at.entry.levels, i + 1) + "\" differs from " + other +
                          " only in case or spaces; the index shows both"
                    : "\"" + EntryText(at.entry.levels, i + 1) + "\" is the heading " + other +
                          " in another character format; the index shows it once, as the first"));
    }
  }
  return out;
}

}  // namespace headless::check
