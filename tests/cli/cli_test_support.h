// Running the program in the test process with captured streams, and a
// scratch directory with copies of the bundled examples.
#ifndef VELTRANO_TESTS_CLI_TEST_SUPPORT_H
#define VELTRANO_TESTS_CLI_TEST_SUPPORT_H

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_io.h"
#include "headless/store.h"

namespace vtrtest {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// RunCli over `files`; `input` is standard input, a terminal when
// `terminal` is set; standard error is a terminal when `errTerminal` is.
CliRun RunCliWith(const headless::cli::Files& files, const std::vector<std::string>& args,
                  const std::string& input = {}, bool terminal = false, bool errTerminal = false);
// The same over the MIF files on disk.
CliRun RunCliOnDisk(const std::vector<std::string>& args, const std::string& input = {});

// Files kept in memory; a name stands for a file when the store has it.
headless::cli::Files MemoryFiles(const std::shared_ptr<headless::MemoryStore>& store);

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The path of `name` (written with '/'), with the system's separators.
  std::string path(const std::string& name = {}) const;
  // Copies examples/guide and examples/home into guide/ and home/.
  void copyExamples() const;
  void write(const std::string& name, const std::string& text) const;
  std::string read(const std::string& name) const;
  // Every file under the directory with its contents, by relative path
  // written with '/'.
  std::map<std::string, std::string> snapshot() const;

 private:
  std::filesystem::path dir_;
};

// A test over copies of the example book and home directory in a scratch
// directory, run with that home directory.
class ExampleFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir.copyExamples(); }
  std::string at(const std::string& name) const { return dir.path(name); }
  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", at("home")});
    return RunCliOnDisk(args);
  }

  ScratchDir dir;
};

}  // namespace vtrtest

#endif
