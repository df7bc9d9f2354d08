#include "mif/error.h"

#include <string_view>

namespace mif {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` that
// encodes a printable character past ASCII (not a C1 control), or 0.
std::size_t PrintableSequence(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    if (lead == 0xC2) low = 0xA0;  // U+0080 to U+009F are controls
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// `text` safe to print on a terminal: control characters and bytes that
// are not UTF-8 (a binary file quoted in a message) become \xHH.
std::string Printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    std::size_t keep = c >= 0x20 && c < 0x7F ? 1 : 0;
    if (c >= 0x80) keep = PrintableSequence(text);
    if (keep > 0) {
      out.append(text.substr(0, keep));
      text.remove_prefix(keep);
      continue;
    }
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
    text.remove_prefix(1);
  }
  return out;
}

}  // namespace

std::string Error::describe() const {
  std::string out = file.empty() ? std::string("<input>") : Printable(file);
  if (line != 0) {
    out += ':';
    out += std::to_string(line);
    out += ':';
    out += std::to_string(column);
  }
  out += ": ";
  out += Printable(message);
  return out;
}

}  // namespace mif
