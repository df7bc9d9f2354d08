// Reading the items of a statement's value text: strings, bare words
// (keywords, numbers, Yes/No) and dimensions with their units.
#ifndef VELTRANO_MIF_VALUES_H
#define VELTRANO_MIF_VALUES_H

#include <optional>
#include <string_view>
#include <vector>

namespace mif {

struct ValueItem {
  enum class Kind { String, Word };
  Kind kind;
  // A string's text between its quotes (still escaped), or the word itself.
  std::string_view text;
};

// The items of a value text, comments skipped.
std::vector<ValueItem> SplitValue(std::string_view raw);

// The text of the first string (still escaped), if any.
std::optional<std::string_view> FirstString(std::string_view raw);
// The first bare word, if any.
std::optional<std::string_view> FirstWord(std::string_view raw);

// A whole word as an integer or a number (leading sign allowed).
std::optional<long long> ToInteger(std::string_view word);
std::optional<double> ToNumber(std::string_view word);
// "Yes" or "No" (case-sensitive).
std::optional<bool> ToBool(std::string_view word);

// A number with its unit: "pt", "mm", "\"" (inches), "%", ... or empty when
// the value has none (the current <Units> then apply).
struct Dimension {
  double value = 0;
  std::string_view unit;
};

// All dimensions of a value text: `8.5" 11.0"`, `0.0 pt 2.0 pt`, `80.0%`.
std::vector<Dimension> ParseDimensions(std::string_view raw);

}  // namespace mif

#endif
