// Turning index markers back into entry paragraphs.
#ifndef VELTRANO_MARKERTEXT_EXPAND_MARKERS_H
#define VELTRANO_MARKERTEXT_EXPAND_MARKERS_H

#include <string>

#include "host/api.h"

namespace markertext {

// Makes one entry paragraph for each entry of each marker of the named type,
// in the order of the document's marker list, next to the marker's paragraph
// on the side from which converting them gives their markers back to that
// paragraph; the markers stay in place.
void ExpandMarkers(ObjectId doc, const std::string& markerType);

}  // namespace markertext

#endif
