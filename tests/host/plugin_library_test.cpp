// The plug-in library as the host sees it: one export, a complete service
// table accepted, the identity registered.
#include <cstdio>
#include <set>
#include <string>

#include "fixture.h"

namespace vtrtest {
namespace {

// The names `nm -D --defined-only` lists for a library, or nothing when nm
// cannot run.
std::set<std::string> DefinedDynamicSymbols(const std::string& path, bool* ran) {
  std::set<std::string> names;
  *ran = false;
  const std::string cmd = "nm -D --defined-only '" + path + "' 2>/dev/null";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return names;
  char line[1024];
  while (fgets(line, sizeof line, pipe)) {
    *ran = true;
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    const std::size_t cut = s.find_last_of(' ');
    if (cut != std::string::npos) names.insert(s.substr(cut + 1));
  }
  pclose(pipe);
  return names;
}

TEST(PluginLibrary, ExportsOnlyTheClientEntry) {
  bool ran = false;
  std::set<std::string> names = DefinedDynamicSymbols(VTR_PLUGIN_FILE, &ran);
  if (!ran) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(names, std::set<std::string>{"F_ApiClientInit"});
}

class PluginLoading : public HostFixture {};

TEST_F(PluginLoading, ConnectsAndRegistersItsIdentity) {
  loadPlugin(false);
  ASSERT_EQ(host.clientCount(), 1);
  const headless::ClientInfo& info = host.client(0);
  EXPECT_TRUE(info.connected);
  EXPECT_EQ(info.name(), "Veltrano - Unicode");
  EXPECT_EQ(info.identityValue("ClientType"), "Standard");
  EXPECT_EQ(info.identityValue("ClientProducts"), "Maker MakerSGML");
  EXPECT_EQ(info.identityValue("FileDescription"), "Veltrano (Frame 2022 64-bit)");
  EXPECT_EQ(info.identityValue("ClientVendor"), "");
}

TEST_F(PluginLoading, MissingLibraryIsReported) {
  std::string error;
  EXPECT_EQ(host.loadClient("/nonexistent/libnothing.so", &error), -1);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(host.clientCount(), 0);
}

TEST_F(PluginLoading, ServiceTableIsComplete) {
  // The client library refuses a table with any empty entry; both clients
  // connecting proves every entry is filled.
  loadPlugin(false);
  loadTestClient();
  EXPECT_EQ(host.clientCount(), 2);
  EXPECT_EQ(host.client(1).name(), "Veltrano Test Client");
}

}  // namespace
}  // namespace vtrtest
