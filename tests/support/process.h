// Runs a program as a separate process, the same way on every platform: no
// shell between (so no quoting or redirection rules of one), standard input
// from the null device or from given text, standard output and standard
// error captured apart (with Windows line ends read as '\n').
#ifndef VELTRANO_TESTS_SUPPORT_PROCESS_H
#define VELTRANO_TESTS_SUPPORT_PROCESS_H

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vtrtest {

struct ProcessOptions {
  // Removed from the program's environment.
  std::vector<std::string> unset;
  // Set in the program's environment (UTF-8 values).
  std::map<std::string, std::string> set;
  // Standard input; none: the null device.
  std::optional<std::string> input;
};

struct ProcessResult {
  int status = -1;  // the exit status; -1 when it could not run or did not exit
  std::string out;
  std::string err;
};

// `program` with `args` (UTF-8), waited for.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

}  // namespace vtrtest

#endif
