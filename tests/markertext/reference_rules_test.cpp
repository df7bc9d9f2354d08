// The see-also and see rules, with the default and with configured reference
// settings, including the cases where a reference stands outside the places
// the notation defines.
#include "markertext/reference_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>

#include "markertext/entry_text.h"

namespace markertext {
namespace {

const ReferenceSettingValues kDefaults;
constexpr const char* kSee = "<Italic>see<Default Para Font>";
constexpr const char* kSeeAlso = "<Italic>see also<Default Para Font> ";

std::string Apply(const std::string& body, const ReferenceSettingValues& s = kDefaults) {
  return ApplyReferenceRules(body, &s);
}

TEST(SeeRule, AtTheStartOfTheRestPart) {
  EXPECT_EQ(Apply("Dogs:see Canines"), std::string("Dogs:") + kSee + " Canines");
  EXPECT_EQ(Apply("Dogs: see Canines"), std::string("Dogs:") + kSee + " Canines");
  // Two spaces after the colon: both stay, the word is replaced in place.
  EXPECT_EQ(Apply("Dogs:  see Canines"), std::string("Dogs:  ") + kSee + " Canines");
}

TEST(SeeRule, InPlaceReplacement) {
  EXPECT_EQ(Apply("Dogs see Canines"), std::string("Dogs ") + kSee + " Canines");
  // The position counts in the whole rest part, deeper levels included.
  EXPECT_EQ(Apply("Dogs:training: see Canines"),
            std::string("Dogs:training: ") + kSee + " Canines");
  EXPECT_EQ(Apply("Dogs:big dogs, see Canines"),
            std::string("Dogs:big dogs, ") + kSee + " Canines");
  // Plain substring search: a word that ends in "see" is rewritten too.
  EXPECT_EQ(Apply("Chelsee Canines"), std::string("Chel") + kSee + " Canines");
  EXPECT_EQ(Apply("Dogs: Chelsee Canines"), std::string("Dogs: Chel") + kSee + " Canines");
  // Only the first occurrence.
  EXPECT_EQ(Apply("a see b see c"), std::string("a ") + kSee + " b see c");
  // "see" without a space after it is no reference.
  EXPECT_EQ(Apply("Dogs:seen Canines"), "Dogs:seen Canines");
  EXPECT_EQ(Apply("Dogs: see"), "Dogs: see");
}

TEST(SeeRule, CharacterBeforeTheReferenceIsKeptUnlessASpace) {
  // One character other than a space in front of the reference is the
  // author's text: it stays, and the reference is replaced where it stands.
  EXPECT_EQ(Apply("Dogs:(see Canines)"), std::string("Dogs:(") + kSee + " Canines)");
  EXPECT_EQ(Apply("Dogs:Isee Canines"), std::string("Dogs:I") + kSee + " Canines");
}

TEST(SeeRule, ReferenceOnlyInTheLevel1Part) {
  EXPECT_EQ(Apply("Dogs see Canines:training"), std::string("Dogs ") + kSee + " Canines:training");
  // The rest part wins over an earlier occurrence in the level-1 part.
  EXPECT_EQ(Apply("a see b: see c"), std::string("a see b:") + kSee + " c");
}

TEST(SeeRule, ReferenceAcrossTheColon) {
  ReferenceSettingValues s;
  s.seeReference = "cf: ";
  s.seeEntry = "<Italic>cf.<Default Para Font>";
  EXPECT_EQ(Apply("Dogs cf: Canines", s), "Dogs <Italic>cf.<Default Para Font> Canines");
  EXPECT_EQ(Apply("Dogs: cf: Canines", s), "Dogs:<Italic>cf.<Default Para Font> Canines");
}

TEST(SeeAlsoRule, DefinedForm) {
  EXPECT_EQ(Apply("Dogs:see also Cats"), std::string("Dogs:") + kSeeAlso + "Cats[Dogs:aaa]");
  EXPECT_EQ(Apply("Dogs:   see also Cats"), std::string("Dogs:") + kSeeAlso + "Cats[Dogs:aaa]");
  EXPECT_EQ(Apply("Dogs: see also Cats:kittens"),
            std::string("Dogs:") + kSeeAlso + "Cats:kittens[Dogs:aaa]");
  EXPECT_EQ(Apply("Dogs: see also "), std::string("Dogs:") + kSeeAlso + "[Dogs:aaa]");
}

TEST(SeeAlsoRule, NeverReadAsASeeReference) {
  // The see-also word holds the see word; a see word elsewhere in the body
  // does not make it a see entry either.
  EXPECT_EQ(Apply("Dogs: see also Cats, see Pets"),
            std::string("Dogs:") + kSeeAlso + "Cats, see Pets[Dogs:aaa]");
}

TEST(SeeAlsoRule, ReferenceOutsideTheDefinedPlaceIsReplacedInPlace) {
  EXPECT_EQ(Apply("Dogs see also Cats"), std::string("Dogs ") + kSeeAlso + "Cats");
  EXPECT_EQ(Apply("Dogs: pets, see also Cats"), std::string("Dogs: pets, ") + kSeeAlso + "Cats");
  EXPECT_EQ(Apply("Dogs see also Cats:kittens"), std::string("Dogs ") + kSeeAlso + "Cats:kittens");
}

TEST(ReferenceRules, ConfiguredTexts) {
  ReferenceSettingValues s;
  s.seeReference = "siehe ";
  s.seeEntry = "<Italic>siehe<Default Para Font>";
  s.seeAlsoReference = "siehe auch ";
  s.seeAlsoEntry = "<Italic>siehe auch<Default Para Font> ";
  s.seeAlsoSort = "";
  EXPECT_EQ(Apply("Hunde: siehe Caniden", s), "Hunde:<Italic>siehe<Default Para Font> Caniden");
  EXPECT_EQ(Apply("Hunde: siehe auch Katzen", s),
            "Hunde:<Italic>siehe auch<Default Para Font> Katzen[Hunde]");
  // The default words mean nothing any more.
  EXPECT_EQ(Apply("Dogs: see also Cats", s), "Dogs: see also Cats");
}

TEST(ReferenceRules, EmptyWordsMatchNothing) {
  ReferenceSettingValues s;
  s.seeReference.clear();
  s.seeAlsoReference.clear();
  EXPECT_EQ(Apply("Dogs: see also Cats", s), "Dogs: see also Cats");
}

TEST(ReferenceRules, ConvertAppliesThemToEveryNonNativeKind) {
  auto convert = [](const std::string& text) {
    return ConvertEntryTextWith(text, &kDefaults,
                                [](const std::string&) { return ConditionState::Shown; });
  };
  EXPECT_EQ(convert(".i).Dogs: see also Cats;"),
            std::string("<$endrange>Dogs:") + kSeeAlso + "Cats[Dogs:aaa];");
  EXPECT_EQ(convert(".i[x](.Dogs see Canines;"),
            std::string("<$startrange>Dogs ") + kSee + " Canines;");
}

// Drops the bytes that a rule may insert or replace: spaces, and every byte
// of the reference words and texts, which the alphabet below never uses
// otherwise.
std::string Kept(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (std::string(" ~^<>SA#").find(c) == std::string::npos) kept += c;
  }
  return kept;
}

bool IsSubsequence(const std::string& part, const std::string& whole) {
  std::size_t at = 0;
  for (char c : whole) {
    if (at < part.size() && part[at] == c) ++at;
  }
  return at == part.size();
}

// Whatever the body, every byte the author typed outside the reference word
// and spaces is still in the result, in its order, and no ":" is lost.
TEST(ReferenceRules, PropertyNoTypedByteIsLost) {
  ReferenceSettingValues s;
  s.seeReference = "~ ";
  s.seeAlsoReference = "^~ ";
  s.seeEntry = "<S>";
  s.seeAlsoEntry = "<SA> ";
  s.seeAlsoSort.assign(1, '#');  // not from a literal: GCC 12 -Wrestrict in Release
  const std::string pieces[] = {"a", "b", ":", " ", "  ", "~ ", "^~ ", "~", "\xC3\xA9", "(", "\\"};
  std::mt19937 random(20240601);
  for (int round = 0; round < 20000; ++round) {
    std::string body;
    int count = static_cast<int>(random() % 9);
    for (int i = 0; i < count; ++i) body += pieces[random() % std::size(pieces)];
    std::string result = Apply(body, s);
    ASSERT_TRUE(IsSubsequence(Kept(body), Kept(result)))
        << "body [" << body << "] gave [" << result << "]";
    ASSERT_GE(std::count(result.begin(), result.end(), ':'),
              std::count(body.begin(), body.end(), ':'))
        << body;
  }
}

}  // namespace
}  // namespace markertext
