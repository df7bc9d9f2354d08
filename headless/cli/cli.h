// The veltrano program as a function: parses the arguments and runs the
// mode they ask for (run a command, dump, list the commands, help,
// version), reading and writing through `io` and `files`. Returns the exit
// status. main() calls it with the process's streams and the MIF files.
#ifndef VELTRANO_HEADLESS_CLI_CLI_H
#define VELTRANO_HEADLESS_CLI_CLI_H

#include <string>
#include <vector>

#include "cli_io.h"

namespace headless::cli {

int RunCli(const std::vector<std::string>& args, CliIo& io, const Files& files);

}  // namespace headless::cli

#endif
