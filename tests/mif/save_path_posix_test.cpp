// Saving files safely where permission bits, signals and symbolic links
// are POSIX: the temporary file's permissions, saves killed midway and the
// temporary files they leave, saving through symbolic links.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "mif/file_store.h"
#include "mif/writer.h"
#include "save_path_support.h"

namespace {

namespace fs = std::filesystem;
using mif_test::kNewText;
using mif_test::kOldText;
using mif_test::NewDocument;

class SavePathPosix : public mif_test::SaveDir {
 protected:
  void SetUp() override {
    SaveDir::SetUp();
    oldMask_ = ::umask(022);
  }
  void TearDown() override {
    ::umask(oldMask_);
    SaveDir::TearDown();
  }
  void write(const std::string& name, const std::string& text, mode_t mode = 0644) const {
    SaveDir::write(name, text);
    ::chmod(path(name).c_str(), mode);
  }
  static mode_t Mode(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
  // A process killed when it goes out of scope.
  struct Child {
    pid_t pid = -1;
    explicit Child(pid_t p) : pid(p) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { kill(); }
    void kill() {
      if (pid <= 0) return;
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      pid = -1;
    }
  };
  // A child process that prepares a save of `name` and waits, holding its
  // temporary file, until it is killed (or a minute has passed).
  Child prepareInChild(const std::string& name) const {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      ::alarm(60);
      auto pending = mif::PrepareMifFile(NewDocument(20000), path(name));
      if (!pending.ok()) ::_exit(1);
      const char c = 'x';
      if (::write(ready[1], &c, 1) != 1) ::_exit(1);
      while (true) ::pause();
    }
    char c = 0;
    ::close(ready[1]);
    EXPECT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    return Child(child);
  }

  mode_t oldMask_ = 022;
};

TEST_F(SavePathPosix, TheTemporaryFileIsNeverWiderThanTheFileItReplaces) {
  write("Private.mif", kOldText, 0600);
  write("Group.mif", kOldText, 0640);
  for (const auto& [name, mode] : {std::pair<std::string, mode_t>{"Private.mif", 0600},
                                   {"Group.mif", 0640},
                                   {"New.mif", 0644}}) {
    auto pending = mif::PrepareMifFile(NewDocument(), path(name));
    ASSERT_TRUE(pending.ok()) << pending.error().describe();
    const auto temps = temporaries(name);
    ASSERT_EQ(temps.size(), 1u) << name;
    EXPECT_EQ(Mode(temps[0]), mode) << name;  // while the private text is written
    ASSERT_TRUE(pending->commit().ok());
    EXPECT_EQ(Mode(path(name)), mode) << name;
    EXPECT_EQ(read(name), kNewText);
    EXPECT_TRUE(temporaries(name).empty());
  }
}

TEST_F(SavePathPosix, AKilledSaveLeavesTheFileWholeAndTheNextSaveRemovesWhatItLeft) {
  write("Doc.mif", kOldText, 0600);
  Child killed = prepareInChild("Doc.mif");
  const auto left = temporaries("Doc.mif");
  ASSERT_EQ(left.size(), 1u);
  EXPECT_GT(fs::file_size(left[0]), 1000000u);
  EXPECT_EQ(Mode(left[0]), 0600u);
  killed.kill();
  EXPECT_EQ(read("Doc.mif"), kOldText);

  // The next save removes it; while that save is under way, another one
  // keeps its temporary file.
  Child running = prepareInChild("Doc.mif");
  const auto kept = temporaries("Doc.mif");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(kept[0], left[0]);
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok()) << pending.error().describe();
  EXPECT_TRUE(pending->removedTemporaries().empty());
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_EQ(read("Doc.mif"), kNewText);
  EXPECT_EQ(temporaries("Doc.mif"), kept);

  running.kill();
  pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->removedTemporaries(), kept);
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_TRUE(temporaries("Doc.mif").empty());
}

TEST_F(SavePathPosix, SavesKilledAtAnyMomentNeverTearTheFile) {
  // A child saves a large document over and over and is killed at some
  // moment: writing, flushing or renaming. The file is always the old text
  // or the new one, whole.
  write("Doc.mif", kOldText, 0600);
  const mif::Document big = NewDocument(40000);
  const std::string whole = mif::WriteTree(big.tree());
  for (int round = 0; round < 6; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::alarm(60);
      while (mif::SaveMifFile(big, path("Doc.mif")).ok()) {
      }
      ::_exit(1);
    }
    Child saving(child);
    ::usleep(static_cast<useconds_t>(3000 + round * 7000));
    saving.kill();
    const std::string now = read("Doc.mif");
    EXPECT_TRUE(now == kOldText || now == whole)
        << "round " << round << ": " << now.size() << " bytes";
    EXPECT_LE(temporaries("Doc.mif").size(), 1u);
    EXPECT_EQ(Mode(path("Doc.mif")), 0600u);
  }
  ASSERT_TRUE(mif::SaveMifFile(big, path("Doc.mif")).ok());
  EXPECT_TRUE(temporaries("Doc.mif").empty());
}

