// Running one plug-in command on files, as `veltrano [options] COMMAND
// [FILE...]` does: loads the plug-in, opens the files (the first document
// and the first book become the active ones), puts the insertion point,
// sends the client messages, runs the command, and writes what changed.
#ifndef VELTRANO_HEADLESS_CLI_RUN_COMMAND_H
#define VELTRANO_HEADLESS_CLI_RUN_COMMAND_H

#include <string>

#include "cli_io.h"
#include "options.h"

namespace headless::cli {

// Exit status 0 when the command ran and the plug-in reported nothing; 1
// when it showed a warning, wrote to the console, or a dialog was cancelled
// for want of an answer; 2 for input errors (nothing is written then) and
// for files that could not be written.
int RunCommand(const Options& options, CliIo& io, const Files& files, const std::string& plugin);

// Whether a text is one of the plug-in's client-call messages that names a
// command.
bool IsClientMessage(const std::string& text);

}  // namespace headless::cli

#endif
