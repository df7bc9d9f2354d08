// Converting entry paragraphs into index markers: every run of a document,
// or the one run at the insertion point.
#ifndef VELTRANO_EDITING_INSERT_MARKERS_H
#define VELTRANO_EDITING_INSERT_MARKERS_H

#include <string>

#include "host/api.h"

namespace editing {

// Creates a marker of the named type with `text` in `paragraph`: at offset 0
// for location code 1, at the end of its text for any other code.
ObjectId CreateIndexMarker(ObjectId doc, const std::string& markerType, const std::string& text,
                           ObjectId paragraph, int locationCode);

// Rebuilds every "Index" marker of the document from its entry paragraphs.
// With `stopAtInvalid` the conversion stops at the first invalid entry, selects
// it, warns and sets InsertStatus; without it each invalid entry is reported
// on the console and the conversion goes on.
void InsertAllMarkers(ObjectId doc, bool stopAtInvalid);

// Rebuilds the "Index" markers of the run of entry paragraphs that holds the
// insertion point.
void InsertOneMarker(ObjectId doc);

}  // namespace editing

#endif
