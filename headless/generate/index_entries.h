// The lines of an index from the entries of its markers. One line per
// distinct path of level texts (compared exactly, formatting aside), a line
// for every parent even when no marker names it alone; the page numbers of
// a line in page order, each page once (linked to its first marker), a
// "<$startrange>" and the next "<$endrange>" of the same entry joined into
// a range, pages inside a range taken into it; with <$autorange> an entry
// runs through the page its paragraph ends on (Occurrence::through), and
// pages that follow each other in print (PageRef::order one apart) are
// joined into a range too. Lines sort under their parent by their sort string
// (their key, else their text) through the collation, each distinct string
// keyed once; group titles stand before the first level-1 line they hold.
#ifndef VELTRANO_GENERATE_INDEX_ENTRIES_H
#define VELTRANO_GENERATE_INDEX_ENTRIES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/collation.h"
#include "generate/index_settings.h"
#include "generate/marker_entries.h"

namespace headless::generate {

// Its texts are views of text the caller keeps until the lines are written
// (a large index then moves no string from entry to line).
struct PageRef {
  uint64_t order = 0;     // the page's place in print; consecutive pages differ by one
  std::string_view text;  // as printed
  std::string_view link;  // the hypertext command to its marker; empty for none
  uint32_t style = 0;     // its character style in the index document; 0 for the separators'
};

// One entry of one marker, on its page.
struct Occurrence {
  MarkerEntry entry;
  PageRef page;
  std::size_t source = 0;  // the caller's number of the marker, for reports
  // With <$autorange>: the later page the marker's paragraph ends on; the
  // entry then covers the pages from its own to that one.
  std::optional<PageRef> through = std::nullopt;
};

struct PageItem {
  PageRef first;
  std::optional<PageRef> last;  // the end of a range
};

struct IndexLine {
  bool groupTitle = false;
  int level = 1;  // 1 for group titles
  std::vector<Piece> text;
  std::vector<PageItem> pages;
};

struct EntryProblem {
  std::size_t source = 0;
  std::string message;
};

struct BuiltIndex {
  std::vector<IndexLine> lines;
  std::vector<EntryProblem> problems;
  int depth = 0;  // the deepest level used
};

// `occurrences` in book order; their texts and pages move into the lines.
BuiltIndex BuildIndex(std::vector<Occurrence> occurrences, const IndexSettings& settings,
                      const Collation& collation);

}  // namespace headless::generate

#endif
