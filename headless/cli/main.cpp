// veltrano: runs the plug-in in the headless host.
//
//   veltrano commands [--plugin PATH] [--home DIR]
//
// loads the plug-in, initialises it as the application does at start-up and
// prints what it registered: its identity, the notifications it asked for,
// and its menus and commands in menu order.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/host.h"
#include "listing.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veltrano commands [--plugin PATH] [--home DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] != "commands") return Usage();
  std::string plugin;
  if (const char* env = std::getenv("VTR_PLUGIN")) plugin = env;
  if (plugin.empty()) plugin = VTR_DEFAULT_PLUGIN;
  std::string home;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--plugin" && i + 1 < args.size()) {
      plugin = args[++i];
    } else if (args[i] == "--home" && i + 1 < args.size()) {
      home = args[++i];
    } else {
      return Usage();
    }
  }
  headless::Host host;
  host.setHomeDirectory(home);
  std::string error;
  if (host.loadClient(plugin, &error) < 0) {
    std::fprintf(stderr, "veltrano: %s\n", error.c_str());
    return 1;
  }
  host.initialize(host::kInitFirst);
  const std::string listing = headless::ListClients(host);
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  return 0;
}
