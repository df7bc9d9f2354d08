// Deleting index markers, and the warning before a deletion that could lose
// markers nothing can regenerate.
#ifndef VELTRANO_EDITING_DELETE_MARKERS_H
#define VELTRANO_EDITING_DELETE_MARKERS_H

#include <string>

#include "host/api.h"

namespace editing {

inline constexpr int kGoOn = 1;
inline constexpr int kDeclined = 2;

// kGoOn when the document has no "Index" marker or has the paragraph format
// "Index Entry" (its entries can rebuild the markers); otherwise asks the
// user and gives kGoOn for OK, kDeclined for Cancel.
int ConfirmMarkerLoss(ObjectId doc);

// Deletes every marker of the named type, with the screen display off, then
// redisplays the document.
void DeleteIndexMarkers(ObjectId doc, const std::string& markerType);

// Deletes every marker of the named type anchored in one paragraph.
void DeleteParagraphMarkers(ObjectId doc, ObjectId paragraph, const std::string& markerType);

}  // namespace editing

#endif
