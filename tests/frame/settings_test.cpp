// Settings lookups: where the settings document is found, which tables and
// rows count, and how values read.
#include <algorithm>

#include "frame/settings.h"
#include "plugin_test.h"

namespace vtrtest {
namespace {

bool AutomaticProcessingOn(const headless::Host& host) {
  const std::vector<int32_t>& n = host.client(0).notifications;
  return std::find(n.begin(), n.end(), host::kNotifyPostGenerate) != n.end();
}

class SettingsTest : public PluginTest {
 protected:
  // Starts the plug-in with a settings document built by `settings`.
  void startWith(DocumentBuilder settings) {
    storeDocument(settings);
    start();
  }
  DocumentBuilder settingsDoc() {
    return std::move(DocumentBuilder(SettingsPath()).flow().para("Body", "Settings"));
  }
};

TEST_F(SettingsTest, LastMatchingTableWinsAndFirstRowWithinATable) {
  startWith(settingsDoc()
                .settingsTable({{"ProcessIndex", "True"}})
                .settingsTable({{"ProcessIndex", "Off"}, {"ProcessIndex", "True"}}));
  EXPECT_FALSE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, LaterTableOverridesAnEarlierOne) {
  startWith(settingsDoc()
                .settingsTable({{"ProcessIndex", "Off"}})
                .settingsTable({{"Unrelated", "1"}})
                .settingsTable({{"ProcessIndex", "MergeOnly"}}));
  EXPECT_TRUE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, OnlyTablesWhoseFirstCellStartsWithSettingCount) {
  startWith(settingsDoc().settingsTable({{"ProcessIndex", "True"}}, "Settings"));
  EXPECT_TRUE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, TableHeadedOtherwiseIsIgnored) {
  startWith(settingsDoc().settingsTable({{"ProcessIndex", "True"}}, "My Setting"));
  EXPECT_FALSE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, ForcedLineBreakInTheKeyStillMatches) {
  startWith(settingsDoc().settingsTable({{"Process\nIndex\f", "True"}}));
  EXPECT_TRUE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, LeadingBlankInTheKeyDoesNotMatch) {
  startWith(settingsDoc().settingsTable({{" ProcessIndex", "True"}}));
  EXPECT_FALSE(AutomaticProcessingOn(host));
}

TEST_F(SettingsTest, LookupOpensAndClosesTheSettingsDocumentWithoutSaving) {
  storeSettings({{"ProcessIndex", "True"}});
  start();
  ASSERT_FALSE(host.closes().empty());
  for (const headless::CloseRecord& c : host.closes()) {
    EXPECT_EQ(c.path, SettingsPath());
    EXPECT_EQ(c.flags, host::kCloseWithoutAsking);
  }
  // One open and one close per key read: ProcessIndex and the three
  // start-up values.
  EXPECT_EQ(host.closes().size(), 4u);
  EXPECT_TRUE(host.openDocuments().empty());
  EXPECT_TRUE(host.saves().empty());
}

TEST_F(SettingsTest, AlreadyOpenSettingsDocumentIsFoundIgnoringCaseAndLeftOpen) {
  DocumentBuilder settings("c:\\PROGRAM FILES\\host\\cvconfig.FM");
  settings.flow().para("Body", "Settings").settingsTable({{"ProcessIndex", "True"}});
  ObjectId open = addDocument(settings);
  doc(open).setDirty(true);  // the user's unsaved edits
  start();
  EXPECT_TRUE(AutomaticProcessingOn(host));
  EXPECT_TRUE(host.closes().empty());
  EXPECT_TRUE(host.opens().empty());
  EXPECT_EQ(host.findOpen(SettingsPath()), open);
}

TEST_F(SettingsTest, DocumentTheHostHandsBackAsAlreadyOpenIsNotClosed) {
  // The lookup's own path comparison does not take '/' for '\\', but the
  // host does, so opening gives back the user's open document: the lookup
  // reads it and leaves it open.
  DocumentBuilder settings("C:/Program Files/Host/CVConfig.fm");
  settings.flow().para("Body", "Settings").settingsTable({{"ProcessIndex", "True"}});
  ObjectId open = addDocument(settings);
  start();
  EXPECT_TRUE(AutomaticProcessingOn(host));
  EXPECT_TRUE(host.closes().empty());
  EXPECT_NE(host.document(open), nullptr);
}

TEST(SettingNumbers, LeadingDigitsOnly) {
  EXPECT_EQ(frame::LeadingNumber("255"), 255);
  EXPECT_EQ(frame::LeadingNumber("12 pt"), 12);
  EXPECT_EQ(frame::LeadingNumber("007"), 7);
  EXPECT_EQ(frame::LeadingNumber(" 12"), 0);
  EXPECT_EQ(frame::LeadingNumber("-3"), 0);
  EXPECT_EQ(frame::LeadingNumber("+3"), 0);
  EXPECT_EQ(frame::LeadingNumber("abc"), 0);
  EXPECT_EQ(frame::LeadingNumber("100 characters"), 100);
  // Only the first 255 characters are looked at.
  EXPECT_EQ(frame::LeadingNumber(std::string(254, '0') + "12"), 1);
}

}  // namespace
}  // namespace vtrtest
