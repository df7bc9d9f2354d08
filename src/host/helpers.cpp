// Small helpers over the host operations, shared by every subsystem.
#include <utility>

#include "host/api.h"

namespace host {

std::string ParagraphText(ObjectId doc, ObjectId paragraph, bool* hasText) {
  TextRange whole{{paragraph, 0}, {paragraph, kOffsetEndOfObject}};
  TextItems items = F_ApiGetTextForRange(doc, whole, kItemString);
  std::string text;
  bool any = false;
  for (const TextItem& item : items.val) {
    if (item.type != kItemString) continue;
    text += item.text;
    any = true;
  }
  F_ApiDeallocateTextItems(&items);
  if (hasText) *hasText = any;
  return text;
}

std::string FileNameOf(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool SamePathIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

PropVal IntProp(int prop, IntT value) {
  PropVal pv;
  pv.prop = prop;
  pv.value.type = kValueInt;
  pv.value.ival = value;
  return pv;
}

PropVal IdsProp(int prop, std::vector<ObjectId> ids) {
  PropVal pv;
  pv.prop = prop;
  pv.value.type = kValueIds;
  pv.value.ids = std::move(ids);
  return pv;
}

}  // namespace host
