// Entry-paragraph notation: the text of one entry paragraph becomes the index
// marker text of that one entry.
//
// This header also brings in the rest of the marker text subsystem: the entry
// kinds, the reference settings, the reading of marker text back into entries
// and the joining of converted entries into marker texts.
#ifndef VELTRANO_MARKERTEXT_ENTRY_TEXT_H
#define VELTRANO_MARKERTEXT_ENTRY_TEXT_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/service_abi.h"
#include "markertext/entry_kind.h"
#include "markertext/marker_joiner.h"
#include "markertext/reference_settings.h"
#include "markertext/split_marker_text.h"

namespace markertext {

// The result for an entry of a hidden condition: leave it out. No marker text
// equals it, since every converted entry ends in ";".
inline constexpr std::string_view kSkipResult = "SKIP";

// The entry text that reloads the reference settings instead of converting.
inline constexpr std::string_view kReloadSettingsText = "VTRSetConfigValues";

// What the document says about a condition tag named in a conditional entry.
enum class ConditionState {
  Missing,  // the document has no condition tag of that name
  Hidden,   // the tag is hidden and the document does not show all conditions
  Shown,    // the tag is shown, or the document shows all conditions
};

using ConditionLookup = std::function<ConditionState(const std::string& name)>;

// The conversion itself, with the reference settings to apply (null: none
// loaded, nothing rewritten) and the condition lookup given. `lookup` is
// called only for a conditional entry. Returns the marker text of the entry,
// ending in ";"; kSkipResult for an entry of a hidden condition; or none for
// a text that is not a valid entry. Every byte the rules do not name passes
// through unchanged, backslashes included.
std::optional<std::string> ConvertEntryTextWith(const std::string& text,
                                                const ReferenceSettingValues* settings,
                                                const ConditionLookup& lookup);

// Converts the text of one entry paragraph of `doc` with the process-wide
// ReferenceSettings(), looking conditions up in `doc`. The text
// kReloadSettingsText reloads the reference settings and gives none.
std::optional<std::string> ConvertEntryText(const std::string& text, ObjectId doc);

}  // namespace markertext

#endif
