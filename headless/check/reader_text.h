// Index headings as a reader compares them: letters without case, and any
// run of spaces (tabs and no-break spaces too) as one space.
#ifndef VELTRANO_CHECK_READER_TEXT_H
#define VELTRANO_CHECK_READER_TEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "generate/marker_entries.h"

namespace headless::check {

std::string ReaderKey(std::string_view utf8);

// The levels of an entry as text, "Dogs:training".
std::string EntryText(const std::vector<generate::LevelText>& levels, std::size_t count);

}  // namespace headless::check

#endif
