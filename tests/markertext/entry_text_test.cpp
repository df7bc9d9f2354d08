// Entry paragraph text to marker text: prefixes, body cleaning, native and
// conditional entries, with the default reference settings.
#include "markertext/entry_text.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace markertext {
namespace {

const ReferenceSettingValues kDefaults;

std::optional<std::string> Convert(const std::string& text,
                                   const ReferenceSettingValues* settings = &kDefaults) {
  return ConvertEntryTextWith(text, settings, [](const std::string&) {
    ADD_FAILURE() << "condition looked up for a plain entry";
    return ConditionState::Shown;
  });
}

TEST(ConvertEntryText, ExampleTable) {
  EXPECT_EQ(Convert(".i.Dogs;"), "<$singlepage>Dogs;");
  EXPECT_EQ(Convert(".i.Dogs:training:puppies;"), "<$singlepage>Dogs:training:puppies;");
  EXPECT_EQ(Convert(".i(.Dogs;"), "<$startrange>Dogs;");
  EXPECT_EQ(Convert(".i#.Dogs: see Canines;"),
            "<$nopage>Dogs:<Italic>see<Default Para Font> Canines;");
  EXPECT_EQ(Convert(".i.Dogs: see also Cats;"),
            "<$singlepage>Dogs:<Italic>see also<Default Para Font> Cats[Dogs:aaa];");
  EXPECT_EQ(Convert(".i*.<$nopage>Dogs[dogs];"), "<$nopage>Dogs[dogs];");
  EXPECT_EQ(Convert("Dogs;"), std::nullopt);
}

TEST(ConvertEntryText, EveryPrefixGivesItsPageCode) {
  EXPECT_EQ(Convert(".i).Dogs;"), "<$endrange>Dogs;");
  EXPECT_EQ(Convert(".i#.Dogs;"), "<$nopage>Dogs;");
  // The final ";" is optional.
  EXPECT_EQ(Convert(".i(.Dogs"), "<$startrange>Dogs;");
  // A body that merely starts like another prefix is a Standard body.
  EXPECT_EQ(Convert(".i.(Dogs;"), "<$singlepage>(Dogs;");
}

TEST(ConvertEntryText, RejectsTextsWithoutAPrefix) {
  for (const char* text : {".I.Dogs;", ".i", ".iDogs;", "", " .i.Dogs;", ".i[Review.Dogs;",
                           ".i(Dogs;", "VTRSetConfigValue"}) {
    EXPECT_EQ(Convert(text), std::nullopt) << text;
  }
}

TEST(ConvertEntryText, CleansTheBodyByteExactly) {
  EXPECT_EQ(Convert(".i."), "<$singlepage>;");
  EXPECT_EQ(Convert(".i.;"), "<$singlepage>;");
  EXPECT_EQ(Convert(".i. Dogs ;"), "<$singlepage> Dogs ;");
  EXPECT_EQ(Convert(".i.Dogs;;"), "<$singlepage>Dogs;;");
  EXPECT_EQ(Convert(".i.Dogs;   "), "<$singlepage>Dogs;");
  // Tabs are ordinary characters: they stay, and they shield a ";".
  EXPECT_EQ(Convert(".i.Dogs;\t"), "<$singlepage>Dogs;\t;");
  // Case, escapes and format switches pass through untouched.
  EXPECT_EQ(Convert(".i.DOGS\\:x\\;<Bold>y"), "<$singlepage>DOGS\\:x\\;<Bold>y;");
}

TEST(ConvertEntryText, NativeBodyIsCopiedUnchanged) {
  EXPECT_EQ(Convert(".i*.Dogs: see Canines;"), "Dogs: see Canines;");
  EXPECT_EQ(Convert(".i*.  <$startrange>Dogs  ;  "), "  <$startrange>Dogs  ;");
  EXPECT_EQ(Convert(".i*.;"), ";");
}

TEST(ConvertEntryText, MultiByteTextPassesThrough) {
  EXPECT_EQ(Convert(".i.Hunde:Welpen \xC3\xBC"
                    "ber Alles;"),
            "<$singlepage>Hunde:Welpen \xC3\xBC"
            "ber Alles;");
  EXPECT_EQ(Convert(".i.\xE7\x8A\xAC: see \xE7\x8C\xAB;"),
            "<$singlepage>\xE7\x8A\xAC:<Italic>see<Default Para Font> \xE7\x8C\xAB;");
}

// Records the names looked up and answers from a table.
struct FakeConditions {
  std::map<std::string, ConditionState> states;
  std::vector<std::string> asked;

