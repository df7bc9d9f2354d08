// One run of entry paragraphs turned into index markers: reading and
// converting each entry, packing the results under the length limit and
// creating the markers at the run's placement.
#ifndef VELTRANO_EDITING_RUN_CONVERSION_H
#define VELTRANO_EDITING_RUN_CONVERSION_H

#include <string>

#include "host/api.h"

namespace editing {

// Location codes of CreateIndexMarker.
inline constexpr int kAtStart = 1;
inline constexpr int kAtEnd = 2;

// Where the markers of a run go. `paragraph` 0 means the run has no paragraph
// next to it in its chain.
struct Placement {
  ObjectId paragraph = 0;
  int limitLocation = kAtEnd;  // markers made when the limit test fires
  int finalLocation = kAtEnd;  // the marker made at the end of the run
};

// How an invalid entry, or a run without a placement, is handled.
enum class InvalidEntryMode {
  kStopSelectingStart,      // stop; insertion point at the start of the entry
  kStopSelectingParagraph,  // stop; the whole entry paragraph selected
  kReportOnConsole,         // one console line per entry; go on
};

// The run's first and last paragraph and the paragraph after it (the first
// one that is not an entry paragraph, 0 when the chain ends first).
struct Run {
  ObjectId first = 0;
  ObjectId last = 0;
  ObjectId after = 0;
};

Run FindRun(ObjectId doc, ObjectId first);

// The placement paragraph by the rule "before the run" or "after the run"; when
// the wanted paragraph does not exist, the one on the other side is used, and
// 0 when there is none either.
ObjectId PlacementParagraph(ObjectId doc, const Run& run, bool before);

// Converts the run. Returns false when the conversion stopped (InsertStatus has
// been set); true when it went through.
bool ConvertRun(ObjectId doc, const Run& run, const Placement& placement, InvalidEntryMode mode);

}  // namespace editing

#endif