TEST_F(SavePathPosix, OnlyTemporaryFilesProvablyAbandonedAreRemoved) {
  write("Doc.mif", kOldText);
  // Named for a running process and not locked: kept for an hour (the
  // process may have just made it); older, removed.
  const std::string parent = ".Doc.mif.tmp" + std::to_string(::getppid());
  write(parent + "-0", "recent");
  write(parent + "-1", "old");
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
  fs::last_write_time(path(parent + "-1"), old);
  // Not of this file's naming.
  for (const char* name :
       {".Doc.mif.tmpX-0", ".Doc.mif.tmp1-", ".Other.mif.tmp1-0", "Doc.mif.tmp1-0"}) {
    write(name, "other");
    fs::last_write_time(path(name), old);
  }
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->removedTemporaries(), std::vector<std::string>{path(parent + "-1")});
  EXPECT_TRUE(fs::exists(path(parent + "-0")));
  for (const char* name :
       {".Doc.mif.tmpX-0", ".Doc.mif.tmp1-", ".Other.mif.tmp1-0", "Doc.mif.tmp1-0"}) {
    EXPECT_TRUE(fs::exists(path(name))) << name;
  }
}

TEST_F(SavePathPosix, SavingThroughASymbolicLinkChangesTheFileItLeadsTo) {
  fs::create_directories(dir_ / "real");
  write("real/Doc.mif", kOldText, 0640);
  fs::create_symlink("real/Doc.mif", dir_ / "Link.mif");
  fs::create_symlink("Link.mif", dir_ / "Chain.mif");
  auto pending = mif::PrepareMifFile(NewDocument(), path("Chain.mif"));
  ASSERT_TRUE(pending.ok()) << pending.error().describe();
  EXPECT_EQ(pending->target(), path("real/Doc.mif"));
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_TRUE(fs::is_symlink(dir_ / "Link.mif"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "Chain.mif"));
  EXPECT_EQ(read("real/Doc.mif"), kNewText);
  EXPECT_EQ(Mode(path("real/Doc.mif")), 0640u);
  EXPECT_TRUE(fs::is_empty(dir_ / "real") == false);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), {}), 1);

  // A link to a file not there yet makes that file.
  fs::create_symlink("real/Later.mif", dir_ / "Dangling.mif");
  ASSERT_TRUE(mif::SaveMifFile(NewDocument(), path("Dangling.mif")).ok());
  EXPECT_EQ(read("real/Later.mif"), kNewText);
  EXPECT_TRUE(fs::is_symlink(dir_ / "Dangling.mif"));

  fs::create_symlink("Loop2.mif", dir_ / "Loop1.mif");
  fs::create_symlink("Loop1.mif", dir_ / "Loop2.mif");
  const mif::Status loop = mif::SaveMifFile(NewDocument(), path("Loop1.mif"));
  ASSERT_FALSE(loop.ok());
  EXPECT_NE(loop.error().message.find("symbolic links"), std::string::npos);
}

// Through a link, the folder flushed is the one of the file replaced.
TEST_F(SavePathPosix, ASaveThroughALinkFlushesTheFolderOfTheFileItReplaces) {
  fs::create_directories(dir_ / "real");
  write("real/Doc.mif", kOldText);
  fs::create_symlink("real/Doc.mif", dir_ / "Link.mif");
  std::vector<std::string> flushed;
  mif::FlushObserver before = mif::ObserveFlushes(
      [&](mif::Flushed, const std::string& p) { flushed.push_back(fs::canonical(p).string()); });
  const mif::Status saved = mif::SaveMifFile(NewDocument(), path("Link.mif"));
  mif::ObserveFlushes(std::move(before));
  ASSERT_TRUE(saved.ok()) << saved.error().describe();
  EXPECT_EQ(flushed, (std::vector<std::string>{fs::canonical(dir_ / "real/Doc.mif").string(),
                                               fs::canonical(dir_ / "real").string()}));
}

}  // namespace

#endif
