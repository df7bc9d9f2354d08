// Settings lookups. Every lookup finds the settings document among the open
// documents or opens it, reads its settings tables and, when it opened the
// document itself, closes it again without saving.
#include "frame/settings.h"

#include <algorithm>

#include "frame/open_documents.h"
#include "host/api.h"

namespace frame {
namespace {

constexpr const char* kSettingsFileName = "CVConfig.fm";
constexpr const char* kSettingsTablePrefix = "Setting";

std::string SettingsPath() {
  return F_ApiGetString(0, 0, host::kPropHomeDir) + "\\" + kSettingsFileName;
}

std::optional<std::string> CellText(ObjectId doc, ObjectId cell) {
  bool hasText = false;
  std::string text =
      host::ParagraphText(doc, F_ApiGetId(doc, cell, host::kPropFirstParagraph), &hasText);
  if (!hasText) return std::nullopt;
  return text;
}

std::string WithoutLineAndFormFeeds(std::string text) {
  std::erase_if(text, [](char c) { return c == '\n' || c == '\f'; });
  return text;
}

// The value of `key` in one settings table: the first matching row wins.
std::optional<std::string> LookInTable(ObjectId doc, ObjectId table, const std::string& key,
                                       bool* matched) {
  for (ObjectId row = F_ApiGetId(doc, table, host::kPropFirstRow); row != 0;
       row = F_ApiGetId(doc, row, host::kPropNextRow)) {
    ObjectId keyCell = F_ApiGetId(doc, row, host::kPropFirstCell);
    std::optional<std::string> keyText = CellText(doc, keyCell);
    if (!keyText || WithoutLineAndFormFeeds(*keyText) != key) continue;
    *matched = true;
    return CellText(doc, F_ApiGetId(doc, keyCell, host::kPropNextCell));
  }
  return std::nullopt;
}

bool IsSettingsTable(ObjectId doc, ObjectId table) {
  ObjectId row = F_ApiGetId(doc, table, host::kPropFirstRow);
  if (row == 0) return false;
  std::optional<std::string> header = CellText(doc, F_ApiGetId(doc, row, host::kPropFirstCell));
  return header && header->starts_with(kSettingsTablePrefix);
}

}  // namespace

std::optional<std::string> GetSettingText(const std::string& key) {
  const std::string path = SettingsPath();
  ObjectId doc = FindOpenDocument(path);
  bool openedHere = false;
  if (doc == 0) {
    // The host may hand back a document that was open under a path it takes
    // as the same; that one is the user's and must stay open.
    const OpenedDocument opened = OpenNotingOwnership(path, {{host::kOpenCode5, 0},
                                                             {host::kOpenCode2, 0},
                                                             {host::kOpenCode3, 1},
                                                             {host::kOpenCode17, 7},
                                                             {host::kOpenCode23, 1},
                                                             {host::kOpenCode28, 1},
                                                             {host::kOpenCode22, 1},
                                                             {host::kOpenCode25, 1},
                                                             {host::kOpenCode19, 1},
                                                             {host::kOpenCode20, 1}});
    doc = opened.doc;
    openedHere = opened.openedHere;
  }
  if (doc == 0) return std::nullopt;

  std::optional<std::string> value;
  for (ObjectId table = F_ApiGetId(0, doc, host::kPropFirstTableInDoc); table != 0;
       table = F_ApiGetId(doc, table, host::kPropNextTable)) {
    if (!IsSettingsTable(doc, table)) continue;
    bool matched = false;
    std::optional<std::string> candidate = LookInTable(doc, table, key, &matched);
    // A later table that holds the key replaces what an earlier one gave.
    if (matched) value = std::move(candidate);
  }
  // A document the user already had open stays open: closing it would throw
  // away their unsaved edits.
  if (openedHere) F_ApiClose(doc, host::kCloseWithoutAsking);
  return value;
}

int LeadingNumber(const std::string& text) {
  long long number = 0;
  std::size_t limit = std::min<std::size_t>(text.size(), 255);
  for (std::size_t i = 0; i < limit && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = number * 10 + (text[i] - '0');
    // Larger values are no sensible setting; keep the result an int.
    if (number > 0x7FFFFFFF) number = 0x7FFFFFFF;
  }
  return static_cast<int>(number);
}

int GetSettingNumber(const std::string& key) {
  std::optional<std::string> text = GetSettingText(key);
  if (!text) return SettingNotSet;
  return LeadingNumber(*text);
}

bool GetSettingSwitch(const std::string& key) {
  std::optional<std::string> text = GetSettingText(key);
  return text && *text == "True";
}

bool MarkersGoBeforeTheRun() {
  const int paragraph = GetSettingNumber("MarkerParagraph");
  return paragraph == SettingNotSet || paragraph == 1;
}

StartupSettingValues& StartupSettings() {
  static StartupSettingValues values;
  return values;
}

void ReadStartupSettings() {
  StartupSettingValues& s = StartupSettings();
  int length = GetSettingNumber("MaximumMarkerLength");
  s.maximumMarkerLength = length == SettingNotSet ? 255 : length;
  int location = GetSettingNumber("IndexEntryLocation");
  s.indexEntryLocation = location == SettingNotSet ? 1 : location;
  s.singleEntryMarkers = GetSettingSwitch("SingleEntryMarkers");
}

}  // namespace frame
