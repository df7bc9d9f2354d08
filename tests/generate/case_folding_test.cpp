// Folding the case of headings, alike on every system: ICU's full case
// folding elsewhere, the system's lowercasing with a table of the foldings
// that differ from it on Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "generate/case_folding_table.h"
#include "generate/collation.h"

namespace headless::generate {
namespace {

std::string Utf8(const char16_t* utf16) {
  std::string out;
  for (; *utf16 != 0; ++utf16) {
    char32_t c = *utf16;
    if (c >= 0xD800 && c < 0xDC00 && utf16[1] >= 0xDC00 && utf16[1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (*++utf16 - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TEST(FoldCase, FoldsWhatLowercasingLeavesAsItIs) {
  EXPECT_EQ(FoldCase("Stra\xC3\x9F"
                     "e"),
            "strasse");
  EXPECT_EQ(FoldCase("STRASSE"), "strasse");
  EXPECT_EQ(FoldCase("GRO\xE1\xBA\x9E"), "gross");  // capital sharp s
  // Final sigma and capital sigma: both σ.
  EXPECT_EQ(FoldCase("\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3"), "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x83");
  EXPECT_EQ(FoldCase("\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82"), "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x83");
  // A ligature as typesetting leaves it, among letters that only lowercase.
  EXPECT_EQ(FoldCase("\xEF\xAC\x81nance \xC3\x84pfel"), "finance \xC3\xA4pfel");
  EXPECT_EQ(FoldCase(""), "");
}

// Every code point of the table folds as the table says: on Windows the
// table is found for each; elsewhere ICU agrees with it.
TEST(FoldCase, EveryFoldingUnlikeLowercaseIsTheSystemsFolding) {
  const auto table = FoldingsUnlikeLowercase();
  ASSERT_GT(table.size(), 250u);
  EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                             [](const auto& a, const auto& b) { return a.from < b.from; }));
  for (const FoldingUnlikeLowercase& f : table) {
    const char16_t from[] = {f.from, 0};
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(f.from));
    EXPECT_EQ(FoldCase("<" + Utf8(from) + ">"), "<" + Utf8(f.to) + ">") << name;
  }
}

}  // namespace
}  // namespace headless::generate
