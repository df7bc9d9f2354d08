// Collation and case folding through the Windows NLS API: sort keys of the
// invariant locale (LCMapStringEx with LCMAP_SORTKEY), rearranged so that
// capitals come first, a space sorts before every other character and the
// classes of characters follow SortOrderIX.
#include <windows.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <string_view>

#include "generate/case_folding_table.h"
#include "generate/collation.h"
#include "headless/paths.h"

namespace headless::generate {

namespace {

// A Windows sort key holds sections, each ended by 0x01: the primary
// weights, the diacritic weights, the case weights, the weights of East
// Asian scripts and the special weights; then a zero byte. A primary weight
// is two bytes, its script member (the kind of character: punctuation,
// symbols, digits, Latin...) and its place there; those of ideographs
// (script members 0xFD and up) take four. Minimal weights at the end of a
// section are left out.
constexpr unsigned char kSectionEnd = 0x01;
constexpr unsigned char kFourByteMember = 0xFD;
constexpr unsigned char kMinimalWeight = 0x02;
// The case weight's bit for a capital: a lower-case letter weighs less.
constexpr unsigned char kCapital = 0x10;
// The script member given to spaces, below every other one.
constexpr unsigned char kSpaceMember = 0x02;
// Members below this one are never a character's own.
constexpr unsigned char kFirstMember = 0x03;

// Hyphens and apostrophes sort as the symbols they are: IgnoreCharsIX, not
// the system, decides what the key leaves out.
constexpr DWORD kKeyFlags = LCMAP_SORTKEY | SORT_STRINGSORT;

std::vector<unsigned char> Members(SortClass c) {
  switch (c) {
    case SortClass::kSymbols:
      return {0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C};
    case SortClass::kNumerics:
      return {0x0D};
    case SortClass::kAlphabetics:
      return {0x0E, 0x0F, 0x10};  // Latin, Greek, Cyrillic
    case SortClass::kKana:
      return {0x22};
  }
  return {};
}

// The white-space characters, which sort as spaces.
constexpr wchar_t kSpaces[] =
    L"\t\n\v\f\r \u0085\u00A0\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008"
    L"\u2009\u200A\u2028\u2029\u202F\u205F\u3000";

std::string SystemKey(std::wstring_view text) {
  const int size = static_cast<int>(text.size());
  const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, kKeyFlags, text.data(), size, nullptr, 0,
                              nullptr, nullptr, 0);
  if (n <= 0) return std::string();
  std::string key(static_cast<std::size_t>(n), '\0');
  // With LCMAP_SORTKEY the output is bytes, counted in bytes.
  LCMapStringEx(LOCALE_NAME_INVARIANT, kKeyFlags, text.data(), size,
                reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr, 0);
  return key;
}

std::uint16_t Weight(unsigned char member, unsigned char place) {
  return static_cast<std::uint16_t>(member << 8 | place);
}

}  // namespace

struct Collation::Impl {
  std::vector<std::string> ignored;
  // The script member each one becomes, in the order of SortOrderIX.
  std::array<unsigned char, 256> member{};
  // The primary weights of spaces.
  std::bitset<65536> spaces;

  std::string rearranged(const std::string& key) const;
};

Collation::Collation(std::string_view sortOrder, std::string_view ignoreChars)
    : impl_(std::make_unique<Impl>()) {
  impl_->ignored = Characters(ignoreChars);
  std::array<bool, 256> placed{};
  unsigned next = kFirstMember;
  auto place = [&](unsigned char m) {
    if (m < kFirstMember || m >= kFourByteMember || placed[m]) return;
    placed[m] = true;
    impl_->member[m] = static_cast<unsigned char>(next++);
  };
  for (SortClass c : ClassOrder(sortOrder)) {
    for (unsigned char m : Members(c)) place(m);
  }
  for (unsigned m = 0; m < 256; ++m) {
    if (m < kFirstMember || m >= kFourByteMember) impl_->member[m] = static_cast<unsigned char>(m);
    place(static_cast<unsigned char>(m));
  }
  for (const wchar_t* s = kSpaces; *s != L'\0'; ++s) {
    const std::string key = SystemKey(std::wstring_view(s, 1));
    if (key.size() > 2 && key[2] == kSectionEnd) {
      impl_->spaces.set(
          Weight(static_cast<unsigned char>(key[0]), static_cast<unsigned char>(key[1])));
    }
  }
}

