#include "platform_file.h"

#include "mif/file_store.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include "headless/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace mif::platform {

namespace {

Error FileError(const std::string& path, const std::string& what) {
  return Error{path, 0, 0, what};
}

std::atomic<unsigned> g_counter{0};

FlushObserver& Observer() {
  static FlushObserver observer;
  return observer;
}

void Tell(Flushed what, const std::string& path) {
  if (Observer()) Observer()(what, path);
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder of `path` as messages name it.
std::string FolderName(const std::string& path) {
  std::string dir = DirectoryOf(path);
  if (dir.empty()) return ".";
  if (dir.size() > 1) dir.pop_back();
  return dir;
}

// Temporary files are named ".NAME.tmpPROCESS-COUNT" beside NAME.
std::string TemporaryName(const std::string& target, unsigned long process) {
  return DirectoryOf(target) + "." + BaseOf(target) + ".tmp" + std::to_string(process) + "-" +
         std::to_string(g_counter++);
}

// The process that made `name`, when it is a temporary file of `base`.
std::optional<unsigned long> TemporaryOwner(std::string_view name, std::string_view base) {
  // Appended to, not concatenated from a literal: GCC 12 -Wrestrict in Release.
  std::string prefix(1, '.');
  prefix.append(base).append(".tmp");
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return std::nullopt;
  name.remove_prefix(prefix.size());
  const std::size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) return std::nullopt;
  unsigned long process = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (i == dash) continue;
    if (c < '0' || c > '9') return std::nullopt;
    if (i < dash) {
      if (process > (ULONG_MAX - 9) / 10) return std::nullopt;
      process = process * 10 + static_cast<unsigned long>(c - '0');
    }
  }
  return process;
}

}  // namespace

#ifdef _WIN32

namespace {

using headless::Utf8Text;
using headless::WideText;

std::string LastError() {
  return "system error " + std::to_string(GetLastError());
}

// The full path of `path`: ReplaceFileW fails on a bare file name (under
// Wine at least), so both of its names are given in full.
std::wstring FullPath(const std::string& path) {
  const std::wstring wide = WideText(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return wide;
  full.resize(written);
  return full;
}

// `path` with its symbolic links followed: the final path of the file it
// opens, or `path` itself when there is no such file yet.
std::string FollowLinks(const std::string& path) {
  HANDLE h =
      CreateFileW(WideText(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return path;
  std::wstring out(MAX_PATH, L'\0');
  DWORD n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), 0);
  if (n >= out.size()) {
    out.assign(n + 1, L'\0');
    n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), 0);
  }
  CloseHandle(h);
  if (n == 0 || n >= out.size()) return path;
  out.resize(n);
  // "\\?\C:\x" is "C:\x"; "\\?\UNC\server\x" is "\\server\x".
  if (out.rfind(L"\\\\?\\UNC\\", 0) == 0) return "\\\\" + Utf8Text(out.substr(8));
  if (out.rfind(L"\\\\?\\", 0) == 0) return Utf8Text(out.substr(4));
  return Utf8Text(out);
}

}  // namespace

std::string SameFileKey(const std::string& fullPath) {
  std::string key = fullPath;
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

PathKind KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNone;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kFolder;
  return PathKind::kFile;
}

bool IsRegularFile(const std::string& path) {
  return KindOf(path) == PathKind::kFile;
}

Status ReadWholeFile(const std::string& path, std::string& out) {
  if (KindOf(path) == PathKind::kFolder) return FileError(path, "is a folder, not a file");
  HANDLE h = CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileError(path, "cannot open: " + LastError());
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return FileError(path, "cannot read: " + LastError());
  }
  out.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < out.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
    if (!ReadFile(h, out.data() + done, want, &got, nullptr) || got == 0) {
      CloseHandle(h);
      return FileError(path, "cannot read: " + LastError());
    }
    done += got;
  }
  CloseHandle(h);
  return Ok();
}

struct AtomicFile::Impl {
  std::string target;
  std::string temp;
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool flushed = false;
  bool committed = false;
  std::vector<std::string> removed;
  unsigned otherLinks = 0;
};

