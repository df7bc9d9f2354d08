// The continued text of one run of AddContinuedLines, settled from the
// settings or asked of the user.
#ifndef VELTRANO_INDEXDOC_CONTINUED_TEXT_H
#define VELTRANO_INDEXDOC_CONTINUED_TEXT_H

#include <optional>
#include <string>

#include "host/api.h"

namespace indexdoc {

struct ContinuedStyle {
  int type = 2;
  std::string text;  // S: the text added to a continued heading
  // Type 1: the character format's properties for the word "continued";
  // empty when the format was not found.
  bool hasCharFormat = false;
  PropList charFormat;
};

// Reads "DefaultContinuedType" (or asks), and for its type the format or the
// custom text. None when the user cancelled or the type is invalid (after
// its warning).
std::optional<ContinuedStyle> SettleContinuedStyle(ObjectId doc);

}  // namespace indexdoc

#endif
