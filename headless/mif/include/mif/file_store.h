// Opening and saving MIF files under the names the plug-in uses.
#ifndef VELTRANO_MIF_FILE_STORE_H
#define VELTRANO_MIF_FILE_STORE_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/document.h"

namespace mif {

namespace platform {
class AtomicFile;
}

// `name` with both '\' and '/' taken as separators, written with this
// system's separator.
std::string NativePath(std::string_view name);

// The full path of `name`: absolute (a relative name counts from the
// current directory), without "." and ".." steps, with this system's
// separator.
std::string FullPath(std::string_view name);

// A key two names share exactly when they stand for the same file on this
// system: the file each resolves to (as ResolveMifPath finds it; the name
// itself when there is none), as a full path, with this system's rules for
// the case of letters.
std::string SameFileKey(std::string_view name);

// The folder of the file `name`, as a full path.
std::string FullDirectory(std::string_view name);

// The file to open for a name as the plug-in gives it: the path itself when
// it is a file; otherwise, when the name ends in ".fm" or ".book" (in any
// case), the same name with ".mif" in place of that ending ("CVConfig.fm" is
// found as "CVConfig.mif"). None when neither exists.
std::optional<std::string> ResolveMifPath(std::string_view name);

// Resolves, reads and parses; the document's file name is the path read.
Result<Document> LoadMifFile(std::string_view name);

// A save written in full to a temporary file beside the file it replaces,
// and put in that file's place by commit(). Dropped without a commit, it
// leaves the file as it was and removes the temporary file. A save through
// a symbolic link replaces the file the link leads to.
class PendingSave {
 public:
  explicit PendingSave(std::unique_ptr<platform::AtomicFile> file);
  PendingSave(PendingSave&&) noexcept;
  PendingSave& operator=(PendingSave&&) noexcept;
  ~PendingSave();

  // Replaces the file and makes the replacement durable (see Flushed):
  // once it returns Ok, the new file is what a power loss leaves.
  Status commit();
  // The file replaced (symbolic links followed).
  const std::string& target() const;
  // Temporary files that saves of the same file abandoned (their process
  // ended mid-save), removed when this save began.
  const std::vector<std::string>& removedTemporaries() const;
  // How many other names (hard links) the file has; the save gives this
  // name a file of its own, and the others keep the text they had.
  unsigned otherLinks() const;

 private:
  std::unique_ptr<platform::AtomicFile> file_;
};

// What saves flush to disk, told as it is done (for tests that saves are
// durable): a file's new text before it replaces the file (with the file's
// name); then, once it has replaced the file, on POSIX systems the folder
// (kFolder, with the folder's name), on Windows, where a folder cannot be
// flushed, the file again under its name (kReplaced), which writes the
// change of name through. There is no observer unless one is set.
enum class Flushed { kFile, kFolder, kReplaced };
using FlushObserver = std::function<void(Flushed what, const std::string& path)>;
// Sets the observer; returns the one it replaces.
FlushObserver ObserveFlushes(FlushObserver observer);

// Writes the document beside `path`, ready to replace it. Refuses, before
// writing anything, a target that is a folder or read-only, or whose folder
// is missing or read-only; the temporary file never has wider permissions
// than the file it replaces. On any failure the old file stays as it was.
Result<PendingSave> PrepareMifFile(const Document& doc, const std::string& path);

// The same with the bytes to write given.
Result<PendingSave> PrepareMifBytes(std::string_view bytes, const std::string& path);

// Why PrepareMifFile would refuse `path`, found without writing anything.
Status CheckSaveTarget(const std::string& path);

// PrepareMifFile and commit: writes the document to `path` atomically,
// keeping the permissions of the file it replaces.
Status SaveMifFile(const Document& doc, const std::string& path);
// The same to the path the document was read from.
Status SaveMifFile(const Document& doc);

}  // namespace mif

#endif