namespace {

// The temporary files of earlier saves of `target` that no process has
// open: a saver keeps its own open, unshared, until it renames it, so one
// that can be deleted was left by a process that ended.
std::vector<std::string> RemoveAbandoned(const std::string& target) {
  std::vector<std::string> removed;
  const std::string base = BaseOf(target);
  WIN32_FIND_DATAW found;
  HANDLE find =
      FindFirstFileW(WideText(DirectoryOf(target) + "." + base + ".tmp*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return removed;
  do {
    const std::string name = Utf8Text(found.cFileName);
    const auto owner = TemporaryOwner(name, base);
    if (!owner || *owner == GetCurrentProcessId()) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = DirectoryOf(target) + name;
    if (DeleteFileW(WideText(path).c_str())) removed.push_back(path);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return removed;
}

}  // namespace

namespace {

// Why the file at `target` (when there is one) and its folder cannot take
// a save.
Status CheckTarget(const std::string& target) {
  const DWORD attributes = GetFileAttributesW(WideText(target).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileError(target, "is a folder, not a file");
    if (attributes & FILE_ATTRIBUTE_READONLY) return FileError(target, "is read-only");
  } else if (KindOf(FolderName(target)) != PathKind::kFolder) {
    return FileError(target,
                     "cannot be saved: its folder " + FolderName(target) + " does not exist");
  }
  return Ok();
}

}  // namespace

Status CheckReplaceable(const std::string& path) {
  return CheckTarget(FollowLinks(path));
}

Result<std::unique_ptr<AtomicFile>> AtomicFile::Create(const std::string& path) {
  auto impl = std::make_unique<Impl>();
  impl->target = FollowLinks(path);
  const std::string& target = impl->target;
  if (Status ok = CheckTarget(target); !ok) return ok.error();
  if (KindOf(target) == PathKind::kFile) {
    HANDLE h = CreateFileW(WideText(target).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info) &&
        info.nNumberOfLinks > 1) {
      impl->otherLinks = info.nNumberOfLinks - 1;
    }
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  impl->removed = RemoveAbandoned(target);
  // The new file takes the folder's inherited permissions; ReplaceFileW
  // gives it the target's when it replaces it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    impl->temp = TemporaryName(target, GetCurrentProcessId());
    impl->handle = CreateFileW(WideText(impl->temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (impl->handle != INVALID_HANDLE_VALUE) break;
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (impl->handle == INVALID_HANDLE_VALUE) {
    return FileError(target, "cannot create a temporary file beside it: " + LastError());
  }
  return std::unique_ptr<AtomicFile>(new AtomicFile(std::move(impl)));
}

Status AtomicFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD done = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(impl_->handle, bytes.data(), want, &done, nullptr)) {
      return FileError(impl_->target, "cannot write: " + LastError());
    }
    bytes.remove_prefix(done);
  }
  return Ok();
}

Status AtomicFile::flush() {
  if (impl_->flushed) return Ok();
  if (!FlushFileBuffers(impl_->handle))
    return FileError(impl_->target, "cannot write: " + LastError());
  impl_->flushed = true;
  Tell(Flushed::kFile, impl_->target);
  return Ok();
}

namespace {

// Makes the replacement of `target` durable. Windows cannot flush a
// folder, and ReplaceFileW has no write-through (its flag for it is not
// supported): the file is flushed again through its new name, which writes
// its metadata, the name with it, to disk (NTFS commits its log, where the
// change of name comes before; FAT writes the file's directory entry).
Status FlushReplaced(const std::string& target, const std::wstring& fullTarget) {
  HANDLE h = CreateFileW(fullTarget.c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    return FileError(target, "replaced, but not flushed to disk: " + LastError());
  }
  const bool flushed = FlushFileBuffers(h);
  const std::string why = flushed ? std::string() : LastError();
  CloseHandle(h);
  if (!flushed) return FileError(target, "replaced, but not flushed to disk: " + why);
  Tell(Flushed::kReplaced, target);
  return Ok();
}

}  // namespace

Status AtomicFile::commit() {
  if (Status flushed = flush(); !flushed) return flushed;
  CloseHandle(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
  const std::wstring target = FullPath(impl_->target);
  const std::wstring temp = FullPath(impl_->temp);
  BOOL moved;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    // Keeps the target's attributes and security descriptor; the
    // attributes are set again where ReplaceFileW does not (Wine).
    moved = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr);
    if (moved && GetFileAttributesW(target.c_str()) != attributes) {
      SetFileAttributesW(target.c_str(), attributes);
    }
  } else {
    // Write-through promises only that a move done as a copy is on disk
    // when it returns; FlushReplaced covers a rename.
    moved = MoveFileExW(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!moved) return FileError(impl_->target, "cannot replace: " + LastError());
  impl_->committed = true;
  return FlushReplaced(impl_->target, target);
}

AtomicFile::~AtomicFile() {
  if (impl_->handle != INVALID_HANDLE_VALUE) CloseHandle(impl_->handle);
  if (!impl_->committed) DeleteFileW(WideText(impl_->temp).c_str());
}

#else  // POSIX

namespace {

std::string Errno() {
  return std::strerror(errno);
}

// `path` with its symbolic links followed, one after another, to the name
// that is not a link (which need not exist yet: a dangling link is saved
// by making the file it names).
Result<std::string> FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256), '\0');
    while (true) {
      const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
      if (n < 0) return FileError(path, "cannot follow its symbolic link: " + Errno());
      if (static_cast<std::size_t>(n) < link.size()) {
        link.resize(static_cast<std::size_t>(n));
        break;
      }
      link.resize(link.size() * 2);
    }
    current = !link.empty() && link[0] == '/' ? link : DirectoryOf(current) + link;
  }
  return FileError(path, "cannot be saved: too many levels of symbolic links");
}

