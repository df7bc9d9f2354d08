// The index's findings over markers as a chapter scan gives them: headings
// a reader takes for one, see references and where each finding is placed.
#include "check/index_findings.h"

#include <gtest/gtest.h>

namespace headless::check {
namespace {

using Lines = std::vector<std::string>;

// Markers in "ch.mif", each in the paragraph its number says.
std::vector<IndexMarker> Markers(const std::vector<std::pair<int, std::string>>& texts) {
  std::vector<IndexMarker> out;
  for (const auto& [para, text] : texts) out.push_back({"ch.mif", para, "Index", text, nullptr});
  return out;
}

Lines Found(const std::vector<IndexMarker>& markers, const CheckSettings& settings = {}) {
  Lines out;
  for (const Finding& f : IndexFindings(markers, settings, generate::DefaultIndexSettings())) {
    out.push_back(std::to_string(f.paragraph) + " " + f.kind + " " + f.text + " | " + f.reason);
  }
  return out;
}

TEST(IndexFindings, HeadingsThatDifferOnlyInCaseSpacesOrFormat) {
  EXPECT_EQ(Found(Markers({{1, "Dogs;Dogs:training;"},
                           {2, "dogs;Dogs:Training;Dogs:training  wheels;"},
                           {3, "<Emphasis>Dogs;Cats;"},
                           {4, "Dogs:training   wheels;Dogs;Cats:dogs;"}})),
            (Lines{"2 duplicate dogs | \"dogs\" differs from \"Dogs\" (ch.mif:1) only in case or "
                   "spaces; the index shows both",
                   "2 duplicate Dogs:Training | \"Dogs:Training\" differs from \"Dogs:training\" "
                   "(ch.mif:1) only in case or spaces; the index shows both",
                   "3 duplicate Dogs | \"Dogs\" is the heading \"Dogs\" (ch.mif:1) in another "
                   "character format; the index shows it once, as the first",
                   "4 duplicate Dogs:training   wheels | \"Dogs:training   wheels\" differs from "
                   "\"Dogs:training  wheels\" (ch.mif:2) only in case or spaces; the index shows "
                   "both"}));
}

TEST(IndexFindings, CaseFoldsBeyondAsciiAndNoBreakSpacesCountAsSpaces) {
  const Lines found =
      Found(Markers({{1, "\xC3\x84pfel;Sea level;"}, {2, "\xC3\xA4pfel;Sea\xC2\xA0level;"}}));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].substr(0, found[0].find(" |")), "2 duplicate \xC3\xA4pfel");
  EXPECT_EQ(found[1].substr(0, found[1].find(" |")), "2 duplicate Sea\xC2\xA0level");
  // Full case folding: ß is "ss", final ς is σ, on every system.
  const Lines folded = Found(Markers({{1,
                                       "Stra\xC3\x9F"
                                       "e;\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3;"},
                                      {2, "STRASSE;\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82;"}}));
  ASSERT_EQ(folded.size(), 2u);
  EXPECT_EQ(folded[0].substr(0, folded[0].find(" |")), "2 duplicate STRASSE");
  EXPECT_EQ(folded[1].substr(0, folded[1].find(" |")),
            "2 duplicate \xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82");
}

TEST(IndexFindings, SeeTargetsAreHeadingsPathsOrListsOfHeadings) {
  const CheckSettings defaults;
  EXPECT_EQ(Found(Markers({{1, "Dogs;Dogs:training;Cats;"},
                           {2, "Puppies:<Italic>see<Default Para Font> Dogs;"},
                           {3, "Pups:<Italic>see<Default Para Font> dogs, training;"},
                           {4, "Pets:<Italic>see also<Default Para Font> Cats, Dogs[Pets:aaa];"},
                           {5, "Hounds <Italic>see<Default Para Font> Dogs;"},
                           {6, "Kittens. See Cats.;"},
                           {7, "Wolves:<Italic>see also<Default Para Font> Coyotes;"},
                           {8, "Jackals:see;"}}),
                  defaults),
            (Lines{"7 see-target Wolves:see also Coyotes | the \"see also\" target \"Coyotes\" is "
                   "no entry of the index",
                   "8 see-target Jackals:see | a \"see\" reference without a target"}));
  // The configured words count, on the marker side and as typed.
  CheckSettings german;
  german.seeEntry = "<Italic>siehe<Default Para Font>";
  german.seeAlsoEntry = "<Italic>siehe auch<Default Para Font> ";
  german.seeReference = "siehe ";
  german.seeAlsoReference = "siehe auch ";
  EXPECT_EQ(Found(Markers({{1, "Hunde;"},
                           {2, "Welpen:<Italic>siehe<Default Para Font> Hunde;"},
                           {3, "Wolf:siehe auch Fuchs;"},
                           {4, "Katzen:see Tiger;"}}),
                  german),
            (Lines{"3 see-target Wolf:siehe auch Fuchs | the \"see also\" target \"Fuchs\" is no "
                   "entry of the index"}));
}

TEST(IndexFindings, EntriesArePlacedAtTheEntryParagraphsBesideTheirMarker) {
  // Markers in paragraph 3, made from the run of paragraphs 4 to 7.
  auto nearby = std::make_shared<const std::vector<NearbyEntry>>(std::vector<NearbyEntry>{
      {4, ".i.Dogs;"}, {5, ".i(.Dogs;"}, {6, ".i(.Dogs:training;"}, {7, ".i*.Fish[fish;Fowl;"}});
  std::vector<IndexMarker> markers =
      Markers({{3, "<$singlepage>Dogs;<$startrange>Dogs;<$startrange>Dogs:training;"},
               {3, "Fish[fish;Fowl;"}});
  for (IndexMarker& m : markers) m.nearby = nearby;
  const Lines found = Found(markers);
  ASSERT_EQ(found.size(), 3u);
  // The marker's text problem goes to the one paragraph all its entries came from.
  EXPECT_EQ(found[0].substr(0, found[0].find(" |")), "7 marker-text .i*.Fish[fish;Fowl;");
  // Of two paragraphs that name "Dogs", the second is the range start.
  EXPECT_EQ(found[1].substr(0, found[1].find(" |")), "5 range .i(.Dogs;");
  EXPECT_EQ(found[2].substr(0, found[2].find(" |")), "6 range .i(.Dogs:training;");
}

}  // namespace
}  // namespace headless::check
