// The five "see" and "see also" settings that entry conversion applies. They
// are read together from the settings document at the start of every
// conversion run and then hold until the next reload.
#ifndef VELTRANO_MARKERTEXT_REFERENCE_SETTINGS_H
#define VELTRANO_MARKERTEXT_REFERENCE_SETTINGS_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace markertext {

// The members start with the values used for a key that is missing or has no
// text.
struct ReferenceSettingValues {
  // Word that marks a see-also reference in entry text.
  std::string seeAlsoReference = "see also ";
  // Appended to the level-1 part inside the sort string of a see-also entry.
  std::string seeAlsoSort = ":aaa";
  // Stands for the see-also word in the marker.
  std::string seeAlsoEntry = "<Italic>see also<Default Para Font> ";
  // Word that marks a see reference in entry text.
  std::string seeReference = "see ";
  // Stands for the see word in the marker.
  std::string seeEntry = "<Italic>see<Default Para Font>";

  bool operator==(const ReferenceSettingValues&) const = default;
};

// Gives the value text of a settings key, or none.
using SettingLookup = std::function<std::optional<std::string>(const std::string& key)>;

// Reads the five keys through `lookup` in the order "SeeAlsoReference",
// "SeeAlsoSort", "SeeAlsoEntry", "SeeReference", "SeeEntry". "SeeAlsoReference",
// "SeeAlsoEntry" and "SeeReference" end in exactly one space whatever the
// configured value ends in; "SeeAlsoSort" and "SeeEntry" are used as stored.
ReferenceSettingValues ReadReferenceSettings(const SettingLookup& lookup);

// `value` without its trailing spaces, then one space.
std::string WithOneTrailingSpace(std::string_view value);

// The process-wide settings: none until the first reload, and while there are
// none no reference is rewritten.
const std::optional<ReferenceSettingValues>& ReferenceSettings();

// Replaces ReferenceSettings() as a whole with values read afresh from the
// settings document.
void ReloadReferenceSettings();

}  // namespace markertext

#endif