bool ReadOnlyByMode(const struct stat& st) {
  return (st.st_mode & 0222) == 0;
}

// Why the file at `target` (when there is one) and its folder cannot take
// a save; fills `st` and `exists`.
Status CheckTarget(const std::string& target, struct stat& st, bool& exists) {
  exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return FileError(target, "cannot be saved: " + Errno());
  if (exists) {
    if (S_ISDIR(st.st_mode)) return FileError(target, "is a folder, not a file");
    if (!S_ISREG(st.st_mode)) return FileError(target, "is not a regular file");
    // Mode bits first: the superuser may write anything, but a file no one
    // may write is read-only for a save too.
    if (ReadOnlyByMode(st)) return FileError(target, "is read-only");
    if (::access(target.c_str(), W_OK) != 0) {
      if (errno == EROFS) return FileError(target, "is on a read-only file system");
      if (errno == EACCES) return FileError(target, "is read-only (not writable by you)");
    }
  }
  const std::string folder = FolderName(target);
  struct stat fs;
  if (::stat(folder.c_str(), &fs) != 0 || !S_ISDIR(fs.st_mode)) {
    return FileError(target, "cannot be saved: its folder " + folder + " does not exist");
  }
  if (ReadOnlyByMode(fs) || ::access(folder.c_str(), W_OK) != 0) {
    return FileError(target, "cannot be saved: its folder " + folder + " is read-only");
  }
  return Ok();
}

// A temporary file of an earlier save is abandoned when no process holds
// its lock (a saver locks its own from the moment it makes it until it has
// renamed it, and the lock ends with the process) and either its process
// is gone or it has not changed for an hour. The second condition covers
// the instant between making a file and locking it, and process numbers
// used again.
constexpr std::time_t kAbandonedAfter = 3600;

std::vector<std::string> RemoveAbandoned(const std::string& target) {
  std::vector<std::string> removed;
  const std::string base = BaseOf(target);
  DIR* dir = ::opendir(FolderName(target).c_str());
  if (!dir) return removed;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const auto owner = TemporaryOwner(entry->d_name, base);
    if (!owner || *owner > static_cast<unsigned long>(INT_MAX) ||
        static_cast<pid_t>(*owner) == ::getpid()) {
      continue;
    }
    const std::string path = DirectoryOf(target) + entry->d_name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    struct stat named;
    const bool abandoned = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                           ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                           ((::kill(static_cast<pid_t>(*owner), 0) != 0 && errno == ESRCH) ||
                            now - st.st_mtime > kAbandonedAfter);
    // Removed only while the name still is the file found abandoned.
    if (abandoned && ::lstat(path.c_str(), &named) == 0 && named.st_ino == st.st_ino &&
        named.st_dev == st.st_dev && ::unlink(path.c_str()) == 0) {
      removed.push_back(path);
    }
    ::close(fd);
  }
  ::closedir(dir);
  return removed;
}

// Gives the new file the target's owner when allowed, and the target's
// permissions; group permissions only when the group is the target's.
Status TakePermissions(int fd, const std::string& target, const struct stat& st) {
  // Keeping owner and group needs privileges; without them the saving user
  // owns the file, as with any save.
  [[maybe_unused]] const int owner = ::fchown(fd, st.st_uid, st.st_gid);
  struct stat made;
  if (::fstat(fd, &made) != 0) return FileError(target, "cannot be saved: " + Errno());
  mode_t mode = st.st_mode & 0777;
  if (made.st_gid != st.st_gid) mode &= ~static_cast<mode_t>(070);
  if (::fchmod(fd, mode) != 0) return FileError(target, "cannot keep its permissions: " + Errno());
  return Ok();
}

}  // namespace

std::string SameFileKey(const std::string& fullPath) {
  return fullPath;
}

PathKind KindOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return PathKind::kNone;
  if (S_ISREG(st.st_mode)) return PathKind::kFile;
  if (S_ISDIR(st.st_mode)) return PathKind::kFolder;
  return PathKind::kOther;
}

bool IsRegularFile(const std::string& path) {
  return KindOf(path) == PathKind::kFile;
}

