// Index marker text read as the application reads it: entries separated by
// ";", levels by ":", a trailing "[...]" sort key, the building blocks
// <$nopage>, <$singlepage>, <$startrange>, <$endrange>, character format
// switches (<Tag>, <Default Para Font>, </>) and backslash escapes.
#ifndef VELTRANO_GENERATE_MARKER_ENTRIES_H
#define VELTRANO_GENERATE_MARKER_ENTRIES_H

#include <string>
#include <string_view>
#include <vector>

namespace headless::generate {

// A stretch of entry text in one character format ("" is the paragraph's
// own font).
struct Piece {
  std::string text;
  std::string format;
  bool operator==(const Piece&) const = default;
};

// The text of one level: its pieces, and the same characters unformatted.
struct LevelText {
  std::vector<Piece> pieces;
  std::string plain() const;
  bool operator==(const LevelText&) const = default;
};

struct MarkerEntry {
  std::vector<LevelText> levels;
  // The sort strings the entry gives for its first levels; empty when it
  // gives none. An empty string leaves that level sorted by its text.
  std::vector<std::string> sortKey;
  bool noPage = false;
  bool startRange = false;
  bool endRange = false;
};

struct ParsedMarker {
  std::vector<MarkerEntry> entries;
  // What in the text could not be read as marker syntax; it was taken as
  // literal text (so no entry is lost) and is reported to the author.
  std::vector<std::string> problems;
  // Entries with no text of their own (between two ";", or building blocks
  // only); they give nothing. The empty text after a last ";" is none.
  int emptyEntries = 0;
};

// Spaces next to ":" and ";" and at the ends of a key are dropped (an
// escaped space "\ " stays); empty levels and empty entries give nothing.
// <$nopage> holds for the later entries of the marker until a
// <$singlepage>; a range block and a format switch hold for their own
// entry (the format for the rest of its level).
ParsedMarker ParseMarkerText(std::string_view text);

}  // namespace headless::generate

#endif
