#include "mif/store.h"

#include "mif/file_store.h"
#include "mif/model.h"

namespace mif {

namespace {

headless::Loaded ToModel(Result<Document> file, const std::string& path) {
  headless::Loaded out;
  if (!file) {
    out.error = file.error().describe();
    return out;
  }
  if (file->kind() == FileKind::Book) {
    auto book = ReadModelBook(std::move(file).value());
    if (!book) {
      out.error = book.error().describe();
      return out;
    }
    out.book = std::move(book).value();
    out.book->setPath(path);
    out.book->clearModified();
    return out;
  }
  auto doc = ReadModelDocument(std::move(file).value());
  if (!doc) {
    out.error = doc.error().describe();
    return out;
  }
  out.document = std::move(doc).value();
  out.document->setPath(path);
  out.document->clearModified();
  return out;
}

}  // namespace

headless::Loaded MifStore::load(const std::string& path) {
  return ToModel(LoadMifFile(path), path);
}

headless::Loaded LoadMifText(std::string text, const std::string& fileName) {
  return ToModel(ParseDocument(std::move(text), fileName), fileName);
}

bool MifStore::save(const std::string& path, const headless::Document& doc, std::string* error) {
  const Status saved = SaveModelDocument(doc, path);
  if (!saved && error) *error = saved.error().describe();
  return saved.ok();
}

bool MifStore::save(const std::string& path, const headless::Book& book, std::string* error) {
  const Status saved = SaveModelBook(book, path);
  if (!saved && error) *error = saved.error().describe();
  return saved.ok();
}

bool MifStore::saveBytes(const std::string& path, std::string bytes, std::string* error) {
  auto pending = PrepareMifBytes(bytes, path);
  if (!pending) {
    if (error) *error = pending.error().describe();
    return false;
  }
  const Status saved = pending->commit();
  if (!saved && error) *error = saved.error().describe();
  return saved.ok();
}

std::string MifStore::fileKey(const std::string& path) const {
  return SameFileKey(path);
}

}  // namespace mif
