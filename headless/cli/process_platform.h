// What the veltrano program learns from its process, and how it talks to a
// console: the operating-system calls for these live here and nowhere else.
// Every string is UTF-8, whatever the system's code page.
#ifndef VELTRANO_HEADLESS_CLI_PROCESS_PLATFORM_H
#define VELTRANO_HEADLESS_CLI_PROCESS_PLATFORM_H

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace headless::cli {

// The arguments after the program name (on Windows, read from the wide
// command line rather than argv, which holds them in the code page).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// An environment variable, or nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

// The folder holding the running program.
std::string ProgramDirectory(const char* argv0);

std::string CurrentDirectory();

// Whether standard input or standard error is an interactive terminal (on
// Windows a console; the NUL device, a file or a pipe is none).
bool StdinIsTerminal();
bool StderrIsTerminal();

// While it lives, the program writes and reads UTF-8 on a console too: on
// Windows, standard output and error on a console are written and standard
// input from one is read as UTF-16 (the console's code page would otherwise
// decide what the bytes mean), and the console is not changed. Through a
// file or a pipe, and elsewhere, the bytes go as they are.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

  // Standard input, as UTF-8.
  std::istream& input();

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

}  // namespace headless::cli

#endif
