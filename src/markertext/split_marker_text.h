// Reading the text of an existing index marker back into its entries.
#ifndef VELTRANO_MARKERTEXT_SPLIT_MARKER_TEXT_H
#define VELTRANO_MARKERTEXT_SPLIT_MARKER_TEXT_H

#include <string>
#include <vector>

#include "markertext/entry_kind.h"

namespace markertext {

struct MarkerEntry {
  EntryKind kind = EntryKind::Standard;
  std::string text;

  bool operator==(const MarkerEntry&) const = default;
};

// The entries of `markerText` in their order, each Standard, StartRange,
// EndRange or NoPage by its page code, with the page code removed and leading
// spaces dropped. An entry ends at a ";" that is not escaped: a ";" after an
// odd number of backslashes belongs to the entry, backslashes included. An
// empty entry between two ";" is an empty Standard entry; an empty marker
// text has no entries.
std::vector<MarkerEntry> SplitMarkerText(const std::string& markerText);

}  // namespace markertext

#endif
