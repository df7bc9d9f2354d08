#include "page_numbers.h"

#include <array>
#include <cctype>

namespace headless::generate {

namespace {

// Book component properties (keyword values as the book reader numbers them).
constexpr int kStartSide = 523;      // 2 left, 3 right
constexpr int kPageNumbering = 524;  // 0 Continue, 1 Restart, 2 Read from file
constexpr int kPageNumStart = 224;
constexpr int kPageNumStyle = 225;
constexpr int kVolumeMethod = 211, kVolumeStart = 212, kVolumeStyle = 213, kVolumeText = 214;
constexpr int kChapterMethod = 215, kChapterStart = 216, kChapterStyle = 217, kChapterText = 218;
// Compute methods.
constexpr int32_t kContinueNumbering = 0, kSameNumbering = 1, kStartNumbering = 2;

std::string Roman(int64_t n) {
  if (n <= 0 || n >= 4000) return std::to_string(n);
  static constexpr std::array<std::pair<int, const char*>, 13> kParts = {{{1000, "m"},
                                                                          {900, "cm"},
                                                                          {500, "d"},
                                                                          {400, "cd"},
                                                                          {100, "c"},
                                                                          {90, "xc"},
                                                                          {50, "l"},
                                                                          {40, "xl"},
                                                                          {10, "x"},
                                                                          {9, "ix"},
                                                                          {5, "v"},
                                                                          {4, "iv"},
                                                                          {1, "i"}}};
  std::string out;
  for (const auto& [value, text] : kParts) {
    while (n >= value) {
      out += text;
      n -= value;
    }
  }
  return out;
}

std::string Alpha(int64_t n) {
  if (n <= 0) return std::to_string(n);
  std::string out;
  for (; n > 0; n = (n - 1) / 26) out.insert(out.begin(), static_cast<char>('a' + (n - 1) % 26));
  return out;
}

std::optional<int64_t> ParseRoman(std::string_view s) {
  if (s.empty()) return std::nullopt;
  int64_t total = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto value = [](char c) -> int {
      switch (std::tolower(static_cast<unsigned char>(c))) {
        case 'i':
          return 1;
        case 'v':
          return 5;
        case 'x':
          return 10;
        case 'l':
          return 50;
        case 'c':
          return 100;
        case 'd':
          return 500;
        case 'm':
          return 1000;
        default:
          return 0;
      }
    };
    const int v = value(s[i]);
    if (v == 0) return std::nullopt;
    const int next = i + 1 < s.size() ? value(s[i + 1]) : 0;
    total += next > v ? -v : v;
  }
  // Only a number written the usual way counts ("iiii" does not).
  std::string again = Roman(total);
  std::string lower(s);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return again == lower ? std::optional<int64_t>(total) : std::nullopt;
}

}  // namespace

std::string FormatNumber(int64_t n, int32_t style) {
  switch (style) {
    case kUpperRoman: {
      std::string r = Roman(n);
      for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return r;
    }
    case kLowerRoman:
      return Roman(n);
    case kUpperAlpha: {
      std::string a = Alpha(n);
      for (char& c : a) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return a;
    }
    case kLowerAlpha:
      return Alpha(n);
    default:
      return std::to_string(n);
  }
}

std::optional<int64_t> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool digits = true;
  for (char c : text) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (digits && text.size() < 15) return std::stoll(std::string(text));
  return ParseRoman(text);
}

int32_t StyleOfKeyword(std::string_view keyword) {
  if (keyword == "UCRoman") return kUpperRoman;
  if (keyword == "LCRoman") return kLowerRoman;
  if (keyword == "UCAlpha") return kUpperAlpha;
  if (keyword == "LCAlpha") return kLowerAlpha;
  return kArabic;
}

// The number of a chapter or volume of one component; `unstated` is the
// compute method of a component that states none.
std::string BookNumbering::numbered(const PropMap& s, int method, int start, int style, int text,
                                    Counter& c, int32_t unstated) {
  const Value* m = s.find(method);
  const int32_t how = m ? m->i : unstated;
  if (how == kStartNumbering) {
    c.value = s.contains(start) ? s.getInt(start) : 1;
  } else if (how == kSameNumbering) {
    if (!c.started) c.value = 1;
  } else {
    c.value = c.started ? c.value + 1 : 1;
  }
  c.started = true;
  const int32_t st = s.contains(style) ? s.getInt(style) : kArabic;
  if (st == kText) return s.getString(text);
  return FormatNumber(c.value, st);
}

NumberedComponent BookNumbering::add(const ComponentPages& c) {
  const PropMap& s = c.settings;
  NumberedComponent n;
  const int32_t style =
      s.contains(kPageNumStyle) ? s.getInt(kPageNumStyle) : StyleOfKeyword(c.fileStyle);
  const Value* numbering = s.find(kPageNumbering);
  const int32_t how = numbering ? numbering->i : 0;
  std::optional<int64_t> first;
  if (how == 1) {
    first = s.contains(kPageNumStart) ? s.getInt(kPageNumStart) : 1;
  } else if (how == 0 && last_) {
    first = *last_ + 1;
    const Value* side = s.find(kStartSide);
    // A page of the wrong side is left blank before the first.
    if (side && side->i == 3 && *first % 2 == 0) ++*first;
    if (side && side->i == 2 && *first % 2 != 0) ++*first;
  } else if (how == 0 && !c.saved.empty()) {
    first = ParseNumber(c.saved.front());
  }
  if (first) {
    for (std::size_t i = 0; i < c.saved.size(); ++i) {
      n.pages.push_back(FormatNumber(*first + static_cast<int64_t>(i), style));
    }
    last_ = *first + static_cast<int64_t>(c.saved.size()) - 1;
  } else {
    n.pages = c.saved;
    if (!c.saved.empty()) {
      if (auto v = ParseNumber(c.saved.back())) {
        last_ = *v;
      } else if (last_) {
        *last_ += static_cast<int64_t>(c.saved.size());
      }
    }
  }
  // Without settings, a book is one volume of chapters 1, 2, 3, ...
  n.volume =
      numbered(s, kVolumeMethod, kVolumeStart, kVolumeStyle, kVolumeText, volume_, kSameNumbering);
  n.chapter = numbered(s, kChapterMethod, kChapterStart, kChapterStyle, kChapterText, chapter_,
                       kContinueNumbering);
  return n;
}

std::vector<uint64_t> PrintOrder::add(const std::vector<std::string>& pages) {
  std::vector<uint64_t> out;
  out.reserve(pages.size());
  for (const std::string& page : pages) {
    const std::optional<int64_t> number = ParseNumber(page);
    last_ += number && lastNumber_ && *number == *lastNumber_ + 1 ? 1 : 2;
    lastNumber_ = number;
    out.push_back(last_);
  }
  return out;
}

}  // namespace headless::generate
