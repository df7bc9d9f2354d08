#include "check/plugin_settings.h"

#include <algorithm>

namespace headless::check {

namespace {

constexpr const char* kTablePrefix = "Setting";

// The text of a cell's first paragraph; none when it has no text.
std::optional<std::string> CellText(const Document& doc, Id cell) {
  if (cell == 0) return std::nullopt;
  const Id para = doc.node(cell).paraFirst;
  if (para == 0) return std::nullopt;
  std::string text = doc.text(para);
  if (text.empty()) return std::nullopt;
  return text;
}

// The digits at the start of a value (at most 255 looked at), as the
// plug-in reads a number; 0 when it starts with none.
int LeadingNumber(const std::string& text) {
  long long number = 0;
  for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), 255); ++i) {
    if (text[i] < '0' || text[i] > '9') break;
    number = std::min<long long>(number * 10 + (text[i] - '0'), 0x7FFFFFFF);
  }
  return static_cast<int>(number);
}

std::string WithOneTrailingSpace(const std::string& value) {
  const std::size_t end = value.find_last_not_of(' ');
  return value.substr(0, end == std::string::npos ? 0 : end + 1) + ' ';
}

}  // namespace

std::optional<std::string> SettingText(const Document& doc, const std::string& key) {
  std::optional<std::string> value;
  for (Id table : doc.all(DocList::Tables)) {
    const Id header = doc.node(table).first;
    if (header == 0) continue;
    const std::optional<std::string> title = CellText(doc, doc.node(header).first);
    if (!title || !title->starts_with(kTablePrefix)) continue;
    for (Id row = header; row != 0; row = doc.node(row).next) {
      const Id keyCell = doc.node(row).first;
      std::optional<std::string> name = CellText(doc, keyCell);
      if (!name) continue;
      std::erase_if(*name, [](char c) { return c == '\n' || c == '\f'; });
      if (*name != key) continue;
      value = CellText(doc, doc.node(keyCell).next);
      break;
    }
  }
  return value;
}

CheckSettings ReadCheckSettings(const Document* doc) {
  CheckSettings s;
  if (!doc) return s;
  if (auto v = SettingText(*doc, "MaximumMarkerLength")) s.maximumMarkerLength = LeadingNumber(*v);
  if (auto v = SettingText(*doc, "SeeEntry")) s.seeEntry = *v;
  if (auto v = SettingText(*doc, "SeeAlsoEntry")) s.seeAlsoEntry = WithOneTrailingSpace(*v);
  // A word of spaces only is no word (the plug-in ignores it too).
  for (auto [key, target] : {std::pair{"SeeReference", &s.seeReference},
                             std::pair{"SeeAlsoReference", &s.seeAlsoReference}}) {
    auto v = SettingText(*doc, key);
    if (v && v->find_first_not_of(' ') != std::string::npos) *target = WithOneTrailingSpace(*v);
  }
  return s;
}

}  // namespace headless::check
