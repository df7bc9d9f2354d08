#include "markertext/reference_settings.h"

#include <utility>

#include "frame/settings.h"

namespace markertext {
namespace {

std::optional<ReferenceSettingValues>& MutableReferenceSettings() {
  static std::optional<ReferenceSettingValues> settings;
  return settings;
}

void ReadNormalised(const SettingLookup& lookup, const char* key, std::string* target) {
  std::optional<std::string> value = lookup(key);
  if (value && !value->empty()) *target = WithOneTrailingSpace(*value);
}

// A reference word made of spaces only is no word: normalised it would be a
// single space, match every space of every entry and rewrite entries that
// hold no reference at all. Such a value counts as a value without text.
void ReadReferenceWord(const SettingLookup& lookup, const char* key, std::string* target) {
  std::optional<std::string> value = lookup(key);
  if (value && value->find_first_not_of(' ') != std::string::npos) {
    *target = WithOneTrailingSpace(*value);
  }
}

void ReadAsStored(const SettingLookup& lookup, const char* key, std::string* target) {
  std::optional<std::string> value = lookup(key);
  if (value && !value->empty()) *target = std::move(*value);
}

}  // namespace

std::string WithOneTrailingSpace(std::string_view value) {
  std::size_t end = value.find_last_not_of(' ');
  std::string result(value.substr(0, end == std::string_view::npos ? 0 : end + 1));
  result += ' ';
  return result;
}

ReferenceSettingValues ReadReferenceSettings(const SettingLookup& lookup) {
  ReferenceSettingValues values;
  ReadReferenceWord(lookup, "SeeAlsoReference", &values.seeAlsoReference);
  ReadAsStored(lookup, "SeeAlsoSort", &values.seeAlsoSort);
  ReadNormalised(lookup, "SeeAlsoEntry", &values.seeAlsoEntry);
  ReadReferenceWord(lookup, "SeeReference", &values.seeReference);
  ReadAsStored(lookup, "SeeEntry", &values.seeEntry);
  return values;
}

const std::optional<ReferenceSettingValues>& ReferenceSettings() {
  return MutableReferenceSettings();
}

void ReloadReferenceSettings() {
  MutableReferenceSettings() = ReadReferenceSettings(frame::GetSettingText);
}

}  // namespace markertext
