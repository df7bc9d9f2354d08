#include "markertext/entry_text.h"

#include <array>
#include <cstddef>
#include <utility>

#include "host/api.h"
#include "markertext/reference_rules.h"

namespace markertext {
namespace {

constexpr std::string_view kConditionalStart = ".i[";

// In the order they are tested; a conditional entry has become one of these
// by the time its prefix is read.
constexpr std::array kPlainKinds = {EntryKind::Standard, EntryKind::StartRange, EntryKind::EndRange,
                                    EntryKind::NoPage, EntryKind::Native};

std::string WithoutLeadingAndTrailingSpaces(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

// Trailing spaces go, then one final ";". Leading spaces, and spaces in front
// of that ";", stay.
std::string CleanBody(std::string body) {
  std::size_t end = body.find_last_not_of(' ');
  body.erase(end == std::string::npos ? 0 : end + 1);
  if (body.ends_with(';')) body.pop_back();
  return body;
}

ConditionState LookUpCondition(ObjectId doc, const std::string& name) {
  ObjectId condition = F_ApiGetNamedObject(doc, host::kObjCondition, name);
  if (condition == 0) return ConditionState::Missing;
  if (F_ApiGetInt(0, doc, host::kPropShowAllConditions) == 1) return ConditionState::Shown;
  if (F_ApiGetInt(doc, condition, host::kPropConditionShown) == 0) return ConditionState::Hidden;
  return ConditionState::Shown;
}

}  // namespace

std::optional<std::string> ConvertEntryTextWith(const std::string& text,
                                                const ReferenceSettingValues* settings,
                                                const ConditionLookup& lookup) {
  std::string entry = text;

  // ".i[" name "]" and the rest of a plain form without its leading ".i". A
  // text without "]" goes on as it is and fails at the prefix test.
  if (entry.starts_with(kConditionalStart)) {
    std::size_t close = entry.find(']');
    if (close != std::string::npos) {
      std::string name = WithoutLeadingAndTrailingSpaces(std::string_view(entry).substr(
          kConditionalStart.size(), close - kConditionalStart.size()));
      switch (lookup(name)) {
        case ConditionState::Missing:
          return std::nullopt;
        case ConditionState::Hidden:
          return std::string(kSkipResult);
        case ConditionState::Shown:
          break;
      }
      entry = ".i" + entry.substr(close + 1);
    }
  }

  for (EntryKind kind : kPlainKinds) {
    std::string_view prefix = EntryPrefix(kind);
    if (!entry.starts_with(prefix)) continue;
    std::string body = CleanBody(entry.substr(prefix.size()));
    if (kind == EntryKind::Native) return body + ";";
    return std::string(PageCode(kind)) + ApplyReferenceRules(body, settings) + ";";
  }
  return std::nullopt;
}

std::optional<std::string> ConvertEntryText(const std::string& text, ObjectId doc) {
  if (text == kReloadSettingsText) {
    ReloadReferenceSettings();
    return std::nullopt;
  }
  const std::optional<ReferenceSettingValues>& settings = ReferenceSettings();
  return ConvertEntryTextWith(
      text, settings ? &*settings : nullptr,
      [doc](const std::string& name) { return LookUpCondition(doc, name); });
}

}  // namespace markertext
