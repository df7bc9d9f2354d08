// Settings: key and value rows in the tables of the settings document
// "CVConfig.fm" in the host's home directory.
#ifndef VELTRANO_FRAME_SETTINGS_H
#define VELTRANO_FRAME_SETTINGS_H

#include <optional>
#include <string>

namespace frame {

// The result of a number lookup for a key that has no value.
inline constexpr int SettingNotSet = -10000;

// The value text of `key` from the last settings table that holds it, or none
// when no table has the key, its value cell is empty, or the settings document
// cannot be opened.
std::optional<std::string> GetSettingText(const std::string& key);

// The leading decimal digits of the value (0 when it does not start with a
// digit), or SettingNotSet when the key has no value.
int GetSettingNumber(const std::string& key);

// A switch is on only when its value is exactly "True".
bool GetSettingSwitch(const std::string& key);

// The digit rule on its own: the run of digits at the start of `text`, looking
// at no more than 255 characters.
int LeadingNumber(const std::string& text);

// "MarkerParagraph", read now: true when a run of entry paragraphs in a flow
// gives its markers to the paragraph before it (the value 1, or no value),
// false when to the paragraph after it.
bool MarkersGoBeforeTheRun();

// The three values cached at every initialisation.
struct StartupSettingValues {
  int maximumMarkerLength = 255;
  int indexEntryLocation = 1;
  bool singleEntryMarkers = false;
};

StartupSettingValues& StartupSettings();

// Reads the three start-up values, in the order the cache is defined.
void ReadStartupSettings();

}  // namespace frame

#endif
