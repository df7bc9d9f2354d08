// A small writer of indented JSON text, two spaces a level.
//
//   JsonWriter w;
//   w.beginObject().key("name").value("x").key("list").beginArray().value(1).end().end();
//   w.text();  // {"name": "x", "list": [1]} laid out on lines
#ifndef VELTRANO_HEADLESS_CLI_JSON_WRITER_H
#define VELTRANO_HEADLESS_CLI_JSON_WRITER_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace headless::cli {

// `s` as a JSON string literal. Bytes that are not valid UTF-8 become
// U+FFFD, so the result is always valid JSON.
std::string JsonQuote(std::string_view s);

class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& beginArray();
  JsonWriter& end();
  JsonWriter& key(std::string_view name);
  JsonWriter& value(std::string_view s);
  JsonWriter& value(const char* s) { return value(std::string_view(s)); }
  JsonWriter& value(int64_t n);
  JsonWriter& value(int32_t n) { return value(static_cast<int64_t>(n)); }
  JsonWriter& value(uint32_t n) { return value(static_cast<int64_t>(n)); }
  JsonWriter& value(bool b);
  JsonWriter& null();
  // An array of strings, written on one line.
  JsonWriter& strings(const std::vector<std::string>& items);

  // The text so far; a finished document ends with a line break.
  const std::string& text() const { return out_; }

 private:
  struct Level {
    bool array = false;
    bool empty = true;
  };
  void beforeValue();
  void open(char c, bool array);
  void newline();

  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace headless::cli

#endif
