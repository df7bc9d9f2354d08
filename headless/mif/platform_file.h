// The operating-system calls of the file store, all in one place: what a
// path names, reading a file, and replacing a file atomically while keeping
// its permissions (POSIX rename, or ReplaceFileW / MoveFileExW on Windows).
#ifndef VELTRANO_MIF_PLATFORM_FILE_H
#define VELTRANO_MIF_PLATFORM_FILE_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mif/error.h"

namespace mif::platform {

// Paths are UTF-8.
enum class PathKind { kNone, kFile, kFolder, kOther };
// What `path` names, following symbolic links.
PathKind KindOf(const std::string& path);
bool IsRegularFile(const std::string& path);

// The key under which this system's file names name one file, for a full
// path: Windows ignores the case of letters and takes '/' for '\', other
// systems compare names exactly.
std::string SameFileKey(const std::string& fullPath);
Status ReadWholeFile(const std::string& path, std::string& out);

// Why a save of `path` would be refused (see AtomicFile::Create), checked
// without writing anything.
Status CheckReplaceable(const std::string& path);

// A new file written beside the file a save replaces and put in its place
// on commit; that file is untouched until then, and the temporary file is
// removed when the commit does not happen.
//
// The file replaced is the end of the chain of symbolic links `path` starts
// (the link stays a link). Create refuses, before anything is written, a
// target that is a folder or read-only, or whose folder is read-only. The
// temporary file never has wider permissions than the file it replaces (a
// new file gets the default ones), and while it is being written it is
// locked, so that a later save can tell a temporary file abandoned by a
// process that ended mid-save from one still being written; Create removes
// the abandoned ones of the same target.
class AtomicFile {
 public:
  ~AtomicFile();
  static Result<std::unique_ptr<AtomicFile>> Create(const std::string& path);
  Status write(std::string_view bytes);
  // Flushes the new file to disk; commit() does it when not done.
  Status flush();
  // Renames the new file over the target and flushes the folder, so that
  // the new file is what a power loss leaves.
  Status commit();

  // The file replaced: `path` with its symbolic links followed.
  const std::string& target() const;
  // Temporary files of earlier saves of the target, abandoned mid-save,
  // that Create removed.
  const std::vector<std::string>& removedTemporaries() const;
  // How many other names (hard links) the target has; they keep the text
  // they had, as the save gives the target a file of its own.
  unsigned otherLinks() const;

  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

 private:
  struct Impl;
  explicit AtomicFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace mif::platform

#endif
