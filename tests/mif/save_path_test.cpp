// Saving files safely: the temporary file's permissions, saves killed
// midway and the temporary files they leave, links, read-only targets, and
// what error messages show.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mif/file_store.h"
#include "mif/writer.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kNew = "<MIFFile 9.00>\n<Document <DNextUnique 5>>\n<TextFlow >\n";
const std::string kOld = "the text the file had\n";

mif::Document NewDocument(std::size_t paragraphs = 0) {
  std::string text = "<MIFFile 9.00>\n<TextFlow\n";
  for (std::size_t i = 0; i < paragraphs; ++i) {
    text += " <Para <ParaLine <String `A paragraph of private text, number " + std::to_string(i) +
            "'>>>\n";
  }
  text += ">\n";
  auto doc = mif::ParseDocument(paragraphs == 0 ? kNew : text, "new.mif");
  EXPECT_TRUE(doc.ok());
  return std::move(doc).value();
}

class SavePath : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vtr-save-path-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    oldMask_ = ::umask(022);
  }
  void TearDown() override {
    ::umask(oldMask_);
    ::chmod(dir_.c_str(), 0755);
    fs::remove_all(dir_);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text, mode_t mode = 0644) const {
    std::ofstream(path(name), std::ios::binary) << text;
    ::chmod(path(name).c_str(), mode);
  }
  std::string read(const std::string& name) const { return mif_test::ReadFile(path(name)); }
  static mode_t Mode(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
  // The temporary files beside `name`.
  std::vector<std::string> temporaries(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) {
      if (e.path().filename().string().rfind("." + name + ".tmp", 0) == 0) {
        out.push_back(e.path().string());
      }
    }
    return out;
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

  fs::path dir_;
  mode_t oldMask_ = 022;
};

TEST_F(SavePath, TheTemporaryFileIsNeverWiderThanTheFileItReplaces) {
  write("Private.mif", kOld, 0600);
  write("Group.mif", kOld, 0640);
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
    EXPECT_EQ(read(name), kNew);
    EXPECT_TRUE(temporaries(name).empty());
  }
}

TEST_F(SavePath, AKilledSaveLeavesTheFileWholeAndTheNextSaveRemovesWhatItLeft) {
  write("Doc.mif", kOld, 0600);
  Child killed = prepareInChild("Doc.mif");
  const auto left = temporaries("Doc.mif");
  ASSERT_EQ(left.size(), 1u);
  EXPECT_GT(fs::file_size(left[0]), 1000000u);
  EXPECT_EQ(Mode(left[0]), 0600u);
  killed.kill();
  EXPECT_EQ(read("Doc.mif"), kOld);

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
  EXPECT_EQ(read("Doc.mif"), kNew);
  EXPECT_EQ(temporaries("Doc.mif"), kept);

  running.kill();
  pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->removedTemporaries(), kept);
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_TRUE(temporaries("Doc.mif").empty());
}

TEST_F(SavePath, SavesKilledAtAnyMomentNeverTearTheFile) {
  // A child saves a large document over and over and is killed at some
  // moment: writing, flushing or renaming. The file is always the old text
  // or the new one, whole.
  write("Doc.mif", kOld, 0600);
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
    EXPECT_TRUE(now == kOld || now == whole) << "round " << round << ": " << now.size() << " bytes";
    EXPECT_LE(temporaries("Doc.mif").size(), 1u);
    EXPECT_EQ(Mode(path("Doc.mif")), 0600u);
  }
  ASSERT_TRUE(mif::SaveMifFile(big, path("Doc.mif")).ok());
  EXPECT_TRUE(temporaries("Doc.mif").empty());
}

