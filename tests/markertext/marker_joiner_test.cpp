// The joining rule: packing converted entries into marker texts.
#include "markertext/marker_joiner.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "markertext/entry_text.h"

namespace markertext {
namespace {

using Texts = std::vector<std::string>;
using Results = std::vector<std::optional<std::string>>;

// A converted entry of exactly `bytes` bytes, ending in ";".
std::string EntryOf(std::size_t bytes, char fill = 'a') {
  return std::string(bytes - 1, fill) + ";";
}

TEST(MarkerTextJoiner, LimitArithmeticAt255) {
  const std::string a = EntryOf(100, 'a'), b = EntryOf(100, 'b'), c = EntryOf(100, 'c');
  MarkerTextJoiner joiner(255, false);
  EXPECT_EQ(joiner.Add(a), std::nullopt);  // 0 + 1 + 100 < 255
  EXPECT_EQ(joiner.Add(b), std::nullopt);  // 100 + 1 + 100 < 255
  EXPECT_EQ(joiner.Add(c), a + b);         // 200 + 1 + 100 >= 255
  EXPECT_EQ(joiner.Finish(), c);
  EXPECT_EQ(joiner.OpenText(), "");
}

TEST(MarkerTextJoiner, TheLimitIsReachedAtEquality) {
  EXPECT_EQ(JoinMarkerTexts({EntryOf(153), EntryOf(100)}, 255, false),
            (Texts{EntryOf(153) + EntryOf(100)}));  // 153 + 1 + 100 = 254
  EXPECT_EQ(JoinMarkerTexts({EntryOf(153), EntryOf(101)}, 255, false),
            (Texts{EntryOf(153), EntryOf(101)}));  // 153 + 1 + 101 = 255
}

TEST(MarkerTextJoiner, CountsBytesNotCharacters) {
  // Three characters, five bytes each: 5 + 1 + 5 reaches a limit of 11.
  const std::string e = "\xC3\xA9\xC3\xA9;";
  EXPECT_EQ(JoinMarkerTexts({e, e}, 11, false), (Texts{e, e}));
  EXPECT_EQ(JoinMarkerTexts({e, e}, 12, false), (Texts{e + e}));
}

TEST(MarkerTextJoiner, OverLongEntryIsKeptWholeInItsOwnMarker) {
  const std::string small = EntryOf(10), big = EntryOf(300, 'b');
  EXPECT_EQ(JoinMarkerTexts({small, big, small}, 255, false), (Texts{small, big, small}));
  EXPECT_EQ(JoinMarkerTexts({big}, 255, false), (Texts{big}));
}

TEST(MarkerTextJoiner, SkipContributesNothing) {
  const std::string a = EntryOf(5, 'a'), b = EntryOf(5, 'b');
  const std::string skip(kSkipResult);
  EXPECT_EQ(JoinMarkerTexts({a, skip, b}, 255, false), (Texts{a + b}));
  // Not even in single entry mode, where every other entry closes the text.
  EXPECT_EQ(JoinMarkerTexts({a, skip, b}, 255, true), (Texts{a, b}));
  // A run of skipped entries still ends in one empty marker text.
  EXPECT_EQ(JoinMarkerTexts({skip, skip}, 255, false), (Texts{""}));
}

TEST(MarkerTextJoiner, InvalidEntryCountsAsEmpty) {
  const std::string a = EntryOf(5, 'a'), b = EntryOf(5, 'b');
  EXPECT_EQ(JoinMarkerTexts({a, std::nullopt, b}, 255, false), (Texts{a + b}));
  // It takes part in the limit test: 253 + 1 + 0 stays below 255, 254 + 1 does not.
  EXPECT_EQ(JoinMarkerTexts({EntryOf(253), std::nullopt}, 255, false), (Texts{EntryOf(253)}));
  EXPECT_EQ(JoinMarkerTexts({EntryOf(254), std::nullopt, b}, 255, false), (Texts{EntryOf(254), b}));
  EXPECT_EQ(JoinMarkerTexts({a, std::nullopt, b}, 255, true), (Texts{a, b}));
}

TEST(MarkerTextJoiner, SingleEntryMarkers) {
  const std::string a = EntryOf(5, 'a'), b = EntryOf(5, 'b'), c = EntryOf(5, 'c');
  EXPECT_EQ(JoinMarkerTexts({a, b, c}, 255, true), (Texts{a, b, c}));
  EXPECT_EQ(JoinMarkerTexts({}, 255, true), (Texts{""}));
}

TEST(MarkerTextJoiner, OneByteTextIsNotEmittedWhenClosed) {
  // An open text of a lone ";" holds no entry worth a marker of its own.
  EXPECT_EQ(JoinMarkerTexts({";", EntryOf(5)}, 255, true), (Texts{EntryOf(5)}));
  EXPECT_EQ(JoinMarkerTexts({";;", EntryOf(5)}, 255, true), (Texts{";;", EntryOf(5)}));
  // At the end of the run the text is emitted whatever it holds.
  EXPECT_EQ(JoinMarkerTexts({";"}, 255, false), (Texts{";"}));
}

TEST(MarkerTextJoiner, ZeroLimitClosesBeforeEveryEntry) {
  const std::string a = EntryOf(5, 'a'), b = EntryOf(5, 'b');
  EXPECT_EQ(JoinMarkerTexts({a, b}, 0, false), (Texts{a, b}));
  EXPECT_EQ(JoinMarkerTexts({a, b}, -3, false), (Texts{a, b}));
}

TEST(MarkerTextJoiner, FinishStartsANewRun) {
  MarkerTextJoiner joiner(255, false);
  joiner.Add(EntryOf(5, 'a'));
  EXPECT_EQ(joiner.Finish(), EntryOf(5, 'a'));
  joiner.Add(EntryOf(5, 'b'));
  EXPECT_EQ(joiner.Finish(), EntryOf(5, 'b'));
  EXPECT_EQ(joiner.Finish(), "");
}

// Over random runs: nothing is lost or reordered, and a marker text made of
// several entries stays at most two bytes under the limit.
TEST(MarkerTextJoiner, PropertyPacksEverythingUnderTheLimit) {
  std::mt19937 random(4242);
  for (int round = 0; round < 3000; ++round) {
    const int limit = 20 + static_cast<int>(random() % 300);
    Results entries;
    std::string all;
    int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      switch (random() % 6) {
        case 0:
          entries.emplace_back(std::string(kSkipResult));
          break;
        case 1:
          entries.emplace_back(std::nullopt);
          break;
        default: {
          std::string e = EntryOf(2 + random() % 200, static_cast<char>('a' + i));
          all += e;
          entries.emplace_back(e);
        }
      }
    }
    Texts markers = JoinMarkerTexts(entries, limit, false);
    std::string joined;
    for (const std::string& m : markers) {
      joined += m;
      std::size_t entriesInMarker = static_cast<std::size_t>(std::count(m.begin(), m.end(), ';'));
      if (entriesInMarker > 1) {
        ASSERT_LE(m.size(), static_cast<std::size_t>(limit - 2)) << m;
      }
    }
    ASSERT_EQ(joined, all);
  }
}

}  // namespace
}  // namespace markertext
