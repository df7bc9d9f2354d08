#include "markertext/split_marker_text.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

namespace markertext {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Looked for in this order; the first one found decides the kind.
constexpr std::array kPageCodeKinds = {EntryKind::StartRange, EntryKind::EndRange,
                                       EntryKind::NoPage, EntryKind::Standard};

// The first ";" that ends an entry: one with an even number of backslashes
// (none included) right in front of it.
std::size_t FindEntryEnd(std::string_view text) {
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ';' && backslashes % 2 == 0) return i;
    backslashes = text[i] == '\\' ? backslashes + 1 : 0;
  }
  return npos;
}

std::string_view WithoutLeadingSpaces(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  return begin == npos ? std::string_view() : text.substr(begin);
}

std::string_view WithoutLeadingAndTrailingSpaces(std::string_view text) {
  text = WithoutLeadingSpaces(text);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Removes the first occurrence of the first page code found. A code at the
// start takes the spaces after it along; further in, the text on either side
// is joined directly.
MarkerEntry TakePageCode(std::string_view entry) {
  for (EntryKind kind : kPageCodeKinds) {
    std::string_view code = PageCode(kind);
    std::size_t at = entry.find(code);
    if (at == npos) continue;
    if (at == 0) return {kind, std::string(WithoutLeadingSpaces(entry.substr(code.size())))};
    std::string text(entry.substr(0, at));
    text += entry.substr(at + code.size());
    return {kind, std::move(text)};
  }
  return {EntryKind::Standard, std::string(entry)};
}

}  // namespace

std::vector<MarkerEntry> SplitMarkerText(const std::string& markerText) {
  std::vector<MarkerEntry> entries;
  std::string_view rest = markerText;
  // A last entry of a single character after a ";" is an entry like any
  // other: it is emitted, not dropped.
  while (!rest.empty()) {
    std::size_t end = FindEntryEnd(rest);
    std::string_view entry = WithoutLeadingSpaces(rest.substr(0, end));
    rest = end == npos ? std::string_view() : rest.substr(end + 1);
    entries.push_back(TakePageCode(entry));
    rest = WithoutLeadingAndTrailingSpaces(rest);
  }
  return entries;
}

}  // namespace markertext
