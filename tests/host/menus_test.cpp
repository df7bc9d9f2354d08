// Menus and commands clients define, the host's own menus and separators,
// choosing commands, notifications and messages between clients.
#include "fixture.h"

namespace vtrtest {
namespace {

using headless::MenuEntry;

class Menus : public HostFixture {};

std::string Describe(const MenuEntry& e, int depth = 0) {
  std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
  std::string out;
  switch (e.type) {
    case MenuEntry::Type::Menu:
      out = pad + "menu " + e.tag + " \"" + e.label + "\"\n";
      for (const MenuEntry& i : e.items) out += Describe(i, depth + 1);
      break;
    case MenuEntry::Type::Command:
      out = pad + std::to_string(e.number) + " " + e.tag + " \"" + e.label + "\" " + e.shortcut +
            "\n";
      break;
    case MenuEntry::Type::Separator:
      out = pad + "---\n";
      break;
  }
  return out;
}

TEST_F(Menus, DefinitionsKeepTheirOrderAndMayBeShared) {
  TestClient& client = loadTestClient();
  const auto& a = api();
  EXPECT_EQ(host.hostMenus(),
            (std::vector<std::string>{"!MakerMainMenu", "!QuickMakerMainMenu", "!BookMainMenu",
                                      "!TextContextMenu", "!TableTextContextMenu"}));
  ObjectId bar = a.GetNamedObject(0, host::kObjMenu, "!MakerMainMenu");
  ASSERT_NE(bar, 0u);
  ObjectId m = a.DefineAndAddMenu(bar, "Tools", "Tools");
  ObjectId about = a.DefineAndAddCommand(1000, m, "About", "About...", "");
  ObjectId sub = a.DefineMenu("Sub", "More");
  a.AddCommandToMenu(m, a.GetNamedObject(0, host::kObjSeparator, "Separator1"));
  a.DefineAndAddCommand(6, sub, "Six", "Six", "\\!ii");
  a.AddMenuToMenu(m, sub);
  ObjectId ctx = a.GetNamedObject(0, host::kObjMenu, "!TextContextMenu");
  ObjectId s1 = a.NewNamedObject(0, host::kObjSeparator, "Ctx1");
  ObjectId s2 = a.NewNamedObject(0, host::kObjSeparator, "Ctx1");
  EXPECT_NE(s1, s2);
  a.AddCommandToMenu(ctx, s1);
  a.AddMenuToMenu(ctx, sub);
  ObjectId book = a.GetNamedObject(0, host::kObjMenu, "!BookMainMenu");
  a.AddCommandToMenu(book, about);
  // Nothing happens for a host menu that does not exist.
  EXPECT_EQ(a.AddMenuToMenu(a.GetNamedObject(0, host::kObjMenu, "!NoSuchMenu"), m), -1);

  EXPECT_EQ(Describe(host.menu("!MakerMainMenu")),
            "menu !MakerMainMenu \"\"\n"
            "  menu Tools \"Tools\"\n"
            "    1000 About \"About...\" \n"
            "    ---\n"
            "    menu Sub \"More\"\n"
            "      6 Six \"Six\" \\!ii\n");
  EXPECT_EQ(Describe(host.menu("!TextContextMenu")),
            "menu !TextContextMenu \"\"\n  ---\n  menu Sub \"More\"\n    6 Six \"Six\" \\!ii\n");
  EXPECT_EQ(Describe(host.menu("!BookMainMenu")),
            "menu !BookMainMenu \"\"\n  1000 About \"About...\" \n");
  EXPECT_EQ(host.commands().size(), 2u);
  EXPECT_TRUE(host.detachedMenus().empty());

  // Choosing a command calls the command callback of its client.
  EXPECT_TRUE(host.chooseCommand("Six"));
  EXPECT_FALSE(host.chooseCommand("Nothing"));
  EXPECT_EQ(client.hooks().log.back(), "command 6");
}

TEST_F(Menus, NotificationsGoToClientsThatAskedForThem) {
  TestClient& client = loadTestClient();
  std::vector<std::string> got;
  client.hooks().notify = [&](int32_t n, ObjectId, const std::string& s, int32_t) {
    got.push_back(std::to_string(n) + ":" + s);
  };
  EXPECT_FALSE(host.sendMessage("Veltrano Test Client", "hello"));
  api().Notification(host::kNotifyClientMessage, host::kNotificationOn);
  api().Notification(host::kNotifyPostGenerate, host::kNotificationOn);
  EXPECT_EQ(host.client(client.index()).notifications, (std::vector<int32_t>{13, 79}));
  EXPECT_TRUE(host.sendMessage("Veltrano Test Client", "SetDocId 12"));
  EXPECT_FALSE(host.sendMessage("Nobody", "x"));
  host.notify(host::kNotifyPostGenerate);
  api().Notification(host::kNotifyPostGenerate, 0);
  host.notify(host::kNotifyPostGenerate);
  EXPECT_EQ(got, (std::vector<std::string>{"13:SetDocId 12", "79:"}));
}

TEST_F(Menus, InitializeAndCommandReachTheClient) {
  TestClient& client = loadTestClient();
  host.initialize(3);
  host.command(42, client.index());
  EXPECT_EQ(client.hooks().log,
            (std::vector<std::string>{"initialize 1", "initialize 3", "command 42"}));
}

}  // namespace
}  // namespace vtrtest
