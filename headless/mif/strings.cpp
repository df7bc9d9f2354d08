#include "mif/strings.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "mif/frame_roman.h"

namespace mif {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Error StringError(std::size_t offset, std::string message) {
  return Error{"", 0, 0, std::move(message) + " (at byte " + std::to_string(offset) + ")"};
}

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i, char32_t* code) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    if (code) *code = b0;
    return 1;
  }
  std::size_t len;
  char32_t c;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    c = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c <= 0xDFFF)) {
    return 0;
  }
  if (code) *code = c;
  return len;
}

void AppendHexEscape(std::string& out, std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
  out += ' ';
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::size_t FindInvalidUtf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    // ASCII runs, eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= n) break;
    const std::size_t len = Utf8Length(text, i, nullptr);
    if (len == 0) return i;
    i += len;
  }
  return std::string_view::npos;
}

Result<std::string> DecodeString(std::string_view in, Encoding encoding) {
  // Most strings hold no escape: in a UTF-8 file (checked as a whole when
  // read) they are their own text, and so are plain ASCII ones of any file.
  if (in.find('\\') == std::string_view::npos) {
    bool ascii = true;
    for (char c : in) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(in);
    if (encoding == Encoding::Utf8 && FindInvalidUtf8(in) == std::string_view::npos) {
      return std::string(in);
    }
  }
  std::string out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const char c = in[i];
    if (c != '\\') {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        out += c;
        ++i;
      } else if (encoding == Encoding::FrameRoman) {
        AppendUtf8(out, FrameRomanToUnicode(byte));
        ++i;
      } else {
        const std::size_t len = Utf8Length(in, i, nullptr);
        if (len == 0) return StringError(i, "invalid UTF-8");
        out.append(in.substr(i, len));
        i += len;
      }
      continue;
    }
    const char d = i + 1 < in.size() ? in[i + 1] : '\0';
    switch (d) {
      case 't':
        out += '\t';
        i += 2;
        continue;
      case '>':
        out += '>';
        i += 2;
        continue;
      case 'q':
        out += '\'';
        i += 2;
        continue;
      case 'Q':
        out += '`';
        i += 2;
        continue;
      case '\\':
        out += '\\';
        i += 2;
        continue;
      case 'x': {
        std::size_t k = i + 2;
        int value = 0;
        while (k < in.size() && k < i + 4 && HexValue(in[k]) >= 0)
          value = value * 16 + HexValue(in[k++]);
        if (k == i + 2) break;
        if (k < in.size() && in[k] == ' ') ++k;
        // Codes above 0x7F are FrameRoman in every version (legacy form in 8.00+).
        AppendUtf8(out, FrameRomanToUnicode(static_cast<std::uint8_t>(value)));
        i = k;
        continue;
      }
      case 'u': {
        std::size_t k = i + 2;
        char32_t value = 0;
        while (k < in.size() && k < i + 6 && HexValue(in[k]) >= 0) {
          value = value * 16 + static_cast<char32_t>(HexValue(in[k++]));
        }
        if (k != i + 6 || (value >= 0xD800 && value <= 0xDFFF)) break;
        AppendUtf8(out, value);
        i = k;
        continue;
      }
      default:
        break;
    }
    return StringError(i,
                       "bad escape in string: expected \\t, \\>, \\q, \\Q, \\\\, \\xNN or \\uNNNN");
  }
  return out;
}

namespace {

// The bytes string text holds as they are: printable ASCII but for the
// four that are escaped.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int b = 0x20; b < 0x7F; ++b) plain[static_cast<std::size_t>(b)] = true;
  for (char c : {'>', '\'', '`', '\\'}) plain[static_cast<unsigned char>(c)] = false;
  return plain;
}();

// Appends `in` as string text to `out`.
Status AppendEncoded(std::string& out, std::string_view in, Encoding encoding) {
  std::size_t i = 0;
  while (i < in.size()) {
    // Runs of plain ASCII, the most of any text, are copied at once.
    std::size_t plain = i;
    while (plain < in.size() && kPlainBytes[static_cast<unsigned char>(in[plain])]) ++plain;
    if (plain > i) {
      out.append(in.substr(i, plain - i));
      i = plain;
      if (i == in.size()) break;
    }
    char32_t code = 0;
    const std::size_t len = Utf8Length(in, i, &code);
    if (len == 0) return StringError(i, "invalid UTF-8");
    switch (code) {
      case '\t':
        out += "\\t";
        break;
      case '>':
        out += "\\>";
        break;
      case '\'':
        out += "\\q";
        break;
      case '`':
        out += "\\Q";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (code < 0x20 || code == 0x7F) {
          AppendHexEscape(out, static_cast<std::uint8_t>(code));
        } else if (code < 0x80 || encoding == Encoding::Utf8) {
          out.append(in.substr(i, len));
        } else if (const auto byte = UnicodeToFrameRoman(code)) {
          AppendHexEscape(out, *byte);
        } else {
          char hex[16];
          std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
          return StringError(i, std::string("character ") + hex +
                                    " cannot be written in FrameRoman (MIF 7.00 and older)");
        }
    }
    i += len;
  }
  return Ok();
}

}  // namespace

Result<std::string> EncodeString(std::string_view in, Encoding encoding) {
  std::string out;
  out.reserve(in.size() + in.size() / 8);
  if (Status s = AppendEncoded(out, in, encoding); !s) return s.error();
  return out;
}

Status AppendQuotedString(std::string& out, std::string_view text, Encoding encoding) {
  out += '`';
  if (Status s = AppendEncoded(out, text, encoding); !s) return s;
  out += '\'';
  return Ok();
}

Result<std::string> QuoteString(std::string_view text, Encoding encoding) {
  std::string out;
  out.reserve(text.size() + text.size() / 8 + 2);
  if (Status s = AppendQuotedString(out, text, encoding); !s) return s.error();
  return out;
}

}  // namespace mif
