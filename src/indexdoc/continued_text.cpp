#include "indexdoc/continued_text.h"

#include "frame/settings.h"

namespace indexdoc {
namespace {

constexpr const char* kChooseTypeTitle = "Choose a 'continued' type";
constexpr const char* kTypeLines[] = {" (continued) <-formatted->", " (continued)", ", continued",
                                      ", cont.", "Custom"};
constexpr const char* kTypeTexts[] = {" (continued)", " (continued)", ", continued", ", cont.", ""};
constexpr const char* kInvalidType =
    "You have not specified a valid Continuation Type. It must be a value between 1 and 5.";
constexpr const char* kNamedFormatMissing = "The specified character format is not available.";
constexpr const char* kItalicMissing = "The 'Italic' character format is not available.";
constexpr const char* kPromptCustomText = "Enter the 'continued' string to use:";

// A setting whose value is empty counts as absent.
std::optional<std::string> Setting(const char* key) {
  std::optional<std::string> value = frame::GetSettingText(key);
  if (value && value->empty()) return std::nullopt;
  return value;
}

std::optional<int> SettleType() {
  if (std::optional<std::string> configured = Setting("DefaultContinuedType")) {
    const int type = frame::LeadingNumber(*configured);
    if (type < 1 || type > 5) {
      F_ApiAlert(kInvalidType, host::kAlertWarning);
      return std::nullopt;
    }
    return type;
  }
  StrList lines;
  for (const char* line : kTypeLines) lines.val.emplace_back(line);
  IntT chosen = -1;
  if (F_ApiScrollBox(&chosen, kChooseTypeTitle, lines, -1) != 0) return std::nullopt;
  // Confirming with no line chosen chooses nothing: taken as a cancel.
  if (chosen < 0 || chosen >= 5) return std::nullopt;
  return chosen + 1;
}

}  // namespace

std::optional<ContinuedStyle> SettleContinuedStyle(ObjectId doc) {
  std::optional<int> type = SettleType();
  if (!type) return std::nullopt;
  ContinuedStyle style;
  style.type = *type;
  style.text = kTypeTexts[*type - 1];
  if (*type == 1) {
    std::optional<std::string> named = Setting("ContinuedFormat");
    ObjectId format =
        F_ApiGetNamedObject(doc, host::kObjCharacterFormat, named ? *named : std::string("Italic"));
    if (format != 0) {
      style.charFormat = F_ApiGetProps(doc, format);
      style.hasCharFormat = true;
    } else {
      F_ApiAlert(named ? kNamedFormatMissing : kItalicMissing, host::kAlertWarning);
    }
  } else if (*type == 5) {
    if (std::optional<std::string> custom = Setting("CustomContinuedText")) {
      style.text = *custom;
    } else if (F_ApiPromptString(&style.text, kPromptCustomText, "") != 0) {
      return std::nullopt;
    }
  }
  return style;
}

}  // namespace indexdoc