TEST_F(SavePath, OnlyTemporaryFilesProvablyAbandonedAreRemoved) {
  write("Doc.mif", kOld);
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

TEST_F(SavePath, SavingThroughASymbolicLinkChangesTheFileItLeadsTo) {
  fs::create_directories(dir_ / "real");
  write("real/Doc.mif", kOld, 0640);
  fs::create_symlink("real/Doc.mif", dir_ / "Link.mif");
  fs::create_symlink("Link.mif", dir_ / "Chain.mif");
  auto pending = mif::PrepareMifFile(NewDocument(), path("Chain.mif"));
  ASSERT_TRUE(pending.ok()) << pending.error().describe();
  EXPECT_EQ(pending->target(), path("real/Doc.mif"));
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_TRUE(fs::is_symlink(dir_ / "Link.mif"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "Chain.mif"));
  EXPECT_EQ(read("real/Doc.mif"), kNew);
  EXPECT_EQ(Mode(path("real/Doc.mif")), 0640u);
  EXPECT_TRUE(fs::is_empty(dir_ / "real") == false);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), {}), 1);

  // A link to a file not there yet makes that file.
  fs::create_symlink("real/Later.mif", dir_ / "Dangling.mif");
  ASSERT_TRUE(mif::SaveMifFile(NewDocument(), path("Dangling.mif")).ok());
  EXPECT_EQ(read("real/Later.mif"), kNew);
  EXPECT_TRUE(fs::is_symlink(dir_ / "Dangling.mif"));

  fs::create_symlink("Loop2.mif", dir_ / "Loop1.mif");
  fs::create_symlink("Loop1.mif", dir_ / "Loop2.mif");
  const mif::Status loop = mif::SaveMifFile(NewDocument(), path("Loop1.mif"));
  ASSERT_FALSE(loop.ok());
  EXPECT_NE(loop.error().message.find("symbolic links"), std::string::npos);
}

TEST_F(SavePath, AFileWithHardLinksGetsAFileOfItsOwnAndSaysSo) {
  write("Doc.mif", kOld);
  fs::create_hard_link(dir_ / "Doc.mif", dir_ / "Other.mif");
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->otherLinks(), 1u);
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_EQ(read("Doc.mif"), kNew);
  EXPECT_EQ(read("Other.mif"), kOld);
  pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->otherLinks(), 0u);
}

TEST_F(SavePath, TargetsThatCannotTakeASaveAreRefusedBeforeAnythingIsWritten) {
  write("ReadOnly.mif", kOld, 0444);
  mif::Status saved = mif::SaveMifFile(NewDocument(), path("ReadOnly.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().describe(), path("ReadOnly.mif") + ": is read-only");
  EXPECT_EQ(read("ReadOnly.mif"), kOld);
  EXPECT_EQ(Mode(path("ReadOnly.mif")), 0444u);

  fs::create_directories(dir_ / "Folder.mif");
  saved = mif::SaveMifFile(NewDocument(), path("Folder.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message, "is a folder, not a file");

  saved = mif::SaveMifFile(NewDocument(), path("no-such-folder/x.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().message.find("no-such-folder does not exist"), std::string::npos);

  fs::create_directories(dir_ / "locked");
  write("locked/Doc.mif", kOld);
  ::chmod(path("locked").c_str(), 0555);
  saved = mif::SaveMifFile(NewDocument(), path("locked/Doc.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message,
            "cannot be saved: its folder " + path("locked") + " is read-only");
  EXPECT_EQ(read("locked/Doc.mif"), kOld);
  EXPECT_TRUE(temporaries("ReadOnly.mif").empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "locked"), {}), 1);
}

TEST_F(SavePath, MessagesSayAFolderIsAFolderAndEscapeBinaryBytes) {
  fs::create_directories(dir_ / "Chapters.mif");
  auto loaded = mif::LoadMifFile(path("Chapters.mif"));
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.error().describe(), path("Chapters.mif") + ": is a folder, not a file");

  write("Binary.mif", std::string("<MIFFile 5.00>\n\x1b[2J\xff\xfe\x01") + "caf\xc3\xa9\n");
  loaded = mif::LoadMifFile(path("Binary.mif"));
  ASSERT_FALSE(loaded.ok());
  const std::string message = loaded.error().describe();
  EXPECT_NE(message.find("found '\\x1B[2J\\xFF\\xFE\\x01caf\xc3\xa9'"), std::string::npos)
      << message;
  for (char c : message) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 0x20 && b != 0x7F && b != 0xFF && b != 0xFE) << message;
  }
}

}  // namespace
