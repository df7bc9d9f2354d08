// Sort keys for index entries. Letters are ordered by the Unicode
// collation algorithm (through ICU): case and accents count only when the
// letters agree otherwise, capitals first; a space sorts before every other
// character, so entries sort word by word; digits compare one by one. The
// classes of characters (symbols, digits, letters) follow in the order the
// index document's SortOrderIX paragraph gives, and the characters of its
// IgnoreCharsIX paragraph are left out of the key (not out of the text).
#ifndef VELTRANO_GENERATE_COLLATION_H
#define VELTRANO_GENERATE_COLLATION_H

#include <memory>
#include <string>
#include <string_view>

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

}  // namespace headless::generate

#endif
