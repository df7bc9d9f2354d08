// What the program works with besides its arguments: its streams, whether
// they are terminals, the environment variables it reads, and where files
// are read and written. main() fills it from the process; tests fill it
// with captured streams and their own store.
#ifndef VELTRANO_HEADLESS_CLI_CLI_IO_H
#define VELTRANO_HEADLESS_CLI_CLI_IO_H

#include <iosfwd>
#include <map>
#include <memory>
#include <string>

#include "headless/store.h"
#include "staging_store.h"

namespace headless::cli {

struct CliIo {
  CliIo(std::istream& input, std::ostream& output, std::ostream& errors)
      : in(input), out(output), err(errors) {}

  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool inTerminal = false;                 // dialogs are asked on standard input
  bool errTerminal = false;                // the book's status line shows as a progress line
  std::map<std::string, std::string> env;  // VELTRANO_HOME, VELTRANO_PLUGIN
  std::string programDir;                  // where the program lies
  std::string currentDir;
};

// Where documents and books are read and written.
struct Files {
  std::shared_ptr<Store> store;
  Resolver resolve;
  Renderer render;   // may be empty: then every save is written
  Preparer prepare;  // may be empty: then the store writes each file in turn
  Checker check;     // may be empty: then a dry run takes every file to be writable
};

}  // namespace headless::cli

#endif
