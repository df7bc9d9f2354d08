// A host with the plug-in loaded, a home directory for its settings
// document, and short ways to run its commands and read what the user saw.
#ifndef VELTRANO_TESTS_COMMON_PLUGIN_TEST_H
#define VELTRANO_TESTS_COMMON_PLUGIN_TEST_H

#include <string>
#include <utility>
#include <vector>

#include "fixture.h"
#include "host/codes.h"

namespace vtrtest {

using SettingRows = std::vector<std::pair<std::string, std::string>>;

class PluginTest : public HostFixture {
 protected:
  static constexpr const char* kHome = "C:\\Program Files\\Host";
  static std::string SettingsPath() { return std::string(kHome) + "\\CVConfig.fm"; }

  void SetUp() override { host.setHomeDirectory(kHome); }

  // Puts a settings document with one settings table into the store.
  void storeSettings(const SettingRows& rows) {
    storeDocument(
        DocumentBuilder(SettingsPath()).flow().para("Body", "Settings").settingsTable(rows));
  }

  // Loads and initialises the plug-in.
  void start() { loadPlugin(); }

  void run(int command) { host.command(command); }
  void message(const std::string& text) { host.sendMessage("Veltrano - Unicode", text); }

  Document& active() { return doc(host.activeDocument()); }

  std::vector<std::string> dialogTexts() const {
    std::vector<std::string> out;
    for (const headless::DialogRecord& d : host.dialogs()) out.push_back(d.text);
    return out;
  }
  const headless::DialogRecord& lastDialog() const { return host.dialogs().back(); }
};

}  // namespace vtrtest

#endif
