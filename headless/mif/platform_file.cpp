#include "platform_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mif::platform {

namespace {

Error FileError(const std::string& path, const std::string& what) {
  return Error{path, 0, 0, what};
}

std::atomic<unsigned> g_counter{0};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string LastError() {
  return "system error " + std::to_string(GetLastError());
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

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Status ReadWholeFile(const std::string& path, std::string& out) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
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
  bool committed = false;
};

Result<std::unique_ptr<AtomicFile>> AtomicFile::Create(const std::string& target) {
  auto impl = std::make_unique<Impl>();
  impl->target = target;
  for (int attempt = 0; attempt < 100; ++attempt) {
    impl->temp = DirectoryOf(target) + "." + BaseOf(target) + ".tmp" +
                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(g_counter++);
    impl->handle = CreateFileW(Wide(impl->temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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

Status AtomicFile::commit() {
  if (!FlushFileBuffers(impl_->handle))
    return FileError(impl_->target, "cannot flush: " + LastError());
  CloseHandle(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
  const std::wstring target = Wide(impl_->target);
  const std::wstring temp = Wide(impl_->temp);
  BOOL moved;
  if (IsRegularFile(impl_->target)) {
    // Keeps the target's attributes and security descriptor.
    moved = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr);
  } else {
    moved = MoveFileExW(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!moved) return FileError(impl_->target, "cannot replace: " + LastError());
  impl_->committed = true;
  return Ok();
}

AtomicFile::AtomicFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

AtomicFile::~AtomicFile() {
  if (impl_->handle != INVALID_HANDLE_VALUE) CloseHandle(impl_->handle);
  if (!impl_->committed) DeleteFileW(Wide(impl_->temp).c_str());
}

#else  // POSIX

namespace {

std::string Errno() {
  return std::strerror(errno);
}

}  // namespace

std::string SameFileKey(const std::string& fullPath) {
  return fullPath;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Status ReadWholeFile(const std::string& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileError(path, "cannot open: " + Errno());
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileError(path, "cannot read: not a regular file");
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
  bool committed = false;
};

Result<std::unique_ptr<AtomicFile>> AtomicFile::Create(const std::string& target) {
  auto impl = std::make_unique<Impl>();
  impl->target = target;
  for (int attempt = 0; attempt < 100; ++attempt) {
    impl->temp = DirectoryOf(target) + "." + BaseOf(target) + ".tmp" + std::to_string(::getpid()) +
                 "-" + std::to_string(g_counter++);
    // 0666 less the umask: the permissions a new file would get.
    impl->fd = ::open(impl->temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (impl->fd >= 0 || errno != EEXIST) break;
  }
  if (impl->fd < 0) {
    return FileError(target, "cannot create a temporary file beside it: " + Errno());
  }
  return std::unique_ptr<AtomicFile>(new AtomicFile(std::move(impl)));
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

Status AtomicFile::commit() {
  struct stat st;
  if (::stat(impl_->target.c_str(), &st) == 0) {
    if (::fchmod(impl_->fd, st.st_mode & 07777) != 0) {
      return FileError(impl_->target, "cannot keep its permissions: " + Errno());
    }
    // Keeping owner and group needs privileges; without them the saving
    // user owns the file, as with any save.
    [[maybe_unused]] const int owner = ::fchown(impl_->fd, st.st_uid, st.st_gid);
  }
  if (::fsync(impl_->fd) != 0) return FileError(impl_->target, "cannot flush: " + Errno());
  if (::close(impl_->fd) != 0) {
    impl_->fd = -1;
    return FileError(impl_->target, "cannot write: " + Errno());
  }
  impl_->fd = -1;
  if (::rename(impl_->temp.c_str(), impl_->target.c_str()) != 0) {
    return FileError(impl_->target, "cannot replace: " + Errno());
  }
  impl_->committed = true;
  return Ok();
}

AtomicFile::AtomicFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

AtomicFile::~AtomicFile() {
  if (impl_->fd >= 0) ::close(impl_->fd);
  if (!impl_->committed) ::unlink(impl_->temp.c_str());
}

#endif

}  // namespace mif::platform
