// Sort keys for index entries, made by the system's collation: ICU
// (collation_icu.cpp) or the Windows NLS API (collation_windows.cpp), one
// built per platform. Letters are ordered by the Unicode collation order:
// case and accents count only when the letters agree otherwise, capitals
// first; a space sorts before every other character, so entries sort word by
// word; digits compare one by one. The classes of characters (symbols,
// digits, letters) follow in the order the index document's SortOrderIX
// paragraph gives, and the characters of its IgnoreCharsIX paragraph are left
// out of the key (not out of the text).
#ifndef VELTRANO_GENERATE_COLLATION_H
#define VELTRANO_GENERATE_COLLATION_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace headless::generate {

class Collation {
 public:
  // `sortOrder` is the text of SortOrderIX ("<$symbols><$numerics>
  // <$alphabetics>" by default); `ignoreChars` the characters to leave out
  // (UTF-8).
  Collation(std::string_view sortOrder, std::string_view ignoreChars);
  ~Collation();
  Collation(const Collation&) = delete;
  Collation& operator=(const Collation&) = delete;

  // A key that compares (as bytes, std::string's order) as the text sorts.
  std::string key(std::string_view utf8) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The text with its letters in one case, as a reader compares headings
// regardless of case (Unicode case folding where the system offers it).
std::string FoldCase(std::string_view utf8);

// Shared by the platform files.

// The classes of characters SortOrderIX orders.
enum class SortClass { kSymbols, kNumerics, kAlphabetics, kKana };

// The classes in the order entries sort by: those SortOrderIX names, in its
// order, then those it leaves out in the standard order (symbols, numerics,
// alphabetics; kana not named stays with the other scripts, after all these).
// A space sorts before all of them.
std::vector<SortClass> ClassOrder(std::string_view sortOrder);
bool IsStandardOrder(const std::vector<SortClass>& order);

// The characters of `chars` (UTF-8), each as its own UTF-8 bytes.
std::vector<std::string> Characters(std::string_view chars);

// `utf8` without the characters of `ignored`.
std::string WithoutCharacters(std::string_view utf8, const std::vector<std::string>& ignored);

}  // namespace headless::generate

#endif
