// What `veltrano commands` lists, and the program itself.
#include "fixture.h"
#include "listing.h"
#include "process.h"

namespace vtrtest {
namespace {

class Listing : public HostFixture {};

TEST_F(Listing, ShowsClientMenusInMenuOrder) {
  loadTestClient();
  const auto& a = api();
  a.Notification(host::kNotifyClientMessage, host::kNotificationOn);
  ObjectId book = a.GetNamedObject(0, host::kObjMenu, "!BookMainMenu");
  ObjectId m = a.DefineAndAddMenu(book, "Indexing", "Indexing");
  a.DefineAndAddCommand(10, m, "UpdateAllMarkers", "Update All Markers", "");
  a.AddCommandToMenu(m, a.GetNamedObject(0, host::kObjSeparator, "Separator1"));
  a.DefineAndAddCommand(16, m, "ShowIndexEntriesBook", "Show All Index Entries", "\\!sa");
  a.DefineMenu("Loose", "Loose menu");
  a.DefineAndAddCommand(99, 0, "Alone", "Alone", "");
  EXPECT_EQ(headless::ListClients(host),
            "Client \"Veltrano Test Client\"\n"
            "  ClientType: Standard\n"
            "  Notifications: 13\n"
            "Host menu \"!BookMainMenu\"\n"
            "  Menu \"Indexing\" \"Indexing\"\n"
            "    Command 10 \"UpdateAllMarkers\" \"Update All Markers\"\n"
            "    Separator\n"
            "    Command 16 \"ShowIndexEntriesBook\" \"Show All Index Entries\" \\!sa\n"
            "Menu not in any menu\n"
            "  Menu \"Loose\" \"Loose menu\"\n"
            "Commands not in any menu\n"
            "  Command 99 \"Alone\" \"Alone\"\n");
}

TEST_F(Listing, SaysSoWhenNothingIsDefined) {
  loadTestClient();
  EXPECT_EQ(headless::ListClients(host),
            "Client \"Veltrano Test Client\"\n"
            "  ClientType: Standard\n"
            "  Notifications: none\n"
            "No menus or commands defined.\n");
}

TEST(VeltranoProgram, ListsThePluginsCommands) {
  const ProcessResult r = RunProcess(VTR_VELTRANO_EXE, {"commands"});
  EXPECT_EQ(r.status, 0);
  const std::string& out = r.out;
  EXPECT_EQ(out.rfind("Client \"Veltrano - Unicode\"\n", 0), 0u) << out;
  EXPECT_NE(out.find("  FileDescription: Veltrano (Frame 2022 64-bit)\n"), std::string::npos);
  // The document and book menus, and the context menus with their separator.
  EXPECT_NE(out.find("Host menu \"!MakerMainMenu\"\n  Menu \"Veltrano\" \"Indexing\"\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Host menu \"!BookMainMenu\"\n  Menu \"Indexing\" \"Indexing\"\n"),
            std::string::npos);
  EXPECT_NE(out.find("Host menu \"!TextContextMenu\"\n  Separator\n  Menu \"InsertIndexEntry\""),
            std::string::npos);
  EXPECT_NE(
      out.find("Host menu \"!TableTextContextMenu\"\n  Separator\n  Menu \"InsertIndexEntry\""),
      std::string::npos);
  EXPECT_NE(RunProcess(VTR_VELTRANO_EXE, {"nonsense"}).status, 0);
  EXPECT_NE(RunProcess(VTR_VELTRANO_EXE, {"commands", "--plugin", "/no/such.plugin"}).status, 0);
}

}  // namespace
}  // namespace vtrtest
