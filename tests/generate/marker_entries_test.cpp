// Index marker text read into entries: levels, keys, building blocks,
// formats, escapes, and text that is not marker syntax.
#include <gtest/gtest.h>

#include "generate/marker_entries.h"

namespace headless::generate {
namespace {

std::vector<std::string> Levels(const MarkerEntry& e) {
  std::vector<std::string> out;
  for (const LevelText& l : e.levels) out.push_back(l.plain());
  return out;
}

using Strings = std::vector<std::string>;

TEST(MarkerEntries, LevelsEntriesAndKeys) {
  ParsedMarker m = ParseMarkerText("Dogs:training;Puppies;<$nopage>Dogs:see also Wolves[Dogs:zzz]");
  ASSERT_EQ(m.entries.size(), 3u);
  EXPECT_EQ(Levels(m.entries[0]), (Strings{"Dogs", "training"}));
  EXPECT_EQ(Levels(m.entries[1]), Strings{"Puppies"});
  EXPECT_EQ(Levels(m.entries[2]), (Strings{"Dogs", "see also Wolves"}));
  EXPECT_EQ(m.entries[2].sortKey, (Strings{"Dogs", "zzz"}));
  EXPECT_TRUE(m.entries[2].noPage);
  EXPECT_TRUE(m.entries[0].sortKey.empty());
  EXPECT_TRUE(m.problems.empty());
}

TEST(MarkerEntries, EscapesGiveTheCharacterItself) {
  ParsedMarker m = ParseMarkerText("C\\:\\\\ drive;a\\;b\\[c\\]\\<d\\>");
  ASSERT_EQ(m.entries.size(), 2u);
  EXPECT_EQ(Levels(m.entries[0]), Strings{"C:\\ drive"});
  EXPECT_EQ(Levels(m.entries[1]), Strings{"a;b[c]<d>"});
  EXPECT_TRUE(m.problems.empty());
}

TEST(MarkerEntries, NoPageHoldsUntilSinglePageAndRangesArePerEntry) {
  ParsedMarker m = ParseMarkerText("<$nopage>a;b;<$singlepage>c;<$startrange>d;e;<$endrange>f:g");
  ASSERT_EQ(m.entries.size(), 6u);
  EXPECT_TRUE(m.entries[0].noPage);
  EXPECT_TRUE(m.entries[1].noPage);
  EXPECT_FALSE(m.entries[2].noPage);
  EXPECT_TRUE(m.entries[3].startRange);
  EXPECT_FALSE(m.entries[4].startRange);
  EXPECT_TRUE(m.entries[5].endRange);
  EXPECT_EQ(Levels(m.entries[5]), (Strings{"f", "g"}));
}

TEST(MarkerEntries, FormatsHoldForTheRestOfTheirLevel) {
  ParsedMarker m =
      ParseMarkerText("Puppies:<Emphasis>see</> Dogs;<Bold>Cats:sleep;x<Default Para Font>y");
  ASSERT_EQ(m.entries.size(), 3u);
  EXPECT_EQ(m.entries[0].levels[1].pieces,
            (std::vector<Piece>{{"see", "Emphasis"}, {" Dogs", ""}}));
  // The format of "Cats" does not reach the next level.
  EXPECT_EQ(m.entries[1].levels[0].pieces, (std::vector<Piece>{{"Cats", "Bold"}}));
  EXPECT_EQ(m.entries[1].levels[1].pieces, (std::vector<Piece>{{"sleep", ""}}));
  EXPECT_EQ(Levels(m.entries[2]), Strings{"xy"});
}

TEST(MarkerEntries, SpacesAtTheEdgesGoUnlessEscapedAndEmptyPiecesGiveNothing) {
  ParsedMarker m = ParseMarkerText(" Dogs : training ; ;a::b:;\\ x\\ [ key\\  ]");
  ASSERT_EQ(m.entries.size(), 3u);
  EXPECT_EQ(Levels(m.entries[0]), (Strings{"Dogs", "training"}));
  EXPECT_EQ(Levels(m.entries[1]), (Strings{"a", "b"}));
  EXPECT_EQ(Levels(m.entries[2]), Strings{" x "});
  EXPECT_EQ(m.entries[2].sortKey, Strings{"key "});
  EXPECT_TRUE(ParseMarkerText("").entries.empty());
  EXPECT_TRUE(ParseMarkerText("<$nopage>;").entries.empty());
  EXPECT_TRUE(ParseMarkerText("Wolves;").problems.empty());
  // Empty entries are counted; the empty text after a last ";" is none.
  EXPECT_EQ(m.emptyEntries, 1);
  EXPECT_EQ(ParseMarkerText("").emptyEntries, 0);
  EXPECT_EQ(ParseMarkerText("Wolves; ").emptyEntries, 0);
  EXPECT_EQ(ParseMarkerText("<$nopage>;").emptyEntries, 1);
  EXPECT_EQ(ParseMarkerText("a;<$singlepage>").emptyEntries, 1);
}

TEST(MarkerEntries, TextThatIsNoMarkerSyntaxStaysAsTextAndIsReported) {
  ParsedMarker open = ParseMarkerText("a<b;c[d;e[f]g;<$nopages>h");
  ASSERT_EQ(open.entries.size(), 4u);
  EXPECT_EQ(Levels(open.entries[0]), Strings{"a<b"});
  EXPECT_EQ(Levels(open.entries[1]), Strings{"c[d"});
  EXPECT_EQ(Levels(open.entries[2]), Strings{"e[f]g"});
  EXPECT_EQ(Levels(open.entries[3]), Strings{"<$nopages>h"});
  EXPECT_EQ(open.problems,
            (Strings{"a '<' without '>'", "a '[' without ']'", "text after the sort key's ']'",
                     "an unknown building block <$nopages>"}));
  // A backslash at the very end is itself.
  EXPECT_EQ(Levels(ParseMarkerText("end\\").entries[0]), Strings{"end\\"});
}

}  // namespace
}  // namespace headless::generate
