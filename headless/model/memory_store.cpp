#include "headless/store.h"

namespace headless {

std::string PathKey(std::string_view path) {
  std::string key(path);
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

std::string Store::fileKey(const std::string& path) const {
  return PathKey(path);
}

bool Store::saveBytes(const std::string& path, std::string /*bytes*/, std::string* error) {
  if (error) *error = path + ": this store saves models, not file text";
  return false;
}

void MemoryStore::put(const std::string& path, Document doc) {
  doc.setPath(path);
  doc.clearModified();
  entries_.insert_or_assign(PathKey(path), std::move(doc));
}

void MemoryStore::put(const std::string& path, Book book) {
  book.setPath(path);
  book.clearModified();
  entries_.insert_or_assign(PathKey(path), std::move(book));
}

bool MemoryStore::contains(const std::string& path) const {
  return entries_.count(PathKey(path)) != 0;
}

bool MemoryStore::remove(const std::string& path) {
  return entries_.erase(PathKey(path)) != 0;
}

const Document* MemoryStore::document(const std::string& path) const {
  auto it = entries_.find(PathKey(path));
  return it == entries_.end() ? nullptr : std::get_if<Document>(&it->second);
}

const Book* MemoryStore::book(const std::string& path) const {
  auto it = entries_.find(PathKey(path));
  return it == entries_.end() ? nullptr : std::get_if<Book>(&it->second);
}

Loaded MemoryStore::load(const std::string& path) {
  Loaded out;
  auto it = entries_.find(PathKey(path));
  if (it == entries_.end()) {
    out.error = "no such file: " + path;
    return out;
  }
  if (const Document* doc = std::get_if<Document>(&it->second)) {
    out.document = std::make_unique<Document>(*doc);
    out.document->setPath(path);
  } else {
    out.book = std::make_unique<Book>(std::get<Book>(it->second));
    out.book->setPath(path);
  }
  return out;
}

bool MemoryStore::save(const std::string& path, const Document& doc, std::string* /*error*/) {
  Document copy(doc);
  copy.setPath(path);
  copy.clearModified();
  entries_.insert_or_assign(PathKey(path), std::move(copy));
  saves_.push_back(path);
  return true;
}

bool MemoryStore::save(const std::string& path, const Book& book, std::string* /*error*/) {
  Book copy(book);
  copy.setPath(path);
  copy.clearModified();
  entries_.insert_or_assign(PathKey(path), std::move(copy));
  saves_.push_back(path);
  return true;
}

}  // namespace headless
