// One problem `veltrano check` found: where it is (the file and the
// paragraph as `veltrano dump` numbers it), what kind of problem, the entry
// or marker text it is about, and a short reason.
#ifndef VELTRANO_CHECK_FINDING_H
#define VELTRANO_CHECK_FINDING_H

#include <string>

namespace headless::check {

// The kinds, as the JSON report names them.
inline constexpr const char* kInvalidEntry = "invalid-entry";      // the conversion rejects it
inline constexpr const char* kNoMarker = "no-marker";              // its run gets no marker
inline constexpr const char* kEntryFormat = "entry-format";        // entry text, other format
inline constexpr const char* kEntryCondition = "entry-condition";  // no condition "Index"
inline constexpr const char* kMarkerText = "marker-text";          // text the index cannot use
inline constexpr const char* kRange = "range";                     // range not started or ended
inline constexpr const char* kSeeTarget = "see-target";            // target is no entry
inline constexpr const char* kDuplicate = "duplicate";             // headings read as the same
inline constexpr const char* kTooLong = "too-long";                // over MaximumMarkerLength

struct Finding {
  std::string file;
  int paragraph = 0;  // 0: the file as a whole
  std::string kind;
  std::string text;
  std::string reason;
};

}  // namespace headless::check

#endif
