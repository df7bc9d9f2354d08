// Reading MIF text into the lossless statement tree.
#ifndef VELTRANO_MIF_PARSER_H
#define VELTRANO_MIF_PARSER_H

#include <string>
#include <string_view>

#include "mif/error.h"
#include "mif/tree.h"

namespace mif {

// Parses the statements of `text` (the whole file; `fileName` only names it
// in errors). Checks the syntax: balanced brackets, terminated strings, valid
// escapes. It does not check the header or the encoding (see document.h).
// Works without recursion, so nesting depth costs only heap memory.
Result<Tree> ParseTree(std::string text, std::string_view fileName);

}  // namespace mif

#endif
