// What `veltrano commands` lists, and the program itself.
#include <cstdio>

#include "fixture.h"
#include "listing.h"

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

std::string RunCommand(const std::string& cmd, int* status) {
  std::string out;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  std::size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  *status = pclose(pipe);
  return out;
}

TEST(VeltranoProgram, ListsThePluginsCommands) {
  int status = -1;
  std::string out = RunCommand(std::string("'") + VTR_VELTRANO_EXE + "' commands", &status);
  EXPECT_EQ(status, 0);
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
  int bad = -1;
  RunCommand(std::string("'") + VTR_VELTRANO_EXE + "' nonsense 2>/dev/null", &bad);
  EXPECT_NE(bad, 0);
  RunCommand(std::string("'") + VTR_VELTRANO_EXE + "' commands --plugin /no/such.so 2>/dev/null",
             &bad);
  EXPECT_NE(bad, 0);
}

}  // namespace
}  // namespace vtrtest
