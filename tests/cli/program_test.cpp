// The built program: its streams and exit status as a shell sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "cli_test_support.h"

namespace vtrtest {
namespace {

struct Ran {
  int status = -1;
  std::string out;
};

// Runs the program through the shell, standard input from /dev/null;
// `redirect` may send standard error somewhere.
Ran Program(const std::string& args, const std::string& redirect = "2>/dev/null") {
  const std::string cmd = std::string("env -u VELTRANO_HOME -u VELTRANO_PLUGIN '") +
                          VTR_VELTRANO_EXE + "' " + args + " </dev/null " + redirect;
  Ran ran;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return ran;
  char buf[4096];
  std::size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) ran.out.append(buf, n);
  const int raw = pclose(pipe);
  ran.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return ran;
}

TEST(Program, ExitStatusAndStreams) {
  ScratchDir dir;
  dir.copyExamples();
  const std::string home = " --home '" + dir.path("home") + "' ";
  const std::string ch1 = " '" + dir.path("guide/ch1.mif") + "'";

  Ran r = Program("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("veltrano ", 0), 0u);
  EXPECT_EQ(Program("--help").status, 0);
  EXPECT_EQ(Program("").status, 2);
  EXPECT_EQ(Program("NoSuchCommand" + home + ch1).status, 2);

  // Expanding asks first; with no terminal and no --yes the safe answer is
  // Cancel, said on standard error, and nothing is written.
  const std::string original = dir.read("guide/ch1.mif");
  r = Program("ExpandIndexMarkers" + home + ch1, "2>&1 >/dev/null");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("veltrano: cancelled a confirmation (--yes confirms): Are you sure"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(dir.read("guide/ch1.mif"), original);

  // With --yes it runs; what was written is on standard error, nothing on
  // standard output.
  r = Program("--yes ExpandIndexMarkers" + home + ch1, "2>&1 >/dev/null");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "wrote " + dir.path("guide/ch1.mif") + "\n");
  r = Program("--yes ExpandIndexMarkers" + home + ch1, "2>/dev/null");
  EXPECT_EQ(r.out, "");
  EXPECT_NE(dir.read("guide/ch1.mif"), original);

  // The plug-in from the environment.
  r = Program("commands", "2>&1");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Client \"Veltrano - Unicode\"\n", 0), 0u);
  r = Program("--plugin /no/such.so commands", "2>&1");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("cannot load the plug-in"), std::string::npos);
}

}  // namespace
}  // namespace vtrtest
