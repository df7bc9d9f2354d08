// The command line of the veltrano program, parsed.
//
//   veltrano [options] COMMAND [FILE...]   runs a plug-in command on files
//   veltrano [options] generate BOOK       generates the book's index
//   veltrano dump [--json] FILE            shows a document or book
//   veltrano check [--json] FILE...        reports indexing problems
//   veltrano commands [--plugin PATH] [--home DIR]
//   veltrano --help | --version
//
// Options may stand before or after COMMAND and take their value as the
// next argument or after "=" (--home=DIR); "--" ends the options.
#ifndef VELTRANO_HEADLESS_CLI_OPTIONS_H
#define VELTRANO_HEADLESS_CLI_OPTIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace headless::cli {

// An insertion point by dump numbers: paragraph 1 is the first paragraph.
struct InsertionPoint {
  int paragraph = 0;
  uint32_t offset = 0;
};

struct Options {
  enum class Mode { Help, Version, Commands, Dump, Check, Run };
  Mode mode = Mode::Run;
  std::string command;  // Run: a command tag or client-call message
  std::vector<std::string> files;
  std::vector<std::string> messages;  // --message, sent in order first
  std::optional<std::string> plugin;  // --plugin
  std::optional<std::string> home;    // --home
  std::optional<InsertionPoint> at;   // --at
  bool yes = false;                   // --yes
  std::vector<std::string> answers;   // --answer, for prompts in order
  std::vector<int32_t> choices;       // --choose, 1-based, for choice lists in order
  bool dryRun = false;                // --dry-run
  std::optional<std::string> output;  // --output
  bool json = false;                  // dump and check --json
  bool verbose = false;               // --verbose
  bool addIndex = false;              // generate --add-index
};

struct Parsed {
  Options options;
  std::string error;  // a usage error; empty when the line is good
  bool ok() const { return error.empty(); }
};

Parsed ParseArgs(const std::vector<std::string>& args);

// What --help prints.
std::string UsageText();

}  // namespace headless::cli

#endif
