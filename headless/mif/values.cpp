#include "mif/values.h"

#include <charconv>
#include <string>
#include <system_error>

namespace mif {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool EndsWord(char c) {
  return IsBlank(c) || c == '<' || c == '>' || c == '`' || c == '#';
}

// Calls `each` for every item until it returns false.
template <typename F>
void ForEachItem(std::string_view raw, F each) {
  std::size_t i = 0;
  while (i < raw.size()) {
    const char c = raw[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '#') {
      while (i < raw.size() && raw[i] != '\n') ++i;
    } else if (c == '`') {
      // The closing quote is the first one not escaped by an odd run of
      // backslashes (a quote inside a string is written \q).
      std::size_t k = i + 1;
      for (;;) {
        k = raw.find('\'', k);
        if (k == std::string_view::npos) {
          k = raw.size();
          break;
        }
        std::size_t slashes = 0;
        while (k - slashes > i + 1 && raw[k - slashes - 1] == '\\') ++slashes;
        if (slashes % 2 == 0) break;
        ++k;
      }
      if (!each(ValueItem{ValueItem::Kind::String, raw.substr(i + 1, k - i - 1)})) return;
      i = k + 1;
    } else {
      std::size_t k = i;
      while (k < raw.size() && !EndsWord(raw[k])) ++k;
      if (k == i) ++k;  // a stray '<' or '>' in a value made by hand
      if (!each(ValueItem{ValueItem::Kind::Word, raw.substr(i, k - i)})) return;
      i = k;
    }
  }
}

// Splits "12.5pt" into the number and what follows it.
std::size_t NumberLength(std::string_view word) {
  std::size_t i = 0;
  if (i < word.size() && (word[i] == '-' || word[i] == '+')) ++i;
  const std::size_t digits = i;
  while (i < word.size() && ((word[i] >= '0' && word[i] <= '9') || word[i] == '.')) ++i;
  return i == digits ? 0 : i;
}

}  // namespace

std::vector<ValueItem> SplitValue(std::string_view raw) {
  std::vector<ValueItem> items;
  ForEachItem(raw, [&](const ValueItem& item) {
    items.push_back(item);
    return true;
  });
  return items;
}

std::optional<std::string_view> FirstString(std::string_view raw) {
  std::optional<std::string_view> found;
  ForEachItem(raw, [&](const ValueItem& item) {
    if (item.kind != ValueItem::Kind::String) return true;
    found = item.text;
    return false;
  });
  return found;
}

std::optional<std::string_view> FirstWord(std::string_view raw) {
  std::optional<std::string_view> found;
  ForEachItem(raw, [&](const ValueItem& item) {
    if (item.kind != ValueItem::Kind::Word) return true;
    found = item.text;
    return false;
  });
  return found;
}

std::optional<long long> ToInteger(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  long long value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || word.empty()) return std::nullopt;
  return value;
}

std::optional<double> ToNumber(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  if (word.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<bool> ToBool(std::string_view word) {
  if (word == "Yes") return true;
  if (word == "No") return false;
  return std::nullopt;
}

std::vector<Dimension> ParseDimensions(std::string_view raw) {
  std::vector<Dimension> out;
  const std::vector<ValueItem> items = SplitValue(raw);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].kind != ValueItem::Kind::Word) continue;
    const std::string_view word = items[i].text;
    const std::size_t len = NumberLength(word);
    if (len == 0) continue;
    const auto number = ToNumber(word.substr(0, len));
    if (!number) continue;
    Dimension d{*number, word.substr(len)};
    // A unit written apart: "12.0 pt".
    if (d.unit.empty() && i + 1 < items.size() && items[i + 1].kind == ValueItem::Kind::Word &&
        NumberLength(items[i + 1].text) == 0) {
      d.unit = items[++i].text;
    }
    out.push_back(d);
  }
  return out;
}

}  // namespace mif
