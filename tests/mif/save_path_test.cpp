// Saving files safely, on every system: links, targets that cannot take
// a save, and what error messages show; on Windows also the attributes a
// replaced file keeps, bare file names, and temporary files of ended saves.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "mif/file_store.h"
#include "save_path_support.h"

namespace {

namespace fs = std::filesystem;
using mif_test::kNewText;
using mif_test::kOldText;
using mif_test::NewDocument;

using SavePath = mif_test::SaveDir;

TEST_F(SavePath, AFileWithHardLinksGetsAFileOfItsOwnAndSaysSo) {
  write("Doc.mif", kOldText);
  fs::create_hard_link(dir_ / "Doc.mif", dir_ / "Other.mif");
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->otherLinks(), 1u);
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_EQ(read("Doc.mif"), kNewText);
  EXPECT_EQ(read("Other.mif"), kOldText);
  pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok());
  EXPECT_EQ(pending->otherLinks(), 0u);
}

TEST_F(SavePath, ATemporaryFileLongAbandonedIsRemovedByTheNextSave) {
  write("Doc.mif", kOldText);
  write(".Doc.mif.tmp1-0", "half a document");
  write(".Other.mif.tmp1-0", "another file's");
  for (const char* name : {".Doc.mif.tmp1-0", ".Other.mif.tmp1-0"}) {
    fs::last_write_time(dir_ / name, fs::file_time_type::clock::now() - std::chrono::hours(2));
  }
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok()) << pending.error().describe();
  EXPECT_EQ(pending->removedTemporaries(), std::vector<std::string>{path(".Doc.mif.tmp1-0")});
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_EQ(read("Doc.mif"), kNewText);
  EXPECT_TRUE(fs::exists(dir_ / ".Other.mif.tmp1-0"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2);
}

TEST_F(SavePath, TargetsThatCannotTakeASaveAreRefusedBeforeAnythingIsWritten) {
  constexpr auto kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  write("ReadOnly.mif", kOldText);
  fs::permissions(dir_ / "ReadOnly.mif", kReadOnly);
  mif::Status saved = mif::SaveMifFile(NewDocument(), path("ReadOnly.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().describe(), path("ReadOnly.mif") + ": is read-only");
  EXPECT_EQ(read("ReadOnly.mif"), kOldText);
  EXPECT_EQ(fs::status(dir_ / "ReadOnly.mif").permissions() & fs::perms::all, kReadOnly);
  EXPECT_TRUE(mif::CheckSaveTarget(path("ReadOnly.mif")).error().message == "is read-only");

  fs::create_directories(dir_ / "Folder.mif");
  saved = mif::SaveMifFile(NewDocument(), path("Folder.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message, "is a folder, not a file");

  saved = mif::SaveMifFile(NewDocument(), (dir_ / "no-such-folder" / "x.mif").string());
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().message.find("no-such-folder does not exist"), std::string::npos);
  EXPECT_TRUE(mif::CheckSaveTarget(path("New.mif")).ok());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2);  // nothing written

#ifndef _WIN32  // a Windows folder's read-only mark does not stop new files
  fs::create_directories(dir_ / "locked");
  write("locked/Doc.mif", kOldText);
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  saved = mif::SaveMifFile(NewDocument(), path("locked/Doc.mif"));
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message,
            "cannot be saved: its folder " + path("locked") + " is read-only");
  EXPECT_EQ(read("locked/Doc.mif"), kOldText);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "locked"), {}), 1);
#endif
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

// Each flush with what the file holds at that moment: the new text is
// flushed before it replaces the old, and the replacement is made durable
// after it, or a power loss brings the old text back. POSIX systems flush
// the folder; Windows cannot, and flushes the file again under its name.
TEST_F(SavePath, ASaveIsFlushedToDiskAndTheReplacementMadeDurable) {
#ifdef _WIN32
  const std::string replaced = "replaced: ";
#else
  const std::string replaced = "folder: ";
#endif
  write("Doc.mif", kOldText);
  std::vector<std::string> flushes;
  std::string saving;  // the file whose save flushes the folder
  mif::FlushObserver before = mif::ObserveFlushes([&](mif::Flushed what, const std::string& p) {
    const bool folder = what == mif::Flushed::kFolder;
    if (!folder) saving = fs::path(p).filename().string();
    EXPECT_TRUE(fs::equivalent(folder ? fs::path(p) : fs::path(p).parent_path(), dir_)) << p;
    const char* kinds[] = {"file: ", "folder: ", "replaced: "};
    flushes.push_back(kinds[static_cast<int>(what)] +
                      (fs::exists(dir_ / saving) ? read(saving) : "(no file)"));
  });
  const mif::Status saved = mif::SaveMifFile(NewDocument(), path("Doc.mif"));
  const mif::Status made = mif::SaveMifFile(NewDocument(), path("New.mif"));
  mif::ObserveFlushes(std::move(before));
  ASSERT_TRUE(saved.ok()) << saved.error().describe();
  ASSERT_TRUE(made.ok()) << made.error().describe();
  EXPECT_EQ(flushes, (std::vector<std::string>{"file: " + kOldText, replaced + kNewText,
                                               "file: (no file)", replaced + kNewText}));
}

#ifdef _WIN32

// ReplaceFileW gives the new file the replaced file's attributes (and its
// security descriptor); a save named by a bare file name works too.
TEST_F(SavePath, AReplacedFileKeepsItsAttributesAndABareNameIsSaved) {
  write("Doc.mif", kOldText);
  const std::wstring doc = (dir_ / "Doc.mif").wstring();
  ASSERT_TRUE(SetFileAttributesW(doc.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  // What the file system keeps of them (Wine keeps them where the file
  // system has extended attributes).
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD before = GetFileAttributesW(doc.c_str()) & kKept;
  ASSERT_TRUE(mif::SaveMifFile(NewDocument(), path("Doc.mif")).ok());
  EXPECT_EQ(read("Doc.mif"), kNewText);
  EXPECT_EQ(GetFileAttributesW(doc.c_str()) & kKept, before);
  EXPECT_TRUE(temporaries("Doc.mif").empty());

  const fs::path working = fs::current_path();
  fs::current_path(dir_);
  const mif::Status saved = mif::SaveMifFile(NewDocument(), "Bare.mif");
  const mif::Status again = mif::SaveMifFile(NewDocument(), "Bare.mif");
  fs::current_path(working);
  ASSERT_TRUE(saved.ok()) << saved.error().describe();
  ASSERT_TRUE(again.ok()) << again.error().describe();
  EXPECT_EQ(read("Bare.mif"), kNewText);
  EXPECT_TRUE(temporaries("Bare.mif").empty());
}

// A temporary file no process holds open was left by a save that did not
// finish (a save under way holds its own open, unshared): the next save
// removes it.
TEST_F(SavePath, TemporaryFilesOfSavesThatEndedAreRemoved) {
  write("Doc.mif", kOldText);
  const std::string stray = ".Doc.mif.tmp" + std::to_string(GetCurrentProcessId() + 4) + "-0";
  write(stray, "half a file");
  auto pending = mif::PrepareMifFile(NewDocument(), path("Doc.mif"));
  ASSERT_TRUE(pending.ok()) << pending.error().describe();
  EXPECT_EQ(pending->removedTemporaries(), std::vector<std::string>{path(stray)});
  EXPECT_EQ(temporaries("Doc.mif").size(), 1u);  // its own
  ASSERT_TRUE(pending->commit().ok());
  EXPECT_EQ(read("Doc.mif"), kNewText);
  EXPECT_TRUE(temporaries("Doc.mif").empty());
}

#endif

}  // namespace
