// veltrano: runs the plug-in in the headless host on MIF files.
//
//   veltrano [options] COMMAND [FILE...]
//   veltrano dump [--json] FILE
//   veltrano commands [--plugin PATH] [--home DIR]
//
// See `veltrano --help` and the README.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "mif_files.h"
#include "process_platform.h"

int main(int argc, char** argv) {
  headless::cli::Utf8Console console;
  headless::cli::CliIo io(console.input(), std::cout, std::cerr);
  io.inTerminal = headless::cli::StdinIsTerminal();
  io.errTerminal = headless::cli::StderrIsTerminal();
  for (const char* name : {"VELTRANO_HOME", "VELTRANO_PLUGIN"}) {
    if (auto value = headless::cli::EnvironmentVariable(name)) io.env[name] = *value;
  }
  io.programDir = headless::cli::ProgramDirectory(argc > 0 ? argv[0] : nullptr);
  io.currentDir = headless::cli::CurrentDirectory();
  const std::vector<std::string> args = headless::cli::ProgramArguments(argc, argv);
  return headless::cli::RunCli(args, io, headless::cli::MifFiles());
}
