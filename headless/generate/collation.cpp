#include "collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ucol.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <set>
#include <vector>

namespace headless::generate {

namespace {

// The reorder codes of one class of characters named in SortOrderIX.
std::vector<int32_t> ClassCodes(std::string_view block) {
  if (block == "<$symbols>") {
    return {UCOL_REORDER_CODE_PUNCTUATION, UCOL_REORDER_CODE_SYMBOL, UCOL_REORDER_CODE_CURRENCY};
  }
  if (block == "<$numerics>") return {UCOL_REORDER_CODE_DIGIT};
  if (block == "<$alphabetics>") return {USCRIPT_LATIN, USCRIPT_GREEK, USCRIPT_CYRILLIC};
  if (block == "<$kana>") return {USCRIPT_KATAKANA_OR_HIRAGANA};
  return {};
}

// The order of classes SortOrderIX asks for, space always first; empty
// when it is the collation's own order.
std::vector<int32_t> ReorderCodes(std::string_view sortOrder) {
  std::vector<int32_t> codes{UCOL_REORDER_CODE_SPACE};
  for (std::size_t at = sortOrder.find('<'); at != std::string_view::npos;
       at = sortOrder.find('<', at + 1)) {
    const std::size_t close = sortOrder.find('>', at);
    if (close == std::string_view::npos) break;
    for (int32_t code : ClassCodes(sortOrder.substr(at, close - at + 1))) codes.push_back(code);
  }
  const std::vector<int32_t> standard = [] {
    std::vector<int32_t> s{UCOL_REORDER_CODE_SPACE};
    for (const char* b : {"<$symbols>", "<$numerics>", "<$alphabetics>"}) {
      for (int32_t code : ClassCodes(b)) s.push_back(code);
    }
    return s;
  }();
  if (codes.size() == 1 || codes == standard) return {};
  return codes;
}

}  // namespace

struct Collation::Impl {
  std::unique_ptr<icu::Collator> collator;
  std::set<UChar32> ignored;
};

Collation::Collation(std::string_view sortOrder, std::string_view ignoreChars)
    : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status) || !impl_->collator) {
    impl_->collator.reset();
    return;
  }
  impl_->collator->setStrength(icu::Collator::TERTIARY);
  impl_->collator->setAttribute(UCOL_CASE_FIRST, UCOL_UPPER_FIRST, status);
  const std::vector<int32_t> codes = ReorderCodes(sortOrder);
  if (!codes.empty()) {
    UErrorCode reorder = U_ZERO_ERROR;
    impl_->collator->setReorderCodes(codes.data(), static_cast<int32_t>(codes.size()), reorder);
  }
  const icu::UnicodeString ignore = icu::UnicodeString::fromUTF8(
      icu::StringPiece(ignoreChars.data(), static_cast<int32_t>(ignoreChars.size())));
  for (int32_t i = 0; i < ignore.length(); i = ignore.moveIndex32(i, 1)) {
    impl_->ignored.insert(ignore.char32At(i));
  }
}

Collation::~Collation() = default;

std::string Collation::key(std::string_view utf8) const {
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  // Most texts hold no ignored character and are keyed as they are.
  bool ignores = false;
  for (int32_t i = 0; i < text.length() && !ignores && !impl_->ignored.empty(); ++i) {
    ignores = impl_->ignored.count(text.charAt(i)) != 0 || U16_IS_SURROGATE(text.charAt(i));
  }
  if (ignores) {
    icu::UnicodeString kept;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
      const UChar32 c = text.char32At(i);
      if (impl_->ignored.count(c) == 0) kept.append(c);
    }
    text = kept;
  }
  if (!impl_->collator) {
    // Without collation data: the text itself, in code point order.
    std::string out;
    text.toUTF8String(out);
    return out;
  }
  std::string key(64, '\0');
  for (;;) {
    const int32_t need = impl_->collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()),
                                                     static_cast<int32_t>(key.size()));
    if (need <= static_cast<int32_t>(key.size())) {
      // The key ends in a zero byte, which is no part of the order.
      key.resize(need > 0 ? static_cast<std::size_t>(need - 1) : 0);
      return key;
    }
    key.resize(static_cast<std::size_t>(need));
  }
}

}  // namespace headless::generate
