// The command line: where options may stand, their values, and the
// mistakes that are usage errors.
#include <gtest/gtest.h>

#include "options.h"

namespace {

using headless::cli::Options;
using headless::cli::ParseArgs;

TEST(Options, OptionsStandAnywhereAndTakeValuesBothWays) {
  auto p =
      ParseArgs({"--home=/h", "InsertAllMarkers", "a.mif", "--yes", "--answer", "x", "--choose",
                 "2", "--answer=", "--at", "3:7", "b.mif", "--message", "SetDocId 9"});
  ASSERT_TRUE(p.ok()) << p.error;
  const Options& o = p.options;
  EXPECT_EQ(o.mode, Options::Mode::Run);
  EXPECT_EQ(o.command, "InsertAllMarkers");
  EXPECT_EQ(o.files, (std::vector<std::string>{"a.mif", "b.mif"}));
  EXPECT_EQ(o.home, "/h");
  EXPECT_TRUE(o.yes);
  EXPECT_EQ(o.answers, (std::vector<std::string>{"x", ""}));  // an empty answer is an answer
  EXPECT_EQ(o.choices, std::vector<int32_t>{2});
  ASSERT_TRUE(o.at.has_value());
  EXPECT_EQ(o.at->paragraph, 3);
  EXPECT_EQ(o.at->offset, 7u);
  EXPECT_EQ(o.messages, std::vector<std::string>{"SetDocId 9"});

  // "--" ends the options: a file may begin with a dash.
  p = ParseArgs({"dump", "--", "--json"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.mode, Options::Mode::Dump);
  EXPECT_FALSE(p.options.json);
  EXPECT_EQ(p.options.files, std::vector<std::string>{"--json"});
}

TEST(Options, HelpAndVersionNeedNoCommand) {
  EXPECT_EQ(ParseArgs({"--help"}).options.mode, Options::Mode::Help);
  EXPECT_EQ(ParseArgs({"-h"}).options.mode, Options::Mode::Help);
  EXPECT_EQ(ParseArgs({"--version"}).options.mode, Options::Mode::Version);
  EXPECT_EQ(ParseArgs({"InsertAllMarkers", "--help"}).options.mode, Options::Mode::Help);
  EXPECT_EQ(ParseArgs({"--version", "--help"}).options.mode, Options::Mode::Help);
}

TEST(Options, UsageErrorsSayWhat) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given"},
      {{"--frobnicate", "X"}, "unknown option --frobnicate"},
      {{"-x", "X"}, "unknown option -x"},
      {{"X", "--home"}, "--home needs a value"},
      {{"X", "--yes=1"}, "--yes takes no value"},
      {{"X", "f", "--at", "0"}, "--at takes PARA"},
      {{"X", "f", "--at", "2:"}, "--at takes PARA"},
      {{"X", "f", "--at", "2:-1"}, "--at takes PARA"},
      {{"X", "f", "--at", "x"}, "--at takes PARA"},
      {{"X", "--at", "2"}, "--at needs a document"},
      {{"X", "--choose", "0"}, "--choose takes a line number from 1"},
      {{"X", "--dry-run", "--output", "d"}, "does not go with --output"},
      {{"dump"}, "dump takes one file"},
      {{"dump", "a", "b"}, "dump takes one file"},
      {{"dump", "a", "--yes"}, "--yes does not go with dump"},
      {{"commands", "a"}, "commands takes no files"},
      {{"commands", "--json"}, "--json does not go with commands"},
      {{"X", "--json"}, "--json does not go with running a command"},
      {{"check"}, "check takes one or more documents or books"},
      {{"check", "a", "--dry-run"}, "--dry-run does not go with check"},
      {{"check", "a", "--output", "d"}, "--output does not go with check"},
  };
  for (const auto& [args, expected] : cases) {
    const auto p = ParseArgs(args);
    EXPECT_NE(p.error.find(expected), std::string::npos)
        << "args: " << (args.empty() ? "" : args[0]) << " error: " << p.error;
  }
}

}  // namespace
