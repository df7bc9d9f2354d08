#include "json_writer.h"

#include <cstdio>

namespace headless::cli {

namespace {

// The length of the valid UTF-8 sequence at s[i], or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = 0;
  uint32_t min = 0;
  uint32_t cp = 0;
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) {
    n = 2, min = 0x80, cp = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, min = 0x800, cp = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, min = 0x10000, cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string JsonQuote(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    switch (c) {
      case '"':
        out += "\\\"";
        ++i;
        continue;
      case '\\':
        out += "\\\\";
        ++i;
        continue;
      case '\n':
        out += "\\n";
        ++i;
        continue;
      case '\t':
        out += "\\t";
        ++i;
        continue;
      case '\r':
        out += "\\r";
        ++i;
        continue;
      default:
        break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
      ++i;
      continue;
    }
    const std::size_t n = Utf8Length(s, i);
    if (n == 0) {
      out += "\\ufffd";
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  out += '"';
  return out;
}

void JsonWriter::newline() {
  out_ += '\n';
  out_.append(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (!level.empty) out_ += ',';
  level.empty = false;
  newline();
}

void JsonWriter::open(char c, bool array) {
  beforeValue();
  out_ += c;
  levels_.push_back({array, true});
}

JsonWriter& JsonWriter::beginObject() {
  open('{', false);
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  open('[', true);
  return *this;
}

JsonWriter& JsonWriter::end() {
  if (levels_.empty()) return *this;
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.empty) newline();
  out_ += level.array ? ']' : '}';
  if (levels_.empty()) out_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  beforeValue();
  out_ += JsonQuote(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view s) {
  beforeValue();
  out_ += JsonQuote(s);
  return *this;
}

JsonWriter& JsonWriter::value(int64_t n) {
  beforeValue();
  out_ += std::to_string(n);
  return *this;
}

JsonWriter& JsonWriter::value(bool b) {
  beforeValue();
  out_ += b ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::strings(const std::vector<std::string>& items) {
  beforeValue();
  out_ += '[';
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out_ += ", ";
    out_ += JsonQuote(items[i]);
  }
  out_ += ']';
  return *this;
}

}  // namespace headless::cli
