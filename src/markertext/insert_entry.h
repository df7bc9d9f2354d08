// Inserting a new entry paragraph next to the paragraph at the insertion point.
#ifndef VELTRANO_MARKERTEXT_INSERT_ENTRY_H
#define VELTRANO_MARKERTEXT_INSERT_ENTRY_H

#include "host/api.h"
#include "markertext/entry_text.h"

namespace markertext {

// Condition choice lists offer at most this many condition tags.
inline constexpr std::size_t kMaxConditionChoices = 26;

// Makes an entry paragraph of `kind` before or after the current paragraph (as
// "IndexEntryLocation" says; always before in a table), with the kind's
// template, the format "Index Entry" and the condition "Index", and leaves
// the insertion point before its final ";". Returns the new paragraph, or 0
// when none was made (the user cancelled the condition choice, or there was
// no room; the latter has been reported with an alert).
ObjectId InsertEntryParagraph(ObjectId doc, EntryKind kind);

// True when a new entry paragraph goes in front of the current paragraph:
// "IndexEntryLocation" is 1, or the selection lies in a table.
bool PlacesEntriesBefore(ObjectId doc);

}  // namespace markertext

#endif
