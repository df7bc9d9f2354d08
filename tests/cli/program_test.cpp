// The built program: its streams and exit status as another program sees
// them.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "process.h"

namespace vtrtest {
namespace {

// Runs the built program with standard input from the null device and
// without the program's environment variables, unless `set` gives them.
ProcessResult Program(const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& set = {}) {
  ProcessOptions options;
  options.unset = {"VELTRANO_HOME", "VELTRANO_PLUGIN"};
  options.set = set;
  return RunProcess(VTR_VELTRANO_EXE, args, options);
}

TEST(Program, ExitStatusAndStreams) {
  ScratchDir dir;
  dir.copyExamples();
  const std::string home = dir.path("home");
  const std::string ch1 = dir.path("guide/ch1.mif");

  ProcessResult r = Program({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("veltrano ", 0), 0u);
  EXPECT_EQ(Program({"--help"}).status, 0);
  EXPECT_EQ(Program({}).status, 2);
  EXPECT_EQ(Program({"NoSuchCommand", "--home", home, ch1}).status, 2);

  // Expanding asks first; with no terminal (input from the null device) and
  // no --yes the safe answer is Cancel, said on standard error, and nothing
  // is written.
  const std::string original = dir.read("guide/ch1.mif");
  r = Program({"ExpandIndexMarkers", "--home", home, ch1});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("veltrano: cancelled a confirmation (--yes confirms): Are you sure"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(dir.read("guide/ch1.mif"), original);

  // With --yes it runs; what was written is on standard error, nothing on
  // standard output.
  r = Program({"--yes", "ExpandIndexMarkers", "--home", home, ch1});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote " + ch1 + "\n");
  EXPECT_EQ(r.out, "");
  EXPECT_NE(dir.read("guide/ch1.mif"), original);

  // The plug-in from the environment.
  r = Program({"commands"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Client \"Veltrano - Unicode\"\n", 0), 0u);
  r = Program({"--plugin", dir.path("no/such.plugin"), "commands"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot load the plug-in"), std::string::npos);
}

// Non-ASCII names reach the program intact through its arguments, its
// environment and --output, and what it says names them as given.
TEST(Program, NonAsciiFileNamesInArgumentsEnvironmentAndOutput) {
  ScratchDir dir;
  dir.copyExamples();
  const std::string folder =
      "B\xC3\xBC"
      "cher \xE7\xB4\xA2\xE5\xBC\x95";  // "Bücher 索引"
  dir.write(folder + "/ch1.mif", dir.read("guide/ch1.mif"));
  dir.write(folder + "/home/CVConfig.mif", dir.read("home/CVConfig.mif"));
  const std::string ch1 = dir.path(folder + "/ch1.mif");
  const std::string out = dir.path(folder + "/\xC3\xA9t\xC3\xA9");  // "été"
  const std::string original = dir.read(folder + "/ch1.mif");

  ProcessResult r = Program({"--yes", "--output", out, "ExpandIndexMarkers", ch1},
                            {{"VELTRANO_HOME", dir.path(folder + "/home")}});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote " + dir.path(folder + "/\xC3\xA9t\xC3\xA9/ch1.mif") + "\n");
  EXPECT_EQ(dir.read(folder + "/ch1.mif"), original);
  EXPECT_NE(dir.read(folder + "/\xC3\xA9t\xC3\xA9/ch1.mif"), original);

  // The dump of the written file names it as given.
  r = Program({"dump", dir.path(folder + "/\xC3\xA9t\xC3\xA9/ch1.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(folder), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vtrtest