  ConditionLookup Lookup() {
    return [this](const std::string& name) {
      asked.push_back(name);
      auto found = states.find(name);
      return found == states.end() ? ConditionState::Missing : found->second;
    };
  }
};

TEST(ConvertEntryText, ConditionalEntries) {
  FakeConditions conditions;
  conditions.states = {{"Review", ConditionState::Hidden}, {"Print", ConditionState::Shown}};
  auto convert = [&](const std::string& text) {
    return ConvertEntryTextWith(text, &kDefaults, conditions.Lookup());
  };

  EXPECT_EQ(convert(".i[Review].Dogs;"), std::string(kSkipResult));
  EXPECT_EQ(convert(".i[Nosuch].Dogs;"), std::nullopt);
  EXPECT_EQ(convert(".i[Print].Dogs;"), "<$singlepage>Dogs;");
  EXPECT_EQ(convert(".i[Print](.Dogs;"), "<$startrange>Dogs;");
  EXPECT_EQ(convert(".i[Print]#.Dogs: see Canines;"),
            "<$nopage>Dogs:<Italic>see<Default Para Font> Canines;");
  EXPECT_EQ(convert(".i[Print]*.Dogs[d];"), "Dogs[d];");
  // The name is trimmed of spaces only, and compared exactly.
  EXPECT_EQ(convert(".i[  Print ].Dogs;"), "<$singlepage>Dogs;");
  EXPECT_EQ(convert(".i[print].Dogs;"), std::nullopt);
  // A shown condition with an unknown prefix after it is no entry.
  EXPECT_EQ(convert(".i[Print]Dogs;"), std::nullopt);
  // Only the first "]" closes the name; a second condition is not read.
  EXPECT_EQ(convert(".i[Print][Print].Dogs;"), std::nullopt);
  EXPECT_EQ(convert(".i[Print].Dogs]x;"), "<$singlepage>Dogs]x;");

  EXPECT_EQ(conditions.asked,
            (std::vector<std::string>{"Review", "Nosuch", "Print", "Print", "Print", "Print",
                                      "Print", "print", "Print", "Print", "Print"}));
}

TEST(ConvertEntryText, ConditionalWithoutClosingBracketIsNotLookedUp) {
  FakeConditions conditions;
  EXPECT_EQ(ConvertEntryTextWith(".i[Review.Dogs;", &kDefaults, conditions.Lookup()), std::nullopt);
  EXPECT_TRUE(conditions.asked.empty());
}

TEST(ConvertEntryText, UnsetSettingsRewriteNoReference) {
  EXPECT_EQ(Convert(".i.Dogs: see also Cats;", nullptr), "<$singlepage>Dogs: see also Cats;");
  EXPECT_EQ(Convert(".i.Dogs see Canines;", nullptr), "<$singlepage>Dogs see Canines;");
}

// Without a connected host every host read gives 0: no condition tag exists,
// and the reload finds no settings document and takes the defaults.
TEST(ConvertEntryTextWithoutHost, ConditionIsMissingAndReloadGivesDefaults) {
  EXPECT_EQ(ConvertEntryText(".i[Review].Dogs;", 0), std::nullopt);
  EXPECT_EQ(ConvertEntryText(std::string(kReloadSettingsText), 7), std::nullopt);
  ASSERT_TRUE(ReferenceSettings().has_value());
  EXPECT_EQ(*ReferenceSettings(), ReferenceSettingValues{});
  EXPECT_EQ(ConvertEntryText(".i.Dogs: see also Cats;", 0),
            "<$singlepage>Dogs:<Italic>see also<Default Para Font> Cats[Dogs:aaa];");
}

}  // namespace
}  // namespace markertext
