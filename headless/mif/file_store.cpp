#include "mif/file_store.h"

#include <filesystem>

#include "headless/paths.h"
#include "mif/writer.h"
#include "platform_file.h"

namespace mif {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

// Collects the writer's output in large blocks for the file.
class FileSink : public Sink {
 public:
  explicit FileSink(platform::AtomicFile& file) : file_(file) { buffer_.reserve(kBlock); }
  void put(std::string_view bytes) override {
    if (!status_) return;
    if (bytes.size() >= kBlock) {
      flush();
      if (status_) status_ = file_.write(bytes);
      return;
    }
    if (buffer_.size() + bytes.size() > kBlock) flush();
    buffer_.append(bytes);
  }
  Status finish() {
    flush();
    return status_;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  void flush() {
    if (status_ && !buffer_.empty()) status_ = file_.write(buffer_);
    buffer_.clear();
  }
  platform::AtomicFile& file_;
  std::string buffer_;
  Status status_ = Ok();
};

}  // namespace

std::string NativePath(std::string_view name) {
  std::string out(name);
#ifdef _WIN32
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
#else
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
#endif
  return out;
}

std::string FullPath(std::string_view name) {
  if (name.empty()) return std::string();
  const std::filesystem::path native = headless::FsPath(NativePath(name));
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(native, ec);
  if (ec) full = native;
  return headless::Utf8Path(full.lexically_normal());
}

std::string SameFileKey(std::string_view name) {
  const std::optional<std::string> file = ResolveMifPath(name);
  return platform::SameFileKey(FullPath(file ? *file : std::string(name)));
}

std::string FullDirectory(std::string_view name) {
  return headless::Utf8Path(headless::FsPath(FullPath(name)).parent_path());
}

std::optional<std::string> ResolveMifPath(std::string_view name) {
  const std::string path = NativePath(name);
  if (platform::IsRegularFile(path)) return path;
  for (std::string_view ending : {std::string_view(".fm"), std::string_view(".book")}) {
    if (!EndsWithNoCase(path, ending)) continue;
    const std::string mif = path.substr(0, path.size() - ending.size()) + ".mif";
    if (platform::IsRegularFile(mif)) return mif;
  }
  return std::nullopt;
}

Result<Document> LoadMifFile(std::string_view name) {
  const auto path = ResolveMifPath(name);
  if (!path) {
    const std::string native = NativePath(name);
    switch (platform::KindOf(native)) {
      case platform::PathKind::kFolder:
        return Error{std::string(name), 0, 0, "is a folder, not a file"};
      case platform::PathKind::kOther:
        return Error{std::string(name), 0, 0, "is not a regular file"};
      default:
        break;
    }
    std::string message = "no such file";
    if (EndsWithNoCase(native, ".fm") || EndsWithNoCase(native, ".book")) {
      message += " (nor the same name ending in .mif)";
    }
    return Error{std::string(name), 0, 0, message};
  }
  std::string text;
  if (Status read = platform::ReadWholeFile(*path, text); !read) return read.error();
  return ParseDocument(std::move(text), *path);
}

PendingSave::PendingSave(std::unique_ptr<platform::AtomicFile> file) : file_(std::move(file)) {}
PendingSave::PendingSave(PendingSave&&) noexcept = default;
PendingSave& PendingSave::operator=(PendingSave&&) noexcept = default;
PendingSave::~PendingSave() = default;

Status PendingSave::commit() {
  return file_->commit();
}

const std::string& PendingSave::target() const {
  return file_->target();
}

const std::vector<std::string>& PendingSave::removedTemporaries() const {
  return file_->removedTemporaries();
}

unsigned PendingSave::otherLinks() const {
  return file_->otherLinks();
}

Result<PendingSave> PrepareMifFile(const Document& doc, const std::string& path) {
  auto file = platform::AtomicFile::Create(NativePath(path));
  if (!file) return file.error();
  FileSink sink(**file);
  WriteTree(doc.tree(), sink);
  if (Status written = sink.finish(); !written) return written.error();
  if (Status flushed = (*file)->flush(); !flushed) return flushed.error();
  return PendingSave(std::move(file).value());
}

Result<PendingSave> PrepareMifBytes(std::string_view bytes, const std::string& path) {
  auto file = platform::AtomicFile::Create(NativePath(path));
  if (!file) return file.error();
  if (Status written = (*file)->write(bytes); !written) return written.error();
  if (Status flushed = (*file)->flush(); !flushed) return flushed.error();
  return PendingSave(std::move(file).value());
}

Status CheckSaveTarget(const std::string& path) {
  return platform::CheckReplaceable(NativePath(path));
}

Status SaveMifFile(const Document& doc, const std::string& path) {
  auto pending = PrepareMifFile(doc, path);
  if (!pending) return pending.error();
  return pending->commit();
}

Status SaveMifFile(const Document& doc) {
  return SaveMifFile(doc, doc.fileName());
}

}  // namespace mif