Status ReadWholeFile(const std::string& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileError(path, "cannot open: " + Errno());
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const std::string why = Errno();
    ::close(fd);
    return FileError(path, "cannot read: " + why);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileError(
        path, S_ISDIR(st.st_mode) ? "is a folder, not a file" : "cannot read: not a regular file");
  }
  // One byte of room past the size, so that the read that finds the end
  // needs no larger buffer (growing would double the string's capacity).
  out.assign(static_cast<std::size_t>(st.st_size) + 1, '\0');
  std::size_t done = 0;
  while (true) {
    if (done == out.size()) out.resize(out.size() + 65536);  // the file grew meanwhile
    const ssize_t got = ::read(fd, out.data() + done, out.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const std::string why = Errno();
      ::close(fd);
      return FileError(path, "cannot read: " + why);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  out.resize(done);
  ::close(fd);
  return Ok();
}

struct AtomicFile::Impl {
  std::string target;
  std::string temp;
  int fd = -1;
  bool flushed = false;
  bool committed = false;
  std::vector<std::string> removed;
  unsigned otherLinks = 0;
};

Status CheckReplaceable(const std::string& path) {
  auto followed = FollowLinks(path);
  if (!followed) return followed.error();
  struct stat st;
  bool exists = false;
  return CheckTarget(*followed, st, exists);
}

Result<std::unique_ptr<AtomicFile>> AtomicFile::Create(const std::string& path) {
  auto followed = FollowLinks(path);
  if (!followed) return followed.error();
  auto impl = std::make_unique<Impl>();
  impl->target = std::move(followed).value();
  const std::string& target = impl->target;
  struct stat st;
  bool exists = false;
  if (Status ok = CheckTarget(target, st, exists); !ok) return ok.error();
  if (exists && st.st_nlink > 1) impl->otherLinks = static_cast<unsigned>(st.st_nlink - 1);
  impl->removed = RemoveAbandoned(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    impl->temp = TemporaryName(target, static_cast<unsigned long>(::getpid()));
    // Private from the start when it replaces a file (it gets that file's
    // permissions before any byte is written); a new file gets the default
    // permissions (0666 less the umask), which are its final ones.
    impl->fd =
        ::open(impl->temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (impl->fd >= 0 || errno != EEXIST) break;
  }
  if (impl->fd < 0) {
    return FileError(target, "cannot create a temporary file beside it: " + Errno());
  }
  // Marks the file as being written (see RemoveAbandoned); a file system
  // without locks leaves only the other conditions.
  [[maybe_unused]] const int locked = ::flock(impl->fd, LOCK_EX | LOCK_NB);
  auto file = std::unique_ptr<AtomicFile>(new AtomicFile(std::move(impl)));
  if (exists) {
    if (Status kept = TakePermissions(file->impl_->fd, target, st); !kept) return kept.error();
  }
  return file;
}

Status AtomicFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::write(impl_->fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return FileError(impl_->target, "cannot write: " + Errno());
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return Ok();
}

Status AtomicFile::flush() {
  if (impl_->flushed) return Ok();
  if (::fsync(impl_->fd) != 0) return FileError(impl_->target, "cannot write: " + Errno());
  impl_->flushed = true;
  Tell(Flushed::kFile, impl_->target);
  return Ok();
}

Status AtomicFile::commit() {
  if (Status flushed = flush(); !flushed) return flushed;
  // The file stays open, and locked, until it has its new name.
  if (::rename(impl_->temp.c_str(), impl_->target.c_str()) != 0) {
    return FileError(impl_->target, "cannot replace: " + Errno());
  }
  impl_->committed = true;
  ::close(impl_->fd);
  impl_->fd = -1;
  // The rename is in the folder: flushed, it survives a power loss. Some
  // file systems cannot flush a folder (EINVAL); they need not.
  const int folder = ::open(FolderName(impl_->target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return FileError(impl_->target, "replaced, but not flushed to disk: " + Errno());
  const bool synced = ::fsync(folder) == 0 || errno == EINVAL;
  const std::string why = synced ? std::string() : Errno();
  ::close(folder);
  if (!synced) return FileError(impl_->target, "replaced, but not flushed to disk: " + why);
  Tell(Flushed::kFolder, FolderName(impl_->target));
  return Ok();
}

AtomicFile::~AtomicFile() {
  if (impl_->fd >= 0) ::close(impl_->fd);
  if (!impl_->committed) ::unlink(impl_->temp.c_str());
}

#endif

AtomicFile::AtomicFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

const std::string& AtomicFile::target() const {
  return impl_->target;
}

const std::vector<std::string>& AtomicFile::removedTemporaries() const {
  return impl_->removed;
}

unsigned AtomicFile::otherLinks() const {
  return impl_->otherLinks;
}

}  // namespace mif::platform

namespace mif {

FlushObserver ObserveFlushes(FlushObserver observer) {
  std::swap(platform::Observer(), observer);
  return observer;
}

}  // namespace mif
