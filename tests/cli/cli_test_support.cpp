#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "cli.h"
#include "headless/paths.h"
#include "mif_files.h"

namespace vtrtest {

namespace fs = std::filesystem;

CliRun RunCliWith(const headless::cli::Files& files, const std::vector<std::string>& args,
                  const std::string& input, bool terminal, bool errTerminal) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  headless::cli::CliIo io(in, out, err);
  io.inTerminal = terminal;
  io.errTerminal = errTerminal;
  io.currentDir = headless::Utf8Path(fs::current_path());
  CliRun run;
  run.status = headless::cli::RunCli(args, io, files);
  run.out = out.str();
  run.err = err.str();
  return run;
}

CliRun RunCliOnDisk(const std::vector<std::string>& args, const std::string& input) {
  return RunCliWith(headless::cli::MifFiles(), args, input);
}

headless::cli::Files MemoryFiles(const std::shared_ptr<headless::MemoryStore>& store) {
  headless::cli::Files files;
  files.store = store;
  files.resolve = [store](const std::string& name) -> std::optional<std::string> {
    if (!store->contains(name)) return std::nullopt;
    return name;
  };
  return files;
}

ScratchDir::ScratchDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // Named after the test and made unique by the clock: test processes run
  // side by side.
  dir_ = fs::temp_directory_path() /
         ("vtr-cli-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
          "-" + info->test_suite_name() + "-" + info->name());
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string ScratchDir::path(const std::string& name) const {
  fs::path p = name.empty() ? dir_ : dir_ / headless::FsPath(name);
  return headless::Utf8Path(p.make_preferred());
}

void ScratchDir::copyExamples() const {
  for (const char* part : {"guide", "home"}) {
    fs::copy(fs::path(VTR_EXAMPLES_DIR) / part, dir_ / part, fs::copy_options::recursive);
  }
}

void ScratchDir::write(const std::string& name, const std::string& text) const {
  const fs::path file = dir_ / headless::FsPath(name);
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream in(dir_ / headless::FsPath(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, std::string> ScratchDir::snapshot() const {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(dir_)) {
    if (e.is_regular_file()) {
      const std::u8string rel = fs::relative(e.path(), dir_).generic_u8string();
      const std::string key(rel.begin(), rel.end());
      out[key] = read(key);
    }
  }
  return out;
}

}  // namespace vtrtest
