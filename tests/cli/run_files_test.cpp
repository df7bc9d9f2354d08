// Whole runs on MIF files: copies of the bundled example book in a scratch
// directory, read and written by the MIF store.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace vtrtest {
namespace {

class RunFiles : public ExampleFilesTest {
 protected:
  std::string dump(const std::string& name) { return RunCliOnDisk({"dump", at(name)}).out; }
  // The names of the files that differ between two snapshots.
  static std::vector<std::string> Changed(const std::map<std::string, std::string>& a,
                                          const std::map<std::string, std::string>& b) {
    std::vector<std::string> out;
    for (const auto& [k, v] : a) {
      auto it = b.find(k);
      if (it == b.end() || it->second != v) out.push_back(k);
    }
    for (const auto& [k, v] : b) {
      if (!a.count(k)) out.push_back(k);
    }
    return out;
  }
  static std::map<std::string, std::string> Under(const std::map<std::string, std::string>& all,
                                                  const std::string& prefix) {
    std::map<std::string, std::string> out;
    for (const auto& [k, v] : all) {
      if (k.rfind(prefix, 0) == 0) out[k] = v;
    }
    return out;
  }
};

TEST_F(RunFiles, ABookCommandRunsOverTheChaptersAndWritesThem) {
  const auto before = dir.snapshot();
  CliRun r = run({"UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote " + at("guide/ch1.mif") + "\nwrote " + at("guide/ch2.mif") + "\nwrote " +
                       at("guide/ch3.mif") + "\n");
  const auto after = dir.snapshot();
  for (const char* name : {"guide/Guide.mif", "guide/GuideIX.mif", "home/CVConfig.mif"}) {
    EXPECT_TRUE(after.at(name) == before.at(name)) << name;
  }
  // Each chapter has its markers, and its entry paragraphs are hidden.
  for (const char* name : {"guide/ch1.mif", "guide/ch2.mif", "guide/ch3.mif"}) {
    const std::string text = dump(name);
    EXPECT_NE(text.find("conditions: Index (hidden)"), std::string::npos) << text;
    EXPECT_NE(text.find("marker at "), std::string::npos) << text;
  }
  EXPECT_NE(dump("guide/ch1.mif").find("[[Index: <$singlepage>Dogs;<$startrange>Dogs:training;]]"),
            std::string::npos);

  // A book command that changes nothing (the entries are hidden already)
  // saves every chapter, but no file is written.
  const auto done = dir.snapshot();
  r = run({"HideIndexEntriesBook", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Changed(dir.snapshot(), done), std::vector<std::string>{});
}

TEST_F(RunFiles, DryRunWritesNothing) {
  const auto before = dir.snapshot();
  CliRun r = run({"--dry-run", "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("would write " + at("guide/ch2.mif") + "\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("wrote"), std::string::npos);
  EXPECT_EQ(Changed(dir.snapshot(), before), std::vector<std::string>{});
}

TEST_F(RunFiles, OutputWritesOnlyTheChangedFilesAndLeavesTheOriginals) {
  const auto before = dir.snapshot();
  // Hiding the entries changes chapters 1 and 2; chapter 3 is made hidden
  // first, so it stays as it is.
  CliRun r = run({"ShowHideIndexEntries", at("guide/ch3.mif")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto start = dir.snapshot();
  r = run({"--output", at("out"), "HideIndexEntriesBook", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "wrote " + at("out/ch1.mif") + "\nwrote " + at("out/ch2.mif") + "\n");
  const auto after = dir.snapshot();
  EXPECT_EQ(Changed(Under(after, "guide/"), Under(start, "guide/")), std::vector<std::string>{});
  EXPECT_EQ(Changed(Under(after, "home/"), Under(before, "home/")), std::vector<std::string>{});
  const auto out = Under(after, "out/");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_NE(dump("out/ch2.mif").find("conditions: Index (hidden)"), std::string::npos);
}

TEST_F(RunFiles, AtPutsTheInsertionPointWhereDumpNumbersSay) {
  const std::string original = dump("guide/ch1.mif");
  ASSERT_NE(original.find("\n   4  Body: Dogs learn quickly"), std::string::npos) << original;
  CliRun r = run({"--at", "4:5", "--output", at("out"), "InsertIdxEntry", at("guide/ch1.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  // The settings place new entries before the paragraph.
  const std::string text = dump("out/ch1.mif");
  EXPECT_NE(text.find("\n   4  Index Entry: .i.; {Index}\n   5  Body: Dogs learn quickly"),
            std::string::npos)
      << text;
}

TEST_F(RunFiles, BadMifIsAnInputErrorNamingTheFileLineAndColumn) {
  dir.write("bad.mif", "<MIFFile 9.00>\n<Document\n <DNextUnique 5\n");
  const auto before = dir.snapshot();
  CliRun r = run({"--yes", "InsertAllMarkers", at("bad.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("veltrano: " + at("bad.mif") + ":4:1: ", 0), 0u) << r.err;
  r = RunCliOnDisk({"dump", at("bad.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("veltrano: " + at("bad.mif") + ":4:1: ", 0), 0u) << r.err;

  // A broken chapter met during a book command: the chapters before it
  // were saved by the plug-in, but nothing is written.
  dir.write("guide/ch2.mif", "<MIFFile 9.00>\n<Para <PgfTag `Body'>\n");
  const auto broken = dir.snapshot();
  r = run({"UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(at("guide/ch2.mif") + ":3:1: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("veltrano: nothing written\n"), std::string::npos);
  EXPECT_EQ(Changed(dir.snapshot(), broken), std::vector<std::string>{});
  EXPECT_EQ(Changed(Under(broken, "home/"), Under(before, "home/")), std::vector<std::string>{});
}

TEST_F(RunFiles, DumpJsonOfAFile) {
  CliRun r = RunCliOnDisk({"dump", "--json", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\n  \"type\": \"book\",\n", 0), 0u) << r.out;
  // The path as a JSON string: a Windows path's backslashes escaped.
  std::string path;
  for (char c : at("guide/GuideIX.fm")) path += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_NE(r.out.find("\"path\": \"" + path + "\",\n      \"generated\": 7"), std::string::npos)
      << r.out;
}

}  // namespace
}  // namespace vtrtest
