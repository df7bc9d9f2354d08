// How a run writes its files: all of them or none, what it says when a
// file cannot be written, the temporary files of earlier saves, links, and
// a disk that fills up.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "builder.h"
#include "cli_test_support.h"
#include "staging_store.h"

namespace vtrtest {
namespace {

namespace fs = std::filesystem;

class RunSaves : public ExampleFilesTest {
 protected:
  std::string wrote(const std::vector<std::string>& names) const {
    std::string out;
    for (const std::string& n : names) out += "wrote " + at(n) + "\n";
    return out;
  }
};

TEST_F(RunSaves, ABookRunWritesEveryChapterOrNone) {
  fs::permissions(at("guide/ch3.mif"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const auto before = dir.snapshot();
  CliRun r = run({"UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: cannot write " + at("guide/ch3.mif") +
                       ": is read-only\nveltrano: nothing written\n");
  EXPECT_EQ(dir.snapshot(), before);  // no chapter changed, no temporary file left
  // A dry run says so too.
  r = run({"--dry-run", "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("would write " + at("guide/ch2.mif") + "\nveltrano: would not write " +
                       at("guide/ch3.mif") + ": is read-only\n"),
            std::string::npos)
      << r.err;

  fs::permissions(at("guide/ch3.mif"), fs::perms::owner_write, fs::perm_options::add);
  r = run({"UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, wrote({"guide/ch1.mif", "guide/ch2.mif", "guide/ch3.mif"}));
}

TEST_F(RunSaves, AReplacementThatFailsSaysWhatWasWrittenAndWhatWasNot) {
  // Chapters in memory, replaced by a writer whose second replacement
  // fails (a file system gone, say) after all three were made ready.
  auto store = std::make_shared<headless::MemoryStore>();
  for (const char* name : {"/m/c1.fm", "/m/c2.fm", "/m/c3.fm"}) {
    DocumentBuilder b(name);
    b.condition("Index").flow().para("Body", "Intro").para("Index Entry", ".i.Dogs;");
    store->put(name, b.build());
  }
  store->put("/m/g.book", BookBuilder().doc("/m/c1.fm").doc("/m/c2.fm").doc("/m/c3.fm").build());
  struct Write : headless::cli::PreparedWrite {
    std::shared_ptr<headless::MemoryStore> store;
    std::string target;
    Document doc;
    std::string replace() override {
      if (target == "/m/c2.fm") return "cannot replace: Input/output error";
      store->save(target, doc, nullptr);
      return {};
    }
  };
  std::vector<std::string> prepared;
  headless::cli::Files files = MemoryFiles(store);
  files.prepare = [&](const std::string& target, const headless::cli::StagedContent& content,
                      std::string*) -> std::unique_ptr<headless::cli::PreparedWrite> {
    prepared.push_back(target);
    auto w = std::make_unique<Write>();
    w->store = store;
    w->target = target;
    w->doc = std::get<Document>(content);
    return w;
  };
  CliRun r = RunCliWith(files, {"--home", "/m/home", "UpdateAllMarkers", "/m/g.book"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "wrote /m/c1.fm\nveltrano: cannot write /m/c2.fm: cannot replace: Input/output "
            "error\nveltrano: not written: /m/c3.fm\n");
  EXPECT_EQ(prepared, (std::vector<std::string>{"/m/c1.fm", "/m/c2.fm", "/m/c3.fm"}));
  EXPECT_EQ(store->saves(), std::vector<std::string>{"/m/c1.fm"});
}

TEST_F(RunSaves, AFolderGivenAsAFileIsCalledAFolder) {
  fs::create_directories(at("Chapter.mif"));
  CliRun r = RunCliOnDisk({"dump", at("Chapter.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: " + at("Chapter.mif") + ": is a folder, not a file\n");
  r = run({"InsertAllMarkers", at("Chapter.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: " + at("Chapter.mif") + ": is a folder, not a file\n");

  // An output folder holding a folder of a chapter's name: nothing written.
  fs::create_directories(at("out/ch2.mif"));
  r = run({"--output", at("out"), "UpdateAllMarkers", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "veltrano: cannot write " + at("out/ch2.mif") +
                       ": is a folder, not a file\nveltrano: nothing written\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(at("out")), {}), 1);
}

TEST_F(RunSaves, WhatAFileSaysReachesTheTerminalEscaped) {
  dir.write("Bad.mif", "<Book 5.00>\n<BookComponent <FileName `<c\\>\x01\x1b[2J.doc'>>\n");
  CliRun r = run({"UpdateAllMarkers", at("Bad.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("\\x01\\x1B[2J.doc"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x01'), std::string::npos) << r.err;
}

#ifndef _WIN32  // processes, symbolic links and file size limits as POSIX has them

TEST_F(RunSaves, VerboseSaysWhichAbandonedTemporaryFilesWereRemoved) {
  // A process that ended without finishing its save.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string stray = "guide/.ch1.mif.tmp" + std::to_string(gone) + "-0";
  dir.write(stray, "half a chapter");
  CliRun r = run({"--verbose", "--yes", "InsertAllMarkers", at("guide/ch1.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("veltrano: removed " + at(stray) + ", left by a save that did not finish\n" +
                       wrote({"guide/ch1.mif"})),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(at(stray)));
}

TEST_F(RunSaves, LinksAreSavedAsTheFileTheyStandFor) {
  fs::create_symlink("guide/ch1.mif", at("linked.mif"));
  fs::create_hard_link(at("guide/ch2.mif"), at("twin.mif"));
  const std::string ch2 = dir.read("guide/ch2.mif");
  CliRun r = run({"--yes", "InsertAllMarkers", at("linked.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, wrote({"linked.mif"}));
  EXPECT_TRUE(fs::is_symlink(at("linked.mif")));
  EXPECT_TRUE(dir.read("guide/ch1.mif") == dir.read("linked.mif"));
  EXPECT_NE(dir.read("guide/ch1.mif").find("<MTypeName `Index'>"), std::string::npos);

  r = run({"--yes", "InsertAllMarkers", at("twin.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, wrote({"twin.mif"}) + "veltrano: " + at("twin.mif") +
                       " had 1 other name(s) (hard links); it has a file of its own now, and "
                       "they keep the text they had\n");
  EXPECT_TRUE(dir.read("guide/ch2.mif") == ch2);
  EXPECT_TRUE(dir.read("twin.mif") != ch2);
}

TEST_F(RunSaves, ADiskThatFillsUpLeavesTheFileAsItWas) {
  // The program run with a file size limit: writing past it fails as on a
  // full disk.
  const std::string original = dir.read("guide/ch1.mif");
  const std::string errors = at("errors.txt");
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::dup2(fd, 2) < 0) ::_exit(99);
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{2048, 2048};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(99);
    const std::string home = at("home");
    const std::string ch1 = at("guide/ch1.mif");
    ::execl(VTR_VELTRANO_EXE, "veltrano", "--home", home.c_str(), "--yes", "InsertAllMarkers",
            ch1.c_str(), static_cast<char*>(nullptr));
    ::_exit(98);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(dir.read("errors.txt"), "veltrano: cannot write " + at("guide/ch1.mif") +
                                        ": cannot write: File too large\nveltrano: nothing "
                                        "written\n");
  EXPECT_EQ(dir.read("guide/ch1.mif"), original);
  EXPECT_EQ(std::distance(fs::directory_iterator(at("guide")), {}), 5);
}

#endif

}  // namespace
}  // namespace vtrtest
