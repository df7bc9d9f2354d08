// Reading marker text back into entries.
#include "markertext/split_marker_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "markertext/entry_text.h"

namespace markertext {
namespace {

using Entries = std::vector<MarkerEntry>;
constexpr EntryKind kStd = EntryKind::Standard;

TEST(SplitMarkerText, Examples) {
  EXPECT_EQ(SplitMarkerText("A;B;C;"), (Entries{{kStd, "A"}, {kStd, "B"}, {kStd, "C"}}));
  EXPECT_EQ(SplitMarkerText("<$startrange>Dogs;<$endrange>Cats"),
            (Entries{{EntryKind::StartRange, "Dogs"}, {EntryKind::EndRange, "Cats"}}));
  EXPECT_EQ(SplitMarkerText("Dogs<$nopage>;"), (Entries{{EntryKind::NoPage, "Dogs"}}));
  EXPECT_EQ(SplitMarkerText("Dogs;;Cats"), (Entries{{kStd, "Dogs"}, {kStd, ""}, {kStd, "Cats"}}));
  EXPECT_EQ(SplitMarkerText("<$singlepage>Dogs[dogs]"), (Entries{{kStd, "Dogs[dogs]"}}));
  EXPECT_EQ(SplitMarkerText("<$nopage>Dogs:puppies"),
            (Entries{{EntryKind::NoPage, "Dogs:puppies"}}));
}

TEST(SplitMarkerText, EmptyAndOneCharacterTexts) {
  EXPECT_TRUE(SplitMarkerText("").empty());
  EXPECT_EQ(SplitMarkerText("X"), (Entries{{kStd, "X"}}));
  EXPECT_EQ(SplitMarkerText(";"), (Entries{{kStd, ""}}));
  EXPECT_EQ(SplitMarkerText("Dogs; "), (Entries{{kStd, "Dogs"}}));
  // A last entry of one character is kept like any other.
  EXPECT_EQ(SplitMarkerText("Dogs;X"), (Entries{{kStd, "Dogs"}, {kStd, "X"}}));
  EXPECT_EQ(SplitMarkerText("Dogs; X "), (Entries{{kStd, "Dogs"}, {kStd, "X"}}));
}

TEST(SplitMarkerText, Spaces) {
  // Leading spaces go; spaces before the ";" stay.
  EXPECT_EQ(SplitMarkerText("  Dogs ;  Cats  "), (Entries{{kStd, "Dogs "}, {kStd, "Cats"}}));
  // Spaces after a page code at the start go with it; further in, the text on
  // either side is joined directly.
  EXPECT_EQ(SplitMarkerText("<$nopage>  Dogs;Big <$startrange> Dogs;"),
            (Entries{{EntryKind::NoPage, "Dogs"}, {EntryKind::StartRange, "Big  Dogs"}}));
  // Tabs are not spaces.
  EXPECT_EQ(SplitMarkerText("\tDogs"), (Entries{{kStd, "\tDogs"}}));
}

TEST(SplitMarkerText, PageCodesByPrecedenceNotPosition) {
  EXPECT_EQ(SplitMarkerText("<$singlepage>Dogs<$nopage>"),
            (Entries{{EntryKind::NoPage, "<$singlepage>Dogs"}}));
  EXPECT_EQ(SplitMarkerText("<$endrange><$endrange>Dogs"),
            (Entries{{EntryKind::EndRange, "<$endrange>Dogs"}}));
  // Page codes are compared exactly.
  EXPECT_EQ(SplitMarkerText("<$NoPage>Dogs"), (Entries{{kStd, "<$NoPage>Dogs"}}));
}

TEST(SplitMarkerText, EscapedSeparatorsStayInTheEntry) {
  EXPECT_EQ(SplitMarkerText("Dogs\\;Cats;Birds"),
            (Entries{{kStd, "Dogs\\;Cats"}, {kStd, "Birds"}}));
  EXPECT_EQ(SplitMarkerText("Dogs\\\\;Cats"), (Entries{{kStd, "Dogs\\\\"}, {kStd, "Cats"}}));
  EXPECT_EQ(SplitMarkerText("Dogs\\\\\\;Cats"), (Entries{{kStd, "Dogs\\\\\\;Cats"}}));
  EXPECT_EQ(SplitMarkerText("\\;"), (Entries{{kStd, "\\;"}}));
  EXPECT_EQ(SplitMarkerText("a\\b;c"), (Entries{{kStd, "a\\b"}, {kStd, "c"}}));
  // Other escapes are text like any other.
  EXPECT_EQ(SplitMarkerText("<$nopage>A\\:B\\[x\\];C"),
            (Entries{{EntryKind::NoPage, "A\\:B\\[x\\]"}, {kStd, "C"}}));
}

// Entries converted and joined into one marker text split back into the same
// kinds and bodies, escaped separators included.
TEST(SplitMarkerText, PropertyRoundTripsConvertedEntries) {
  const EntryKind kinds[] = {EntryKind::Standard, EntryKind::StartRange, EntryKind::EndRange,
                             EntryKind::NoPage};
  const std::string pieces[] = {"a", "Z", ":", " ", "\\;", "\\\\", "[s]", "\xC3\xA9", "<Bold>"};
  std::mt19937 random(77);
  for (int round = 0; round < 5000; ++round) {
    Entries expected;
    std::string marker;
    int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
      std::string body = "x";
      int length = static_cast<int>(random() % 6);
      for (int j = 0; j < length; ++j) body += pieces[random() % std::size(pieces)];
      body += "y";
      EntryKind kind = kinds[random() % std::size(kinds)];
      std::optional<std::string> converted =
          ConvertEntryTextWith(std::string(EntryPrefix(kind)) + body + ";", nullptr,
                               [](const std::string&) { return ConditionState::Shown; });
      ASSERT_TRUE(converted);
      marker += *converted;
      expected.push_back({kind, body});
    }
    ASSERT_EQ(SplitMarkerText(marker), expected) << marker;
  }
}

}  // namespace
}  // namespace markertext
