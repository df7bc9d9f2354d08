// Reading the five reference settings: defaults, normalisation, and the
// values used as stored.
#include "markertext/reference_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace markertext {
namespace {

struct FakeSettings {
  std::map<std::string, std::string> values;
  std::vector<std::string> asked;

  SettingLookup Lookup() {
    return [this](const std::string& key) -> std::optional<std::string> {
      asked.push_back(key);
      auto found = values.find(key);
      if (found == values.end()) return std::nullopt;
      return found->second;
    };
  }
};

TEST(ReferenceSettings, MissingOrEmptyKeysGiveTheDefaults) {
  FakeSettings settings;
  ReferenceSettingValues values = ReadReferenceSettings(settings.Lookup());
  EXPECT_EQ(values.seeAlsoReference, "see also ");
  EXPECT_EQ(values.seeAlsoSort, ":aaa");
  EXPECT_EQ(values.seeAlsoEntry, "<Italic>see also<Default Para Font> ");
  EXPECT_EQ(values.seeReference, "see ");
  EXPECT_EQ(values.seeEntry, "<Italic>see<Default Para Font>");
  EXPECT_EQ(settings.asked, (std::vector<std::string>{"SeeAlsoReference", "SeeAlsoSort",
                                                      "SeeAlsoEntry", "SeeReference", "SeeEntry"}));

  for (auto& [key, value] : std::map<std::string, std::string>{{"SeeAlsoReference", ""},
                                                               {"SeeAlsoSort", ""},
                                                               {"SeeAlsoEntry", ""},
                                                               {"SeeReference", ""},
                                                               {"SeeEntry", ""}}) {
    settings.values[key] = value;
  }
  EXPECT_EQ(ReadReferenceSettings(settings.Lookup()), ReferenceSettingValues{});
}

TEST(ReferenceSettings, ThreeValuesEndInExactlyOneSpace) {
  FakeSettings settings;
  settings.values = {{"SeeAlsoReference", "siehe auch"},
                     {"SeeAlsoEntry", "<Italic>siehe auch<Default Para Font>   "},
                     {"SeeReference", " siehe\t "}};
  ReferenceSettingValues values = ReadReferenceSettings(settings.Lookup());
  EXPECT_EQ(values.seeAlsoReference, "siehe auch ");
  EXPECT_EQ(values.seeAlsoEntry, "<Italic>siehe auch<Default Para Font> ");
  // Only spaces are trimmed, and only at the end.
  EXPECT_EQ(values.seeReference, " siehe\t ");
}

TEST(ReferenceSettings, TwoValuesAreUsedAsStored) {
  FakeSettings settings;
  settings.values = {{"SeeAlsoSort", " zzz  "}, {"SeeEntry", "<Italic>siehe<Default Para Font> "}};
  ReferenceSettingValues values = ReadReferenceSettings(settings.Lookup());
  EXPECT_EQ(values.seeAlsoSort, " zzz  ");
  EXPECT_EQ(values.seeEntry, "<Italic>siehe<Default Para Font> ");
}

TEST(ReferenceSettings, ReferenceWordOfSpacesOnlyGivesTheDefault) {
  FakeSettings settings;
  settings.values = {{"SeeAlsoReference", "   "}, {"SeeReference", " "}, {"SeeAlsoEntry", "  "}};
  ReferenceSettingValues values = ReadReferenceSettings(settings.Lookup());
  EXPECT_EQ(values.seeAlsoReference, "see also ");
  EXPECT_EQ(values.seeReference, "see ");
  // A replacement text of spaces is the user's choice, normalised as usual.
  EXPECT_EQ(values.seeAlsoEntry, " ");
}

TEST(ReferenceSettings, WithOneTrailingSpace) {
  EXPECT_EQ(WithOneTrailingSpace("see"), "see ");
  EXPECT_EQ(WithOneTrailingSpace("see   "), "see ");
  EXPECT_EQ(WithOneTrailingSpace("  see"), "  see ");
  EXPECT_EQ(WithOneTrailingSpace(""), " ");
}

}  // namespace
}  // namespace markertext
