// Collation and case folding through ICU: its root collator, tertiary
// strength with capitals first, reordered by SortOrderIX.
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ucol.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include "generate/collation.h"

namespace headless::generate {

namespace {

// The reorder codes of one class of characters.
std::vector<int32_t> ClassCodes(SortClass c) {
  switch (c) {
    case SortClass::kSymbols:
      return {UCOL_REORDER_CODE_PUNCTUATION, UCOL_REORDER_CODE_SYMBOL, UCOL_REORDER_CODE_CURRENCY};
    case SortClass::kNumerics:
      return {UCOL_REORDER_CODE_DIGIT};
    case SortClass::kAlphabetics:
      return {USCRIPT_LATIN, USCRIPT_GREEK, USCRIPT_CYRILLIC};
    case SortClass::kKana:
      return {USCRIPT_KATAKANA_OR_HIRAGANA};
  }
  return {};
}

// The order of classes, space always first (ICU would put the groups a list
// leaves out before those it names, the space among them); empty when it is
// the collator's own order.
std::vector<int32_t> ReorderCodes(std::string_view sortOrder) {
  const std::vector<SortClass> order = ClassOrder(sortOrder);
  if (IsStandardOrder(order)) return {};
  std::vector<int32_t> codes{UCOL_REORDER_CODE_SPACE};
  for (SortClass c : order) {
    for (int32_t code : ClassCodes(c)) codes.push_back(code);
  }
  return codes;
}

}  // namespace

struct Collation::Impl {
  std::unique_ptr<icu::Collator> collator;
  std::vector<std::string> ignored;
};

Collation::Collation(std::string_view sortOrder, std::string_view ignoreChars)
    : impl_(std::make_unique<Impl>()) {
  impl_->ignored = Characters(ignoreChars);
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
}

Collation::~Collation() = default;

std::string Collation::key(std::string_view utf8) const {
  const std::string kept = WithoutCharacters(utf8, impl_->ignored);
  // Without collation data: the text itself, in code point order.
  if (!impl_->collator) return kept;
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(kept.data(), static_cast<int32_t>(kept.size())));
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

std::string FoldCase(std::string_view utf8) {
  std::string out;
  icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())))
      .foldCase()
      .toUTF8String(out);
  return out;
}

}  // namespace headless::generate
