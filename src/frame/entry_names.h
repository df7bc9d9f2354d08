// The names the plug-in gives its objects in the user's documents.
#ifndef VELTRANO_FRAME_ENTRY_NAMES_H
#define VELTRANO_FRAME_ENTRY_NAMES_H

namespace frame {

// Paragraph format of entry paragraphs.
inline constexpr const char* kEntryFormatName = "Index Entry";
// Condition tag that marks entry paragraphs.
inline constexpr const char* kIndexConditionName = "Index";
// Marker type of index markers.
inline constexpr const char* kIndexMarkerTypeName = "Index";

}  // namespace frame

#endif
