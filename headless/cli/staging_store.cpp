#include "staging_store.h"

#include <fstream>
#include <set>

#include "headless/paths.h"

namespace headless::cli {

namespace {

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A model saved again keeps the marks of what the earlier, unwritten save
// had changed: the file on disk still has none of it.
void KeepMarks(const Document& earlier, Document& later) {
  for (Id id = 1; id < earlier.idLimit(); ++id) {
    if (earlier.modified(id) && later.alive(id)) later.markModified(id);
  }
  if (earlier.dirty()) later.setDirty(true);
}

void KeepMarks(const Book& earlier, Book& later) {
  for (Id id = 1; id < earlier.idLimit(); ++id) {
    if (earlier.modified(id) && (later.isBook(id) || later.isComponent(id))) {
      later.markModified(id);
    }
  }
}

std::optional<std::string> Render(const Renderer& render, const Document& doc) {
  if (!render.document) return std::nullopt;
  return render.document(doc);
}

std::optional<std::string> Render(const Renderer& render, const Book& book) {
  if (!render.book) return std::nullopt;
  return render.book(book);
}

// Whether the file holds exactly `bytes`, read a block at a time.
bool FileHolds(const std::string& file, std::string_view bytes) {
  std::ifstream in(FsPath(file), std::ios::binary);
  if (!in) return false;
  std::string block(std::size_t{1} << 16, '\0');
  std::size_t at = 0;
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > bytes.size() - at || bytes.compare(at, got, block.data(), got) != 0) return false;
    at += got;
  }
  return !in.bad() && at == bytes.size();
}

// With `render` given, the save is kept as its bytes when they can be made.
template <typename Model>
bool Stage(std::vector<StagingStore::Staged>& staged, StagingStore::Staged* earlier,
           const std::string& path, const std::string& file, const Model& model,
           const Renderer* render) {
  StagedContent content;
  std::optional<std::string> bytes;
  // Rendering brings the model's own file state up to date, as a save does,
  // so a later save of it needs no marks of this one.
  if (render) bytes = Render(*render, model);
  if (bytes) {
    content = std::move(*bytes);
  } else {
    Model copy(model);
    copy.setPath(path);
    if (earlier) {
      if (const Model* before = std::get_if<Model>(&earlier->content)) KeepMarks(*before, copy);
    }
    content = std::move(copy);
  }
  if (earlier) {
    earlier->path = path;
    earlier->content = std::move(content);
  } else {
    staged.push_back({path, file, std::move(content)});
  }
  return true;
}

}  // namespace

StagingStore::StagingStore(std::shared_ptr<Store> files, Resolver resolve, Renderer render,
                           Preparer prepare)
    : files_(std::move(files)),
      resolve_(std::move(resolve)),
      render_(std::move(render)),
      prepare_(std::move(prepare)) {}

bool StagingStore::unchanged(const Staged& staged) const {
  const std::optional<std::string> file = resolve_(staged.file);
  if (!file) return false;
  if (const std::string* bytes = std::get_if<std::string>(&staged.content)) {
    return FileHolds(*file, *bytes);
  }
  const std::optional<std::string> bytes = std::holds_alternative<Document>(staged.content)
                                               ? Render(render_, std::get<Document>(staged.content))
                                               : Render(render_, std::get<Book>(staged.content));
  return bytes && FileHolds(*file, *bytes);
}

std::string StagingStore::fileOf(const std::string& path) const {
  return resolve_(path).value_or(path);
}

std::string StagingStore::fileKey(const std::string& path) const {
  return files_->fileKey(path);
}

StagingStore::Staged* StagingStore::find(const std::string& file) {
  const std::string key = fileKey(file);
  for (Staged& s : staged_) {
    if (fileKey(s.file) == key) return &s;
  }
  return nullptr;
}

