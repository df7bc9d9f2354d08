// The operating-system calls of the file store, all in one place: whether a
// path exists, reading a file, and replacing a file atomically while keeping
// its permissions (POSIX rename, or ReplaceFileW / MoveFileExW on Windows).
#ifndef VELTRANO_MIF_PLATFORM_FILE_H
#define VELTRANO_MIF_PLATFORM_FILE_H

#include <memory>
#include <string>
#include <string_view>

#include "mif/error.h"

namespace mif::platform {

// Paths are UTF-8.
bool IsRegularFile(const std::string& path);

// The key under which this system's file names name one file, for a full
// path: Windows ignores the case of letters and takes '/' for '\', other
// systems compare names exactly.
std::string SameFileKey(const std::string& fullPath);
Status ReadWholeFile(const std::string& path, std::string& out);

// A new file written beside `target` and put in its place on commit; the
// target is untouched until then, and the temporary file is removed when
// the commit does not happen.
class AtomicFile {
 public:
  ~AtomicFile();
  static Result<std::unique_ptr<AtomicFile>> Create(const std::string& target);
  Status write(std::string_view bytes);
  // Flushes to disk, gives the new file the target's permissions (for a new
  // target, the default ones), and renames it over the target.
  Status commit();

  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

 private:
  struct Impl;
  explicit AtomicFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace mif::platform

#endif
