#include "check/reader_text.h"

#include "generate/collation.h"

namespace headless::check {

std::string ReaderKey(std::string_view utf8) {
  std::string spaced;
  bool space = false;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool nbsp = utf8.compare(i, 2, "\xC2\xA0") == 0;
    if (utf8[i] == ' ' || utf8[i] == '\t' || nbsp) {
      space = true;
      if (nbsp) ++i;
      continue;
    }
    if (space && !spaced.empty()) spaced += ' ';
    space = false;
    spaced += utf8[i];
  }
  // Most headings are ASCII: their case folds without the Unicode tables.
  bool ascii = true;
  for (char& c : spaced) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ascii) return spaced;
  return generate::FoldCase(spaced);
}

std::string EntryText(const std::vector<generate::LevelText>& levels, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count && i < levels.size(); ++i) {
    if (i > 0) out += ':';
    out += levels[i].plain();
  }
  return out;
}

}  // namespace headless::check