Loaded StagingStore::load(const std::string& path) {
  Loaded out;
  if (const Staged* s = find(fileOf(path))) {
    if (const std::string* bytes = std::get_if<std::string>(&s->content)) {
      out = render_.read(*bytes, s->file);
    } else if (const Document* doc = std::get_if<Document>(&s->content)) {
      out.document = std::make_unique<Document>(*doc);
    } else {
      out.book = std::make_unique<Book>(std::get<Book>(s->content));
    }
    if (out.document) out.document->setPath(path);
    if (out.book) out.book->setPath(path);
    return out;
  }
  out = files_->load(path);
  if (!out) {
    lastError_ = out.error.empty() ? path + ": cannot be read" : out.error;
    if (resolve_(path)) loadErrors_.push_back(lastError_);
    failedLoads_.push_back({path, lastError_});
  }
  return out;
}

bool StagingStore::save(const std::string& path, const Document& doc, std::string* /*error*/) {
  const std::string file = fileOf(path);
  Staged* earlier = find(file);
  // Unchanged since it was read from this very file (or staged): nothing
  // to write.
  if (!doc.dirty() &&
      (earlier || (resolve_(path) && fileKey(fileOf(doc.path())) == fileKey(file)))) {
    return true;
  }
  return Stage(staged_, earlier, path, file, doc, stagesBytes() ? &render_ : nullptr);
}

bool StagingStore::save(const std::string& path, const Book& book, std::string* /*error*/) {
  const std::string file = fileOf(path);
  Staged* earlier = find(file);
  if (!book.dirty() &&
      (earlier || (resolve_(path) && fileKey(fileOf(book.path())) == fileKey(file)))) {
    return true;
  }
  // A book's bytes depend on where it is written (the paths of its
  // chapters are written relative to it), and a book is small: it is kept
  // as a model.
  return Stage(staged_, earlier, path, file, book, nullptr);
}

bool StagingStore::saveBytes(const std::string& path, std::string bytes, std::string* error) {
  if (!stagesBytes()) return Store::saveBytes(path, std::move(bytes), error);
  const std::string file = fileOf(path);
  if (Staged* earlier = find(file)) {
    earlier->path = path;
    earlier->content = std::move(bytes);
  } else {
    staged_.push_back({path, file, std::move(bytes)});
  }
  return true;
}

std::string StagingStore::Target(const Staged& staged,
                                 const std::optional<std::string>& outputDir) {
  if (!outputDir) return staged.file;
  return JoinPath(*outputDir, FileName(staged.file));
}

std::vector<StagingStore::Written> StagingStore::commit(
    const std::optional<std::string>& outputDir) {
  std::vector<Written> out;
  std::vector<std::unique_ptr<PreparedWrite>> ready(staged_.size());
  std::set<std::string> targets;
  bool failed = false;
  // First every file is written beside its target.
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const Staged& s = staged_[i];
    Written& w = out.emplace_back();
    w.file = Target(s, outputDir);
    if (unchanged(s)) {
      w.unchanged = true;
    } else if (!targets.insert(fileKey(w.file)).second) {
      w.error =
          "another file of the same name was written there already; " + s.file + " is not written";
    } else if (prepare_) {
      ready[i] = prepare_(w.file, s.content, &w.error);
      if (ready[i]) {
        w.removedTemporaries = ready[i]->removedTemporaries;
        w.otherLinks = ready[i]->otherLinks;
      } else if (w.error.empty()) {
        w.error = "cannot be written";
      }
    }
    failed = failed || !w.error.empty();
  }
  // Then, when all are ready, each replaces its target.
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    Written& w = out[i];
    if (w.unchanged || !w.error.empty()) continue;
    if (failed) {
      w.heldBack = true;
      continue;
    }
    if (ready[i]) {
      w.error = ready[i]->replace();
    } else {
      // Bytes are staged only with a preparer, so this is a model.
      const StagedContent& c = staged_[i].content;
      const bool ok = std::holds_alternative<Document>(c)
                          ? files_->save(w.file, std::get<Document>(c), &w.error)
                          : files_->save(w.file, std::get<Book>(c), &w.error);
      if (ok) w.error.clear();
      if (!ok && w.error.empty()) w.error = "cannot be written";
    }
    failed = !w.error.empty();
  }
  return out;
}

}  // namespace headless::cli
