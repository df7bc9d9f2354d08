// veltrano: runs the plug-in in the headless host on MIF files.
//
//   veltrano [options] COMMAND [FILE...]
//   veltrano dump [--json] FILE
//   veltrano commands [--plugin PATH] [--home DIR]
//
// See `veltrano --help` and the README.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "mif_files.h"

namespace {

std::string ProgramDir(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) self = std::filesystem::absolute(argv0 ? argv0 : "", ec);
  return self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  headless::cli::CliIo io(std::cin, std::cout, std::cerr);
  io.inTerminal = isatty(STDIN_FILENO) != 0;
  io.errTerminal = isatty(STDERR_FILENO) != 0;
  for (const char* name : {"VELTRANO_HOME", "VELTRANO_PLUGIN"}) {
    if (const char* value = std::getenv(name)) io.env[name] = value;
  }
  io.programDir = ProgramDir(argc > 0 ? argv[0] : nullptr);
  std::error_code ec;
  io.currentDir = std::filesystem::current_path(ec).string();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return headless::cli::RunCli(args, io, headless::cli::MifFiles());
}
