// Inserting a new entry paragraph next to the paragraph at the insertion point.
#ifndef VELTRANO_MARKERTEXT_INSERT_ENTRY_H
#define VELTRANO_MARKERTEXT_INSERT_ENTRY_H

#include "host/api.h"
#include "markertext/entry_text.h"

namespace markertext {

// Condition choice lists offer at most this many condition tags.
inline constexpr std::size_t kMaxConditionChoices = 26;

// Where a new entry paragraph goes, next to the current paragraph.
enum class EntrySide {
  // Before or after as "IndexEntryLocation" says (always before in a table),
  // keeping clear of run-in paragraphs: the commands an author uses.
  kAsConfigured,
  // Directly in front of the current paragraph.
  kDirectlyBefore,
  // Directly after the current paragraph and the entry paragraphs that
  // already follow it.
  kDirectlyAfter,
};

// Makes an entry paragraph of `kind` on `side` of the current paragraph, with
// the kind's template, the format "Index Entry" and the condition "Index",
// and leaves the insertion point before its final ";". Returns the new
// paragraph, or 0 when none was made (the user cancelled the condition
// choice, or there was no room; the latter has been reported with an alert).
ObjectId InsertEntryParagraph(ObjectId doc, EntryKind kind,
                              EntrySide side = EntrySide::kAsConfigured);

}  // namespace markertext

#endif
