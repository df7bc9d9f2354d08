// Index lines from marker entries: grouping, page lists and ranges, sort
// order and group titles, as a reader sees the finished index.
#include <gtest/gtest.h>

#include <deque>

#include "generate/index_entries.h"

namespace headless::generate {
namespace {

using Lines = std::vector<std::string>;

struct Marker {
  std::string text;
  uint64_t page;
};

// Each line as "  " per level below the first, the text, then the pages
// ("6-15" for a range); group titles as "[A]".
Lines Render(const BuiltIndex& index) {
  Lines out;
  for (const IndexLine& l : index.lines) {
    std::string s(static_cast<std::size_t>(2 * (l.level - 1)), ' ');
    std::string text;
    for (const Piece& p : l.text) text += p.format.empty() ? p.text : "<" + p.text + ">";
    if (l.groupTitle) {
      out.push_back("[" + text + "]");
      continue;
    }
    s += text;
    for (std::size_t i = 0; i < l.pages.size(); ++i) {
      s += i == 0 ? " " : ", ";
      s += l.pages[i].first.text;
      if (l.pages[i].last) s.append("-").append(l.pages[i].last->text);
    }
    out.push_back(s);
  }
  return out;
}

// Page texts and links kept for as long as the tests run: page references
// only view them.
std::string_view Kept(std::string text) {
  static std::deque<std::string> kept;
  return kept.emplace_back(std::move(text));
}

BuiltIndex Build(const std::vector<Marker>& markers,
                 const IndexSettings& settings = DefaultIndexSettings()) {
  Collation collation(settings.sortOrder, settings.ignoreChars);
  std::vector<Occurrence> occurrences;
  for (std::size_t i = 0; i < markers.size(); ++i) {
    for (MarkerEntry& e : ParseMarkerText(markers[i].text).entries) {
      occurrences.push_back({std::move(e),
                             PageRef{markers[i].page, Kept(std::to_string(markers[i].page)),
                                     Kept("m" + std::to_string(i))},
                             i});
    }
  }
  return BuildIndex(occurrences, settings, collation);
}

Lines Index(const std::vector<Marker>& markers) {
  return Render(Build(markers));
}

// Level-1 texts only, titles left out: the sort order.
Lines Order(const std::vector<std::string>& texts) {
  std::vector<Marker> markers;
  for (const std::string& t : texts) markers.push_back({t, 1});
  Lines out;
  for (const IndexLine& l : Build(markers).lines) {
    if (!l.groupTitle) out.push_back(l.text.front().text);
  }
  return out;
}

TEST(IndexEntries, SameTextMergesAndParentsGetALineWithoutPages) {
  EXPECT_EQ(Index({{"Dogs:training", 3},
                   {"Dogs:breeds", 4},
                   {"Gadgets", 3},
                   {"Gadgets", 3},
                   {"Widgets", 4},
                   {"Widgets", 5},
                   {"Widgets", 5},
                   {"colour", 2},
                   {"paper:colour", 2},
                   {"default-tray", 1},
                   {"defualt-tray", 1}}),
            (Lines{"[C]", "colour 2", "[D]", "default-tray 1", "defualt-tray 1", "Dogs",
                   "  breeds 4", "  training 3", "[G]", "Gadgets 3", "[P]", "paper", "  colour 2",
                   "[W]", "Widgets 4, 5"}));
}

TEST(IndexEntries, ThePageOfSeveralMarkersLinksToTheFirst) {
  const BuiltIndex index = Build({{"Widgets", 4}, {"Widgets", 5}, {"Widgets", 5}});
  ASSERT_EQ(index.lines.back().pages.size(), 2u);
  EXPECT_EQ(index.lines.back().pages[1].first.link, "m1");
}

TEST(IndexEntries, RangesJoinStartAndEndAndTakeInThePagesBetween) {
  EXPECT_EQ(Index({{"<$startrange>widgets", 6},
                   {"widgets", 9},
                   {"widgets", 3},
                   {"<$endrange>widgets", 15},
                   {"widgets", 17},
                   // start and end on one page
                   {"<$startrange>gears", 2},
                   {"<$endrange>gears", 2},
                   // consecutive pages stay a list
                   {"gadgets", 4},
                   {"gadgets", 5},
                   {"gadgets", 6}}),
            (Lines{"[G]", "gadgets 4, 5, 6", "gears 2", "[W]", "widgets 3, 6-15, 17"}));
  const BuiltIndex index = Build({{"<$startrange>widgets", 6}, {"<$endrange>widgets", 15}});
  EXPECT_EQ(index.lines.back().pages[0].first.link, "m0");
  EXPECT_EQ(index.lines.back().pages[0].last->link, "m1");
}

TEST(IndexEntries, AutoRangeJoinsPagesThatFollowEachOther) {
  IndexSettings s = DefaultIndexSettings();
  s.autoRange = true;
  const BuiltIndex index = Build({{"gadgets", 4},
                                  {"gadgets", 6},
                                  {"gadgets", 5},
                                  {"gadgets", 5},
                                  {"gadgets", 9},
                                  {"pair", 1},
                                  {"pair", 2},
                                  // a range and the pages right before and after it
                                  {"<$startrange>widgets", 6},
                                  {"<$endrange>widgets", 15},
                                  {"widgets", 5},
                                  {"widgets", 16},
                                  {"widgets", 18}},
                                 s);
  EXPECT_EQ(Render(index),
            (Lines{"[G]", "gadgets 4-6, 9", "[P]", "pair 1-2", "[W]", "widgets 5-16, 18"}));
  // The ends link to the first marker on their pages.
  EXPECT_EQ(index.lines[1].pages[0].first.link, "m0");
  EXPECT_EQ(index.lines[1].pages[0].last->link, "m1");
  EXPECT_EQ(index.lines[5].pages[0].first.link, "m9");
  EXPECT_EQ(index.lines[5].pages[0].last->link, "m10");
}

TEST(IndexEntries, UnmatchedRangeEndsAreSinglePagesAndReported) {
  const BuiltIndex index = Build({{"a", 1}, {"<$endrange>late", 3}, {"<$startrange>open", 4}});
  EXPECT_EQ(Render(index), (Lines{"[A]", "a 1", "[L]", "late 3", "[O]", "open 4"}));
  ASSERT_EQ(index.problems.size(), 2u);
  EXPECT_EQ(index.problems[0].source, 1u);
  EXPECT_NE(index.problems[0].message.find("<$endrange> without <$startrange>"), std::string::npos);
  EXPECT_EQ(index.problems[1].source, 2u);
}

TEST(IndexEntries, NoPageEntriesAndSeeAlsoKeys) {
  EXPECT_EQ(Index({{"<$nopage>Puppies. <Emphasis>See</> Dogs", 7},
                   {"Dogs:training", 7},
                   {"<$nopage>Dogs:see also Wolves[Dogs:zzz]", 7},
                   {"<$nopage>Dogs:see also Cats[Dogs:aaa]", 7},
                   {"1990s[Nineteen nineties]", 2}}),
            (Lines{"[D]", "Dogs", "  see also Cats", "  training 7", "  see also Wolves", "[N]",
                   "1990s 2", "[P]", "Puppies. <See> Dogs"}));
}

TEST(IndexEntries, DefaultSortRules) {
  // A space first (word by word), case only when letters agree, capitals first.
  EXPECT_EQ(Order({"seal", "sea level", "newer", "Newark", "New York"}),
            (Lines{"New York", "Newark", "newer", "sea level", "seal"}));
  EXPECT_EQ(Order({"printing", "PDF output", "paper", "dialog", "DeleteItem", "decoder"}),
            (Lines{"decoder", "DeleteItem", "dialog", "paper", "PDF output", "printing"}));
  EXPECT_EQ(Order({"OpenFile", "Open_File_List", "table, editing", "table of contents",
                   "GetColourIndex", "GetColour"}),
            (Lines{"GetColour", "GetColourIndex", "Open_File_List", "OpenFile", "table of contents",
                   "table, editing"}));
  // Hyphens and dashes are ignored; digits compare one by one.
  EXPECT_EQ(Order({"refill", "re-entry", "reedit", "9", "10"}),
            (Lines{"10", "9", "reedit", "re-entry", "refill"}));
  // Letters outside ASCII sort where a reader looks for them.
  EXPECT_EQ(Order({"Zebra", "\u00c4pfel", "Apfel", "apple", "\u00e9t\u00e9", "ete", "Ostrich"}),
            (Lines{"Apfel", "\u00c4pfel", "apple", "ete", "\u00e9t\u00e9", "Ostrich", "Zebra"}));
  // Texts differing only in case stay two lines, next to each other.
  EXPECT_EQ(Order({"widgets", "Widgets", "wax"}), (Lines{"wax", "Widgets", "widgets"}));
}

TEST(IndexEntries, GroupTitlesOnlyForUsedGroups) {
  EXPECT_EQ(Index({{"%width", 1},
                   {"apples", 2},
                   {"cherries", 3},
                   {"1990s", 4},
                   {"-foo", 5},
                   {"\u00c4pfel", 6},
                   {"Zoo", 7}}),
            (Lines{"[Symbols]", "%width 1", "[Numerics]", "1990s 4", "[A]", "\u00c4pfel 6",
                   "apples 2", "[C]", "cherries 3", "[F]", "-foo 5", "[Z]", "Zoo 7"}));
}

TEST(IndexEntries, TheIndexDocumentsOwnSortSettings) {
  IndexSettings s = DefaultIndexSettings();
  // Letters first, symbols (the hyphen too, once it is not ignored) last.
  s.sortOrder = "<$alphabetics><$numerics><$symbols>";
  s.ignoreChars = "";
  s.groupTitles.clear();
  EXPECT_EQ(Render(Build(
                {{"%width", 1}, {"apples", 2}, {"1990s", 3}, {"re-entry", 4}, {"reedit", 5}}, s)),
            (Lines{"apples 2", "reedit 5", "re-entry 4", "1990s 3", "%width 1"}));
}

TEST(IndexEntries, ClassesSortOrderIXLeavesOutFollowTheOnesItNamesAndSpacesStayFirst) {
  IndexSettings s = DefaultIndexSettings();
  s.sortOrder = "<$alphabetics>";
  s.ignoreChars = "";
  s.groupTitles.clear();
  EXPECT_EQ(Render(Build({{"1a", 1}, {"%x", 2}, {"a-b", 3}, {"ab", 4}, {"a b", 5}}, s)),
            (Lines{"a b 5", "ab 4", "a-b 3", "%x 2", "1a 1"}));
}

TEST(IndexEntries, FirstNamingDecidesFormatAndAnExplicitKeyWins) {
  // "Dogs" merges whatever its format; the first marker naming it alone
  // gives its look, and its one key files it under C, before "Cats".
  EXPECT_EQ(Index({{"<Emphasis>Dogs:training", 1},
                   {"Dogs", 2},
                   {"Dogs[Canines]", 3},
                   {"<Bold>Dogs", 4},
                   {"Cats", 5}}),
            (Lines{"[C]", "Dogs 2, 3, 4", "  training 1", "Cats 5"}));
}

}  // namespace
}  // namespace headless::generate
