// The application's special characters (<Char Name>) as the characters of
// the host's text, and back.
#ifndef VELTRANO_MIF_MODEL_CHARS_H
#define VELTRANO_MIF_MODEL_CHARS_H

#include <optional>
#include <string_view>

namespace mif {

// The character a <Char Name> stands for in the text: Tab is U+0009,
// HardReturn (a forced line break) U+000A, HardSpace U+00A0, EmDash U+2014,
// and so on. None for a name this reader does not know.
std::optional<char32_t> CharFromName(std::string_view name);

// The <Char> name to write for a character, or empty when the character is
// written inside a <String>. Spaces, hyphens, tabs and line breaks always
// have a name; typographic characters (dashes, currency signs, daggers,
// the bullet) only with `typographic`, as older files write them.
std::string_view NameOfChar(char32_t c, bool typographic);

// SoftHyphen at the end of a line is the application's own hyphenation of
// the line, not text.
inline bool IsLineEndHyphen(std::string_view name) {
  return name == "SoftHyphen";
}

}  // namespace mif

#endif
