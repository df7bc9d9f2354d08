// The menus and commands the plug-in defines, as a user sees them, and the
// notifications it asks for at start-up.
#include <algorithm>
#include <string>
#include <vector>

#include "plugin_test.h"

namespace vtrtest {
namespace {

using headless::MenuEntry;

void Flatten(const MenuEntry& entry, const std::string& indent, std::vector<std::string>& out) {
  switch (entry.type) {
    case MenuEntry::Type::Separator:
      out.push_back(indent + "---");
      return;
    case MenuEntry::Type::Command:
      out.push_back(indent + std::to_string(entry.number) + " " + entry.tag + " \"" + entry.label +
                    "\" " + entry.shortcut);
      return;
    case MenuEntry::Type::Menu:
      out.push_back(indent + "menu " + entry.tag + " \"" + entry.label + "\"");
      for (const MenuEntry& item : entry.items) Flatten(item, indent + "  ", out);
      return;
  }
}

// The plug-in's items in a host menu, flattened.
std::vector<std::string> PluginItems(const headless::Host& host, const std::string& hostMenu) {
  std::vector<std::string> out;
  for (const MenuEntry& item : host.menu(hostMenu).items) {
    if (item.client >= 0) Flatten(item, "", out);
  }
  return out;
}

const std::vector<std::string> kInsertEntryMenu = {
    "menu InsertIndexEntry \"Insert Index Entry\"",
    "  6 InsertIdxEntry \"Standard Entry\" \\!ii",
    "  12 InsertStartEntry \"Start Range Entry\" \\!is",
    "  13 InsertEndEntry \"End Range Entry\" \\!ie",
    "  14 InsertNoPage \"No Page Entry\" \\!in",
    "  15 InsertNative \"Native Entry\" \\!ix",
    "  18 InsertConditional \"Conditional Entry\" \\!ic",
};

std::vector<std::string> Indented(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& l : lines) out.push_back("  " + l);
  return out;
}

class MenusTest : public PluginTest {};

TEST_F(MenusTest, DocumentMenuHoldsEveryCommandInOrder) {
  start();
  std::vector<std::string> expected = {"menu Veltrano \"Indexing\"",
                                       "  9 ShowHideIndexEntries \"Show/Hide Index Entries\" \\!it",
                                       "  ---"};
  for (const std::string& l : Indented(kInsertEntryMenu)) expected.push_back(l);
  const std::vector<std::string> rest = {
      "  ---",
      "  menu IndexMarkers \"Index Markers\"",
      "    5 InsertAllMarkers \"Insert All Markers\" \\!ia",
      "    7 InsertOneMarker \"Insert One Marker\" \\!i1",
      "    ---",
      "    3 DeleteAllIndexMarkers \"Delete All Markers\" \\!da",
      "    4 DeleteParagraphIndexMarkers \"Delete One Marker\" \\!d1",
      "    ---",
      "    8 ExpandIndexMarkers \"Expand Existing Markers\" ",
      "  ---",
      "  1 VTRMergeIndex \"Merge Index\" \\!ME",
      "  2 VTRAddContinueds \"Add Continueds\" \\!AC",
      "  ---",
      "  1000 VeltranoAbout \"About Veltrano...\" ",
  };
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(PluginItems(host, "!MakerMainMenu"), expected);
  EXPECT_EQ(PluginItems(host, "!QuickMakerMainMenu"), expected);
}

TEST_F(MenusTest, ContextMenusGetASeparatorAndTheEntrySubmenu) {
  start();
  std::vector<std::string> expected = {"---"};
  expected.insert(expected.end(), kInsertEntryMenu.begin(), kInsertEntryMenu.end());
  EXPECT_EQ(PluginItems(host, "!TextContextMenu"), expected);
  EXPECT_EQ(PluginItems(host, "!TableTextContextMenu"), expected);
}

TEST_F(MenusTest, BookMenuHasNoShortcutsAndSharesTheAboutCommand) {
  start();
  const std::vector<std::string> expected = {
      "menu Indexing \"Indexing\"",
      "  10 UpdateAllMarkers \"Update All Markers\" ",
      "  ---",
      "  16 ShowIndexEntriesBook \"Show All Index Entries\" ",
      "  17 HideIndexEntriesBook \"Hide All Index Entries\" ",
      "  ---",
      "  11 BuildCompIndex \"Build Master Index\" ",
      "  ---",
      "  1000 VeltranoAbout \"About Veltrano...\" ",
  };
  EXPECT_EQ(PluginItems(host, "!BookMainMenu"), expected);

  // The about command is one command object in two menus.
  std::vector<MenuEntry> commands = host.commands();
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                          [](const MenuEntry& c) { return c.number == 1000; }),
            1);
  EXPECT_EQ(commands.size(), 19u);
}

TEST_F(MenusTest, IdentityIsTheVersionRecordsFourClientKeys) {
  start();
  using Pair = std::pair<std::string, std::string>;
  const std::vector<Pair> expected = {{"ClientName", "Veltrano - Unicode"},
                                      {"ClientType", "Standard"},
                                      {"ClientProducts", "Maker MakerSGML"},
                                      {"FileDescription", "Veltrano (Frame 2022 64-bit)"}};
  EXPECT_EQ(host.client(0).identity, expected);
}

bool AskedFor(const headless::ClientInfo& client, int notification) {
  return std::find(client.notifications.begin(), client.notifications.end(), notification) !=
         client.notifications.end();
}

TEST_F(MenusTest, AutomaticProcessingOnlyForTheThreeExactValues) {
  struct Case {
    const char* value;
    bool on;
  };
  const Case cases[] = {{"True", true},  {"MergeOnly", true}, {"ContinuedLinesOnly", true},
                        {"true", false}, {"True ", false},    {"MergeOnly\n", false},
                        {"Yes", false},  {"", false}};
  for (const Case& c : cases) {
    headless::Host fresh;
    fresh.setHomeDirectory(kHome);
    fresh.memoryStore()->put(SettingsPath(), DocumentBuilder(SettingsPath())
                                                 .flow()
                                                 .para("Body", "Settings")
                                                 .settingsTable({{"ProcessIndex", c.value}})
                                                 .build());
    ASSERT_GE(fresh.loadClient(PluginPath()), 0);
    fresh.initialize(host::kInitFirst);
    EXPECT_EQ(AskedFor(fresh.client(0), host::kNotifyPostGenerate), c.on) << '"' << c.value << '"';
    EXPECT_TRUE(AskedFor(fresh.client(0), host::kNotifyClientMessage));
  }
}

TEST_F(MenusTest, NoSettingsDocumentLeavesAutomaticProcessingOff) {
  start();
  EXPECT_FALSE(AskedFor(host.client(0), host::kNotifyPostGenerate));
  EXPECT_TRUE(AskedFor(host.client(0), host::kNotifyClientMessage));
}

TEST_F(MenusTest, LaterInitialisationBuildsNoMenusButAsksForMessagesAgain) {
  storeSettings({{"ProcessIndex", "True"}});
  loadPlugin(/*initialize=*/false);
  host.initialize(2);
  EXPECT_TRUE(host.commands().empty());
  EXPECT_FALSE(AskedFor(host.client(0), host::kNotifyPostGenerate));
  EXPECT_TRUE(AskedFor(host.client(0), host::kNotifyClientMessage));

  host.initialize(host::kInitFirst);
  host.initialize(3);
  EXPECT_EQ(host.commands().size(), 19u);
  EXPECT_TRUE(AskedFor(host.client(0), host::kNotifyPostGenerate));
}

}  // namespace
}  // namespace vtrtest
