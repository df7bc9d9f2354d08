// The six kinds of index entry and the fixed texts that go with them: the
// entry prefix that starts an entry paragraph and the page code that starts
// the entry in marker text.
#ifndef VELTRANO_MARKERTEXT_ENTRY_KIND_H
#define VELTRANO_MARKERTEXT_ENTRY_KIND_H

#include <string_view>

namespace markertext {

// The values are shared with the command numbers and the entry templates.
enum class EntryKind {
  Standard = 1,
  StartRange = 2,
  EndRange = 3,
  NoPage = 4,
  Native = 5,
  Conditional = 6
};

// ".i.", ".i(.", ".i).", ".i#." or ".i*."; a conditional entry has no fixed
// prefix (its condition name stands between ".i[" and "]"), so it gives "".
std::string_view EntryPrefix(EntryKind kind);

// "<$singlepage>", "<$startrange>", "<$endrange>" or "<$nopage>"; native and
// conditional entries have no page code of their own, so they give "".
std::string_view PageCode(EntryKind kind);

}  // namespace markertext

#endif
