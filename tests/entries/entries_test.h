// What the entry tests share: the plug-in in the headless host, the command
// numbers of the entry commands, and short reads of what the user sees.
#ifndef VELTRANO_TESTS_ENTRIES_ENTRIES_TEST_H
#define VELTRANO_TESTS_ENTRIES_ENTRIES_TEST_H

#include <algorithm>
#include <string>
#include <vector>

#include "plugin_test.h"

namespace vtrtest {

inline constexpr int kStandard = 6;
inline constexpr int kStartRange = 12;
inline constexpr int kEndRange = 13;
inline constexpr int kNoPage = 14;
inline constexpr int kNative = 15;
inline constexpr int kConditional = 18;
inline constexpr int kInsertAllMarkers = 5;
inline constexpr int kExpand = 8;
inline constexpr int kShowHide = 9;

inline constexpr const char* kNoRoom = "An entry cannot be inserted at this location";

class EntriesTest : public PluginTest {
 protected:
  // Starts the plug-in with the After placement ("IndexEntryLocation" 2).
  void startAfter() {
    storeSettings({{"IndexEntryLocation", "2"}});
    start();
  }

  // Runs command 8 and says OK to its question, and to the second one that
  // comes when the document already has entry paragraphs.
  void expand(bool entriesExist = false) {
    host.answerOk();
    if (entriesExist) host.answerOk();
    run(kExpand);
    EXPECT_EQ(host.pendingAnswers(), 0u);
  }

  int fcodeCount(int code) const {
    return static_cast<int>(std::count(host.fcodes().begin(), host.fcodes().end(), code));
  }

  // The properties of a named paragraph format as the model holds them.
  static const headless::PropMap& FormatProps(const Document& d, const std::string& name) {
    return d.props(d.find(headless::Kind::ParagraphFormat, name));
  }
  static Id ColorOf(const Document& d, const std::string& name) {
    return d.find(headless::Kind::Color, name);
  }
  static Id ConditionOf(const Document& d, const std::string& name) {
    return d.find(headless::Kind::Condition, name);
  }
  // The cell that holds a paragraph.
  static Id Owner(const Document& d, Id para) { return d.para(para).owner; }
};

}  // namespace vtrtest

#endif
