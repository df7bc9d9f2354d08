#include "staging_store.h"

#include <fstream>
#include <iterator>
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

template <typename Model>
bool Stage(std::vector<StagingStore::Staged>& staged, StagingStore::Staged* earlier,
           const std::string& path, const std::string& file, const Model& model) {
  Model copy(model);
  copy.setPath(path);
  if (earlier) {
    if (const Model* before = std::get_if<Model>(&earlier->model)) KeepMarks(*before, copy);
    earlier->path = path;
    earlier->model = std::move(copy);
  } else {
    staged.push_back({path, file, std::move(copy)});
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
  std::optional<std::string> bytes;
  if (const Document* doc = std::get_if<Document>(&staged.model)) {
    if (render_.document) bytes = render_.document(*doc);
  } else if (render_.book) {
    bytes = render_.book(std::get<Book>(staged.model));
  }
  if (!bytes) return false;
  std::ifstream in(FsPath(*file), std::ios::binary);
  if (!in) return false;
  const std::string current((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return !in.bad() && current == *bytes;
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
    if (const Document* doc = std::get_if<Document>(&s->model)) {
      out.document = std::make_unique<Document>(*doc);
      out.document->setPath(path);
    } else {
      out.book = std::make_unique<Book>(std::get<Book>(s->model));
      out.book->setPath(path);
    }
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
  return Stage(staged_, earlier, path, file, doc);
}

bool StagingStore::save(const std::string& path, const Book& book, std::string* /*error*/) {
  const std::string file = fileOf(path);
  Staged* earlier = find(file);
  if (!book.dirty() &&
      (earlier || (resolve_(path) && fileKey(fileOf(book.path())) == fileKey(file)))) {
    return true;
  }
  return Stage(staged_, earlier, path, file, book);
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
      ready[i] = prepare_(w.file, s.model, &w.error);
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
      const bool ok =
          std::visit([&](const auto& model) { return files_->save(w.file, model, &w.error); },
                     staged_[i].model);
      if (ok) w.error.clear();
      if (!ok && w.error.empty()) w.error = "cannot be written";
    }
    failed = !w.error.empty();
  }
  return out;
}

}  // namespace headless::cli
