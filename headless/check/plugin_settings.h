// The plug-in's settings as `check` needs them, read from the settings
// document the plug-in reads (CVConfig.fm in the home directory) by the
// plug-in's rules: key and value rows of every table whose first cell
// begins with "Setting"; within a table the first row of a key counts, and
// a later table replaces what an earlier one gave; an empty value is no
// value.
#ifndef VELTRANO_CHECK_PLUGIN_SETTINGS_H
#define VELTRANO_CHECK_PLUGIN_SETTINGS_H

#include <optional>
#include <string>

#include "headless/document.h"

namespace headless::check {

// The value text of `key` in the settings document, or none.
std::optional<std::string> SettingText(const Document& settings, const std::string& key);

struct CheckSettings {
  int maximumMarkerLength = 255;
  // The texts that stand for the see and see-also words in marker text,
  // and the words an author types in entries.
  std::string seeEntry = "<Italic>see<Default Para Font>";
  std::string seeAlsoEntry = "<Italic>see also<Default Para Font> ";
  std::string seeReference = "see ";
  std::string seeAlsoReference = "see also ";
};

// The settings from the settings document, or the plug-in's defaults when
// there is none (null).
CheckSettings ReadCheckSettings(const Document* settings);

}  // namespace headless::check

#endif
