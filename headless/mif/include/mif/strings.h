// MIF string values: the escapes inside `...' and the character encodings.
//
// Text in memory is UTF-8. MIF 8.00 and later (year versions included) write
// strings as UTF-8; 7.00 and older write every character above 0x7F as a
// FrameRoman code `\xNN ` (the space belongs to the escape). The
// application's control codes (hard space `\x11 `, and so on) are kept as
// the code points U+0000 to U+001F of the same value.
#ifndef VELTRANO_MIF_STRINGS_H
#define VELTRANO_MIF_STRINGS_H

#include <cstddef>
#include <string>
#include <string_view>

#include "mif/error.h"

namespace mif {

enum class Encoding { FrameRoman, Utf8 };

// Decodes the text between the quotes of a MIF string into UTF-8. Errors
// (bad escape, invalid UTF-8) carry no file and name the byte offset.
Result<std::string> DecodeString(std::string_view escaped, Encoding encoding);

// Escapes UTF-8 text for use between the quotes of a MIF string. Fails on
// invalid UTF-8 and, for FrameRoman, on characters FrameRoman lacks.
Result<std::string> EncodeString(std::string_view text, Encoding encoding);

// EncodeString between a back quote and an apostrophe: `text'.
Result<std::string> QuoteString(std::string_view text, Encoding encoding);
// The same appended to `out` (on failure `out` holds part of it).
Status AppendQuotedString(std::string& out, std::string_view text, Encoding encoding);

// The offset of the first byte that is not part of a valid UTF-8 sequence
// (overlong forms, surrogates and code points above U+10FFFF are invalid),
// or npos when the whole text is valid.
std::size_t FindInvalidUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t code);

}  // namespace mif

#endif
