#include "generate/collation.h"

#include <algorithm>
#include <array>
#include <optional>

namespace headless::generate {

namespace {

// Kana, unless named, stays among the other scripts after these.
constexpr SortClass kStandardOrder[] = {SortClass::kSymbols, SortClass::kNumerics,
                                        SortClass::kAlphabetics};

std::optional<SortClass> ClassNamed(std::string_view block) {
  if (block == "<$symbols>") return SortClass::kSymbols;
  if (block == "<$numerics>") return SortClass::kNumerics;
  if (block == "<$alphabetics>") return SortClass::kAlphabetics;
  if (block == "<$kana>") return SortClass::kKana;
  return std::nullopt;
}

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::vector<SortClass> ClassOrder(std::string_view sortOrder) {
  std::vector<SortClass> order;
  auto add = [&order](SortClass c) {
    if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  };
  for (std::size_t at = sortOrder.find('<'); at != std::string_view::npos;
       at = sortOrder.find('<', at + 1)) {
    const std::size_t close = sortOrder.find('>', at);
    if (close == std::string_view::npos) break;
    if (auto c = ClassNamed(sortOrder.substr(at, close - at + 1))) add(*c);
  }
  for (SortClass c : kStandardOrder) add(c);
  return order;
}

bool IsStandardOrder(const std::vector<SortClass>& order) {
  return std::equal(order.begin(), order.end(), std::begin(kStandardOrder),
                    std::end(kStandardOrder));
}

std::vector<std::string> Characters(std::string_view chars) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < chars.size();) {
    std::size_t end = i + 1;
    while (end < chars.size() && IsContinuation(chars[end])) ++end;
    out.emplace_back(chars.substr(i, end - i));
    i = end;
  }
  return out;
}

std::string WithoutCharacters(std::string_view utf8, const std::vector<std::string>& ignored) {
  std::string out;
  // The first bytes of the ignored characters: most bytes of a text are
  // none of them and are passed over at once.
  std::array<bool, 256> first{};
  for (const std::string& c : ignored) {
    if (!c.empty()) first[static_cast<unsigned char>(c.front())] = true;
  }
  std::size_t kept = 0;  // where the text not yet copied begins
  for (std::size_t i = 0; i < utf8.size() && !ignored.empty(); ++i) {
    if (!first[static_cast<unsigned char>(utf8[i])]) continue;
    // A character's bytes begin with a lead byte, which no other character
    // holds inside it: a match here is that character, not part of another.
    const auto it = std::find_if(ignored.begin(), ignored.end(), [&](const std::string& c) {
      return utf8.compare(i, c.size(), c) == 0;
    });
    if (it == ignored.end()) continue;
    out.append(utf8, kept, i - kept);
    kept = i + it->size();
    i = kept - 1;
  }
  // Most texts hold no ignored character and are kept as they are.
  out.append(utf8, kept, std::string_view::npos);
  return out;
}

}  // namespace headless::generate
