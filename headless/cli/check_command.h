// `veltrano check FILE...`: the report of every indexing problem of the
// documents and books given, written as compilers write warnings
// ("FILE:PARAGRAPH: warning: reason: text", a summary line last) or, with
// --json, as a JSON array of objects (file, paragraph, kind, text,
// reason). Nothing is written to any file.
#ifndef VELTRANO_HEADLESS_CLI_CHECK_COMMAND_H
#define VELTRANO_HEADLESS_CLI_CHECK_COMMAND_H

#include <string>
#include <vector>

#include "check/finding.h"
#include "cli_io.h"
#include "options.h"

namespace headless::cli {

// Exit status 0 when nothing was found, 1 when something was, 2 for input
// errors (a file or chapter that cannot be read, a plug-in that does not
// load).
int CheckCommand(const Options& options, CliIo& io, const Files& files, const std::string& plugin);

std::string FindingsText(const std::vector<check::Finding>& findings, int chapters);
std::string FindingsJson(const std::vector<check::Finding>& findings);

}  // namespace headless::cli

#endif
