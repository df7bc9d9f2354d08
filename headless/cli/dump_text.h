// `veltrano dump`: the document or book view as text for a person to read.
//
// Each paragraph is one line, "N  Tag: text", with inline marks:
//   [[Index: Dogs;]]   a marker of type Index with the text "Dogs;"
//   [[table 1]] [[footnote 1]] [[frame]] [[inset]]..[[/inset]]
//   [[var]]..[[/var]] [[xref]]..[[/xref]]
//   <<Emphasis: word>> text in a character format
//   {{Review: words}}  text under condition tags beyond the paragraph's own
//   \n                 a forced line break
// then " {Index}" for the condition tags over the whole paragraph and
// " (hidden)" when it is hidden; each marker follows on a line of its own
// with its offset.
#ifndef VELTRANO_HEADLESS_CLI_DUMP_TEXT_H
#define VELTRANO_HEADLESS_CLI_DUMP_TEXT_H

#include <string>

#include "document_view.h"

namespace headless::cli {

std::string DocumentText(const DocumentView& view);
std::string BookText(const BookView& view);

// Text on one line, a forced line break written "\n".
std::string Chars(const std::string& text);

}  // namespace headless::cli

#endif
