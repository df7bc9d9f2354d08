// UTF-8 to code points and back. Text crosses the host boundary as UTF-8;
// the model counts and stores characters as code points.
#ifndef VELTRANO_HEADLESS_UTF8_H
#define VELTRANO_HEADLESS_UTF8_H

#include <string>
#include <string_view>

namespace headless {

// Decodes UTF-8. Malformed sequences (bad lead or continuation bytes,
// overlong forms, surrogates, values past U+10FFFF) each become U+FFFD, so
// no input can produce a code point the model would mistake for an anchor.
std::u32string DecodeUtf8(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

std::string EncodeUtf8(std::u32string_view text);

// True when the text holds any byte outside 7-bit ASCII.
bool HasNonAscii(std::string_view text);

// The text safe to print on a terminal: control characters other than line
// breaks and tabs, and bytes that are not UTF-8 (a binary file quoted in a
// message, say), become \xHH.
std::string PrintableText(std::string_view text);

}  // namespace headless

#endif