Collation::~Collation() = default;

std::string Collation::Impl::rearranged(const std::string& key) const {
  std::string out;
  out.reserve(2 * key.size());
  std::size_t i = 0;
  // Primary weights: spaces first, then the script members in their order.
  while (i < key.size() && key[i] != kSectionEnd && key[i] != '\0') {
    const auto m = static_cast<unsigned char>(key[i]);
    const std::size_t size = m >= kFourByteMember ? 4 : 2;
    if (size == 2 && i + 1 < key.size()) {
      const auto p = static_cast<unsigned char>(key[i + 1]);
      out += static_cast<char>(spaces.test(Weight(m, p)) ? kSpaceMember : member[m]);
      out += static_cast<char>(p);
    } else {
      out.append(key, i, size);
    }
    i += size;
  }
  const std::size_t primary = out.size();
  // The diacritic weights as they are.
  const std::size_t diacritics = key.find(kSectionEnd, i + 1);
  if (i >= key.size() || diacritics == std::string::npos) return out + key.substr(i);
  out.append(key, i, diacritics + 1 - i);
  // The case weights with capitals first: each one's capital bit turned
  // over, the minimal weights left out at the end put back first (as many
  // as there could be: two texts that get here have the same primary
  // weights), since they no longer weigh least.
  i = diacritics + 1;
  std::size_t cases = 0;
  for (; i < key.size() && key[i] != kSectionEnd; ++i, ++cases) {
    out += static_cast<char>(static_cast<unsigned char>(key[i]) ^ kCapital);
  }
  if (cases < primary) out.append(primary - cases, static_cast<char>(kMinimalWeight ^ kCapital));
  // The rest as it is, without the closing zero byte.
  out.append(key, i, std::string::npos);
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

std::string Collation::key(std::string_view utf8) const {
  const std::string kept = WithoutCharacters(utf8, impl_->ignored);
  if (kept.empty()) return std::string();
  const std::string key = SystemKey(WideText(kept));
  // Without collation data: the text itself, in code point order.
  if (key.empty()) return kept;
  return impl_->rearranged(key);
}

namespace {

// `text` lowercased by the system, added to `out`.
void AppendLowercase(std::wstring_view text, std::wstring& out) {
  if (text.empty()) return;
  const int size = static_cast<int>(text.size());
  const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), size, nullptr, 0,
                              nullptr, nullptr, 0);
  if (n <= 0) {
    out.append(text);
    return;
  }
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(n));
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), size, out.data() + start, n,
                nullptr, nullptr, 0);
}

// The full folding of `c` where it differs from its lowercase; empty
// otherwise.
std::u16string_view FoldingUnlikeLowercaseOf(wchar_t c) {
  const auto table = FoldingsUnlikeLowercase();
  const auto found =
      std::lower_bound(table.begin(), table.end(), c,
                       [](const FoldingUnlikeLowercase& f, wchar_t x) { return f.from < x; });
  if (found == table.end() || found->from != c) return {};
  return found->to;
}

}  // namespace

// The system lowercases; the code points that fold to something else (ß to
// "ss", final ς to σ) take their folding from the table, so that text folds
// as ICU's full case folding does on other systems.
std::string FoldCase(std::string_view utf8) {
  const std::wstring text = WideText(utf8);
  const std::wstring_view view(text);
  std::wstring out;
  out.reserve(text.size());
  std::size_t lowered = 0;  // where the text not yet folded begins
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::u16string_view folded = FoldingUnlikeLowercaseOf(text[i]);
    if (folded.empty()) continue;
    AppendLowercase(view.substr(lowered, i - lowered), out);
    out.append(folded.begin(), folded.end());
    lowered = i + 1;
  }
  AppendLowercase(view.substr(lowered), out);
  return Utf8Text(out);
}

}  // namespace headless::generate
