// Showing and hiding entry paragraphs through the condition tag "Index".
#ifndef VELTRANO_FRAME_VISIBILITY_H
#define VELTRANO_FRAME_VISIBILITY_H

#include <string>

#include "host/api.h"

namespace frame {

// -1 when the document has no condition of that name; 1 when the document
// shows all conditional text; otherwise the condition's shown flag.
int IsConditionShown(ObjectId doc, const std::string& name);

// Sets the condition's shown flag and gives 0; gives 1 and does nothing when
// the document has no condition of that name.
int SetConditionShown(ObjectId doc, const std::string& name, int shown);

// Puts every entry paragraph of the flows and table cells under the "Index"
// condition alone. Does nothing in a document without that condition.
void ApplyIndexCondition(ObjectId doc);

// The document command: hides the entry paragraphs when they are shown (or the
// document has no "Index" condition), shows them when they are hidden.
void ToggleIndexEntries(ObjectId doc);

}  // namespace frame

#endif
